#pragma once
// Conversions between numbers, truth values, vectors and text. They never depend on the user's
// locale (the decimal separator is always ".") and never fail loudly: a text that is not a number
// reads as -1.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QOXConvert : public QOXObject {
    QOX_CLASS(QOXConvert)
public:
    QOXConvert(QOXObject* parent, const std::string& name);

    static std::string IntToStr(std::int64_t value);
    static int StrToInt(const std::string& text);
    static std::string FloatToStr(float value);
    static std::string FloatToStrDigits(float value, int digits);
    static float StrToFloat(const std::string& text);
    static std::string BoolToStr(bool flag);
    static bool StrToBool(const std::string& text);
    static std::string VectorToStr(const QXVector& v);
    static bool IsInteger(const std::string& text);
    static bool IsFloat(const std::string& text);
    // The whole text as a number of the kind (IsInteger, IsFloat) that its type can hold; none for
    // anything else, also for a number too large ("99999999999" is no int): what an edit field
    // holds, where a text that is not a valid number must leave the value as it was.
    static std::optional<int> ExactInt(const std::string& text);
    static std::optional<float> ExactFloat(const std::string& text);
    static bool HasContent(const std::string& text);
    static std::string LineBreak();

    static QXVector MakeVector(float x, float y, float z);
    static QXVector CopyVector(const QXVector& v) { return v; }
    static QXVector4 MakeVector4(float x, float y, float z, float w);
    static QXVector4 VectorToVector4(const QXVector& v, float w);
    // The colour as 0x00BBGGRR, each component x 255 rounded to the nearest whole number.
    static std::uint32_t ColorToRGB(const QXColor& color);
};
