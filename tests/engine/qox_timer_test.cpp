#include "engine/qox_timer.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace {

class TimerTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        UseManualClock(5'000'200); // 200 ms into a second
    }
    QOXTimer& Timer() { return *TheEngine->Timer; }
};

TEST_F(TimerTest, DeltaIsScaledBySpeedAndTimeScale)
{
    Timer().Speed = 0.5f;
    Clock.Advance(100);
    Timer().Update();
    EXPECT_FLOAT_EQ(Timer().GetDelta(), 0.05f);
    Timer().TimeScale = 2.0f;
    Clock.Advance(100);
    Timer().Update();
    EXPECT_FLOAT_EQ(Timer().GetDelta(), 0.1f);
    EXPECT_FLOAT_EQ(Timer().GetRunningTime(), 0.15f);
    float position = 1.0f;
    Timer().AddDeltaScaled(position, 10.0f);
    EXPECT_FLOAT_EQ(position, 2.0f);
}

TEST_F(TimerTest, NewSecondPublishesTheFramesOfTheLastOne)
{
    Timer().SetShowFPS(true);
    for (int i = 0; i < 3; ++i) {
        Clock.Advance(100);
        Timer().Update();
    }
    EXPECT_EQ(Timer().GetFPS(), 0);
    Clock.Advance(600); // crosses into the next second
    Timer().Update();
    EXPECT_EQ(Timer().GetFPS(), 4);
    EXPECT_EQ(Timer().TotalFrames, 4);
    EXPECT_EQ(Timer().Seconds, 1);
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"FPS: 4"});
}

TEST_F(EngineTest, TwoUpdatesInOneMillisecondStillGiveAPositiveFrame)
{
    TheEngine->Timer->Update();
    TheEngine->Timer->Update();
    EXPECT_GE(TheEngine->Timer->GetDelta(), 0.001f);
}

TEST_F(EngineTest, ElapsedSecondsMeasuresWithTheCounter)
{
    std::int64_t start = 0;
    TheEngine->Timer->ReadCounter(start);
    EXPECT_GE(TheEngine->Timer->ElapsedSeconds(start), 0.0f);
    EXPECT_LT(TheEngine->Timer->ElapsedSeconds(start), 5.0f);
}

} // namespace
