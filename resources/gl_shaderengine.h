#pragma once
// The vertex program engine: binds GL_ARB_vertex_program when the driver offers it and compiles
// shader resources. A program the driver rejects ends the process (exit code 2) with the driver's
// message, since drawing without it would be wrong everywhere.
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <vector>

#include "engine/qox_object.h"
#include "resources/resource_list.h"

class QRShader;

class GLShaderEngine : public QOXObject {
    QOX_CLASS(GLShaderEngine)
public:
    explicit GLShaderEngine(QOXObject* owner);

    void Init();
    // A new shader owned by the engine, loaded from the name.
    QRShader* CreateShader(const std::string& name);
    void CreateVertexProgram(QRShader* shader);
    void DeleteProgram(QRShader* shader);
    void DeleteShader(int index);
    // From the last shader to the first, deletes every shader whose parent is `owner`; the engine
    // itself as owner deletes all.
    void DeleteShaders(const QOXObject* owner);

    PFNGLGENPROGRAMSARBPROC glGenProgramsARB = nullptr;
    PFNGLBINDPROGRAMARBPROC glBindProgramARB = nullptr;
    PFNGLPROGRAMSTRINGARBPROC glProgramStringARB = nullptr;
    PFNGLDELETEPROGRAMSARBPROC glDeleteProgramsARB = nullptr;
    PFNGLVERTEXATTRIB4FARBPROC glVertexAttrib4fARB = nullptr;
    PFNGLPROGRAMLOCALPARAMETER4FARBPROC glProgramLocalParameter4fARB = nullptr;
    bool Supported = false;
    QRList<QRShader>* Shaders = nullptr; // owned as a child; the register of the shaders, also children

protected:
    void ChildRemoved(QOXObject* child) override;
};
