// The snapshot tool's command line.
#include <charconv>

#include "platform/date_text.h"
#include "tools/snapshot/snapshot.h"

namespace snapshot {

namespace {

bool ReadInt(std::string_view text, int& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool ReadFloat(std::string_view text, float& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// "AxB" with the separator given; both halves must be numbers.
template <class Number, class Reader>
bool ReadPair(const std::string& text, char separator, Number& first, Number& second, Reader read)
{
    const std::size_t at = text.find(separator);
    if (at == std::string::npos)
        return false;
    return read(std::string_view(text).substr(0, at), first) && read(std::string_view(text).substr(at + 1), second);
}

std::optional<std::string> TakeOption(const std::string& name, const std::string& value, Options& options)
{
    if (name == "--folder")
        options.Folder = value;
    else if (name == "--expand")
        options.Expand.push_back(value);
    else if (name == "--out")
        options.Out = value;
    else if (name == "--frame-stats")
        options.FrameStats = value;
    else if (name == "--size") {
        if (!ReadPair(value, 'x', options.Width, options.Height, ReadInt) || options.Width < 16 ||
            options.Height < 16 || options.Width > 4096 || options.Height > 4096)
            return "--size needs WxH between 16 and 4096 pixels, not \"" + value + "\"";
    } else if (name == "--frames") {
        if (!ReadInt(value, options.Frames) || options.Frames < 1 || options.Frames > 100000)
            return "--frames needs a number from 1 to 100000, not \"" + value + "\"";
    } else if (name == "--pointer") {
        std::pair<float, float> point;
        if (!ReadPair(value, ',', point.first, point.second, ReadFloat))
            return "--pointer needs X,Y in view pixels, not \"" + value + "\"";
        options.Pointer = point;
    } else if (name == "--growth-since") {
        if (value != "previous" && !platform::ParseLocalDate(value))
            return "--growth-since needs \"previous\" or a date YYYY-MM-DD, not \"" + value + "\"";
        options.GrowthSince = value;
    } else
        return "unknown option \"" + name + "\"";
    return std::nullopt;
}

} // namespace

std::string Usage()
{
    return "usage: orbivane-snapshot --folder DIR [--expand SUBFOLDER]... [--size WxH] [--frames N]\n"
           "                         [--pointer X,Y] [--growth-since previous|DATE] [--frame-stats FILE]\n"
           "                         --out FILE.png\n";
}

std::optional<std::string> ParseArguments(const std::vector<std::string>& arguments, Options& options)
{
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size())
            return "\"" + arguments[i] + "\" needs a value";
        if (auto error = TakeOption(arguments[i], arguments[i + 1], options))
            return error;
    }
    if (options.Folder.empty())
        return std::string("--folder is missing");
    if (options.Out.empty())
        return std::string("--out is missing");
    return std::nullopt;
}

} // namespace snapshot
