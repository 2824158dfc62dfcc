#include "graphics/gl_main.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "graphics/gl_2D.h"
#include "graphics/gl_scene_generic.h"
#include "graphics/gl_scene_main.h"
#include "tests/support/gl_fixture.h"

namespace {

using Box = platform::RecordingDesktopServices::Box;

int ErrorBoxes(const std::vector<Box>& boxes, const std::string& text)
{
    return static_cast<int>(std::count_if(boxes.begin(), boxes.end(), [&text](const Box& box) {
        return box.Kind == platform::RecordingDesktopServices::BoxKind::Error && box.Text == "QOX_GL: " + text;
    }));
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(GLTest, InitTakesSlotZeroAndLogsTheStart)
{
    EXPECT_TRUE(Device->Contexts[0].InUse);
    EXPECT_EQ(Device->Contexts[0].Name, "Display");
    EXPECT_EQ(Device->LastContext, 0);
    EXPECT_EQ(Device->CurrentContext, 0);
    EXPECT_EQ(GL(), Device);
    const std::vector<std::string> log = LogLines();
    for (const char* line : {"Initializing Module: QOX GL", "QOX GL: Device Context created!",
                             "QOX GL: Rendering Context created!", "QOX GL: Initializing sub systems...",
                             "QOX GL: Camera initialized!", "QOX GL: GL 2D initialized!",
                             "QOX GL: GL Screen initialized!", "QOX GL: GL 3D initialized!",
                             "QOX GL: Scene Engine initialized!"})
        EXPECT_TRUE(Contains(log, line)) << line;
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(GLTest, StartStateIsSet)
{
    EXPECT_TRUE(IsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(IsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(IsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(IsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(GetInteger(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(GetInteger(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(GetInteger(GL_LIGHT_MODEL_COLOR_CONTROL), GL_SEPARATE_SPECULAR_COLOR);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
}

TEST_F(GLTest, SecondContextSharesWithThePrimary)
{
    const int index = Device->CreateContext(Device->Contexts[0].DeviceContext, "SECOND");
    ASSERT_EQ(index, 1);
    EXPECT_TRUE(Device->ShareLists(0, 1));
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    Device->SelectContext(0);
    EXPECT_EQ(glIsList(list), GL_TRUE) << "a list made in slot 1 is visible in slot 0";
    Device->DeleteContext(1);
    EXPECT_FALSE(Device->Contexts[1].InUse);
    EXPECT_EQ(glIsList(list), GL_TRUE) << "deleting another slot leaves the selected one current";
    Device->SelectContext(1);
    EXPECT_EQ(ErrorBoxes(Desktop.Boxes, "Selected Rendering Context does not exist!"), 1);
}

TEST_F(GLTest, ContextTableRefusesANinthSlot)
{
    for (int i = 1; i < QOXGL::kContextSlots; ++i)
        EXPECT_EQ(Device->CreateContext(Device->Contexts[0].DeviceContext, "EXTRA"), i);
    EXPECT_EQ(Device->CreateContext(Device->Contexts[0].DeviceContext, "NINTH"), -1);
    EXPECT_EQ(Device->LastContext, QOXGL::kContextSlots - 1);
    Device->SelectContext(0);
}

TEST_F(GLTest, StateSwitchesFollowTheirAllowFlags)
{
    struct Switch {
        std::function<void(bool)> Set;
        bool& Allow;
        unsigned Capability;
    };
    QOXGL& device = *Device;
    const Switch switches[] = {
        {[&device](bool on) { device.SetBlending(on); }, device.AllowBlending, GL_BLEND},
        {[&device](bool on) { device.SetFog(on); }, device.AllowFog, GL_FOG},
        {[&device](bool on) { device.SetAlphaTest(on); }, device.AllowAlphaTest, GL_ALPHA_TEST},
        {[&device](bool on) { device.SetAntialiasing(on); }, device.AllowAntialiasing, GL_LINE_SMOOTH},
        {[&device](bool on) { device.SetAntialiasing(on); }, device.AllowAntialiasing, GL_POINT_SMOOTH}};
    for (const Switch& s : switches) {
        s.Set(true);
        EXPECT_TRUE(IsEnabled(s.Capability)) << s.Capability;
        s.Set(false);
        EXPECT_FALSE(IsEnabled(s.Capability)) << s.Capability;
        s.Allow = false;
        s.Set(true);
        EXPECT_FALSE(IsEnabled(s.Capability)) << "not allowed: " << s.Capability;
        s.Allow = true;
    }
    const std::pair<std::function<void(bool)>, unsigned> unconditional[] = {
        {[&device](bool on) { device.SetDepthTest(on); }, GL_DEPTH_TEST},
        {[&device](bool on) { device.SetCulling(on); }, GL_CULL_FACE},
        {[&device](bool on) { device.SetTexturing(on); }, GL_TEXTURE_2D},
        {[&device](bool on) { device.SetLighting(on); }, GL_LIGHTING},
        {[&device](bool on) { device.SetColorMaterial(on); }, GL_COLOR_MATERIAL}};
    for (const auto& [set, capability] : unconditional) {
        set(false);
        EXPECT_FALSE(IsEnabled(capability)) << capability;
        set(true);
        EXPECT_TRUE(IsEnabled(capability)) << capability;
    }
}

TEST_F(GLTest, FlatShadingIsForcedWithoutSmoothShading)
{
    Device->SetFlatShading(true);
    EXPECT_EQ(GetInteger(GL_SHADE_MODEL), GL_FLAT);
    Device->SetFlatShading(false);
    EXPECT_EQ(GetInteger(GL_SHADE_MODEL), GL_SMOOTH);
    Device->AllowSmoothShading = false;
    Device->SetFlatShading(false);
    EXPECT_EQ(GetInteger(GL_SHADE_MODEL), GL_FLAT);
}

TEST_F(GLTest, NegativeBlendModeSetsFactorsAndColour)
{
    Device->SetBlendMode(3, {1.0f, 0.5f, 0.0f}, 0.5f);
    EXPECT_EQ(GetInteger(GL_BLEND_SRC), GL_ZERO);
    EXPECT_EQ(GetInteger(GL_BLEND_DST), GL_ONE_MINUS_SRC_COLOR);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.0f);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 0.5f);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    Device->SetBlendMode(7, {0.2f, 0.2f, 0.2f}, 1.0f);
    EXPECT_EQ(GetInteger(GL_BLEND_SRC), GL_ZERO) << "an unknown mode changes nothing";
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
}

// Each blend mode drawn as a full-view quad over mid grey: the picture shows its formula.
TEST_F(GLTest, BlendModesComposeThePictureAsTheirFactorsSay)
{
    struct Case {
        int Mode;
        QXColor Colour;
        float Alpha;
        Rgba Expected;
    };
    const Case cases[] = {
        {0, {1.0f, 0.0f, 0.0f}, 1.0f, {255, 0, 0, 255}},   // opaque
        {1, {1.0f, 0.0f, 0.0f}, 0.5f, {255, 128, 128, 255}}, // additive: grey + half red
        {2, {0.0f, 0.0f, 1.0f}, 0.5f, {64, 64, 191, 255}},  // average
        {3, {1.0f, 0.5f, 0.0f}, 0.5f, {128, 96, 64, 255}},  // negative: grey × (1, 0.75, 0.5)
        {5, {1.0f, 0.5f, 0.0f}, 1.0f, {128, 64, 0, 255}},   // multiply: colour × grey
        {6, {1.0f, 0.5f, 0.0f}, 1.0f, {128, 64, 0, 255}},   // modulate
    };
    for (const Case& c : cases) {
        ClearTo(0.5f, 0.5f, 0.5f);
        Device->System2D->Begin2D();
        Device->System2D->DrawQuad(c.Mode, c.Colour, c.Alpha, 0.0f, 0.0f, 640.0f, 480.0f);
        Device->System2D->End2D();
        EXPECT_TRUE(Near(CentrePixel(), c.Expected)) << "mode " << c.Mode;
    }
}

class CountingScene : public GLScene {
public:
    using GLScene::GLScene;
    void Render() override
    {
        GLubyte pixel[4] = {};
        glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        RedAtStart = pixel[0];
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT); // a frame that fills the view with red
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        ++Frames;
    }
    int Frames = 0;
    int RedAtStart = -1;
};

TEST_F(GLTest, FrameStartsOnBuffersClearedAfterTheLastPresent)
{
    auto* scene = QOXNew<CountingScene>(nullptr);
    scene->Activate();
    Device->RenderFrame();
    EXPECT_EQ(scene->Frames, 1);
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 0, 255})) << "cleared after the present";
    Device->RenderFrame();
    EXPECT_EQ(scene->RedAtStart, 0) << "the second frame starts on cleared buffers";
    scene->Destroy();
    EXPECT_EQ(Device->SceneEngine->ActiveScene, nullptr) << "a freed scene leaves the engine";
    Device->RenderFrame();
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(GLTest, QueuedGLErrorsGiveOneReportPerFrame)
{
    glEnable(0x7FFF);
    glMatrixMode(0x7FFF);
    glBlendFunc(0x7FFF, GL_ONE);
    Device->RenderFrame();
    EXPECT_EQ(ErrorBoxes(Desktop.Boxes, "GL Error occurred!"), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(Device->CheckError());
    EXPECT_TRUE(Contains(LogLines(), "  ERROR: QOX_GL: GL Error occurred!"));
}

TEST_F(GLTest, FailedFullScreenChangeFallsBackToSixtyHertzThenReports)
{
    Device->ChangeDisplay(800, 600, 32, 100, true);
    EXPECT_EQ(Device->RefreshRate, 60);
    EXPECT_EQ(ErrorBoxes(Desktop.Boxes, "Could not set display settings!"), 1);
    EXPECT_EQ(Device->Width, 800);
    EXPECT_EQ(Device->Contexts[0].Display.Width, 800);
    Device->ChangeDisplay(640, 480, 32, 60, false);
    EXPECT_EQ(ErrorBoxes(Desktop.Boxes, "Could not set display settings!"), 1) << "windowed mode changes nothing";
}

TEST_F(GLTest, TransformHelpersTranslateThenRotate)
{
    glLoadIdentity();
    Device->TranslateRotate({1.0f, 2.0f, 3.0f}, {0.0f, 90.0f, 0.0f});
    GLfloat m[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 1.0f);
    EXPECT_FLOAT_EQ(m[13], 2.0f);
    EXPECT_FLOAT_EQ(m[14], 3.0f);
    EXPECT_NEAR(m[8], 1.0f, 1e-6) << "a turn about y by +90 degrees takes z to x";
    glLoadIdentity();
    Device->Rotate({90.0f, 0.0f, 0.0f});
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[9], 1.0f, 1e-6) << "x turns by minus its angle";
    glLoadIdentity();
}

TEST_F(GLTest, ShutDownFreesContextsAndLogs)
{
    Device->Destroy();
    Device = nullptr;
    EXPECT_EQ(GL(), nullptr);
    const std::vector<std::string> lines = NewLogLines();
    EXPECT_TRUE(Contains(lines, "QOX GL: Shut down..."));
}

using GLDeathTest = EngineTest;

TEST_F(GLDeathTest, NoWindowIsAFatalSetUpFailure)
{
    EXPECT_EXIT(QOXNew<QOXGL>(nullptr)->Init(nullptr, "Display", 0, 0, 640, 480, 32, 100, false),
                ::testing::ExitedWithCode(1), "");
    const std::vector<std::string> log = LogLines();
    EXPECT_TRUE(Contains(log, "  ERROR: QOX_GL: Could not find device handle!"));
    bool fatal = false;
    for (const std::string& line : log)
        fatal = fatal || line.find("Can't create device context.") != std::string::npos;
    EXPECT_TRUE(fatal);
}

} // namespace
