// The snapshot tool as a whole: the command line, the picture, the file.
#include <future>
#include <ostream>

#include "tools/snapshot/snapshot.h"

namespace snapshot {

namespace {

constexpr const char* kToolName = "orbivane-snapshot: ";

} // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& errors)
{
    Options options;
    if (auto error = ParseArguments(arguments, options)) {
        errors << kToolName << *error << "\n" << Usage();
        return 2;
    }
    Picture picture;
    // The PNG is encoded on a thread of its own while the GL session and its private folder are
    // taken down (as long as each, on two cores). Where no thread can be started it is written
    // when asked for, after the session.
    std::future<std::optional<std::string>> written;
    const auto writeBeside = [&](const Picture& taken) {
        written = std::async(std::launch::async | std::launch::deferred, WritePng, options.Out, std::cref(taken));
    };
    std::optional<std::string> error = Render(options, picture, writeBeside);
    if (!error && written.valid())
        error = written.get();
    if (error) {
        errors << kToolName << *error << "\n";
        return 1;
    }
    return 0;
}

} // namespace snapshot
