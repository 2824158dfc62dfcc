#include "app/app_keyboard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/small_items.h"
#include "tests/support/cursor_fixture.h"

namespace {

// What the user reads for an element: its name, or a summary sector's caption.
std::string Shown(const QRElement* element)
{
    if (element == nullptr)
        return "(none)";
    return element->IsSummary() ? static_cast<const QRESummary*>(element)->Caption() : element->Name;
}

class KeyboardWalkTest : public CursorTest {
protected:
    void SetUp() override
    {
        CursorTest::SetUp();
        Keys = QOXNew<QAKeyboard>(TheApp.get(), Cursor);
        Settings().ComputeFileSizeAutomatically = true;
    }
    // The elements the cursor stands on going down into the root and then `steps` times right.
    std::vector<std::string> WalkRight(QOXRing& ring, std::size_t steps)
    {
        Keys->MoveTo(ring.Root);
        Keys->FirstChild();
        std::vector<std::string> walked{Shown(Cursor->CurrentElement)};
        for (std::size_t i = 0; i < steps; ++i) {
            Keys->Sibling(QAStep::Forward, QAMoveKind::Move);
            walked.push_back(Shown(Cursor->CurrentElement));
        }
        return walked;
    }

    QAKeyboard* Keys = nullptr; // owned by the application
};

// Every child of a folder stays in reach of the keys, whatever its size: the arrows walk the
// children with a sector in ring order, then the small-items sector (wide enough to click) and the
// elements it gathers, even one alone, and come back round; typing a gathered name finds it. As
// designed nothing is gathered.
TEST_F(KeyboardWalkTest, TheArrowsWalkEveryChildIncludingThoseGatheredAsSmallItems)
{
    struct Case {
        const char* Name;
        bool SizeTrue;
        std::vector<std::pair<std::string, std::uintmax_t>> Files;
        std::set<std::string> Gathered;
    };
    const std::uintmax_t big = 1u << 30;
    const Case cases[] = {
        {"tiny files beside a big one", true, {{"a", 10}, {"b", big}, {"c", 20}, {"d", 30}}, {"a", "c", "d"}},
        {"one empty file beside a big one", true, {{"big", big}, {"empty", 0}}, {"empty"}},
        {"empty files and big ones", true, {{"a", 0}, {"b", big}, {"c", 0}, {"d", big}}, {"a", "c"}},
        {"nothing but empty files", true, {{"a", 0}, {"b", 0}, {"c", 0}}, {}},
        {"as designed", false, {{"a", 10}, {"b", big}, {"c", 0}}, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Settings().SizeTrueRings = row.SizeTrue;
        const std::string folder = "walk" + std::to_string(&row - cases) + "/";
        for (const auto& [name, size] : row.Files)
            Tree.File(folder + name, size);
        QOXRing* ring = Open(folder);
        ring->PixelsPerUnit = 20.0f;
        ring->Relayout();
        std::vector<std::string> own;
        std::vector<std::string> gathered;
        ring->Root->ForEachChild([&](const QRElement* child) {
            (row.Gathered.contains(child->Name) ? gathered : own).push_back(child->Name);
        });
        std::vector<std::string> expected = own;
        if (!gathered.empty())
            expected.push_back(std::to_string(gathered.size()) + (gathered.size() == 1 ? " small item" : " small items"));
        expected.insert(expected.end(), gathered.begin(), gathered.end());
        expected.push_back(expected.front());
        EXPECT_EQ(WalkRight(*ring, expected.size() - 1), expected);
        Keys->Sibling(QAStep::Back, QAMoveKind::Move);
        EXPECT_EQ(Shown(Cursor->CurrentElement), expected[expected.size() - 2]) << "back from the first";
        QRESummary* small = ring->SmallItems->Shown(*ring->Root);
        ASSERT_EQ(small != nullptr, !gathered.empty());
        if (small != nullptr) {
            EXPECT_TRUE(QRLayout::HasSector(*small));
            Keys->MoveTo(ring->Root);
            AppTest::Frame(static_cast<int>(QAKeyboard::kTypingSeconds * 1000.0f) + 50); // a new name, not more of one
            Keys->Type(gathered.back());
            EXPECT_EQ(Shown(Cursor->CurrentElement), gathered.back()) << "typed";
        }
        TheApp->CloseRing(ring);
    }
}

} // namespace
