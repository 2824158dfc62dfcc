#include "graphics/gl_2D_console.h"

#include <gtest/gtest.h>

#include "engine/qox_console.h"
#include "graphics/gl_2D_font.h"
#include "resources/resource_font.h"
#include "tests/support/font_files.h"
#include "tests/support/gl_fixture.h"

namespace {

class ConsoleTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Overlay = Device->System2D->Console;
        Device->System2D->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, kWidth, kHeight);
    }

    Rgba At(int x, int y) const { return ReadPixel(x, kHeight - 1 - y); }

    GLConsole* Overlay = nullptr;
};

TEST_F(ConsoleTest, KeepsTheLastFifteenLogLinesOldestAtTheTop)
{
    for (int i = 1; i <= 16; ++i)
        Engine()->Console->AddLine("line " + std::to_string(i));
    ASSERT_EQ(Overlay->Lines.size(), 15u);
    EXPECT_EQ(Overlay->Lines.front().Text, "line 2");
    EXPECT_EQ(Overlay->Lines.back().Text, "line 16");
    EXPECT_EQ(Overlay->Lines.back().Colour, (QXColor{1, 1, 1}));

    Overlay->SetLineCount(3);
    Overlay->AddColoredLine("red", {1, 0, 0});
    ASSERT_EQ(Overlay->Lines.size(), 3u);
    EXPECT_TRUE(Overlay->Lines[0].Text.empty());
    EXPECT_EQ(Overlay->Lines[2].Colour, (QXColor{1, 0, 0}));

    Overlay->Enabled = false;
    Overlay->AddLine("ignored");
    EXPECT_EQ(Overlay->Lines[2].Text, "red");
}

TEST_F(ConsoleTest, StartsHiddenAndShowsItsBandAndTextOnceShown)
{
    std::array<int, 256> widths{};
    widths.fill(10);
    WriteTestFont(ProgramFolder, "textures/fonts/default", "A", widths);
    QRFont* font = Device->System2D->Fonts->CreateFont("textures/fonts/default", "Default Add");
    Overlay->SetLineCount(2);
    Overlay->AddLine("A");
    Overlay->SetStyle(font, {1, 1, 1}, false, 40.0f, 20.0f, 30.0f, 2.0f, 1.0f);

    ClearTo(0, 0, 0);
    Device->System2D->Render();
    EXPECT_TRUE(Near(At(300, 5), {0, 0, 0, 255}));

    Overlay->Show();
    Overlay->Fade.Value = 1.0f;
    Overlay->Fade.State = GLFade::Still;
    Device->System2D->Render();
    // The band: one line of 30 plus 1.2 x 20, the colour over black at alpha 0.7.
    EXPECT_TRUE(Near(At(300, 5), {54, 36, 18, 255}, 3));
    EXPECT_TRUE(Near(At(300, 60), {0, 0, 0, 255}));
    // The glyph of "A" centred half an advance (5) right of the margin.
    EXPECT_TRUE(Near(At(45, 20), {255, 255, 255, 255}, 8));

    Overlay->Hide();
    Overlay->Fade.Value = 0.0f;
    Overlay->Fade.State = GLFade::Still;
    ClearTo(0, 0, 0);
    Device->System2D->Render();
    EXPECT_TRUE(Near(At(300, 5), {0, 0, 0, 255}));
}

TEST_F(ConsoleTest, StopsListeningWhenItGoes)
{
    Overlay->Destroy();
    EXPECT_EQ(Device->System2D->Console, nullptr);
    Engine()->Console->AddLine("after the console");
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(log.back(), "after the console");
}

} // namespace
