#include "resources/gl_shaderengine.h"

#include <gtest/gtest.h>

#include "resources/resource_shader.h"
#include "tests/support/gl_fixture.h"

namespace {

const char* kProgram =
    "!!ARBvp1.0\n"
    "PARAM mvp[4] = { state.matrix.mvp };\n"
    "DP4 result.position.x, mvp[0], vertex.position;\n"
    "DP4 result.position.y, mvp[1], vertex.position;\n"
    "DP4 result.position.z, mvp[2], vertex.position;\n"
    "DP4 result.position.w, mvp[3], vertex.position;\n"
    "MOV result.color, vertex.color;\n"
    "END\n";

using ShaderTest = GLTest;

TEST_F(ShaderTest, AVertexProgramCompilesAndIsDeletedWithItsShader)
{
    GLShaderEngine* shaders = Device->ShaderEngine;
    ASSERT_TRUE(shaders->Supported);
    ProgramFolder.Write("shaders/pass.txt", kProgram);
    NewLogLines();
    QRShader* shader = shaders->CreateShader("shaders/pass");
    ASSERT_TRUE(shader->IsLoaded());
    EXPECT_EQ(shader->GetName(), "pass");
    EXPECT_NE(shader->ProgramId, 0u);
    EXPECT_EQ(shader->Source.size(), 8u);
    auto isProgram = reinterpret_cast<PFNGLISPROGRAMARBPROC>(Device->GetProcAddress("glIsProgramARB"));
    EXPECT_TRUE(isProgram(shader->ProgramId));
    const unsigned id = shader->ProgramId;
    shaders->DeleteShaders(shaders);
    EXPECT_EQ(shaders->Shaders->LastIndex(), -1);
    EXPECT_FALSE(isProgram(id));
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Creating Shader: \"pass\"", "Vertex Shader created!",
                                                       "Deleting Shader: \"pass\""}));
}

TEST_F(ShaderTest, MissingShaderFileLeavesTheShaderEmpty)
{
    QRShader* shader = Device->ShaderEngine->CreateShader("shaders/none");
    EXPECT_FALSE(shader->IsLoaded());
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: File \"" + ProgramFolder.Path() + "shaders/none.txt\" not found!");
}

TEST_F(ShaderTest, ARejectedProgramEndsTheProcessWithCodeTwo)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ProgramFolder.Write("shaders/broken.txt", "!!ARBvp1.0\nNOT AN INSTRUCTION;\nEND\n");
    EXPECT_EXIT(Device->ShaderEngine->CreateShader("shaders/broken"), ::testing::ExitedWithCode(2), "");
}

} // namespace
