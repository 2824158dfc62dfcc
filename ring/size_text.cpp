#include "ring/size_text.h"

#include <array>

#include "app/app_main.h"
#include "engine/qox_convert.h"

namespace {

constexpr double kStep = 1024.0;
constexpr std::array<const char*, 4> kDesignedNames{" Byte", " KB", " MB", " GB"};
constexpr std::array<const char*, 6> kBinaryNames{" B", " KiB", " MiB", " GiB", " TiB", " PiB"};

// The step of 1024 the count is shown in (0 for bytes), at most `highest`, and the count in it.
int StepOf(std::int64_t bytes, int highest, double& scaled)
{
    scaled = static_cast<double>(bytes);
    int step = 0;
    while (step < highest && scaled >= kStep) {
        scaled /= kStep;
        ++step;
    }
    return step;
}

std::string Fixed(double value, int digits)
{
    return QOXConvert::FloatToStrDigits(static_cast<float>(value), digits);
}

std::string DesignedText(std::int64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + kDesignedNames[0];
    double scaled = 0.0;
    const int step = StepOf(bytes, 3, scaled);
    return Fixed(scaled, step == 1 ? 1 : 2) + kDesignedNames[static_cast<std::size_t>(step)];
}

std::string BinaryText(std::int64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + kBinaryNames[0];
    double scaled = 0.0;
    const int step = StepOf(bytes, static_cast<int>(kBinaryNames.size()) - 1, scaled);
    return Fixed(scaled, step == 1 ? 1 : 2) + kBinaryNames[static_cast<std::size_t>(step)];
}

} // namespace

QRSizeUnits ShownSizeUnits()
{
    const QOXApp* app = App();
    return app != nullptr && app->Settings.SizeTrueRings ? QRSizeUnits::Binary : QRSizeUnits::Designed;
}

std::string SizeTextIn(std::int64_t bytes, QRSizeUnits units)
{
    return units == QRSizeUnits::Binary ? BinaryText(bytes) : DesignedText(bytes);
}

std::string ShortSizeText(std::int64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes < 0 ? 0 : bytes) + kBinaryNames[0];
    double scaled = 0.0;
    const int step = StepOf(bytes, static_cast<int>(kBinaryNames.size()) - 1, scaled);
    // 999.5 would round to 1000: it is shown as the whole number it rounds to.
    const int digits = scaled < 9.95 ? 1 : 0;
    return Fixed(scaled, digits) + kBinaryNames[static_cast<std::size_t>(step)];
}
