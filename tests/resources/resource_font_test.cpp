#include "resources/resource_font.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/engine_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

using FontWidthsTest = EngineTest;

// A widths file that is a link to an endless device, a pipe or holds a line over 1 MiB is refused
// without waiting: the font stays empty with every width 0.
TEST_F(FontWidthsTest, HostileWidthsFileLeavesTheFontEmpty)
{
    TheEngine->ShowErrorDialogs = false;
    for (const HostileFile hostile : HostileFiles()) {
        SCOPED_TRACE(HostileFileName(hostile));
        MakeHostileFile(ProgramFolder.Path() + "textures/fonts/hostile.txt", hostile);
        auto font = QOXMake<QRFont>("textures/fonts/hostile", 1, nullptr);
        EXPECT_FALSE(font->IsLoaded());
        EXPECT_EQ(font->CharWidths, (std::array<std::uint8_t, QRFont::kGlyphs>{}));
        const std::vector<std::string> log = NewLogLines();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().rfind("  ERROR: QX_FILE: ", 0), 0u) << log.back();
        EXPECT_NE(log.back().find("hostile.txt"), std::string::npos) << log.back();
    }
}

} // namespace
