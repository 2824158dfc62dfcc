#include "ring/ring_layout.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "ring/element_summary.h"
#include "ring/ring_main.h"
#include "ring/small_items.h"
#include "tests/support/app_fixture.h"
#include "tests/support/private_tmpfs.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

class SizeTrueLayoutTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Settings().SizeTrueRings = true;
        Settings().ComputeFileSizeAutomatically = true;
        Settings().ComputeFolderSize = true;
    }
    // A file of `bytes` written out, so that it takes its blocks on the disk.
    void Dense(const std::string& name, std::size_t bytes) const
    {
        std::ofstream(Tree.File(name), std::ios::binary) << std::string(bytes, 'x');
    }
    // A ring on the folder, laid out as a view of that many pixels per ring unit shows it.
    QOXRing* OpenAt(const std::string& folder, float pixelsPerUnit)
    {
        QOXRing* ring = Open(folder);
        ring->Root->ExpandAll(); // every folder read and summed
        ring->Root->ComputeSize();
        ring->PixelsPerUnit = pixelsPerUnit;
        ring->Relayout();
        return ring;
    }
};

// The angle of a band of `pixels` in the middle of the band on that level.
double DegreesOf(QOXRing& ring, int level, double pixels)
{
    const double middle = 0.5 * (ring.InnerRadius(level) + ring.InnerRadius(level + 1));
    return pixels / (ring.PixelsPerUnit * middle) * kDegreesPerRadian;
}

struct Shares {
    int Own = 0;      // children with a sector of their own
    int Gathered = 0; // children gathered among the small items
};

// Every child's angle is its share of its folder's bytes (and the free space's) within 1 %; the
// gathered ones are each narrower than two pixels and their sector is their shares together, or
// two pixels where that is less.
Shares CheckShares(QOXRing& ring, const QREFolder& folder)
{
    Shares seen;
    double total = 0.0;
    folder.ForEachChild([&](const QRElement* child) { total += static_cast<double>(child->SizeForLayout()); });
    if (folder.IsRoot() && ring.FreeSpace != nullptr)
        total += static_cast<double>(ring.FreeSpace->Size);
    const double sector = folder.EndAngle - folder.StartAngle;
    const double least = DegreesOf(ring, folder.Level + 1, 2.0);
    double gatheredDegrees = 0.0;
    folder.ForEachChild([&](const QRElement* child) {
        const double expected = sector * static_cast<double>(child->SizeForLayout()) / total;
        if (QRLayout::IsGathered(*child)) {
            ++seen.Gathered;
            EXPECT_LT(expected, least) << child->Name;
            gatheredDegrees += expected;
            return;
        }
        ++seen.Own;
        EXPECT_NEAR(SectorOf(child), expected, expected * 0.01 + 1e-4) << child->Name;
    });
    const QRESummary* small = ring.SmallItems->Shown(folder);
    EXPECT_EQ(small != nullptr, seen.Gathered > 0);
    if (small != nullptr) {
        EXPECT_EQ(small->Count, seen.Gathered);
        const double expected = std::max(gatheredDegrees, least);
        EXPECT_NEAR(SectorOf(small), expected, expected * 0.01 + 1e-4);
        EXPECT_EQ(small->Caption(), std::to_string(seen.Gathered) + (seen.Gathered == 1 ? " small item" : " small items"));
    }
    return seen;
}

TEST_F(SizeTrueLayoutTest, AnglesAreSizeSharesAndNarrowChildrenAreGathered)
{
    struct Case {
        std::string Name;
        std::function<void()> Make;
        bool OnDisk;
        float PixelsPerUnit;
        int Own;      // children expected with a sector of their own
        int Gathered; // and gathered
        bool SparseWide; // the sparse file, where there is one, takes most of the circle
    };
    const auto bigAndTiny = [this] {
        Tree.File("big/movie", 100u << 20);
        for (int i = 0; i < 40; ++i)
            Tree.File("tiny" + std::to_string(i) + "/note", 1000);
    };
    const auto alike = [this] {
        for (int i = 0; i < 10000; ++i)
            Tree.File("f" + std::to_string(i), 4096);
    };
    const auto linkedAndSparse = [this] {
        Dense("dense", 1u << 20);
        Tree.File("sparse", 64u << 20); // holes only: no blocks on the disk
        Dense("linked/original", 512u << 10);
        Tree.HardLink("linked/second", "linked/original");
        Dense("half", 1u << 19);
    };
    const Case cases[] = {
        {"one big folder and many tiny ones", bigAndTiny, false, 40.0f, 1, 40, false},
        {"the same without a view: nothing gathered", bigAndTiny, false, 0.0f, 41, 0, false},
        {"10,000 files of one size, far away", alike, false, 40.0f, 0, 10000, false},
        {"10,000 files of one size, zoomed in", alike, false, 4000.0f, 10000, 0, false},
        {"hard links and sparse files by apparent size", linkedAndSparse, false, 40.0f, 4, 0, true},
        // The sparse file takes no block: alone among the small items.
        {"hard links and sparse files on the disk", linkedAndSparse, true, 40.0f, 3, 1, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        std::filesystem::remove_all(Tree.Root());
        std::filesystem::create_directories(Tree.Root());
        row.Make();
        Settings().SizeOnDisk = row.OnDisk;
        QOXRing* ring = OpenAt("", row.PixelsPerUnit);
        const Shares seen = CheckShares(*ring, *ring->Root);
        EXPECT_EQ(seen.Own, row.Own);
        EXPECT_EQ(seen.Gathered, row.Gathered);
        if (const QRElement* sparse = ChildNamed(*ring->Root, "sparse")) {
            EXPECT_EQ(SectorOf(sparse) > 180.0f, row.SparseWide) << SectorOf(sparse);
        }
        TheApp->CloseRing(ring);
    }
}

} // namespace

// A ring on a volume's mount point shows the volume's free space, its share that of statvfs's free
// bytes beside the files; elsewhere, or with the setting off, there is none.
TEST_F(SizeTrueLayoutTest, AMountPointShowsItsFreeSpace)
{
    PrivateTmpfs volume;
    std::string reason;
    if (!volume.Mount(Tree.PathOf("volume"), 64u << 20, reason))
        GTEST_SKIP() << reason;
    Dense("volume/data", 16u << 20);
    Dense("plain/data", 1u << 20);
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        Settings().ShowFreeSpace = shown;
        QOXRing* ring = OpenAt("volume", 40.0f);
        struct statvfs space {};
        ASSERT_EQ(::statvfs(Tree.PathOf("volume").c_str(), &space), 0);
        const double free = static_cast<double>(space.f_bavail) * static_cast<double>(space.f_frsize);
        ASSERT_EQ(ring->FreeSpace != nullptr, shown);
        if (shown) {
            EXPECT_EQ(ring->FreeSpace->Caption(), "Free space");
            EXPECT_NEAR(SectorOf(ring->FreeSpace) / 360.0, free / (free + (16u << 20)), 0.01);
            EXPECT_FLOAT_EQ(ring->FreeSpace->EndAngle, 360.0f);
            CheckShares(*ring, *ring->Root);
        }
        TheApp->CloseRing(ring);
        EXPECT_EQ(OpenAt("plain", 40.0f)->FreeSpace, nullptr);
    }
}
