#include "tests/support/engine_fixture.h"

#include <cstdlib>

#include "engine/qox_timer.h"

void EngineTest::SetUp()
{
    ::setenv("ORBIVANE_HOME", ProgramFolder.Path().c_str(), 1);
    TheEngine = QOXNew<QOXEngine>(&Desktop);
    TheEngine->Initialize(nullptr, nullptr);
    LinesSeen = LogLines().size();
}

void EngineTest::TearDown()
{
    DestroyEngine();
    ::unsetenv("ORBIVANE_HOME");
}

void EngineTest::UseManualClock(std::int64_t milliseconds)
{
    Clock.Milliseconds = milliseconds;
    TheEngine->Timer->SetClock(&Clock);
}

void EngineTest::EngineFrame(int milliseconds)
{
    Clock.Advance(milliseconds);
    TheEngine->Update();
}

void EngineTest::DestroyEngine()
{
    if (TheEngine == nullptr)
        return;
    TheEngine->Timer->SetClock(nullptr);
    TheEngine->Destroy();
    TheEngine = nullptr;
}

std::vector<std::string> EngineTest::LogLines() const
{
    return ProgramFolder.ReadLines("console.txt");
}

std::vector<std::string> EngineTest::NewLogLines()
{
    std::vector<std::string> lines = LogLines();
    std::vector<std::string> fresh(lines.begin() + static_cast<long>(std::min(LinesSeen, lines.size())), lines.end());
    LinesSeen = lines.size();
    return fresh;
}
