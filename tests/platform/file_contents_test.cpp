// Sparse files: a copy writes only their data and keeps their holes, and the room a copy needs on
// the target is its data, not its apparent size (a 40 MiB image holding 2 MiB goes onto an 8 MiB
// volume; a file of 16 MiB of data does not, and nothing of it is written).
#include "platform/file_contents.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::TransferKind;
using Failures = std::vector<platform::FileFailure>;
using Extents = std::vector<std::pair<off_t, off_t>>; // [start, end) of each stretch of data

constexpr off_t kMiB = off_t{1} << 20;

class SparseCopyTest : public FileOperationTest {
protected:
    // A file of `length` bytes holding data only in `data`; the rest are holes.
    std::string MakeSparse(const std::string& relative, off_t length, const Extents& data)
    {
        const std::string path = Tree.PathOf(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (const auto& [start, end] : data) {
            const std::string bytes = Bytes(static_cast<std::size_t>(end - start));
            EXPECT_EQ(::pwrite(file, bytes.data(), bytes.size(), start), static_cast<ssize_t>(bytes.size()));
        }
        EXPECT_EQ(::ftruncate(file, length), 0);
        ::close(file);
        return path;
    }
    static Extents DataOf(const std::string& path)
    {
        Extents extents;
        const int file = ::open(path.c_str(), O_RDONLY);
        for (off_t at = 0;;) {
            const off_t data = ::lseek(file, at, SEEK_DATA);
            if (data < 0)
                break;
            at = ::lseek(file, data, SEEK_HOLE);
            extents.emplace_back(data, at);
        }
        ::close(file);
        return extents;
    }
    static std::int64_t Allocated(const std::string& path)
    {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return static_cast<std::int64_t>(status.st_blocks) * 512;
    }
};

TEST_F(SparseCopyTest, HolesStayHolesAndOnlyDataNeedsRoom)
{
    MountTarget(8 * kMiB);
    if (IsSkipped())
        return;
    struct Case {
        std::string Name;
        TransferKind Kind;
        off_t Length;
        Extents Data;
        bool Fits;
    };
    const std::vector<Case> cases = {
        {"image", TransferKind::Copy, 40 * kMiB, {{0, kMiB}, {20 * kMiB, 21 * kMiB}}, true},
        {"all-hole", TransferKind::Copy, 30 * kMiB, {}, true},
        {"data-at-the-end", TransferKind::Copy, 30 * kMiB, {{29 * kMiB, 30 * kMiB}}, true},
        {"moved-image", TransferKind::Move, 40 * kMiB, {{kMiB, 2 * kMiB}, {39 * kMiB, 40 * kMiB}}, true},
        {"dense", TransferKind::Copy, 16 * kMiB, {{0, 16 * kMiB}}, false},
        {"dense-moved", TransferKind::Move, 16 * kMiB, {{0, 16 * kMiB}}, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Reset();
        const std::string source = MakeSparse("src/" + row.Name, row.Length, row.Data);
        const Extents data = DataOf(source);
        const std::uint64_t sum = FileSums(source).at(".");
        const platform::OperationResult result = Operation.Transfer(row.Kind, {source}, Dst());
        if (!row.Fits) {
            EXPECT_EQ(result.Failures, (Failures{{Dst(row.Name), std::strerror(ENOSPC)}}));
            EXPECT_EQ(FileSums(source).at("."), sum);
            EXPECT_TRUE(Snapshot(Dst()).size() == 1u) << "nothing written, not even a partial file";
            continue;
        }
        EXPECT_EQ(result.Failures, Failures());
        const std::string copy = Dst(row.Name);
        EXPECT_EQ(FileSums(copy).at("."), sum);
        EXPECT_EQ(DataOf(copy), data);
        std::int64_t bytes = 0;
        for (const auto& [start, end] : row.Data)
            bytes += end - start;
        EXPECT_LE(Allocated(copy), bytes + 64 * 1024);
        EXPECT_EQ(Exists(source), row.Kind == TransferKind::Copy);
    }
}

} // namespace
