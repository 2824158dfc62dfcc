// Whole frames of the application scene through the snapshot tool, compared with committed golden
// pictures. To regenerate them after an intended change of the picture, run
//   ORBIVANE_UPDATE_GOLDEN=1 build/tests/orbivane_tools_tests --gtest_filter='SnapshotGolden*'
// and look at the pictures in tests/presentation/golden/ before committing them.
#include <gtest/gtest.h>

#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "resources/image_decoders.h"
#include "platform/egl_gl_binding.h"
#include "tests/support/file_tree.h"
#include "tests/support/gl_drivers.h"
#include "tests/support/temp_folder.h"
#include "tools/snapshot/snapshot.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kFixedTime = 1700000000; // every date in the tree, so pictures never drift
constexpr const char* kDesignedSizing = "[DISPLAY]\nCountFolderSizesInBackground=0\nSizeTrueRings=0\n";

// A small made-up tree with fixed sizes and dates.
void MakeTree(const FileTree& tree)
{
    tree.File("docs/a.txt", 3000);
    tree.File("docs/b.pdf", 12000);
    tree.File("docs/old/c.txt", 500);
    tree.File("music/x.mp3", 40000);
    tree.File("music/y.mp3", 25000);
    tree.File("src/main.cpp", 8000);
    tree.File("src/util.h", 1500);
    tree.File("readme.md", 2000);
    const utimbuf times{kFixedTime, kFixedTime};
    for (const auto& entry : fs::recursive_directory_iterator(tree.Root()))
        ::utime(entry.path().c_str(), &times);
}

// A program folder with the program's own pictures and fonts and no settings file, so that the
// settings are the table defaults whatever a user changed in the build's folder.
class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory_symlink(std::string(ORBIVANE_SOURCE_DATA) + "textures", Home.Path() + "textures");
        ::setenv("ORBIVANE_HOME", Home.Path().c_str(), 1);
        MakeTree(Tree);
        // The snapshot opens and closes its own display; Mesa's modules are pinned while one is open.
        const platform::EglGLBinding display(16, 16);
        KeepGLDriversLoaded();
    }
    void TearDown() override { ::unsetenv("ORBIVANE_HOME"); }

    snapshot::Picture Take(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.end(), {"--folder", Tree.Root(), "--out", "unused.png", "--size", "320x240"});
        snapshot::Options options;
        EXPECT_FALSE(snapshot::ParseArguments(arguments, options));
        snapshot::Picture picture;
        const auto error = snapshot::Render(options, picture);
        EXPECT_FALSE(error) << *error;
        return picture;
    }

    enum class Match { Exactly, Closely };

    // The golden picture, bit for bit; or close to it: llvmpipe versions may round edges and blends
    // differently, so a few pixels may differ much and the mean only a little.
    void ExpectGolden(const snapshot::Picture& picture, const std::string& name, Match match = Match::Closely)
    {
        const std::string path = std::string(ORBIVANE_GOLDEN_FOLDER) + name + ".png";
        if (std::getenv("ORBIVANE_UPDATE_GOLDEN") != nullptr) {
            ASSERT_FALSE(snapshot::WritePng(path, picture));
            return;
        }
        std::ifstream file(path, std::ios::binary);
        const DecodedImage golden = DecodePng(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {}));
        ASSERT_TRUE(golden.Ok()) << golden.Error;
        ASSERT_EQ(golden.Width, picture.Width);
        ASSERT_EQ(golden.Height, picture.Height);
        ASSERT_EQ(golden.Components, 3);
        if (match == Match::Exactly) {
            EXPECT_TRUE(golden.Pixels == picture.Rgb) << name << " is not the same to the bit";
            return;
        }
        double total = 0.0;
        std::size_t far = 0;
        for (std::size_t i = 0; i < picture.Rgb.size(); ++i) {
            const int difference = std::abs(int(picture.Rgb[i]) - int(golden.Pixels[i]));
            total += difference;
            far += difference > 48 ? 1 : 0;
        }
        EXPECT_LT(total / static_cast<double>(picture.Rgb.size()), 1.5) << name;
        EXPECT_LT(far, picture.Rgb.size() / 200) << name;
    }

    TempFolder Home;
    FileTree Tree;
};

// The golden pictures show the rings sized as designed (sectors of unset size alike): the settings
// file holds that setting and "ReadableLabels", every other takes its table default.
class SnapshotGolden : public SnapshotTest {
protected:
    void SetReadableLabels(bool on) const
    {
        Home.Write("orbivane.ini", std::string(kDesignedSizing) + "ReadableLabels=" + (on ? "1" : "0") + "\n");
    }
};

} // namespace

TEST(SnapshotArguments, ReadTheWholeCommandLineAndRefuseWhatIsWrong)
{
    snapshot::Options options;
    EXPECT_FALSE(snapshot::ParseArguments({"--folder", "/tmp/a", "--expand", "b", "--expand", "b/c", "--size", "100x50",
                                           "--frames", "7", "--pointer", "10.5,20", "--out", "x.png", "--frame-stats",
                                           "f.txt"},
                                          options));
    EXPECT_EQ(options.Folder, "/tmp/a");
    EXPECT_EQ(options.Expand, (std::vector<std::string>{"b", "b/c"}));
    EXPECT_EQ(options.Width, 100);
    EXPECT_EQ(options.Height, 50);
    EXPECT_EQ(options.Frames, 7);
    ASSERT_TRUE(options.Pointer.has_value());
    EXPECT_FLOAT_EQ(options.Pointer->first, 10.5f);
    EXPECT_FLOAT_EQ(options.Pointer->second, 20.0f);
    EXPECT_EQ(options.Out, "x.png");
    EXPECT_EQ(options.FrameStats, "f.txt");
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--out", "x.png"},
             {"--folder", "/tmp"},
             {"--folder", "/tmp", "--out", "x.png", "--size", "100"},
             {"--folder", "/tmp", "--out", "x.png", "--size", "0x100"},
             {"--folder", "/tmp", "--out", "x.png", "--frames", "-3"},
             {"--folder", "/tmp", "--out", "x.png", "--pointer", "1;2"},
             {"--folder", "/tmp", "--out", "x.png", "--colour", "red"},
             {"--folder", "/tmp", "--out"}}) {
        snapshot::Options refused;
        EXPECT_TRUE(snapshot::ParseArguments(wrong, refused)) << wrong.back();
    }
}

TEST_F(SnapshotTest, AMissingFolderOrSubFolderIsReportedNotDrawn)
{
    snapshot::Options options;
    options.Folder = Tree.PathOf("nothing-here");
    snapshot::Picture picture;
    EXPECT_TRUE(snapshot::Render(options, picture));
    options.Folder = Tree.Root();
    options.Expand = {"docs/none"};
    EXPECT_TRUE(snapshot::Render(options, picture));
}

// With frame statistics every frame is drawn whole and gets a line (milliseconds, elements drawn:
// the root and its four children); the picture is the one taken without them.
TEST_F(SnapshotTest, FrameStatisticsGiveALinePerFrameAndTheSamePicture)
{
    Home.Write("orbivane.ini", kDesignedSizing); // sizes that arrive while counting would ease in midway
    const snapshot::Picture plain = Take({"--frames", "3"});
    // The font compressed for the first picture is kept in the program's cache; the second takes it.
    EXPECT_EQ(std::distance(fs::directory_iterator(Home.Path() + "texture-cache"), fs::directory_iterator()), 1);
    const std::string stats = Home.Path() + "frames.txt";
    EXPECT_EQ(Take({"--frames", "3", "--frame-stats", stats}).Rgb, plain.Rgb);
    std::ifstream lines(stats);
    int frames = 0;
    double milliseconds = 0.0;
    long elements = 0;
    while (lines >> milliseconds >> elements) {
        ++frames;
        EXPECT_GT(milliseconds, 0.0);
        EXPECT_EQ(elements, 5);
    }
    EXPECT_EQ(frames, 3);
    snapshot::Options options;
    ASSERT_FALSE(snapshot::ParseArguments({"--folder", Tree.Root(), "--out", "unused.png", "--frame-stats",
                                           Tree.PathOf("no/such/folder/frames.txt")},
                                          options));
    snapshot::Picture picture;
    EXPECT_TRUE(snapshot::Render(options, picture)); // a file that cannot be written is refused
}

// The tool as a whole: the file written while the session ends holds the picture taken, and what
// cannot be done is an exit status with its reason.
TEST_F(SnapshotTest, TheToolWritesThePictureItTookOrSaysWhyNot)
{
    Home.Write("orbivane.ini", kDesignedSizing);
    const std::string out = Home.Path() + "ring.png";
    const auto run = [&](std::vector<std::string> arguments, const std::string& to) {
        arguments.insert(arguments.end(), {"--size", "320x240", "--frames", "3", "--out", to});
        std::ostringstream errors;
        const int status = snapshot::Run(arguments, errors);
        return std::pair(status, errors.str());
    };
    const auto [status, said] = run({"--folder", Tree.Root()}, out);
    ASSERT_EQ(status, 0) << said;
    std::ifstream file(out, std::ios::binary);
    const DecodedImage written = DecodePng(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {}));
    ASSERT_TRUE(written.Ok()) << written.Error;
    EXPECT_EQ(written.Pixels, Take({"--frames", "3"}).Rgb);

    struct Refused {
        std::vector<std::string> Arguments;
        std::string To;
        int Status;
        std::string Reason;
    };
    for (const Refused& refused : {Refused{{"--folder", Tree.Root()}, Tree.PathOf("none/ring.png"), 1, "cannot write"},
                                   Refused{{"--folder", Tree.PathOf("none")}, out, 1, "no folder"},
                                   Refused{{"--frames"}, out, 2, "usage:"}}) {
        const auto [refusedStatus, reason] = run(refused.Arguments, refused.To);
        EXPECT_EQ(refusedStatus, refused.Status) << reason;
        EXPECT_NE(reason.find(refused.Reason), std::string::npos) << reason;
    }
    EXPECT_FALSE(fs::exists(Tree.PathOf("none")));
}

// Sizes counted in the background (the table default) are all in before the frames: the same tree
// gives the same picture, and its sectors follow the sizes, unlike those sized as designed.
TEST_F(SnapshotTest, CountedSizesAreInBeforeTheFrames)
{
    const snapshot::Picture counted = Take({"--frames", "20"});
    EXPECT_EQ(Take({"--frames", "20"}).Rgb, counted.Rgb);
    Home.Write("orbivane.ini", kDesignedSizing);
    EXPECT_NE(Take({"--frames", "20"}).Rgb, counted.Rgb);
}

// Every sector of these rings is wide, so the level of detail changes nothing: with
// "ReadableLabels" off the frames are the ones the program drew before, to the bit. With it on the
// labels on the left half read left to right.
TEST_F(SnapshotGolden, PlainRing)
{
    SetReadableLabels(false);
    ExpectGolden(Take({"--frames", "40"}), "ring", Match::Exactly);
    SetReadableLabels(true);
    ExpectGolden(Take({"--frames", "40"}), "ring-readable");
}

TEST_F(SnapshotGolden, ExpandedFolders)
{
    const std::vector<std::string> expand = {"--frames", "40", "--expand", "docs", "--expand", "docs/old"};
    SetReadableLabels(false);
    ExpectGolden(Take(expand), "expanded", Match::Exactly);
    SetReadableLabels(true);
    ExpectGolden(Take(expand), "expanded-readable");
}

TEST_F(SnapshotGolden, HoveredFolderWithItsInfoBox)
{
    SetReadableLabels(false);
    ExpectGolden(Take({"--frames", "40", "--pointer", "200,60"}), "hover", Match::Exactly);
    SetReadableLabels(true);
    ExpectGolden(Take({"--frames", "40", "--pointer", "200,60"}), "hover-readable");
}

// Size-true rings as shipped: sectors by counted size, folders told apart by shade, labels with
// sizes, the info box in binary units.
TEST_F(SnapshotGolden, SizeTrueRing)
{
    Home.Write("orbivane.ini", "[DISPLAY]\nSizeTrueRings=1\n");
    ExpectGolden(Take({"--frames", "40", "--expand", "docs", "--pointer", "200,60"}), "size-true");
}
