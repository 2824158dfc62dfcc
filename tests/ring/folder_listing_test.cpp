#include "ring/folder_listing.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"

namespace {

class FolderListingTest : public AppTest {};

std::set<std::string> NamesIn(const QRFolderListing& listing)
{
    std::set<std::string> names;
    for (const QRFolderListing::Entry& entry : listing.Entries())
        names.insert(std::string(listing.NameOf(entry)));
    return names;
}

// A folder read in parts: every entry comes in exactly one part, no part grows much past its
// size, and a folder scanned that way gets every entry once, also when scanned again.
TEST_F(FolderListingTest, ReadingInPartsSeesEveryEntryOnce)
{
    constexpr std::size_t kNameSize = 60;
    constexpr int kPerPart = static_cast<int>((QRFolderListing::kPartBytes + kNameSize - 1) / kNameSize);
    int made = 0;
    for (const int count : {0, 1, kPerPart - 1, kPerPart, kPerPart + 1, 3 * kPerPart + 7}) {
        SCOPED_TRACE(count);
        for (; made < count; ++made) {
            std::string name = "entry-" + std::to_string(made) + "-";
            name.resize(kNameSize - (made % 7 == 0 ? 1 : 0), 'x');
            if (made % 7 == 0)
                Tree.MakeFolder(name);
            else
                Tree.File(name, 1);
        }
        QRFolderListing whole;
        ASSERT_EQ(whole.Read(Tree.Root(), platform::ListingDetail::Kinds), platform::ListingResult::Listed);
        std::multiset<std::string> inParts;
        int parts = 0;
        QRFolderListing listing;
        const auto result = listing.ReadInParts(Tree.Root(), platform::ListingDetail::Kinds, [&](const QRFolderListing& part) {
            ++parts;
            std::size_t bytes = 0;
            for (const QRFolderListing::Entry& entry : part.Entries()) {
                inParts.insert(std::string(part.NameOf(entry)));
                bytes += entry.NameSize;
            }
            EXPECT_LT(bytes, QRFolderListing::kPartBytes + kNameSize);
        });
        ASSERT_EQ(result, platform::ListingResult::Listed);
        EXPECT_EQ(parts, (count + kPerPart - 1) / kPerPart);
        EXPECT_TRUE(listing.Entries().empty());
        EXPECT_EQ(inParts.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(std::set<std::string>(inParts.begin(), inParts.end()), NamesIn(whole));

        QOXRing* ring = Open();
        ring->Root->Scan();
        EXPECT_EQ(ring->Root->Folders->Count() + ring->Root->Files->Count(), count);
        for (const std::string& name : NamesIn(whole))
            EXPECT_NE(ChildNamed(*ring->Root, name), nullptr) << name;
        TheApp->CloseAllRings();
    }
}

// Read a part at a time across calls, a folder gives every entry once, as a whole read does; a
// folder that is not there says so at once.
TEST_F(FolderListingTest, PartsReadAcrossCallsMakeTheWholeFolder)
{
    for (int i = 0; i < 5000; ++i)
        Tree.File("an-entry-with-a-name-long-enough-for-several-parts-" + std::to_string(i), 1);
    QRFolderListing whole;
    ASSERT_EQ(whole.Read(Tree.Root(), platform::ListingDetail::Kinds), platform::ListingResult::Listed);
    QRFolderListing listing;
    listing.Open(Tree.Root(), platform::ListingDetail::Kinds);
    std::multiset<std::string> names;
    int parts = 0;
    while (listing.ReadPart()) {
        ++parts;
        for (const QRFolderListing::Entry& entry : listing.Entries())
            names.insert(std::string(listing.NameOf(entry)));
    }
    EXPECT_TRUE(listing.Done());
    EXPECT_GT(parts, 3);
    EXPECT_EQ(names.size(), 5000u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), NamesIn(whole));
    EXPECT_EQ(listing.Result(), platform::ListingResult::Listed);
    EXPECT_FALSE(listing.ReadPart());

    listing.Open(Tree.PathOf("not-there/"), platform::ListingDetail::Kinds);
    EXPECT_FALSE(listing.ReadPart());
    EXPECT_EQ(listing.Result(), platform::ListingResult::Missing);
}

} // namespace
