#pragma once
// The user's preferences: one block of fields, the settings file that keeps them (INI sections in a
// fixed table order) and the limits the preferences dialog applies.
#include <string>

// Every field starts at its table default, which is also what a missing or unreadable key reads as.
struct QASettings {
    // [STARTUP]
    int InitialRingMode = 0; // -1 none, 0 system drive, 1 documents, 2 InitialRingFolder
    std::string InitialRingFolder;
    bool CreateRingForHDD = true;
    // [DISPLAY]
    bool ComputeFileSizeAutomatically = false;
    bool ComputeFolderSize = false;
    bool DisplayHiddenFiles = true;
    float AutoRefreshTime = 0.0f; // seconds; 0 never refreshes
    bool AllowMultipleEqualRings = false;
    // Every folder sized by everything below it, counted by worker threads, and rings that follow
    // the disk live; off gives the rings exactly as sized and refreshed without it.
    bool CountFolderSizesInBackground = true;
    // The counting never enters another mounted volume below a ring's folder.
    bool StayOnOneFileSystem = false;
    // Labels only where they can be read, upright on both halves of the ring; off draws every
    // label as designed, two prints each, running outwards.
    bool ReadableLabels = true;
    // Rings that answer "what takes space": every sector's angle its share of its folder's size
    // (no least share, no widened folders), colours told apart by depth, the legend, the free
    // space of a volume, sizes in KiB, MiB and GiB. Off gives the rings, colours and texts as
    // designed.
    bool SizeTrueRings = true;
    // A ring on a volume's mount point shows the volume's free space as a sector (size-true rings).
    bool ShowFreeSpace = true;
    // After an expand or collapse the view zooms until the whole ring fits (size-true rings).
    bool FitRingToWindow = true;
    // The legend of the colours in use, in a corner of the view (size-true rings).
    bool ShowLegend = true;
    // Rings laid out by the blocks files take on the disk instead of their apparent sizes.
    bool SizeOnDisk = false;
    // [WIDTH]
    float MinimumSizeFactor = 0.25f;
    float DefaultFocusFactor = 3.0f;
    float FocusFactorPerElement = 0.0f;
    // [ANIMATION]
    float AnimationSpeed = 4.0f;
    float RingAnimationSpeed = 2.0f;
    float MoveSelectionLeft = 10.0f;
    bool AutoRotate = true;
    bool AutoCenter = true;
    // [VIEWS]
    bool AllowMultiplyViews = true;
    bool GroupViews = true;
    bool DisplayUnboundElements = true;
    // [ELEMENTINFO]
    float DisplayDuration = 10.0f;
    float RingDisplayDuration = 1.0f;
    // [SHADOW]
    bool DisplayShadow = true;
    int ShadowMapSize = 256;
    // [MEISTER]
    bool BananaMode = false;
    // [LIST] the list beside the rings: shown, its sort column (0 Name, 1 Size, 2 Share, 3 Files,
    // 4 Folders, 5 Modified) and order, and its column widths in pixels ("200,80,..."; empty: the
    // defaults).
    bool ListShown = true;
    int ListSortColumn = 1;
    bool ListSortAscending = false;
    std::string ListColumnWidths;
    // [HISTORY] Each counted ring's sizes kept in its folder's size history (docs/size-history.md):
    // rings open with the recorded sizes while they count, and can show what grew since a count.
    // Off, nothing is recorded or read and the rings are sized by counting alone.
    bool RecordSizeHistory = true;
    int SizeHistoryCounts = 10; // the newest counts kept whole, and one a month for a year before them
    bool ShowGrowth = false;    // sectors coloured by their growth since GrowthSince
    std::string GrowthSince = "previous"; // "previous" (the last recorded count) or a date, "2026-12-01"
};

// The settings that main-menu items tick and untick.
enum class QAToggle {
    ComputeFileSizeAutomatically,
    DisplayHiddenFiles,
    AllowMultiplyViews,
    GroupViews,
    DisplayUnboundElements,
    SizeTrueRings,
    SizeOnDisk,
    ShowLegend,
    ShowGrowth,
};
inline constexpr QAToggle kToggles[] = {
    QAToggle::ComputeFileSizeAutomatically,
    QAToggle::DisplayHiddenFiles,
    QAToggle::AllowMultiplyViews,
    QAToggle::GroupViews,
    QAToggle::DisplayUnboundElements,
    QAToggle::SizeTrueRings,
    QAToggle::SizeOnDisk,
    QAToggle::ShowLegend,
    QAToggle::ShowGrowth,
};
bool& ToggleField(QASettings& settings, QAToggle toggle);
bool ToggleValue(const QASettings& settings, QAToggle toggle);

// Reads every key of the table, in table order; a missing key or one that is not a number takes
// the table default. Returns false, reading nothing, when the file does not exist; false too when
// it is refused (not a regular file, or a line beyond the limit), and then every setting takes its
// table default.
bool ReadSettingsFile(const std::string& path, QASettings& settings);
// Rewrites the whole file in table order; flags as "1"/"0", floats in a "." form that reads back to
// the same value. Returns false, writing nothing, when the file does not exist or was refused when
// it was read (the user may still repair it).
bool WriteSettingsFile(const std::string& path, const QASettings& settings);
// The text of the whole file as WriteSettingsFile writes it.
std::string SettingsText(const QASettings& settings);

// The limits of the preferences dialog, applied when it is confirmed (loading applies none).
struct QASettingLimit {
    float Lowest = 0.0f;
    float Highest = 0.0f;
};
QASettingLimit AutoRefreshTimeLimit();
QASettingLimit DefaultFocusFactorLimit();
QASettingLimit FocusFactorPerElementLimit();
QASettingLimit AnimationSpeedLimit(); // also RingAnimationSpeed
QASettingLimit MoveSelectionLeftLimit();
QASettingLimit DisplayDurationLimit(); // also RingDisplayDuration
QASettingLimit SizeHistoryCountsLimit();
float LimitSetting(float value, QASettingLimit limit);
// Everything the confirmed dialog does to the values before saving: the limits above, and a
// trailing "/" for a non-empty InitialRingFolder.
void ApplyPreferenceLimits(QASettings& settings);
