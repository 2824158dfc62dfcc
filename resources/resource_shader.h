#pragma once
// A vertex program in the ARB vertex program language, read from "<program folder>/<name>.txt" and
// compiled by the shader engine.
#include <string>
#include <vector>

#include "resources/resource_main.h"

enum ShaderKind : int { VertexProgram = 0 };

inline constexpr ResourceKind kShaderKind{"RESOURCE SHADER", "Creating Shader: ", "Deleting Shader: ",
                                          ResourceKind::Naming::FileNameOnly};

class QRShader : public QOXResource {
    QOX_CLASS(QRShader)
public:
    explicit QRShader(QOXObject* owner, const std::string& name = std::string());

    // Without vertex program support the shader is refused with a report and stays empty.
    void Load(const std::string& name) override;

    unsigned ProgramId = 0;
    int ShaderType = VertexProgram;
    std::vector<std::string> Source; // the file's lines, whole

protected:
    void ReleaseData() override;

private:
    // The source lines; false, with none kept, when the file was refused.
    bool ReadSource(const std::string& path);
};
