#include "engine/qox_math.h"

#include <gtest/gtest.h>

#include "engine/math_color.h"
#include "engine/math_round.h"

namespace {

TEST(QOXMath, FracAndRoundAwayFollowHalvesToEven)
{
    EXPECT_FLOAT_EQ(QOXMath::Frac(2.25f), 0.25f);
    EXPECT_FLOAT_EQ(QOXMath::Frac(3.0f), 1.0f);
    EXPECT_FLOAT_EQ(QOXMath::Frac(2.0f), 0.0f);
    EXPECT_FLOAT_EQ(QOXMath::Frac(-2.25f), -0.25f);
    EXPECT_EQ(QMRound::RoundAway(1.2f), 2);
    EXPECT_EQ(QMRound::RoundAway(-1.2f), -2);
    EXPECT_EQ(QMRound::RoundAway(0.0f), 0);
    EXPECT_EQ(QMRound::RoundAway(2.0f), 2);
    EXPECT_EQ(QMRound::RoundAway(1.0f), 2);
}

TEST(QOXMath, ClampAndPairs)
{
    float v = -3.0f;
    QOXMath::Clamp(v, 0.0f, 1.0f);
    EXPECT_EQ(v, 0.0f);
    v = 5.0f;
    QOXMath::Clamp(v, 0.0f, 1.0f);
    EXPECT_EQ(v, 1.0f);
    int a = 5, b = 2;
    QOXMath::SortPair(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 5);
    EXPECT_FLOAT_EQ(QOXMath::MaxF(3, 7), 7.0f);
    EXPECT_TRUE(QOXMath::Greater2({2, 2}, {1, 1}));
    EXPECT_FALSE(QOXMath::Greater2({2, 1}, {1, 1}));
}

TEST(QOXMath, RotateVectorTurnsAboutZThenXThenY)
{
    const QXVector z90 = QOXMath::RotateVector({1, 0, 0}, {0, 0, 90});
    EXPECT_NEAR(z90.X, 0.0f, 1e-6f);
    EXPECT_NEAR(z90.Y, 1.0f, 1e-6f);
    const QXVector x90 = QOXMath::RotateVector({0, 1, 0}, {90, 0, 0});
    EXPECT_NEAR(x90.Y, 0.0f, 1e-6f);
    EXPECT_NEAR(x90.Z, 1.0f, 1e-6f);
    const QXVector y90 = QOXMath::RotateVector({0, 0, 1}, {0, 90, 0});
    EXPECT_NEAR(y90.X, 1.0f, 1e-6f);
    EXPECT_NEAR(y90.Z, 0.0f, 1e-6f);
    QXVector position{1, 1, 1};
    QOXMath::MoveAlongY(position, {0, 0, 90}, 2.0f);
    EXPECT_NEAR(position.X, -1.0f, 1e-6f);
    EXPECT_NEAR(position.Y, 1.0f, 1e-6f);
}

TEST(QOXMath, Colours)
{
    EXPECT_FLOAT_EQ(QMColor::Average({0.3f, 0.6f, 0.9f}), 0.6f);
    EXPECT_EQ(QMColor::MultiplyColor({0.5f, 1.0f, 0.0f}, {0.5f, 0.5f, 1.0f}), (QXColor{0.25f, 0.5f, 0.0f}));
}

} // namespace
