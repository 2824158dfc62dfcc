#include "platform/file_clipboard.h"

#include <sstream>

#include "platform/percent_encoding.h"
#include "platform/uri_list.h"

namespace platform {

namespace {

constexpr const char* kCutLine = "cut";
constexpr const char* kCopyLine = "copy";

std::string Joined(const std::vector<std::string>& lines, const std::string& separator)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : separator) + line;
    return text;
}

std::string PayloadOf(const MimePayloads& payloads, const char* format)
{
    const auto found = payloads.find(format);
    return found != payloads.end() ? found->second : std::string();
}

// The GNOME list: "cut" or "copy", then one URL a line.
std::vector<std::string> GnomeLines(const std::string& payload)
{
    std::vector<std::string> lines;
    std::istringstream stream(payload);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

std::string FileUrlOf(const std::string& path)
{
    return "file://" + PercentEncoded(path);
}

std::string UriListOf(const std::vector<std::string>& paths)
{
    std::string list;
    for (const std::string& path : paths)
        list += FileUrlOf(path) + "\r\n";
    return list;
}

MimePayloads DragPayloads(const std::vector<std::string>& paths)
{
    return {{kUriListFormat, UriListOf(paths)}};
}

MimePayloads ClipboardPayloads(const ClipboardFiles& files)
{
    const bool cut = files.Kind == ClipboardKind::Cut;
    std::vector<std::string> gnome{cut ? kCutLine : kCopyLine};
    for (const std::string& path : files.Paths)
        gnome.push_back(FileUrlOf(path));
    MimePayloads payloads = DragPayloads(files.Paths);
    payloads[kGnomeFilesFormat] = Joined(gnome, "\n");
    if (cut)
        payloads[kKdeCutFormat] = "1";
    return payloads;
}

// The URL list is read where there is one (every program that puts files offers it); the GNOME
// list serves the programs that offer only that.
std::optional<ClipboardFiles> FilesOfPayloads(const MimePayloads& payloads)
{
    std::vector<std::string> gnome = GnomeLines(PayloadOf(payloads, kGnomeFilesFormat));
    const bool gnomeCut = !gnome.empty() && gnome.front() == kCutLine;
    if (!gnome.empty() && (gnome.front() == kCutLine || gnome.front() == kCopyLine))
        gnome.erase(gnome.begin());
    const bool hasUriList = payloads.contains(kUriListFormat);
    const std::vector<std::string> urls = hasUriList ? SplitUriList(PayloadOf(payloads, kUriListFormat)) : gnome;

    ClipboardFiles files;
    files.Kind = gnomeCut || PayloadOf(payloads, kKdeCutFormat).starts_with('1') ? ClipboardKind::Cut : ClipboardKind::Copy;
    for (const std::string& url : urls) {
        std::string path;
        if (LocalPathOfUrl(url, path))
            files.Paths.push_back(path);
    }
    if (files.Paths.empty())
        return std::nullopt;
    return files;
}

} // namespace platform
