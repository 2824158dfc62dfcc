#include "forms/main.h"

#include <QLabel>
#include <QTest>

#include <string>
#include <vector>

#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kCountTimeout = 20000; // milliseconds
constexpr int kCountingPanel = 4;

float Width(const QRElement* element)
{
    return element->EndAngle - element->StartAngle;
}

// Folders are sized by everything below them while the window runs: the status bar's last panel
// says the count runs (wide enough to read it whole) and is empty once it is done, and every folder
// sector takes its total, the larger totals the wider sectors.
TEST_F(FormTest, FolderSectorsTakeTheirCountedTotals)
{
    Tree.File("big/a/b/data.bin", 400000);
    Tree.File("big/c/more.bin", 100000);
    Tree.File("big/.hidden", 300);
    Tree.File("middle/d/e/f.bin", 60000);
    Tree.File("small/x.txt", 500);
    for (int i = 0; i < 2000; ++i)
        Tree.MakeFolder("many/f" + std::to_string(i));
    Launch();
    const QLabel* panel = Form->StatusPanels[kCountingPanel];
    // The panel is laid out anew in the same pass of the event loop that shows the text.
    const auto readable = [&] { return panel->width() >= panel->sizeHint().width(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel(kCountingPanel).startsWith("Counting… ") && readable(); },
                                kCountTimeout));
    EXPECT_TRUE(Panel(kCountingPanel).endsWith(" folders")) << Panel(kCountingPanel).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel(kCountingPanel).isEmpty(); }, kCountTimeout));

    const std::vector<std::string> folders = {"big", "middle", "small", "many"};
    std::vector<const QRElement*> sectors;
    for (const std::string& name : folders) {
        sectors.push_back(ChildNamed(*CurrentRing()->Root, name + "/"));
        ASSERT_NE(sectors.back(), nullptr) << name;
        EXPECT_EQ(sectors.back()->Size, Tree.SumsBelow(name + "/").Bytes) << name;
    }
    // The blend from equal shares to the counted ones runs over a few frames.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Width(sectors[0]) > 2.0f * Width(sectors[1]) && Width(sectors[1]) > 1.2f * Width(sectors[2]); },
        kCountTimeout));
}

} // namespace
