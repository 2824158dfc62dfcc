#include "ring/name_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string NameNumber(int number, std::size_t length)
{
    std::string name = std::to_string(number) + "-";
    name.resize(length, static_cast<char>('a' + number % 26));
    return name;
}

// Names kept one by one and in reserved batches stay where they were put while the store grows
// block by block, and the store counts what is in use and what is garbage.
TEST(NameStoreTest, KeptNamesStayIntactWhileTheStoreGrows)
{
    struct Case {
        const char* What;
        int Batches;
        int NamesPerBatch;
        bool Reserve;
    };
    const Case cases[] = {
        {"one by one", 1, 5000, false},
        {"a reserved batch", 1, 5000, true},
        {"many reserved batches", 40, 125, true},
        {"batches that reserve less than they keep", 40, 125, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QRNameStore store;
        std::vector<std::string> expected;
        std::vector<QRName> kept;
        std::size_t bytes = 0;
        for (int batch = 0; batch < c.Batches; ++batch) {
            const int first = batch * c.NamesPerBatch;
            std::size_t batchBytes = 0;
            for (int i = first; i < first + c.NamesPerBatch; ++i)
                batchBytes += NameNumber(i, 1 + static_cast<std::size_t>(i % 255)).size() + 1;
            if (c.Reserve)
                store.Reserve(batchBytes);
            for (int i = first; i < first + c.NamesPerBatch; ++i) {
                expected.push_back(NameNumber(i, 1 + static_cast<std::size_t>(i % 255)));
                kept.push_back(store.Keep(expected.back()));
            }
            bytes += batchBytes;
        }
        ASSERT_EQ(kept.size(), expected.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(kept[i], expected[i]) << i;
        EXPECT_EQ(store.BytesInUse(), bytes);

        std::size_t forgotten = 0;
        for (std::size_t i = 0; forgotten * 2 <= bytes; i += 2) {
            forgotten += kept[i].size() + 1;
            store.Forget(kept[i]);
            EXPECT_EQ(store.Sparse(), forgotten > bytes - forgotten) << i;
        }
        EXPECT_EQ(store.BytesInUse(), bytes - forgotten);
        EXPECT_EQ(kept[1], expected[1]) << "forgetting a name leaves the others in place";
    }
}

TEST(NameStoreTest, TheEmptyNameNeedsNoRoomAndAMovedStoreKeepsItsNames)
{
    QRNameStore store;
    EXPECT_TRUE(store.Keep("").empty());
    EXPECT_EQ(store.BytesInUse(), 0u);
    const QRName kept = store.Keep("photo.jpg");
    QRNameStore moved(std::move(store));
    QRNameStore assigned;
    assigned.Keep("other.txt");
    assigned = std::move(moved);
    EXPECT_EQ(kept, "photo.jpg");
    EXPECT_EQ(assigned.BytesInUse(), 10u);
}

} // namespace
