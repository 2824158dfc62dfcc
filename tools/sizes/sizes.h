#pragma once
// orbivane-sizes: a folder's sizes counted by the program's own folder counter, without a display.
// It prints the totals (or the largest entries), records a count into the folder's size history,
// or prints what grew most since a recorded count.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/folder_count.h"
#include "platform/size_growth.h"
#include "platform/size_history.h"

namespace sizes {

enum class Units { Human, Bytes };
enum class Since { None, Previous, Date };
enum class Format { Text, Json };

struct Options {
    std::string Folder;   // as given
    bool Record = false;
    Since Base = Since::None;
    std::int64_t SinceTime = 0; // Since::Date: the end of the day given, or the moment given
    std::string SinceText;
    std::optional<std::size_t> Top;
    Format Output = Format::Text;
    Units Unit = Units::Human;
    std::string History; // empty: the folder's history in the state folder
    int Keep = platform::kDefaultCountsKept;
    platform::VolumeCrossing Crossing = platform::VolumeCrossing::EnterOtherVolumes;
    bool Help = false;
    bool Version = false;
};

// Exit codes as command-line users expect them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitTrouble = 1; // a folder or history that could not be had, folders left unread
inline constexpr int kExitUsage = 2;

std::string Usage();
std::string HelpText();
// Reads the command line (without the program name); the reason when it is not a valid one.
std::optional<std::string> ParseArguments(const std::vector<std::string>& arguments, Options& options);

// Sizes as `du -h` writes them ("512", "1.5K", "23M") or as bytes.
std::string SizeText(std::int64_t bytes, Units units);
std::string SignedSizeText(std::int64_t bytes, Units units);
// A moment in local time ("2026-12-01 14:30") and in UTC for JSON ("2026-12-01T13:30:00Z").
std::string LocalTimeText(std::int64_t time);
std::string UtcTimeText(std::int64_t time);
// A JSON string: quotes, escapes, and U+FFFD for bytes that are not UTF-8.
std::string JsonText(const std::string& text);

// What Run reports from; the count is the newest of `History`.
struct Report {
    std::string Root;
    platform::SizeHistory History;
    const platform::SizeCount* Now = nullptr;
    const platform::SizeCount* Base = nullptr; // for a growth report
    platform::FolderTotals Totals;
};
void WriteTotals(std::ostream& out, const Options& options, const Report& report);
void WriteGrowth(std::ostream& out, const Options& options, const Report& report);

// Counts, records and reports as the options ask; returns the exit code.
int Run(const Options& options, std::ostream& out, std::ostream& err, std::int64_t now);

} // namespace sizes
