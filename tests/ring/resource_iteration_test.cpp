#include "ring/resource_iteration.h"

#include <gtest/gtest.h>

#include "engine/qox_timer.h"
#include "tests/support/engine_fixture.h"

namespace {

// Animated values advanced by real engine frames of a chosen length.
class IterationTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        UseManualClock(1'000'000);
        Value = QOXNew<QRIteration>(TheEngine);
    }
    void Frame(int milliseconds)
    {
        EngineFrame(milliseconds);
        Value->Tick();
    }

    QRIteration* Value = nullptr; // owned by the engine
};

TEST_F(IterationTest, NewValueIsStoppedAtZero)
{
    EXPECT_FALSE(Value->Running());
    EXPECT_EQ(Value->GetName(), "QOX Iteration");
    Frame(100);
    EXPECT_EQ(Value->Progress, 0.0f);
    EXPECT_FLOAT_EQ(Value->Value(), 0.0f);
}

TEST_F(IterationTest, ForwardsReachesTheEndExactlyOnTheFifthTick)
{
    Value->SetScalar(10.0f, 2.0f);
    Value->Start(QRIteration::Linear, QRIteration::Forwards, 2.0f);
    for (int tick = 1; tick <= 4; ++tick) {
        Frame(100);
        EXPECT_TRUE(Value->Running()) << "tick " << tick;
    }
    Frame(100);
    EXPECT_FALSE(Value->Running());
    EXPECT_EQ(Value->Progress, 1.0f);
    EXPECT_EQ(Value->Value(), 10.0f);
    Frame(100);
    EXPECT_EQ(Value->Value(), 10.0f); // stays at its end
}

TEST_F(IterationTest, BackwardsEndsAtZeroAndLoopJumpsToTheOtherEnd)
{
    Value->Start(QRIteration::Linear, QRIteration::Backwards, 4.0f);
    EXPECT_EQ(Value->Progress, 1.0f);
    Frame(300);
    EXPECT_EQ(Value->Progress, 0.0f);
    EXPECT_FALSE(Value->Running());

    Value->Start(QRIteration::Linear, QRIteration::Forwards, 4.0f);
    Value->Loop = true;
    Frame(300);
    EXPECT_EQ(Value->Progress, 0.0f);
    EXPECT_EQ(Value->MoveDirection, QRIteration::Forwards);
}

TEST_F(IterationTest, PingPongNeverStops)
{
    Value->Start(QRIteration::Linear, QRIteration::Forwards, 5.0f);
    Value->PingPong = true;
    float lowest = 1.0f, highest = 0.0f;
    for (int i = 0; i < 30; ++i) {
        Frame(100);
        lowest = std::min(lowest, Value->Value());
        highest = std::max(highest, Value->Value());
        ASSERT_TRUE(Value->Running());
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_EQ(highest, 1.0f);
}

TEST_F(IterationTest, StartBeginsAgainAndSpeedZeroNeverMoves)
{
    Value->Start(QRIteration::Linear, QRIteration::Forwards, 1.0f);
    Frame(500);
    EXPECT_FLOAT_EQ(Value->Progress, 0.5f);
    Value->Loop = true;
    Value->Start(QRIteration::Sine, QRIteration::Forwards, 0.0f);
    EXPECT_EQ(Value->Progress, 0.0f);
    EXPECT_FALSE(Value->Loop);
    Frame(500);
    EXPECT_EQ(Value->Progress, 0.0f);
    EXPECT_TRUE(Value->Running());
}

TEST_F(IterationTest, CurvesShapeTheProgress)
{
    Value->Progress = 0.5f;
    Value->SetCurve(QRIteration::Linear);
    EXPECT_FLOAT_EQ(Value->CurveValue(), 0.5f);
    Value->SetCurve(QRIteration::Sine);
    EXPECT_NEAR(Value->CurveValue(), 0.70710678f, 1e-6f);
    Value->SetCurve(QRIteration::EaseInOut);
    EXPECT_NEAR(Value->CurveValue(), 0.5f, 1e-6f);
    Value->Progress = 0.25f;
    EXPECT_NEAR(Value->CurveValue(), (1.0f - 0.70710678f) / 2.0f, 1e-6f);
    Value->Progress = 0.75f;
    EXPECT_NEAR(Value->CurveValue(), 0.70710678f / 2.0f + 0.5f, 1e-6f);
    Value->SetCurve(7);
    EXPECT_EQ(Value->CurveValue(), -1.0f);

    Value->SetCurve(QRIteration::Linear);
    Value->Progress = 0.25f;
    Value->SetVector({0, 4, 8}, {4, 8, 0});
    EXPECT_EQ(Value->VectorValue(), (QXVector{1, 5, 6}));
}

} // namespace
