#include "app/app_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <variant>

#include "engine/qox_file.h"
#include "engine/qox_main.h"

namespace {

using Field = std::variant<int QASettings::*, bool QASettings::*, float QASettings::*, std::string QASettings::*>;

struct SettingKey {
    const char* Section;
    const char* Key;
    Field Member;
};

// The file's table: sections and keys in the order they are read and written.
const SettingKey kTable[] = {
    {"STARTUP", "InitialRingMode", &QASettings::InitialRingMode},
    {"STARTUP", "InitialRingFolder", &QASettings::InitialRingFolder},
    {"STARTUP", "CreateRingForHDD", &QASettings::CreateRingForHDD},
    {"DISPLAY", "ComputeFileSizeAutomatically", &QASettings::ComputeFileSizeAutomatically},
    {"DISPLAY", "ComputeFolderSize", &QASettings::ComputeFolderSize},
    {"DISPLAY", "DisplayHiddenFiles", &QASettings::DisplayHiddenFiles},
    {"DISPLAY", "AutoRefreshTime", &QASettings::AutoRefreshTime},
    {"DISPLAY", "AllowMultipleEqualRings", &QASettings::AllowMultipleEqualRings},
    {"DISPLAY", "CountFolderSizesInBackground", &QASettings::CountFolderSizesInBackground},
    {"DISPLAY", "StayOnOneFileSystem", &QASettings::StayOnOneFileSystem},
    {"DISPLAY", "ReadableLabels", &QASettings::ReadableLabels},
    {"DISPLAY", "SizeTrueRings", &QASettings::SizeTrueRings},
    {"DISPLAY", "ShowFreeSpace", &QASettings::ShowFreeSpace},
    {"DISPLAY", "FitRingToWindow", &QASettings::FitRingToWindow},
    {"DISPLAY", "ShowLegend", &QASettings::ShowLegend},
    {"DISPLAY", "SizeOnDisk", &QASettings::SizeOnDisk},
    {"WIDTH", "MinimumSizeFactor", &QASettings::MinimumSizeFactor},
    {"WIDTH", "DefaultFocusFactor", &QASettings::DefaultFocusFactor},
    {"WIDTH", "FocusFactorPerElement", &QASettings::FocusFactorPerElement},
    {"ANIMATION", "AnimationSpeed", &QASettings::AnimationSpeed},
    {"ANIMATION", "RingAnimationSpeed", &QASettings::RingAnimationSpeed},
    {"ANIMATION", "MoveSelectionLeft", &QASettings::MoveSelectionLeft},
    {"ANIMATION", "AutoRotate", &QASettings::AutoRotate},
    {"ANIMATION", "AutoCenter", &QASettings::AutoCenter},
    {"VIEWS", "AllowMultiplyViews", &QASettings::AllowMultiplyViews},
    {"VIEWS", "GroupViews", &QASettings::GroupViews},
    {"VIEWS", "DisplayUnboundElements", &QASettings::DisplayUnboundElements},
    {"ELEMENTINFO", "DisplayDuration", &QASettings::DisplayDuration},
    {"ELEMENTINFO", "RingDisplayDuration", &QASettings::RingDisplayDuration},
    {"SHADOW", "DisplayShadow", &QASettings::DisplayShadow},
    {"SHADOW", "ShadowMapSize", &QASettings::ShadowMapSize},
    {"MEISTER", "BananaMode", &QASettings::BananaMode},
    {"LIST", "ListShown", &QASettings::ListShown},
    {"LIST", "ListSortColumn", &QASettings::ListSortColumn},
    {"LIST", "ListSortAscending", &QASettings::ListSortAscending},
    {"LIST", "ListColumnWidths", &QASettings::ListColumnWidths},
    {"HISTORY", "RecordSizeHistory", &QASettings::RecordSizeHistory},
    {"HISTORY", "SizeHistoryCounts", &QASettings::SizeHistoryCounts},
    {"HISTORY", "ShowGrowth", &QASettings::ShowGrowth},
    {"HISTORY", "GrowthSince", &QASettings::GrowthSince},
};

// Section and key names match whatever their letter case, as INI readers always have.
std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A carriage return is white space too: a value that ended in one would lose it when written.
std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "section\nkey" (lower case) -> value, the first occurrence of a key winning.
using IniValues = std::map<std::string, std::string>;

std::string IniKey(const std::string& section, const std::string& key)
{
    return Lower(section) + "\n" + Lower(key);
}

IniValues ReadIni(QOXFile& file)
{
    IniValues values;
    std::string section;
    while (!file.Eof()) {
        const std::string line = Trim(file.ReadLine());
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || line[0] == ';')
            continue;
        values.emplace(IniKey(section, Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)));
    }
    return values;
}

template <class Number>
bool ParseNumber(const std::string& text, Number& value)
{
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    return begin != end && error == std::errc() && stop == end;
}

struct ReadValue {
    const std::string& Text;
    const QASettings& Defaults;
    QASettings& Settings;

    void operator()(int QASettings::*member) const
    {
        int value = 0;
        Settings.*member = ParseNumber(Text, value) ? value : Defaults.*member;
    }
    void operator()(bool QASettings::*member) const
    {
        long long value = 0;
        Settings.*member = ParseNumber(Text, value) ? value != 0 : Defaults.*member;
    }
    void operator()(float QASettings::*member) const
    {
        float value = 0.0f;
        Settings.*member = ParseNumber(Text, value) && std::isfinite(value) ? value : Defaults.*member;
    }
    void operator()(std::string QASettings::*member) const { Settings.*member = Text; }
};

struct WriteValue {
    const QASettings& Settings;

    std::string operator()(int QASettings::*member) const { return std::to_string(Settings.*member); }
    std::string operator()(bool QASettings::*member) const { return Settings.*member ? "1" : "0"; }
    std::string operator()(std::string QASettings::*member) const { return Settings.*member; }
    // The shortest text that reads back to exactly the same float.
    std::string operator()(float QASettings::*member) const
    {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, Settings.*member);
        return error == std::errc() ? std::string(buffer, end) : "0";
    }
};

bool SettingsFileExists(const std::string& path)
{
    return Engine()->FileSystem->FileExists(path, QOXFileSystem::Silent);
}

} // namespace

bool ReadSettingsFile(const std::string& path, QASettings& settings)
{
    if (!SettingsFileExists(path))
        return false;
    QOXFile* file = Engine()->FileSystem->OpenRead(path, QOXFile::Text);
    const IniValues values = ReadIni(*file);
    const bool refused = file->WasRefused();
    file->Destroy();
    const QASettings defaults;
    if (refused) {
        settings = defaults;
        return false;
    }
    for (const SettingKey& setting : kTable) {
        const auto found = values.find(IniKey(setting.Section, setting.Key));
        if (found != values.end())
            std::visit(ReadValue{found->second, defaults, settings}, setting.Member);
        else
            std::visit([&](auto member) { settings.*member = defaults.*member; }, setting.Member);
    }
    return true;
}

std::string SettingsText(const QASettings& settings)
{
    std::string text;
    std::string section;
    for (const SettingKey& setting : kTable) {
        if (section != setting.Section) {
            text += (section.empty() ? "[" : "\n[") + std::string(setting.Section) + "]\n";
            section = setting.Section;
        }
        text += std::string(setting.Key) + "=" + std::visit(WriteValue{settings}, setting.Member) + "\n";
    }
    return text;
}

bool WriteSettingsFile(const std::string& path, const QASettings& settings)
{
    if (!SettingsFileExists(path))
        return false;
    if (Engine()->FileSystem->IsRefused(path)) {
        Engine()->Log("File \"" + path + "\" could not be read, so it is not written over.");
        return false;
    }
    std::string text = SettingsText(settings);
    text.pop_back(); // WriteLine ends the last line
    QOXFile* file = Engine()->FileSystem->OpenWrite(path, QOXFile::Text);
    file->WriteLine(text);
    file->Destroy();
    return true;
}

QASettingLimit AutoRefreshTimeLimit() { return {0.0f, 10000.0f}; }
QASettingLimit DefaultFocusFactorLimit() { return {1.0f, 10.0f}; }
QASettingLimit FocusFactorPerElementLimit() { return {0.0f, 10.0f}; }
QASettingLimit AnimationSpeedLimit() { return {0.1f, 10.0f}; }
QASettingLimit MoveSelectionLeftLimit() { return {0.0f, 100.0f}; }
QASettingLimit DisplayDurationLimit() { return {0.0f, 10000.0f}; }
QASettingLimit SizeHistoryCountsLimit() { return {1.0f, 1000.0f}; }

float LimitSetting(float value, QASettingLimit limit)
{
    return std::clamp(value, limit.Lowest, limit.Highest);
}

void ApplyPreferenceLimits(QASettings& settings)
{
    settings.AutoRefreshTime = LimitSetting(settings.AutoRefreshTime, AutoRefreshTimeLimit());
    settings.DefaultFocusFactor = LimitSetting(settings.DefaultFocusFactor, DefaultFocusFactorLimit());
    settings.FocusFactorPerElement = LimitSetting(settings.FocusFactorPerElement, FocusFactorPerElementLimit());
    settings.AnimationSpeed = LimitSetting(settings.AnimationSpeed, AnimationSpeedLimit());
    settings.RingAnimationSpeed = LimitSetting(settings.RingAnimationSpeed, AnimationSpeedLimit());
    settings.MoveSelectionLeft = LimitSetting(settings.MoveSelectionLeft, MoveSelectionLeftLimit());
    settings.DisplayDuration = LimitSetting(settings.DisplayDuration, DisplayDurationLimit());
    settings.RingDisplayDuration = LimitSetting(settings.RingDisplayDuration, DisplayDurationLimit());
    settings.SizeHistoryCounts = static_cast<int>(LimitSetting(static_cast<float>(settings.SizeHistoryCounts), SizeHistoryCountsLimit()));
    if (!settings.InitialRingFolder.empty() && settings.InitialRingFolder.back() != '/')
        settings.InitialRingFolder += '/';
}

namespace {

struct ToggleRow {
    QAToggle Toggle;
    bool QASettings::*Member;
};

constexpr ToggleRow kToggleMembers[] = {
    {QAToggle::ComputeFileSizeAutomatically, &QASettings::ComputeFileSizeAutomatically},
    {QAToggle::DisplayHiddenFiles, &QASettings::DisplayHiddenFiles},
    {QAToggle::AllowMultiplyViews, &QASettings::AllowMultiplyViews},
    {QAToggle::GroupViews, &QASettings::GroupViews},
    {QAToggle::DisplayUnboundElements, &QASettings::DisplayUnboundElements},
    {QAToggle::SizeTrueRings, &QASettings::SizeTrueRings},
    {QAToggle::SizeOnDisk, &QASettings::SizeOnDisk},
    {QAToggle::ShowLegend, &QASettings::ShowLegend},
    {QAToggle::ShowGrowth, &QASettings::ShowGrowth},
};

bool QASettings::*ToggleMember(QAToggle toggle)
{
    for (const ToggleRow& row : kToggleMembers)
        if (row.Toggle == toggle)
            return row.Member;
    return &QASettings::DisplayUnboundElements;
}

} // namespace

bool& ToggleField(QASettings& settings, QAToggle toggle)
{
    return settings.*ToggleMember(toggle);
}

bool ToggleValue(const QASettings& settings, QAToggle toggle)
{
    return settings.*ToggleMember(toggle);
}
