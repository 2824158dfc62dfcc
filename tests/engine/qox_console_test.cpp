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

// Listeners that register more listeners (enough to move the list in memory) or remove
// themselves while a line is handed out: each listener there when the line came hears it once,
// and those added meanwhile hear the lines after it.
TEST_F(ConsoleTest, ListenersMayAddAndRemoveListenersWhileALineIsHandedOut)
{
    std::vector<std::string> heard;
    const int adder = 0;
    const int quitter = 0;
    const int added = 0;
    Console().AddCallProc(&adder, [&](const std::string& text) {
        heard.push_back("adder: " + text);
        for (int i = 0; i < 64; ++i)
            Console().AddCallProc(&added, [&heard, i](const std::string& line) {
                if (i == 0)
                    heard.push_back("added: " + line);
            });
        Console().RemoveCallProc(&adder);
    });
    Console().AddCallProc(&quitter, [&](const std::string& text) {
        heard.push_back("quitter: " + text);
        Console().RemoveCallProc(&quitter);
    });
    Console().AddLine("one");
    Console().AddLine("two");
    EXPECT_EQ(heard, (std::vector<std::string>{"adder: one", "quitter: one", "added: two"}));
    Console().ClearCallProcs();
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
