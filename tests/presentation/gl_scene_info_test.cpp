#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <chrono>

#include "platform/date_text.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"
#include "tests/presentation/scene_fixture.h"

namespace {

constexpr float kRight = 630.0f;
constexpr float kTop = 320.0f;

std::vector<std::string> Texts(const std::vector<GLInfoLine>& lines)
{
    std::vector<std::string> texts;
    for (const GLInfoLine& line : lines)
        texts.push_back(line.Text);
    return texts;
}

bool HasLine(const std::vector<GLInfoLine>& lines, float x, float y, const std::string& text)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const GLInfoLine& line) { return line.X == x && line.Y == y && line.Text == text; });
}

} // namespace

TEST(SizeText, PicksTheUnitByMagnitudeWithAPointAsSeparator)
{
    EXPECT_EQ(SizeText(0), "0 Byte");
    EXPECT_EQ(SizeText(1023), "1023 Byte");
    EXPECT_EQ(SizeText(-1), "-1 Byte");
    EXPECT_EQ(SizeText(1024), "1.0 KB");
    EXPECT_EQ(SizeText(1536), "1.5 KB");
    EXPECT_EQ(SizeText(1048575), "1024.0 KB");
    EXPECT_EQ(SizeText(1048576 * 3 / 2), "1.50 MB");
    EXPECT_EQ(SizeText(1073741824LL * 5 / 4), "1.25 GB");
    EXPECT_EQ(SizeText(1073741824LL * 4096), "4096.00 GB");
}

TEST(AttributeText, JoinsTheAttributesWithACommaAndNothingTrailing)
{
    EXPECT_EQ(AttributeText(false, false), "");
    EXPECT_EQ(AttributeText(true, false), "Hidden");
    EXPECT_EQ(AttributeText(false, true), "Read Only");
    EXPECT_EQ(AttributeText(true, true), "Hidden, Read Only");
}

TEST_F(SceneTest, FileInfoBoxShowsSizeDatesAndAttributes)
{
    TheApp->Settings.DisplayShadow = false;
    const std::string path = Tree.File(".notes.txt", 1536);
    const utimbuf times{1700000000, 1700000000};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
    QOXRing* ring = Open();
    Hover(ring, ".notes.txt");
    Frame();
    EXPECT_EQ(Scene->InfoTitle(), ".notes.txt");
    const std::vector<GLInfoLine> lines = Scene->InfoLines(kRight, kTop);
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 50, "File Size:"));
    EXPECT_TRUE(HasLine(lines, kRight - 100, kTop + 50, "1.5 KB"));
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 70, "File Created:"));
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 90, "Last Access:"));
    EXPECT_TRUE(HasLine(lines, kRight - 100, kTop + 90, platform::ShortDateText(1700000000)));
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 130, "Info:"));
    EXPECT_TRUE(HasLine(lines, kRight - 180, kTop + 130, "Hidden"));
    // The box darkens the corner of the view and its title is drawn in white.
    EXPECT_LT(ViewPixel(kWidth - 100, kHeight - 30)[0], kBackground[0] - 10);
    EXPECT_GT(BrightestIn(kWidth - 240, kHeight - 150, kWidth - 120, kHeight - 130), 200);
}

TEST_F(SceneTest, FileWithoutAttributesHasNoInfoLine)
{
    Tree.File("plain.txt", 10);
    QOXRing* ring = Open();
    Hover(ring, "plain.txt");
    Frame();
    const std::vector<std::string> texts = Texts(Scene->InfoLines(kRight, kTop));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Info:"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "10 Byte"), 1);
}

TEST_F(SceneTest, FolderInfoBoxShowsOnlyItsAttributes)
{
    Tree.MakeFolder(".cache");
    QOXRing* ring = Open();
    Hover(ring, ".cache/");
    Frame();
    EXPECT_EQ(Scene->InfoTitle(), ".cache");
    const std::vector<std::string> texts = Texts(Scene->InfoLines(kRight, kTop));
    EXPECT_EQ(texts, (std::vector<std::string>{"Info:", "Hidden"}));
}

TEST_F(SceneTest, RingRootIsTitledByItsFolderAndAMountPointGetsDriveLines)
{
    QOXRing* ring = Open();
    Hover(ring, "");
    Frame();
    const std::string folder = Tree.Root().substr(0, Tree.Root().size() - 1);
    EXPECT_EQ(Scene->InfoTitle(), folder);
    EXPECT_TRUE(Scene->InfoLines(kRight, kTop).empty() ||
                Texts(Scene->InfoLines(kRight, kTop)).front() != "Drive Type:");

    QOXRing* root = TheApp->CreateRing("/");
    ASSERT_NE(root, nullptr);
    Hover(root, "");
    Frame();
    EXPECT_EQ(Scene->InfoTitle(), "/");
    const std::vector<GLInfoLine> lines = Scene->InfoLines(kRight, kTop);
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 50, "Drive Type:"));
    EXPECT_TRUE(HasLine(lines, kRight - 120, kTop + 50, "HDD"));
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 90, "Space Available:"));
    EXPECT_TRUE(HasLine(lines, kRight - 230, kTop + 110, "Space Free:"));
    const auto share = std::find_if(lines.begin(), lines.end(), [](const GLInfoLine& line) {
        return line.Text.starts_with("(") && line.Text.ends_with("% free)");
    });
    ASSERT_NE(share, lines.end());
    EXPECT_NE(share->Text.find('.'), std::string::npos);
}

TEST_F(SceneTest, InfoBoxFadesAfterItsDurationAndRestartsOnAnotherElement)
{
    TheApp->Settings.DisplayShadow = false;
    TheApp->Settings.DisplayDuration = 1.0f;
    Tree.File("a.txt", 10);
    Tree.File("b.txt", 10);
    QOXRing* ring = Open();
    Hover(ring, "a.txt");
    Frame(500);
    const int full = ViewPixel(kWidth - 100, kHeight - 30)[0];
    EXPECT_LT(full, kBackground[0] - 10);
    Frame(1000); // 1.5 s: half faded
    const int half = ViewPixel(kWidth - 100, kHeight - 30)[0];
    EXPECT_GT(half, full);
    EXPECT_LT(half, kBackground[0]);
    Frame(600); // past the fade: nothing
    EXPECT_TRUE(Near(ViewPixel(kWidth - 100, kHeight - 30), kBackground));
    Frame(5000);
    EXPECT_TRUE(Near(ViewPixel(kWidth - 100, kHeight - 30), kBackground));
    Hover(ring, "b.txt");
    Frame(50);
    EXPECT_EQ(ViewPixel(kWidth - 100, kHeight - 30)[0], full);
}

TEST_F(SceneTest, ZeroDisplayDurationDisablesTheInfoBox)
{
    TheApp->Settings.DisplayShadow = false;
    TheApp->Settings.DisplayDuration = 0.0f;
    Tree.File("a.txt", 10);
    QOXRing* ring = Open();
    Hover(ring, "a.txt");
    Frame();
    EXPECT_TRUE(Near(ViewPixel(kWidth - 100, kHeight - 30), kBackground));
    EXPECT_EQ(Scene->InfoElement, nullptr);
}

// With sizes counted in the background a folder's box shows its total, its files and folders and
// what the total leaves out, and grows upwards for lines the design's box has no room for; a folder
// whose count waits shows "counting…".
TEST_F(SceneTest, FolderInfoBoxShowsItsCountAndWhatItLeavesOut)
{
    FileTree outside;
    Tree.File("docs/a.txt", 1000);
    Tree.File("docs/deep/b.txt", 24);
    Tree.UnreadableFolder("docs/locked");
    Tree.UnreadableFolder(".cache/locked");
    Tree.Link("elsewhere", outside.Root());
    Tree.File("later/c.txt", 5);
    ASSERT_TRUE(FileTree::PermissionsApply());
    QOXRing* waiting = Open("later");
    QOXRing* ring = Open();
    SettleRings();
    TheApp->Settings.CountFolderSizesInBackground = true;
    TheApp->Settings.DisplayShadow = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    do
        Advance(50);
    while ((ring->Sizes == nullptr || ring->Sizes->Progress().Busy) && std::chrono::steady_clock::now() < deadline);
    Advance(50);

    struct Case {
        QOXRing* Ring;
        const char* Name;
        std::vector<GLInfoLine> Lines;
    };
    const Case cases[] = {
        {waiting, "", {{kRight - 230, kTop + 50, "Folder Size:"}, {kRight - 100, kTop + 50, "counting…"}}},
        {ring, "docs/", {{kRight - 230, kTop + 50, "Folder Size:"}, {kRight - 100, kTop + 50, "1.0 KB"},
                         {kRight - 230, kTop + 70, "Files:"}, {kRight - 100, kTop + 70, "2"},
                         {kRight - 230, kTop + 90, "Folders:"}, {kRight - 100, kTop + 90, "2"},
                         {kRight - 230, kTop + 110, "Not counted:"}, {kRight - 220, kTop + 130, "1 unreadable folder"}}},
        {ring, "elsewhere/", {{kRight - 230, kTop + 50, "Folder Size:"}, {kRight - 100, kTop + 50, "0 Byte"},
                              {kRight - 230, kTop + 70, "Not counted:"}, {kRight - 220, kTop + 90, "a link, not followed"}}},
        {ring, ".cache/", {{kRight - 230, kTop + 110, "Not counted:"}, {kRight - 230, kTop + 150, "Info:"},
                           {kRight - 180, kTop + 150, "Hidden"}}},
    };
    for (const Case& test : cases) {
        Hover(test.Ring, test.Name);
        const std::vector<GLInfoLine> lines = Scene->InfoLines(kRight, kTop);
        for (const GLInfoLine& line : test.Lines)
            EXPECT_TRUE(HasLine(lines, line.X, line.Y, line.Text)) << test.Name << ": " << line.Text;
    }
    // The last one needs 170 pixels: the box reaches higher than the design's 150.
    Frame();
    EXPECT_LT(ViewPixel(kWidth - 30, kHeight - 10 - 165)[0], kBackground[0] - 10);
    Hover(ring, "docs/");
    Frame();
    EXPECT_TRUE(Near(ViewPixel(kWidth - 30, kHeight - 10 - 165), kBackground));
}
