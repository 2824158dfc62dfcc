#include "engine/qox_convert.h"

#include <charconv>
#include <cmath>

namespace {

// Reads the whole of the first 32 characters as a number; a leading "+" is allowed.
template <class Number>
bool ParseNumber(const std::string& text, Number& value)
{
    const std::string input = text.substr(0, kStringName);
    const char* begin = input.data();
    const char* end = begin + input.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return begin != end && error == std::errc() && stop == end;
}

// The whole text as a number; false for anything left over or out of the type's range.
template <class Number>
bool ParseWhole(const std::string& text, Number& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    return begin != end && error == std::errc() && stop == end;
}

} // namespace

std::optional<int> QOXConvert::ExactInt(const std::string& text)
{
    int value = 0;
    if (!IsInteger(text) || !ParseWhole(text, value))
        return std::nullopt;
    return value;
}

std::optional<float> QOXConvert::ExactFloat(const std::string& text)
{
    float value = 0.0f;
    if (!IsFloat(text) || !ParseWhole(text, value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QOXConvert::QOXConvert(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

std::string QOXConvert::IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

int QOXConvert::StrToInt(const std::string& text)
{
    int value = 0;
    return ParseNumber(text, value) ? value : -1;
}

std::string QOXConvert::FloatToStr(float value)
{
    return FloatToStrDigits(value, 2);
}

std::string QOXConvert::FloatToStrDigits(float value, int digits)
{
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, digits);
    if (error != std::errc())
        return "0";
    return CutText(std::string(buffer, end), kStringName);
}

float QOXConvert::StrToFloat(const std::string& text)
{
    float value = 0.0f;
    return ParseNumber(text, value) && std::isfinite(value) ? value : -1.0f;
}

std::string QOXConvert::BoolToStr(bool flag)
{
    return flag ? "TRUE" : "FALSE";
}

bool QOXConvert::StrToBool(const std::string& text)
{
    return text == "TRUE";
}

std::string QOXConvert::VectorToStr(const QXVector& v)
{
    return "(" + FloatToStr(v.X) + "," + FloatToStr(v.Y) + "," + FloatToStr(v.Z) + ")";
}

bool QOXConvert::IsInteger(const std::string& text)
{
    if (text.empty())
        return false;
    const std::size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size())
        return false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

bool QOXConvert::IsFloat(const std::string& text)
{
    if (text.empty())
        return false;
    const std::size_t start = text[0] == '-' ? 1 : 0;
    int points = 0;
    int digits = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '.')
            ++points;
        else if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else
            return false;
    }
    return points <= 1 && digits > 0;
}

bool QOXConvert::HasContent(const std::string& text)
{
    return text.find_first_not_of(" \t") != std::string::npos;
}

std::string QOXConvert::LineBreak()
{
    return "\n";
}

QXVector QOXConvert::MakeVector(float x, float y, float z)
{
    return {x, y, z};
}

QXVector4 QOXConvert::MakeVector4(float x, float y, float z, float w)
{
    return {x, y, z, w};
}

QXVector4 QOXConvert::VectorToVector4(const QXVector& v, float w)
{
    return {v.X, v.Y, v.Z, w};
}

std::uint32_t QOXConvert::ColorToRGB(const QXColor& color)
{
    const auto component = [](float value) {
        const long rounded = std::lround(static_cast<double>(value) * 255.0);
        return static_cast<std::uint32_t>(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
    };
    return component(color.X) | (component(color.Y) << 8) | (component(color.Z) << 16);
}
