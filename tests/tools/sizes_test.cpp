// orbivane-sizes run as a user runs it, on real trees, next to du(1) and to what the test itself
// finds on the disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/file_tree.h"
#include "tests/support/temp_folder.h"
#include "tools/sizes/sizes.h"

namespace fs = std::filesystem;

namespace {

struct Ran {
    int Code = -1;
    std::string Out;
    std::string Err;
};

// Runs a program with ORBIVANE_HOME set to `home`, so that histories go to the test's folder.
Ran RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& home)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORBIVANE_HOME", QString::fromStdString(home));
    environment.insert("LC_ALL", "C");
    process.setProcessEnvironment(environment);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(program), list);
    process.waitForFinished(60'000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

Ran Sizes(const std::vector<std::string>& arguments, const std::string& home)
{
    return RunProgram(ORBIVANE_SIZES_PROGRAM, arguments, home);
}

std::int64_t DuBytes(const std::string& path)
{
    const Ran du = RunProgram("du", {"-sb", path}, "/");
    return std::stoll(du.Out);
}

// What du -b counts beside the files: the folders' own entries and the links' targets' lengths.
std::int64_t FolderAndLinkBytes(const std::string& folder)
{
    struct stat status {};
    ::lstat(folder.c_str(), &status);
    std::int64_t bytes = status.st_size;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        ::lstat(entry.path().c_str(), &status);
        if (S_ISDIR(status.st_mode) || S_ISLNK(status.st_mode))
            bytes += status.st_size;
    }
    return bytes;
}

std::map<std::string, std::int64_t> Lines(const std::string& output)
{
    std::map<std::string, std::int64_t> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        lines[line.substr(line.find('\t') + 1)] = std::stoll(line.substr(0, line.find('\t')));
    return lines;
}

// Every folder's total is du -sb of it less what du counts beside the files; every large file
// named is its own size; hard links count once, links are not followed.
TEST(OrbivaneSizes, TotalsAreDuApparentSizesOfTheFiles)
{
    TempFolder home;
    FileTree tree;
    tree.File("music/a.flac", 30'000'000);
    tree.File("music/live/b.flac", 12'345'678);
    tree.File("music/live/.cover", 40'000);
    tree.File("docs/letter.txt", 2'345);
    tree.HardLink("docs/letter-again.txt", "docs/letter.txt");
    tree.Link("docs/to-music", tree.PathOf("music"));
    tree.MakeFolder("empty");
    tree.File("video/deep/er/clip.mp4", 1 << 20);

    const Ran ran = Sizes({"-b", "--top", "100", tree.Root()}, home.Path());
    ASSERT_EQ(ran.Code, 0) << ran.Err;
    EXPECT_EQ(ran.Err, "");
    const std::map<std::string, std::int64_t> lines = Lines(ran.Out);
    EXPECT_TRUE(lines.contains(tree.Root())) << ran.Out;
    EXPECT_TRUE(lines.contains(tree.PathOf("music/a.flac"))) << ran.Out;
    EXPECT_FALSE(lines.contains(tree.PathOf("video/deep/"))) << "its size is all its one sub-folder's";
    for (const auto& [path, bytes] : lines) {
        const std::int64_t expected = path.ends_with('/') ? DuBytes(path) - FolderAndLinkBytes(path)
                                                          : static_cast<std::int64_t>(fs::file_size(path));
        EXPECT_EQ(bytes, expected) << path;
    }
}

// Human sizes are written as du -h writes them: rounded up, one decimal below 10.
TEST(OrbivaneSizes, HumanSizesReadAsDuWritesThem)
{
    TempFolder folder;
    for (const std::int64_t size : {0ll, 1ll, 1023ll, 1024ll, 1025ll, 10239ll, 10240ll, 10241ll, 1'048'575ll, 1'048'576ll,
                                    1'073'741'823ll, 5'905'580'032ll, 1'099'511'627'776ll * 3 / 2}) {
        const std::string path = folder.Path() + std::to_string(size);
        { std::ofstream(path, std::ios::binary); }
        fs::resize_file(path, static_cast<std::uintmax_t>(size));
        const Ran du = RunProgram("du", {"-h", "--apparent-size", path}, "/");
        EXPECT_EQ(sizes::SizeText(size, sizes::Units::Human), du.Out.substr(0, du.Out.find('\t'))) << size;
    }
}

// The sizes the test itself sees below every folder and of every file of a tree.
std::map<std::string, std::int64_t> SizesOnDisk(const FileTree& tree)
{
    std::map<std::string, std::int64_t> sizes{{"", tree.SumsBelow("").Bytes}};
    for (const auto& entry : fs::recursive_directory_iterator(tree.Root())) {
        const std::string relative = fs::relative(entry.path(), tree.Root()).string();
        if (entry.is_directory())
            sizes[relative + "/"] = tree.SumsBelow(relative + "/").Bytes;
        else
            sizes[relative] = static_cast<std::int64_t>(entry.file_size());
    }
    return sizes;
}

// A recorded count, a change to the tree, and the report of what grew: its totals and every entry
// it lists are what the test finds on the disk before and after, and the entry that grew most
// comes first.
TEST(OrbivaneSizes, GrowthSinceTheRecordedCountIsWhatTheTestSeesChange)
{
    constexpr std::int64_t kMiB = 1 << 20;
    struct Case {
        const char* Name;
        void (*Change)(const FileTree&);
        const char* First; // the entry that grew most; "" when nothing grew
    };
    const Case cases[] = {
        {"a file grown", [](const FileTree& t) { t.File("logs/app.log", 8 * kMiB); }, "logs/app.log"},
        {"files added", [](const FileTree& t) { t.File("downloads/iso/big.iso", 20 * kMiB); t.File("docs/b.txt", 5000); },
         "downloads/iso/big.iso"},
        {"a file removed", [](const FileTree& t) { t.Remove("media/film.mkv"); }, ""},
        {"a file moved", [](const FileTree& t) { fs::rename(t.PathOf("cache/x/blob"), t.PathOf("docs/blob")); }, "docs/blob"},
        {"a folder replaced", [](const FileTree& t) { t.Remove("tmp"); t.File("tmp/u", 3 * kMiB); t.File("tmp/v", 100); }, "tmp/u"},
        {"small files grown", [](const FileTree& t) { t.File("docs/a.txt", 900'000); }, "docs/"},
    };
    for (const Case& test : cases) {
        TempFolder home;
        FileTree tree;
        tree.File("logs/app.log", 3 * kMiB);
        tree.File("logs/old/a.log", 2 * kMiB);
        tree.File("media/film.mkv", 50 * kMiB);
        tree.File("docs/a.txt", 10'000);
        tree.File("cache/x/blob", 4 * kMiB);
        tree.File("tmp/t", kMiB);
        const Ran recorded = Sizes({"--record", tree.Root()}, home.Path());
        ASSERT_EQ(recorded.Code, 0) << recorded.Err;
        const std::map<std::string, std::int64_t> before = SizesOnDisk(tree);
        test.Change(tree);
        const std::map<std::string, std::int64_t> after = SizesOnDisk(tree);

        const Ran ran = Sizes({"--previous", "--json", "--top", "50", tree.Root()}, home.Path());
        ASSERT_EQ(ran.Code, 0) << test.Name << ": " << ran.Err;
        const QJsonObject report = QJsonDocument::fromJson(QByteArray::fromStdString(ran.Out)).object();
        EXPECT_EQ(report["before"].toObject()["bytes"].toInteger(), before.at("")) << test.Name;
        EXPECT_EQ(report["after"].toObject()["bytes"].toInteger(), after.at("")) << test.Name;
        const QJsonArray grew = report["grew"].toArray();
        EXPECT_EQ(grew.isEmpty() ? "" : grew[0].toObject()["path"].toString().toStdString(), test.First) << test.Name << ran.Out;
        for (const QJsonValue& value : grew) {
            const QJsonObject entry = value.toObject();
            const std::string path = entry["path"].toString().toStdString();
            const std::int64_t was = before.contains(path) ? before.at(path) : 0;
            EXPECT_EQ(entry["before"].toInteger(), was) << test.Name << ": " << path;
            EXPECT_EQ(entry["after"].toInteger(), after.at(path)) << test.Name << ": " << path;
            EXPECT_EQ(entry["change"].toInteger(), after.at(path) - was) << test.Name << ": " << path;
            EXPECT_GT(entry["change"].toInteger(), 0) << test.Name << ": " << path;
        }
    }
}

// Exit codes and messages as command-line users expect them; recording alone prints nothing.
TEST(OrbivaneSizes, ExitCodesAndMessages)
{
    TempFolder home;
    FileTree tree;
    tree.File("a/b.bin", 2 << 20);
    tree.File("not-a-folder", 10);
    const std::string damaged = home.Write("damaged.orbivane-sizes", "ORBSIZES\x01 and then nothing good");
    const std::string folder = tree.PathOf("a");
    struct Case {
        std::vector<std::string> Arguments;
        int Code;
        const char* Out; // what stdout holds ("" nothing, "*" anything)
        const char* Err; // what stderr holds
    };
    const Case cases[] = {
        {{}, 2, "", "orbivane-sizes: missing folder\nTry 'orbivane-sizes --help' for more information.\n"},
        {{"--frobnicate", folder}, 2, "", "unrecognized option '--frobnicate'"},
        {{"--top", "0", folder}, 2, "", "invalid number of entries '0'"},
        {{"--top"}, 2, "", "option '--top' requires an argument"},
        {{"--since", "yesterday", folder}, 2, "", "invalid date 'yesterday'"},
        {{"--since", "2026-02-30", folder}, 2, "", "invalid date"},
        {{"--since=2026-12-01", "--previous", folder}, 2, "", "give one of --since and --previous"},
        {{folder, folder}, 2, "", "only one folder"},
        {{"--help"}, 0, "*", ""},
        {{"--version"}, 0, "*", ""},
        {{tree.PathOf("missing")}, 1, "", "cannot access"},
        {{tree.PathOf("not-a-folder")}, 1, "", "is not a folder"},
        {{"--previous", folder}, 1, "", "no size history of"},
        {{"--previous", "--history", damaged, folder}, 1, "", "cannot read size history"},
        {{"--record", folder}, 0, "", ""},
        {{"--since", "2000-01-01", folder}, 1, "", "no count of"},
        {{"--previous", "-b", folder}, 0, "*", ""},
        {{"-b", "--", folder}, 0, "2097152\t", ""},
    };
    for (const Case& test : cases) {
        const Ran ran = Sizes(test.Arguments, home.Path());
        std::string line;
        for (const std::string& argument : test.Arguments)
            line += argument + " ";
        EXPECT_EQ(ran.Code, test.Code) << line << ran.Err;
        if (std::string(test.Out) == "*") {
            EXPECT_FALSE(ran.Out.empty()) << line;
        } else {
            EXPECT_EQ(ran.Out.substr(0, std::string(test.Out).size()), test.Out) << line;
            EXPECT_EQ(ran.Out.empty(), *test.Out == '\0') << line;
        }
        EXPECT_NE(ran.Err.find(test.Err), std::string::npos) << line << ran.Err;
        if (*test.Err == '\0') {
            EXPECT_EQ(ran.Err, "") << line;
        }
    }
}

// A folder below that cannot be read: the totals still, then the trouble. Run in this process,
// which gives up root's override of permissions; a program started by root would read it anyway.
TEST(OrbivaneSizes, FoldersLeftUnreadAreReportedAfterTheTotals)
{
    FileTree tree;
    tree.File("a/b.bin", 2 << 20);
    tree.File("not-a-folder", 10);
    tree.File("locked/inside.bin", 5000);
    tree.UnreadableFolder("locked");
    if (!FileTree::PermissionsApply())
        GTEST_SKIP() << "permissions do not bind this process";
    sizes::Options options;
    ASSERT_EQ(sizes::ParseArguments({"-b", tree.Root()}, options), std::nullopt);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(sizes::Run(options, out, err, 1'796'083'200), sizes::kExitTrouble);
    EXPECT_EQ(out.str(), std::to_string((2 << 20) + 10) + "\t" + tree.Root() + "\n");
    EXPECT_NE(err.str().find("1 folder below"), std::string::npos) << err.str();
}

} // namespace
