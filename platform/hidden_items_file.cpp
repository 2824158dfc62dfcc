#include "platform/hidden_items_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "platform/percent_encoding.h"
#include "platform/program_folder.h"
#include "platform/temporary_file.h"

namespace platform {

namespace {

constexpr const char* kFormatLine = "orbivane hidden items 1";
constexpr const char* kFolderKey = "folder ";
constexpr const char* kItemKey = "item ";
// Far more than anyone hides by hand; a larger file is not one of ours.
constexpr off_t kMostBytes = 1 << 20;

std::string Reason(int error)
{
    return std::strerror(error);
}

// The whole file, when it is a regular file of a sensible size; a FIFO or device never blocks the
// read, because the file is opened without waiting and looked at before it is read.
HiddenRead ReadSmallFile(const std::string& path, std::string& text, std::string& problem)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = Reason(errno);
        return errno == ENOENT ? HiddenRead::Missing : HiddenRead::Refused;
    }
    struct stat status {};
    HiddenRead outcome = HiddenRead::Read;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = "it is not a regular file";
        outcome = HiddenRead::Refused;
    } else if (status.st_size > kMostBytes) {
        problem = "it is larger than any list of hidden items";
        outcome = HiddenRead::Refused;
    }
    char buffer[4096];
    ssize_t count = 0;
    while (outcome == HiddenRead::Read && (count = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || text.size() > static_cast<std::size_t>(kMostBytes)) {
            problem = count < 0 ? Reason(errno) : "it is larger than any list of hidden items";
            outcome = HiddenRead::Refused;
        } else {
            text.append(buffer, static_cast<std::size_t>(count));
        }
    }
    ::close(fd);
    return outcome;
}

HiddenItemsRead Refused(const std::string& problem)
{
    HiddenItemsRead read;
    read.Outcome = HiddenRead::Refused;
    read.Problems.push_back(problem);
    return read;
}

} // namespace

std::string HiddenItemsFolder()
{
    return StateFolder() + "hidden/";
}

std::string HiddenItemsPathOf(const std::string& root)
{
    return StateFileOf(root, HiddenItemsFolder(), kHiddenItemsExtension);
}

bool IsEntryBelow(const std::string& relative)
{
    if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start < relative.size()) {
        const std::size_t slash = relative.find('/', start);
        const std::size_t end = slash == std::string::npos ? relative.size() : slash;
        const std::string_view step(relative.data() + start, end - start);
        if (step.empty() || step == "." || step == "..")
            return false;
        start = end + 1;
    }
    return true;
}

HiddenItemsRead ReadHiddenItems(const std::string& path, const std::string& root)
{
    std::string text;
    std::string problem;
    const HiddenRead outcome = ReadSmallFile(path, text, problem);
    if (outcome == HiddenRead::Missing)
        return {};
    if (outcome == HiddenRead::Refused)
        return Refused(problem);
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kFormatLine)
        return Refused("it does not begin with \"" + std::string(kFormatLine) + "\"");
    if (!std::getline(lines, line) || line != kFolderKey + PercentEncoded(root))
        return Refused("it is not about the folder \"" + root + "\"");
    HiddenItemsRead read;
    read.Outcome = HiddenRead::Read;
    for (int number = 3; std::getline(lines, line); ++number) {
        std::string item;
        if (line.empty())
            continue;
        if (line.rfind(kItemKey, 0) != 0 || !PercentDecoded(line.substr(std::strlen(kItemKey)), item) ||
            !IsEntryBelow(item))
            read.Problems.push_back("line " + std::to_string(number) + " names no entry below the folder");
        else
            read.Items.insert(item);
    }
    return read;
}

std::string WriteHiddenItems(const std::string& path, const std::string& root, const std::set<std::string>& items,
                             HiddenWrite mode)
{
    if (mode == HiddenWrite::SetAsideFirst && ::rename(path.c_str(), (path + ".damaged").c_str()) != 0 &&
        errno != ENOENT)
        return "the damaged file cannot be set aside: " + Reason(errno);
    if (items.empty())
        return ::unlink(path.c_str()) == 0 || errno == ENOENT ? std::string() : Reason(errno);
    if (!MakeStateFolders(path.substr(0, path.find_last_of('/') + 1)))
        return Reason(errno);
    std::string text = std::string(kFormatLine) + "\n" + kFolderKey + PercentEncoded(root) + "\n";
    for (const std::string& item : items)
        text += kItemKey + PercentEncoded(item) + "\n";
    const TemporaryFile written = WriteTemporaryFile(path + ".XXXXXX", text);
    if (written.Error != 0)
        return Reason(written.Error);
    if (::rename(written.Path.c_str(), path.c_str()) == 0)
        return "";
    const int error = errno;
    ::unlink(written.Path.c_str());
    return Reason(error);
}

} // namespace platform
