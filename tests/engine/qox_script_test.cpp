#include "engine/qox_script.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace {

TEST_F(EngineTest, ScriptLinesAreCutTo55AndSetLineRefusesLinesBeyondTheEnd)
{
    QOXScript& scripts = *TheEngine->Script;
    QXScript script;
    scripts.AddLine(script, std::string(60, 'a'));
    EXPECT_EQ(script.Last, 0);
    EXPECT_EQ(script.Lines[0], std::string(55, 'a'));
    EXPECT_FALSE(scripts.Contains(script, std::string(60, 'a')));
    EXPECT_TRUE(scripts.Contains(script, std::string(55, 'a')));

    scripts.SetLine(script, 1, "beyond");
    EXPECT_EQ(script.Last, 0);
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QX_SCRIPT: Tried to add a line beyond end of script!"});

    scripts.SetLength(script, 3);
    EXPECT_EQ(script.Last, 2);
    scripts.SetLine(script, 2, "third");
    EXPECT_EQ(script.Lines[2], "third");
    scripts.SetLength(script, 0);
    EXPECT_EQ(script.Last, -1);
    EXPECT_TRUE(script.Lines.empty());
}

} // namespace
