#include "platform/size_history.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "tests/support/file_tree.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::CountExtent;
using platform::SizeEntry;
using platform::SizeHistory;
using platform::SizeTotals;

constexpr std::int64_t kDay = 24 * 60 * 60;
constexpr std::int64_t kDec1st2026 = 1'796'083'200; // 2026-12-01 00:00 UTC

SizeEntry Folder(const std::string& path, std::int64_t bytes, std::int64_t files = 1, std::int64_t folders = 0)
{
    return {path, {bytes, bytes + 4096, files, folders}};
}

SizeEntry File(const std::string& path, std::int64_t bytes)
{
    return {path, {bytes, bytes, 0, 0}};
}

SizeHistory History(const std::vector<std::pair<std::int64_t, std::vector<SizeEntry>>>& counts, CountExtent newest = CountExtent::Complete)
{
    SizeHistory history;
    history.Root = "/srv/data/";
    history.Host = "server";
    for (std::size_t i = 0; i < counts.size(); ++i)
        platform::AddCount(history, counts[i].first, i + 1 == counts.size() ? newest : CountExtent::Complete, counts[i].second);
    return history;
}

std::vector<std::int64_t> TimesOf(const SizeHistory& history)
{
    std::vector<std::int64_t> times;
    for (const platform::SizeCount& count : history.Counts)
        times.push_back(count.Time);
    return times;
}

// Histories of every shape come back from their file as they were.
TEST(SizeHistory, RoundTripsThroughItsFile)
{
    constexpr std::int64_t kLargest = INT64_MAX;
    const struct {
        const char* Name;
        SizeHistory History;
    } cases[] = {
        {"no count", History({})},
        {"one count", History({{kDec1st2026, {Folder("", 10, 2, 1), Folder("a/", 4), File("a/film.mkv", 3 << 20)}}})},
        {"paths come and go", History({{kDec1st2026, {Folder("", 10), Folder("gone/", 10)}},
                                       {kDec1st2026 + kDay, {Folder("", 30), Folder("new/", 30)}},
                                       {kDec1st2026 + 2 * kDay, {Folder("", 30), Folder("new/", 30), Folder("gone/", 0)}}})},
        {"a partial newest count", History({{kDec1st2026, {Folder("", 10)}}, {kDec1st2026 + 60, {Folder("a/", 5)}}},
                                           CountExtent::Partial)},
        {"sizes at both ends", History({{-kDay, {Folder("", kLargest - 4096, kLargest, kLargest), Folder("zero/", 0, 0)}},
                                        {kDec1st2026, {Folder("", 0, 0), Folder("zero/", kLargest - 4096)}}})},
        {"names of any bytes", History({{kDec1st2026, {Folder("line\nbreak/", 1), File("caf\xc3\xa9/\xff\xfe.bin", 2 << 20),
                                                       Folder("caf\xc3\xa9/", 2 << 20), Folder("a b/c\td/", 3)}}})},
    };
    TempFolder folder;
    for (const auto& [name, history] : cases) {
        SizeHistory read;
        EXPECT_EQ(platform::DecodeHistory(platform::EncodeHistory(history), read), std::nullopt) << name;
        EXPECT_EQ(read, history) << name;

        const std::string path = folder.Path() + "history";
        ASSERT_EQ(platform::WriteHistoryFile(path, history, platform::StampOfFile(path)).Outcome, platform::HistoryWrite::Written);
        const platform::HistoryFileRead fromDisk = platform::ReadHistoryFile(path, read);
        EXPECT_EQ(fromDisk.Outcome, platform::HistoryRead::Read) << name << ": " << fromDisk.Problem;
        EXPECT_EQ(fromDisk.Stamp, platform::StampOfFile(path));
        EXPECT_EQ(read, history) << name;
    }
}

// A history keeps the newest counts, the first of each month of the year before them, and a
// partial count only while it is the newest; a count of the same second as another stands beside
// it, and one that stands for an earlier count of its session replaces that one.
TEST(SizeHistory, IsBoundedToTheNewestCountsAndOneAMonthForAYear)
{
    const auto days = [](std::initializer_list<int> list) {
        std::vector<std::int64_t> times;
        for (const int day : list)
            times.push_back(kDec1st2026 + day * kDay);
        return times;
    };
    const struct {
        const char* Name;
        std::vector<std::int64_t> Added;
        int Keep;
        std::optional<std::int64_t> Replaces; // for the last count added
        CountExtent Last;
        std::vector<std::int64_t> Kept;
    } cases[] = {
        {"fewer than kept", days({0, 1, 2}), 10, {}, CountExtent::Complete, days({0, 1, 2})},
        {"newest three", days({0, 1, 2, 3, 4}), 3, {}, CountExtent::Complete, days({0, 2, 3, 4})}, // day 0 opens December
        {"one a month", days({-400, -300, -62, -61, -40, -31, -30, -2, -1, 0}), 2, {}, CountExtent::Complete,
         days({-300, -62, -61, -30, -1, 0})},
        {"older than a year", days({-366, -365, 0}), 1, {}, CountExtent::Complete, days({-365, 0})},
        {"same second", days({0, 1, 1}), 10, {}, CountExtent::Complete, {kDec1st2026, kDec1st2026 + kDay, kDec1st2026 + kDay + 1}},
        {"session replaces its count", days({0, 1, 2}), 10, kDec1st2026 + kDay, CountExtent::Complete, days({0, 2})},
        {"partial only as newest", days({0, 1, 2}), 10, {}, CountExtent::Partial, days({0, 1, 2})},
    };
    for (const auto& test : cases) {
        SizeHistory history;
        for (std::size_t i = 0; i < test.Added.size(); ++i) {
            const bool last = i + 1 == test.Added.size();
            platform::AddCount(history, test.Added[i], last ? test.Last : CountExtent::Complete,
                               {Folder("", static_cast<std::int64_t>(i)), Folder("only-" + std::to_string(i) + "/", 1)},
                               last ? test.Replaces : std::nullopt);
            platform::BoundHistory(history, test.Keep);
        }
        EXPECT_EQ(TimesOf(history), test.Kept) << test.Name;
        EXPECT_EQ(history.Paths.size(), 1 + history.Counts.size()) << test.Name << ": paths of dropped counts go";
    }
    SizeHistory history;
    platform::AddCount(history, kDec1st2026, CountExtent::Partial, {Folder("", 1)});
    platform::AddCount(history, kDec1st2026 + 1, CountExtent::Complete, {Folder("", 2)});
    platform::BoundHistory(history, 10);
    EXPECT_EQ(TimesOf(history), std::vector<std::int64_t>{kDec1st2026 + 1}) << "a partial count that is no longer the newest";
}

// ---- refusal ----

// A payload written by hand, for contents a writer never makes.
class Payload {
public:
    Payload& Varint(std::uint64_t value)
    {
        for (; value >= 0x80; value >>= 7)
            Bytes.push_back(static_cast<char>((value & 0x7f) | 0x80));
        Bytes.push_back(static_cast<char>(value));
        return *this;
    }
    Payload& Signed(std::int64_t value) { return Varint((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63)); }
    Payload& Text(const std::string& text)
    {
        Varint(text.size());
        Bytes += text;
        return *this;
    }
    Payload& Raw(const std::string& bytes)
    {
        Bytes += bytes;
        return *this;
    }
    // Root, host and a table of paths, each given whole.
    Payload& Start(const std::string& root, const std::vector<std::string>& paths)
    {
        Text(root).Text("host").Varint(paths.size());
        for (const std::string& path : paths)
            Varint(0).Text(path);
        return *this;
    }
    // The file: mark, format, length and the compressed payload.
    std::string File(std::int64_t lengthError = 0) const
    {
        uLongf size = compressBound(static_cast<uLong>(Bytes.size()));
        std::string packed(size, '\0');
        compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(Bytes.data()), Bytes.size(), 6);
        packed.resize(size);
        std::string file = "ORBSIZES\x01";
        const std::uint64_t length = Bytes.size() + static_cast<std::uint64_t>(lengthError);
        for (int i = 0; i < 8; ++i)
            file.push_back(static_cast<char>(length >> (8 * i)));
        return file + packed;
    }

private:
    std::string Bytes;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whatever does not hold together is refused whole, with a reason, and never read past its end:
// every cut of a good file, every byte of it changed (but for the spare bits that end the
// compressed data, which change nothing), lying lengths and contents no writer makes, and the
// inputs that the fuzzer keeps.
TEST(SizeHistoryFile, RefusesWhatDoesNotHoldTogether)
{
    const SizeHistory original = History({{kDec1st2026, {Folder("", 10), Folder("a/", 4), File("a/f", 4)}},
                                          {kDec1st2026 + kDay, {Folder("", 12), Folder("a/", 6)}}});
    const std::string good = platform::EncodeHistory(original);
    std::vector<std::pair<std::string, std::string>> refused; // name, bytes
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        refused.emplace_back("cut at " + std::to_string(cut), good.substr(0, cut));
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (const char bits : {'\x01', '\x24', '\x80'}) {
            std::string changed = good;
            changed[at] = static_cast<char>(changed[at] ^ bits);
            SizeHistory history;
            if (!platform::DecodeHistory(changed, history))
                EXPECT_EQ(history, original) << "byte " << at << ": accepted only when nothing changed";
            else
                EXPECT_EQ(history, SizeHistory()) << "byte " << at;
        }
    }
    const std::vector<std::pair<const char*, std::string>> made{
        {"trailing bytes", good + "x"},
        {"payload said longer", Payload().Start("/r/", {""}).Varint(0).File(1)},
        {"payload said shorter", Payload().Start("/r/", {""}).Varint(0).File(-1)},
        {"a gigabyte said", Payload().Start("/r/", {""}).Varint(0).File(1 << 30)},
        {"relative folder", Payload().Start("r/", {}).Varint(0).File()},
        {"control in host", Payload().Text("/r/").Text("a\nb").Varint(0).Varint(0).File()},
        {"paths out of order", Payload().Start("/r/", {"b/", "a/"}).Varint(0).File()},
        {"path twice", Payload().Start("/r/", {"a/", "a/"}).Varint(0).File()},
        {"path climbs out", Payload().Start("/r/", {"../etc/"}).Varint(0).File()},
        {"path from the top", Payload().Start("/r/", {"/etc/"}).Varint(0).File()},
        {"empty step", Payload().Start("/r/", {"a//"}).Varint(0).File()},
        {"shared past the last path", Payload().Text("/r/").Text("h").Varint(1).Varint(3).Text("a/").Varint(0).File()},
        {"more paths than bytes", Payload().Text("/r/").Text("h").Varint(1'000'000).File()},
        {"index past the table", Payload().Start("/r/", {""}).Varint(1).Signed(5).Raw(std::string(1, '\0')).Varint(1).Varint(1).Signed(0).Signed(0).Signed(0).Signed(0).File()},
        {"negative size", Payload().Start("/r/", {""}).Varint(1).Signed(5).Raw(std::string(1, '\0')).Varint(1).Varint(0).Signed(-1).Signed(0).Signed(0).Signed(0).File()},
        {"file with files", Payload().Start("/r/", {"f"}).Varint(1).Signed(5).Raw(std::string(1, '\0')).Varint(1).Varint(0).Signed(1).Signed(1).Signed(1).Signed(0).File()},
        {"unknown flag", Payload().Start("/r/", {""}).Varint(1).Signed(5).Raw("\x04").Varint(0).File()},
        {"counts out of order", Payload().Start("/r/", {""}).Varint(2).Signed(5).Raw(std::string(1, '\0')).Varint(0).Signed(6).Raw(std::string(1, '\0')).Varint(0).File()},
        {"endless number", Payload().Start("/r/", {""}).Varint(1).Raw(std::string(11, '\xff')).File()},
        {"newer format", [] { std::string file = Payload().Start("/r/", {}).Varint(0).File(); file[8] = 2; return file; }()},
    };
    for (const auto& [name, bytes] : made)
        refused.emplace_back(name, bytes);
    for (const auto& [name, bytes] : refused) {
        SizeHistory history;
        history.Root = "/left/";
        const auto problem = platform::DecodeHistory(bytes, history);
        EXPECT_TRUE(problem && !problem->empty()) << name;
        EXPECT_EQ(history, SizeHistory()) << name << ": nothing of it is kept";
    }
    SizeHistory sound;
    EXPECT_EQ(platform::DecodeHistory(Payload().Start("/r/", {"", "a/"}).Varint(0).File(), sound), std::nullopt) << "the payload writer";

    for (const auto& entry : std::filesystem::directory_iterator(ORBIVANE_SIZES_REGRESSIONS)) {
        SizeHistory history;
        const auto problem = platform::DecodeHistory(ReadAll(entry.path()), history);
        if (!problem) {
            EXPECT_EQ(platform::DecodeHistory(platform::EncodeHistory(history), history), std::nullopt) << entry.path();
        }
    }
}

// ---- the store ----

// Recording reads the history, adds the count and renames a whole new file into place; what
// cannot be read is set aside rather than lost, and a history another program wrote since it was
// read is not written over.
TEST(SizeHistoryStore, RecordsIntoANewFileAndSetsTheUnreadableAside)
{
    enum class Before { Nothing, Good, Garbage, OtherFolder, Hostile };
    struct Case {
        std::string Name;
        Before Existing;
        HostileFile Kind = HostileFile::Fifo;
        std::size_t Counts;
        bool SetAside;
    };
    std::vector<Case> cases{{"first count", Before::Nothing, {}, 1, false},
                            {"second count", Before::Good, {}, 2, false},
                            {"garbage", Before::Garbage, {}, 1, true},
                            {"another folder's", Before::OtherFolder, {}, 1, true}};
    for (const HostileFile kind : HostileFiles())
        cases.push_back({HostileFileName(kind), Before::Hostile, kind, 1, true});

    for (const Case& test : cases) {
        TempFolder state;
        const std::string path = platform::HistoryPathOf("/srv/data/", state.Path() + "sizes/");
        platform::CountRecord record{"/srv/data/", kDec1st2026 + kDay, CountExtent::Complete, {Folder("", 7)}, 10, {}};
        if (test.Existing == Before::Good || test.Existing == Before::OtherFolder) {
            platform::CountRecord first = record;
            first.Time = kDec1st2026;
            first.Root = test.Existing == Before::Good ? "/srv/data/" : "/elsewhere/";
            ASSERT_TRUE(platform::RecordCount(path, first).Recorded);
        } else if (test.Existing == Before::Garbage) {
            state.Write("sizes/" + path.substr(path.find_last_of('/') + 1), "not a history");
        } else if (test.Existing == Before::Hostile) {
            MakeHostileFile(path, test.Kind);
        }
        const std::string before = test.SetAside ? HostileFileState(path) : "";

        const platform::RecordReport report = platform::RecordCount(path, record);
        EXPECT_TRUE(report.Recorded) << test.Name << ": " << report.Problem;
        EXPECT_EQ(report.Problem.find("set aside") != std::string::npos, test.SetAside) << test.Name << ": " << report.Problem;
        if (test.SetAside) {
            EXPECT_EQ(HostileFileState(path + ".damaged"), before) << test.Name << ": kept as it was";
        }
        SizeHistory read;
        ASSERT_EQ(platform::ReadHistoryFile(path, read).Outcome, platform::HistoryRead::Read) << test.Name;
        EXPECT_EQ(read.Counts.size(), test.Counts) << test.Name;
        EXPECT_EQ(read.Root, "/srv/data/");
        struct stat status {};
        ASSERT_EQ(::stat((state.Path() + "sizes").c_str(), &status), 0);
        if (!test.SetAside || test.Existing == Before::OtherFolder) {
            EXPECT_EQ(status.st_mode & 0777, 0700u) << test.Name << ": a folder it makes is the user's alone";
        }
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(state.Path() + "sizes"))
            ++entries;
        EXPECT_EQ(entries, test.SetAside ? 2u : 1u) << test.Name << ": no temporary file is left";
    }
}

TEST(SizeHistoryStore, NeverWritesOverAFileChangedSinceItWasReadOrWithAFullFolder)
{
    TempFolder state;
    const std::string path = state.Path() + "history";
    const SizeHistory one = History({{kDec1st2026, {Folder("", 1)}}});
    const SizeHistory two = History({{kDec1st2026, {Folder("", 2)}}});
    ASSERT_EQ(platform::WriteHistoryFile(path, one, {}).Outcome, platform::HistoryWrite::Written);
    const platform::FileStamp readAt = platform::StampOfFile(path);
    // Another program records meanwhile: a new file is renamed into place.
    ASSERT_EQ(platform::WriteHistoryFile(path, two, readAt).Outcome, platform::HistoryWrite::Written);
    EXPECT_EQ(platform::WriteHistoryFile(path, one, readAt).Outcome, platform::HistoryWrite::Changed);
    SizeHistory read;
    platform::ReadHistoryFile(path, read);
    EXPECT_EQ(read, two);

    if (!FileTree::PermissionsApply())
        GTEST_SKIP() << "permissions do not bind this process";
    ::chmod(state.Path().c_str(), 0500);
    const platform::HistoryFileWrite failed = platform::WriteHistoryFile(path, one, platform::StampOfFile(path));
    ::chmod(state.Path().c_str(), 0700);
    EXPECT_EQ(failed.Outcome, platform::HistoryWrite::Failed);
    EXPECT_FALSE(failed.Problem.empty());
    platform::ReadHistoryFile(path, read);
    EXPECT_EQ(read, two) << "the old file is whole";
}

} // namespace
