#include "engine/qox_console.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/engine_fixture.h"

namespace {

class ConsoleTest : public EngineTest {
protected:
    QOXConsole& Console() { return *TheEngine->Console; }
};

TEST_F(ConsoleTest, HandlerRegisteredTwiceIsCalledTwiceAndRemovedEverywhere)
{
    std::vector<std::string> heard;
    const int owner = 0;
    const auto listen = [&heard](const std::string& text) { heard.push_back(text); };
    Console().AddCallProc(&owner, listen);
    Console().AddCallProc(&owner, listen);
    Console().AddLine("hello");
    EXPECT_EQ(heard, (std::vector<std::string>{"hello", "hello"}));

    Console().RemoveCallProc(&owner);
    Console().AddLine("again");
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_EQ(Console().Settings.CallProcs.size(), 2u); // the slots stay, empty
}

TEST_F(ConsoleTest, DisabledConsoleDropsLinesEntirely)
{
    int calls = 0;
    Console().AddCallProc(this, [&calls](const std::string&) { ++calls; });
    Console().Enabled = false;
    Console().AddLine("unseen");
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(NewLogLines().empty());
    Console().RemoveCallProc(this);
}

TEST_F(ConsoleTest, ItsOwnTemporaryFileObjectIsNeverLogged)
{
    TheEngine->LogObjects = true;
    Console().AddLine("plain line");
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"plain line"});
    EXPECT_TRUE(TheEngine->LogObjects); // restored after the line
}

TEST_F(ConsoleTest, LinesAreCutTo255AndBreaksStayOnOneLine)
{
    Console().AddLine(std::string(300, 'x'));
    Console().AddLine("two\nparts");
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{std::string(255, 'x'), "two parts"}));
}

TEST_F(ConsoleTest, DeletedLogFileStopsReceivingLinesListenersStillDo)
{
    std::filesystem::remove(Console().LogFileName());
    std::string last;
    Console().AddCallProc(this, [&last](const std::string& text) { last = text; });
    Console().AddLine("after deletion");
    EXPECT_EQ(last, "after deletion");
    EXPECT_FALSE(std::filesystem::exists(Console().LogFileName()));
    Console().RemoveCallProc(this);
}

} // namespace
