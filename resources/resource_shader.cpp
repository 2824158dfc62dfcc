#include "resources/resource_shader.h"

#include "engine/file_file.h"
#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_shaderengine.h"

QRShader::QRShader(QOXObject* owner, const std::string& name) : QOXResource(owner, kShaderKind)
{
    if (!name.empty())
        QRShader::Load(name);
    AfterSetup();
}

void QRShader::Load(const std::string& name)
{
    BeginLoad(name);
    const std::string path = Engine()->FileSystem->MakePath(name, "txt");
    if (!Engine()->FileSystem->FileExists(path, QOXFileSystem::ReportMissing))
        return;
    GLShaderEngine* engine = GL()->ShaderEngine;
    if (!engine->Supported) {
        Engine()->Error("QOX_GL", "Shader \"" + GetName() + "\": vertex programs are not supported!");
        return;
    }
    if (!ReadSource(path))
        return;
    if (!Source.empty() && Source.front() == "!!ARBvp1.0") {
        ShaderType = VertexProgram;
        engine->CreateVertexProgram(this);
        Engine()->Console->AddLine("Vertex Shader created!");
    }
    FinishLoad();
}

bool QRShader::ReadSource(const std::string& path)
{
    QOXFile* file = Engine()->FileSystem->OpenRead(path, QOXFile::Text);
    Source.clear();
    while (!file->Eof())
        Source.push_back(file->ReadLine());
    const bool read = !file->WasRefused();
    file->Destroy();
    if (!read)
        Source.clear();
    return read;
}

void QRShader::ReleaseData()
{
    if (GL() != nullptr && GL()->ShaderEngine != nullptr)
        GL()->ShaderEngine->DeleteProgram(this);
    ProgramId = 0;
    Source.clear();
}
