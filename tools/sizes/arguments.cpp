// orbivane-sizes' command line.
#include <charconv>

#include "platform/date_text.h"
#include "tools/sizes/sizes.h"

namespace sizes {

namespace {

constexpr int kMaxKept = 1000;
constexpr std::size_t kMaxTop = 1'000'000;

bool ReadNumber(const std::string& text, long long& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Options that take a value: "--top 5" or "--top=5".
bool TakesValue(const std::string& name)
{
    return name == "--since" || name == "--top" || name == "--history" || name == "--keep";
}

std::optional<std::string> TakeValue(const std::string& name, const std::string& value, Options& options)
{
    long long number = 0;
    if (name == "--since") {
        const std::optional<std::int64_t> time = platform::ParseLocalDate(value);
        if (!time)
            return "invalid date '" + value + "' (give YYYY-MM-DD or YYYY-MM-DDTHH:MM)";
        options.Base = Since::Date;
        options.SinceTime = *time;
        options.SinceText = value;
    } else if (name == "--top") {
        if (!ReadNumber(value, number) || number < 1 || number > static_cast<long long>(kMaxTop))
            return "invalid number of entries '" + value + "'";
        options.Top = static_cast<std::size_t>(number);
    } else if (name == "--keep") {
        if (!ReadNumber(value, number) || number < 1 || number > kMaxKept)
            return "invalid number of counts to keep '" + value + "' (1 to 1000)";
        options.Keep = static_cast<int>(number);
    } else if (name == "--history") {
        if (value.empty())
            return std::string("--history needs a file");
        options.History = value;
    }
    return std::nullopt;
}

std::optional<std::string> TakeFlag(const std::string& name, Options& options)
{
    if (name == "--record")
        options.Record = true;
    else if (name == "--previous")
        options.Base = Since::Previous;
    else if (name == "--json")
        options.Output = Format::Json;
    else if (name == "-b" || name == "--bytes")
        options.Unit = Units::Bytes;
    else if (name == "-h" || name == "--human-readable")
        options.Unit = Units::Human;
    else if (name == "-x" || name == "--one-file-system")
        options.Crossing = platform::VolumeCrossing::StayOnOneFileSystem;
    else if (name == "--help")
        options.Help = true;
    else if (name == "--version")
        options.Version = true;
    else
        return "unrecognized option '" + name + "'";
    return std::nullopt;
}

} // namespace

std::string Usage()
{
    return "Usage: orbivane-sizes DIR [--record] [--since DATE | --previous] [--top N] [--json]\n"
           "                      [-b | -h] [-x] [--history FILE] [--keep N]\n";
}

std::string HelpText()
{
    return Usage() +
           "Count the sizes below DIR with Orbivane's folder counter; print the total, record the count\n"
           "in DIR's size history, or print what grew most since a recorded count.\n"
           "\n"
           "      --record          add this count to DIR's size history (prints nothing unless a\n"
           "                        report is asked for as well)\n"
           "      --since DATE      print what grew since the last count made on or before DATE\n"
           "                        (YYYY-MM-DD, or YYYY-MM-DDTHH:MM)\n"
           "      --previous        print what grew since the last recorded count\n"
           "      --top N           print the N largest entries (with --since or --previous: the N\n"
           "                        that grew most; 20 unless given)\n"
           "      --json            print JSON instead of text\n"
           "  -b, --bytes           sizes in bytes\n"
           "  -h, --human-readable  sizes such as 1.5K, 234M, 2.1G (the default)\n"
           "  -x, --one-file-system  do not enter other mounted file systems\n"
           "      --history FILE    use FILE as the size history instead of DIR's own\n"
           "      --keep N          keep the last N counts (and one a month for a year; default 10)\n"
           "      --help            show this help and exit\n"
           "      --version         show the version and exit\n"
           "\n"
           "Sizes are the apparent sizes of the files below DIR (as the rings of orbivane(1) show\n"
           "them; folders' own entries are not counted), each file with several names once.\n"
           "Exit status: 0 if all went well, 1 if DIR, some folders below it or the history could\n"
           "not be read or written, 2 for a wrong command line.\n";
}

std::optional<std::string> ParseArguments(const std::vector<std::string>& arguments, Options& options)
{
    bool optionsEnd = false;
    int bases = 0; // --since and --previous given
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.empty() || argument[0] != '-' || argument == "-") {
            if (!options.Folder.empty())
                return "only one folder, please ('" + options.Folder + "' and '" + argument + "')";
            options.Folder = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnd = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (TakesValue(name)) {
            if (equals == std::string::npos && i + 1 >= arguments.size())
                return "option '" + name + "' requires an argument";
            const std::string value = equals != std::string::npos ? argument.substr(equals + 1) : arguments[++i];
            if (auto problem = TakeValue(name, value, options))
                return problem;
        } else if (equals != std::string::npos) {
            return "option '" + name + "' doesn't allow an argument";
        } else if (auto problem = TakeFlag(name, options)) {
            return problem;
        }
        bases += name == "--since" || name == "--previous" ? 1 : 0;
    }
    if (bases > 1)
        return std::string("give one of --since and --previous, once");
    if (options.Help || options.Version)
        return std::nullopt;
    if (options.Folder.empty())
        return std::string("missing folder");
    return std::nullopt;
}

} // namespace sizes
