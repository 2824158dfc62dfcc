#include "resources/gl_shaderengine.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_shader.h"

namespace {

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

} // namespace

GLShaderEngine::GLShaderEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Shader Engine")
{
    Shaders = NewRegister<QRShader>(this);
}

void GLShaderEngine::Init()
{
    Supported = false;
    if (HasExtension("GL_ARB_vertex_program")) {
        LookUpEntryPoint(glGenProgramsARB, "glGenProgramsARB");
        LookUpEntryPoint(glBindProgramARB, "glBindProgramARB");
        LookUpEntryPoint(glProgramStringARB, "glProgramStringARB");
        LookUpEntryPoint(glDeleteProgramsARB, "glDeleteProgramsARB");
        LookUpEntryPoint(glVertexAttrib4fARB, "glVertexAttrib4fARB");
        LookUpEntryPoint(glProgramLocalParameter4fARB, "glProgramLocalParameter4fARB");
        Supported = glGenProgramsARB != nullptr && glBindProgramARB != nullptr && glProgramStringARB != nullptr &&
                    glDeleteProgramsARB != nullptr;
        if (Supported)
            Engine()->Console->AddLine("QOX GL: Extension \"GL_ARB_vertex_program\" initialized!");
    }
    Engine()->Console->AddLine("QOX GL: Shader Engine initialized!");
}

QRShader* GLShaderEngine::CreateShader(const std::string& name)
{
    QRShader* shader = QOXNew<QRShader>(this, name);
    Shaders->Add(shader);
    return shader;
}

void GLShaderEngine::CreateVertexProgram(QRShader* shader)
{
    // Errors queued before belong to someone else.
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenProgramsARB(1, &shader->ProgramId);
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, shader->ProgramId);
    const std::string text = JoinLines(shader->Source);
    glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()),
                       text.data());
    if (glGetError() != GL_INVALID_OPERATION)
        return;
    const auto* reason = reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB));
    Engine()->ErrorShutdown(2, "Shader \"" + shader->GetName() + "\": " + (reason != nullptr ? reason : ""));
}

void GLShaderEngine::DeleteProgram(QRShader* shader)
{
    if (glDeleteProgramsARB != nullptr && shader->ProgramId != 0)
        glDeleteProgramsARB(1, &shader->ProgramId);
}

void GLShaderEngine::DeleteShader(int index)
{
    Shaders->DestroyAt(index);
}

void GLShaderEngine::DeleteShaders(const QOXObject* owner)
{
    Shaders->DestroyItemsOwnedBy(owner == this ? nullptr : owner);
}

void GLShaderEngine::ChildRemoved(QOXObject* child)
{
    ForgetChild(Shaders, child);
}
