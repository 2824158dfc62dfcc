#include "engine/qox_convert.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

namespace {

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(QOXConvert, CommaDecimalLocaleChangesNothing)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const char* cLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(QOXConvert::FloatToStr(0.5f), "0.50");
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("0.50"), 0.5f);
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("0,50"), -1.0f);
    EXPECT_EQ(QOXConvert::VectorToStr({1.0f, 0.5f, 0.25f}), "(1.00,0.50,0.25)");
    std::locale::global(previous);
    if (cLocale != nullptr)
        std::setlocale(LC_NUMERIC, "C");
}

TEST(QOXConvert, TextThatIsNotANumberReadsAsMinusOne)
{
    EXPECT_EQ(QOXConvert::StrToInt("42"), 42);
    EXPECT_EQ(QOXConvert::StrToInt("-7"), -7);
    EXPECT_EQ(QOXConvert::StrToInt("12abc"), -1);
    EXPECT_EQ(QOXConvert::StrToInt(""), -1);
    EXPECT_EQ(QOXConvert::StrToInt("99999999999"), -1);
    // Only the first 32 characters are converted.
    EXPECT_EQ(QOXConvert::StrToInt(std::string(31, '0') + "1xyz"), 1);
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("abc"), -1.0f);
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("1e400"), -1.0f);
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("nan"), -1.0f);
    EXPECT_FLOAT_EQ(QOXConvert::StrToFloat("-2.25"), -2.25f);
}

TEST(QOXConvert, NumbersAndTruthToText)
{
    EXPECT_EQ(QOXConvert::IntToStr(-9000000000LL), "-9000000000");
    EXPECT_EQ(QOXConvert::FloatToStrDigits(3.14159f, 3), "3.142");
    EXPECT_EQ(QOXConvert::FloatToStr(-0.125f), "-0.12");
    EXPECT_EQ(QOXConvert::BoolToStr(true), "TRUE");
    EXPECT_TRUE(QOXConvert::StrToBool("TRUE"));
    EXPECT_FALSE(QOXConvert::StrToBool("true"));
}

TEST(QOXConvert, FieldValidation)
{
    EXPECT_TRUE(QOXConvert::IsInteger("-12"));
    EXPECT_FALSE(QOXConvert::IsInteger("-"));
    EXPECT_FALSE(QOXConvert::IsInteger("1-2"));
    EXPECT_FALSE(QOXConvert::IsInteger(""));
    EXPECT_TRUE(QOXConvert::IsFloat("-0.5"));
    EXPECT_FALSE(QOXConvert::IsFloat("1.2.3"));
    EXPECT_FALSE(QOXConvert::IsFloat("-"));
    EXPECT_FALSE(QOXConvert::IsFloat("."));
    EXPECT_TRUE(QOXConvert::HasContent(" \t x"));
    EXPECT_FALSE(QOXConvert::HasContent(" \t "));
}

TEST(QOXConvert, ColorToRGBRoundsEachComponent)
{
    EXPECT_EQ(QOXConvert::ColorToRGB({1.0f, 0.5f, 0.0f}), 0x0080FFu);
    EXPECT_EQ(QOXConvert::ColorToRGB({0.0f, 0.0f, 1.0f}), 0xFF0000u);
}

} // namespace
