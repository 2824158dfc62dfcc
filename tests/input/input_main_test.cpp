#include "input/input_main.h"

#include <gtest/gtest.h>

#include "input/input_keyboard.h"
#include "tests/input/input_fixture.h"

namespace {

TEST_F(InputTest, InitAndShutDownWriteTheirLines)
{
    Input->Init(&Script, UseDevice::Yes, UseDevice::Yes, UseDevice::Yes);
    const std::string separator(42, '-');
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{separator, "Initializing Module: QOX Input", " ",
                                                       "QOX Input: Keyboard initialized!",
                                                       "QOX Input: Mouse initialized!",
                                                       "QOX Input: Joystick Devices found: 0", separator, " "}));
    Input.reset();
    const auto lines = NewLogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 2),
              (std::vector<std::string>{separator, "QOX Input: Shut down..."}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (std::vector<std::string>{separator, " "}));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(InputTest, SharedCodesGoDownTogether)
{
    Start();
    Play(Frame().PressButton(kMiddle));
    EXPECT_EQ(DownButtons(), (std::vector<std::string>{"Mouse/Middle", "Movement/Movement Mode"}));
    Play(Frame().Press(kScanLeftShift).ReleaseButton(kMiddle));
    EXPECT_EQ(DownButtons(), (std::vector<std::string>{"Movement/Zoom", "Selection/Add"}));
    Play(Frame().Press(kScanLeftCtrl).Release(kScanLeftShift));
    EXPECT_EQ(DownButtons(), (std::vector<std::string>{"Movement/Pan", "Selection/Invert"}));
    Play(Frame().Press(kScanTab).Press(kScanSpace).Press(kScanLeftAlt).Release(kScanLeftCtrl).PressButton(kLeft).PressButton(kRight));
    EXPECT_EQ(DownButtons(), (std::vector<std::string>{"Mouse/Left", "Mouse/Right", "Movement/Rotate",
                                                       "Rings/Switch Ring", "Rings/Display Rings"}));
}

TEST_F(InputTest, EdgesBelongToTheFrameOfTheChange)
{
    Start();
    Play(Frame().Press(kScanTab));
    EXPECT_TRUE(Input->WasPressed("Switch Ring", "Rings"));
    EXPECT_TRUE(Input->IsDown("Switch Ring", "Rings"));
    for (int held = 0; held < 3; ++held) {
        Play();
        EXPECT_TRUE(Input->IsDown("Switch Ring", "Rings"));
        EXPECT_FALSE(Input->WasPressed("Switch Ring", "Rings"));
        EXPECT_FALSE(Input->WasReleased("Switch Ring", "Rings"));
    }
    Play(Frame().Release(kScanTab));
    EXPECT_FALSE(Input->IsDown("Switch Ring", "Rings"));
    EXPECT_TRUE(Input->WasReleased("Switch Ring", "Rings"));
    Play();
    EXPECT_FALSE(Input->WasReleased("Switch Ring", "Rings"));
}

// Every press and release between two polls is seen once, in the frame after it (or, for a second
// tap before the same poll, in the frame after that); a held key still reads as held.
TEST_F(InputTest, EveryPressAndReleaseIsSeenOnceWhateverFallsBetweenTwoPolls)
{
    struct Seen {
        bool Pressed;
        bool Released;
        bool Down;
    };
    struct Case {
        const char* Name;
        std::vector<Frame> Frames;
        std::vector<Seen> Expected; // one per frame, the frames after the last played empty
    };
    const std::vector<Case> cases = {
        {"a tap between two polls", {Frame().Press(kScanTab).Release(kScanTab)}, {{true, true, false}, {false, false, false}}},
        {"two taps between two polls",
         {Frame().Press(kScanTab).Release(kScanTab).Press(kScanTab).Release(kScanTab)},
         {{true, true, false}, {true, true, false}, {false, false, false}}},
        {"held over three polls",
         {Frame().Press(kScanTab), Frame(), Frame().Release(kScanTab)},
         {{true, false, true}, {false, false, true}, {false, true, false}, {false, false, false}}},
        {"a tap while the window loses the focus", {Frame().Press(kScanTab).LoseFocus()}, {{true, true, false}, {false, false, false}}},
        {"let go and pressed again between two polls (last: it stays held)",
         {Frame().Press(kScanTab), Frame().Release(kScanTab).Press(kScanTab), Frame()},
         {{true, false, true}, {true, true, true}, {false, false, true}}},
    };
    for (const Case& test : cases) {
        Input.reset();
        Input = QOXMake<QOXInput>(nullptr);
        Start();
        std::vector<Frame> frames = test.Frames;
        frames.resize(test.Expected.size());
        for (std::size_t i = 0; i < frames.size(); ++i) {
            Play(frames[i]);
            const Seen& expected = test.Expected[i];
            EXPECT_EQ(Input->WasPressed("Switch Ring", "Rings"), expected.Pressed) << test.Name << ", frame " << i;
            EXPECT_EQ(Input->WasReleased("Switch Ring", "Rings"), expected.Released) << test.Name << ", frame " << i;
            EXPECT_EQ(Input->IsDown("Switch Ring", "Rings"), expected.Down) << test.Name << ", frame " << i;
        }
    }
}

TEST_F(InputTest, WheelNotchIsAButtonForExactlyOneFrame)
{
    Start();
    Play(Frame().Turn(1));
    EXPECT_EQ(DownButtons(), std::vector<std::string>{"Mouse/Zoom In"});
    EXPECT_TRUE(Input->WasPressed("Zoom In", "Mouse"));
    Play();
    EXPECT_TRUE(DownButtons().empty());
    EXPECT_TRUE(Input->WasReleased("Zoom In", "Mouse"));
    Play(Frame().Turn(-2));
    EXPECT_EQ(DownButtons(), std::vector<std::string>{"Mouse/Zoom Out"});
    Play();
    EXPECT_TRUE(DownButtons().empty());
}

TEST_F(InputTest, LostFocusReleasesEverything)
{
    Start();
    Play(Frame().Press(kScanLeftShift).Press(kScanLeftAlt).PressButton(kLeft));
    EXPECT_EQ(DownButtons().size(), 4u);
    Play(Frame().LoseFocus());
    EXPECT_TRUE(DownButtons().empty());
    EXPECT_TRUE(Input->WasReleased("Left", "Mouse"));
}

TEST_F(InputTest, LookupsByNameAndGroup)
{
    Start();
    EXPECT_EQ(Input->FindButton("Zoom", "Movement"), 7);
    EXPECT_EQ(Input->FindButton("Zoom", ""), 7);
    EXPECT_EQ(Input->FindButton("Zoom", "Mouse"), -1);
    EXPECT_EQ(Input->FindButton("zoom", "Movement"), -1);
    const int second = Input->AddButton("Zoom", "Keys", kScanSpace);
    EXPECT_EQ(Input->FindButton("Zoom", "Keys"), second);
    Play(Frame().Press(kScanSpace));
    EXPECT_FALSE(Input->IsDown("Zoom", ""));
    EXPECT_TRUE(Input->IsDown("Zoom", "Keys"));

    const std::string longName(40, 'n');
    const int cut = Input->AddButton(longName, longName, kScanSpace);
    EXPECT_EQ(Input->Buttons[static_cast<std::size_t>(cut)].Name, std::string(32, 'n'));
    EXPECT_EQ(Input->FindButton(longName + "more", std::string(32, 'n')), cut);
}

TEST_F(InputTest, UnknownNamesAreNeverDown)
{
    Start();
    Play(Frame().Press(kScanTab));
    for (const auto& [name, group] : std::vector<std::pair<std::string, std::string>>{
             {"Jump", "Movement"}, {"Jump", ""}, {"", ""}, {"Switch Ring", "Mouse"}}) {
        EXPECT_FALSE(Input->IsDown(name, group)) << name << "/" << group;
        EXPECT_FALSE(Input->WasPressed(name, group)) << name << "/" << group;
        EXPECT_FALSE(Input->WasReleased(name, group)) << name << "/" << group;
    }
}

TEST_F(InputTest, EmptyModuleAndInactiveModuleAnswerNothing)
{
    Input->Init(&Script, UseDevice::Yes, UseDevice::No, UseDevice::Yes);
    Play(Frame().Press(kScanTab));
    EXPECT_EQ(Input->LastButton, -1);
    EXPECT_EQ(Input->FindButton("Switch Ring", ""), -1);
    RegisterApplicationButtons();
    Input->Active = false;
    Play();
    EXPECT_FALSE(Input->IsDown("Switch Ring", "Rings"));
    EXPECT_EQ(Input->FindButton("Switch Ring", "Rings"), -1);
}

TEST_F(InputTest, SecondCodeCountsAndOutOfRangeCodesAreReported)
{
    Start();
    const int either = Input->AddButton("Either", "Test", 1003);
    Input->Buttons[static_cast<std::size_t>(either)].Codes[1] = kScanSpace;
    Input->AddButton("Beyond Keys", "Test", 300);
    Input->AddButton("Negative", "Test", -7);
    Input->AddButton("Beyond Joysticks", "Test", 4000);
    Play(Frame().Press(kScanSpace));
    EXPECT_TRUE(Input->IsDown("Either", "Test"));
    EXPECT_FALSE(Input->IsDown("Beyond Keys", "Test"));
    EXPECT_FALSE(Input->IsDown("Negative", "Test"));
    EXPECT_FALSE(Input->IsDown("Beyond Joysticks", "Test"));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>(2, "  ERROR: QOX_Input: Undefined input device range!"));
}

TEST_F(InputTest, WithoutAnInputSystemEveryButtonIsUp)
{
    Input->Init(nullptr, UseDevice::Yes, UseDevice::Yes, UseDevice::Yes);
    RegisterApplicationButtons();
    Input->Update();
    Input->Update();
    EXPECT_TRUE(DownButtons().empty());
    EXPECT_FALSE(Input->UseKeyboard);
    EXPECT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QOX_Input: Could not initialize Direct Input!");
}

TEST_F(InputTest, UnavailableSystemSetsUpNoDevice)
{
    Script.Available = false;
    Start(UseDevice::Yes);
    Play(Frame().Press(kScanTab).PressButton(kLeft));
    EXPECT_TRUE(DownButtons().empty());
    EXPECT_FALSE(Input->Keyboard->Initialized);
    const auto lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  ERROR: QOX_Input: Could not initialize Direct Input!"),
              lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "QOX Input: Keyboard initialized!"), lines.end());
}

} // namespace
