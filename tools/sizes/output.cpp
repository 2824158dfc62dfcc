// What orbivane-sizes prints: sizes, times and JSON texts, the totals and the growth report.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "tools/sizes/sizes.h"

namespace sizes {

namespace {

constexpr std::size_t kDefaultGrowthTop = 20;
constexpr char kUnitLetters[] = "KMGTPE";

// n / base rounded up, in tenths of a unit (no overflow: base is at most 1024^6).
std::uint64_t CeilTenths(std::uint64_t n, std::uint64_t base)
{
    return n / base * 10 + (n % base * 10 + base - 1) / base;
}

std::uint64_t CeilWholes(std::uint64_t n, std::uint64_t base)
{
    return n / base + (n % base != 0 ? 1 : 0);
}

std::string TimeText(std::int64_t time, const char* format, bool utc)
{
    const std::time_t moment = static_cast<std::time_t>(time);
    std::tm parts{};
    if ((utc ? ::gmtime_r(&moment, &parts) : ::localtime_r(&moment, &parts)) == nullptr)
        return std::to_string(time);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, format, &parts));
}

// The path of an entry below the folder as the user named it.
std::string Shown(const Options& options, const std::string& relative)
{
    if (relative.empty())
        return options.Folder;
    return options.Folder.ends_with('/') ? options.Folder + relative : options.Folder + "/" + relative;
}

std::string PercentText(std::int64_t growth, std::int64_t before)
{
    if (before <= 0)
        return growth > 0 ? "new" : "";
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f %%", 100.0 * static_cast<double>(growth) / static_cast<double>(before));
    return text;
}

void WriteJsonTotals(std::ostream& out, const char* name, const platform::SizeTotals& totals)
{
    out << '"' << name << "\": {\"bytes\": " << totals.Bytes << ", \"allocated_bytes\": " << totals.AllocatedBytes
        << ", \"files\": " << totals.Files << ", \"folders\": " << totals.Folders << '}';
}

const platform::SizeTotals& RootOf(const platform::SizeHistory& history, const platform::SizeCount& count)
{
    static const platform::SizeTotals kNone;
    const auto root = history.IndexOf("");
    const platform::SizeTotals* totals = root ? count.Find(*root) : nullptr;
    return totals != nullptr ? *totals : kNone;
}

const char* KindOf(const std::string& path)
{
    return platform::IsFolderPath(path) ? "folder" : "file";
}

} // namespace

std::string SizeText(std::int64_t bytes, Units units)
{
    if (units == Units::Bytes || bytes < 1024)
        return std::to_string(bytes);
    const auto n = static_cast<std::uint64_t>(bytes);
    std::uint64_t base = 1024;
    for (int unit = 0;; ++unit, base *= 1024) {
        const bool last = kUnitLetters[unit + 1] == '\0';
        if (!last && n / 1024 >= base)
            continue;
        const std::uint64_t tenths = CeilTenths(n, base);
        if (tenths < 100)
            return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + kUnitLetters[unit];
        const std::uint64_t whole = CeilWholes(n, base);
        if (whole < 1024 || last)
            return std::to_string(whole) + kUnitLetters[unit];
    }
}

std::string SignedSizeText(std::int64_t bytes, Units units)
{
    if (bytes < 0)
        return "-" + SizeText(bytes == INT64_MIN ? INT64_MAX : -bytes, units);
    return "+" + SizeText(bytes, units);
}

std::string LocalTimeText(std::int64_t time)
{
    return TimeText(time, "%Y-%m-%d %H:%M", false);
}

std::string UtcTimeText(std::int64_t time)
{
    return TimeText(time, "%Y-%m-%dT%H:%M:%SZ", true);
}

std::string JsonText(const std::string& text)
{
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xe ? 3 : (byte >> 3) == 0x1e ? 4 : 0;
        for (int k = 1; k < length; ++k)
            if (i + static_cast<std::size_t>(k) >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
                length = 0;
        if (length == 0) {
            json += "\xef\xbf\xbd";
            ++i;
        } else if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
            ++i;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
            ++i;
        } else {
            json.append(text, i, static_cast<std::size_t>(length));
            i += static_cast<std::size_t>(length);
        }
    }
    return json + "\"";
}

void WriteTotals(std::ostream& out, const Options& options, const Report& report)
{
    const platform::SizeHistory& history = report.History;
    const std::vector<platform::RankedPath> largest =
        options.Top ? platform::Largest(history, *report.Now, *options.Top) : std::vector<platform::RankedPath>{};
    if (options.Output == Format::Text) {
        for (const platform::RankedPath& entry : largest)
            out << SizeText(entry.Value, options.Unit) << '\t' << Shown(options, history.Paths[entry.Path]) << '\n';
        out << SizeText(report.Totals.Bytes, options.Unit) << '\t' << options.Folder << '\n';
        return;
    }
    out << "{\"folder\": " << JsonText(report.Root) << ", \"time\": \"" << UtcTimeText(report.Now->Time) << "\", ";
    WriteJsonTotals(out, "totals", RootOf(history, *report.Now));
    out << ", \"unreadable_folders\": " << report.Totals.Unreadable;
    if (options.Top) {
        out << ", \"largest\": [";
        for (std::size_t i = 0; i < largest.size(); ++i) {
            const std::string& path = history.Paths[largest[i].Path];
            out << (i > 0 ? ", " : "") << "{\"path\": " << JsonText(path) << ", \"kind\": \"" << KindOf(path)
                << "\", \"bytes\": " << largest[i].Value << '}';
        }
        out << ']';
    }
    out << "}\n";
}

void WriteGrowth(std::ostream& out, const Options& options, const Report& report)
{
    const platform::SizeHistory& history = report.History;
    const std::vector<platform::PathChange> changes = platform::ChangesBetween(*report.Base, *report.Now);
    const std::vector<platform::RankedPath> grown = platform::MostGrown(history, changes, options.Top.value_or(kDefaultGrowthTop));
    const platform::SizeTotals& before = RootOf(history, *report.Base);
    const platform::SizeTotals& after = RootOf(history, *report.Now);
    const auto changeOf = [&](std::uint32_t path) -> const platform::PathChange& {
        return *std::lower_bound(changes.begin(), changes.end(), path,
                                 [](const platform::PathChange& change, std::uint32_t p) { return change.Path < p; });
    };
    if (options.Output == Format::Text) {
        const std::int64_t growth = after.Bytes - before.Bytes;
        out << "Growth of " << options.Folder << " since " << LocalTimeText(report.Base->Time) << ": "
            << SizeText(before.Bytes, options.Unit) << " -> " << SizeText(after.Bytes, options.Unit) << ", "
            << SignedSizeText(growth, options.Unit);
        if (const std::string percent = PercentText(growth, before.Bytes); !percent.empty())
            out << " (" << percent << ')';
        out << '\n';
        for (const platform::RankedPath& entry : grown) {
            const platform::PathChange& change = changeOf(entry.Path);
            out << SignedSizeText(entry.Value, options.Unit) << '\t'
                << (change.InBefore ? SizeText(change.Before.Bytes, options.Unit) : std::string("-")) << '\t'
                << SizeText(change.After.Bytes, options.Unit) << '\t' << Shown(options, history.Paths[entry.Path]) << '\n';
        }
        return;
    }
    out << "{\"folder\": " << JsonText(report.Root) << ", \"since\": \"" << UtcTimeText(report.Base->Time) << "\", \"now\": \""
        << UtcTimeText(report.Now->Time) << "\", ";
    WriteJsonTotals(out, "before", before);
    out << ", ";
    WriteJsonTotals(out, "after", after);
    out << ", \"grew\": [";
    for (std::size_t i = 0; i < grown.size(); ++i) {
        const platform::PathChange& change = changeOf(grown[i].Path);
        const std::string& path = history.Paths[grown[i].Path];
        out << (i > 0 ? ", " : "") << "{\"path\": " << JsonText(path) << ", \"kind\": \"" << KindOf(path)
            << "\", \"before\": " << change.Before.Bytes << ", \"after\": " << change.After.Bytes
            << ", \"change\": " << grown[i].Value << ", \"new\": " << (change.InBefore ? "false" : "true") << '}';
    }
    out << "]}\n";
}

} // namespace sizes
