// A copy or a move run in a process of its own that stops half-way through its bytes, says so on
// its standard output and waits there to be killed: what a program killed in the middle of a file
// operation leaves behind.
//   orbivane_copy_until_stopped <journal folder> copy|move <target folder> <source>...
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/file_operation.h"

namespace {

class StopHalfWay : public platform::ProgressView {
public:
    void Show() override {}
    void Report(const platform::ProgressReport& report) override { Last = report; }
    void Hide() override {}
    void ProcessEvents() override
    {
        if (Last.Total == 0 || Last.Done * 2 < Last.Total)
            return;
        static constexpr char kStopped[] = "stopped\n";
        if (::write(STDOUT_FILENO, kStopped, sizeof kStopped - 1) < 0)
            _exit(2);
        while (true)
            ::pause();
    }
    bool CancelRequested() const override { return false; }

private:
    platform::ProgressReport Last;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    StopHalfWay progress;
    platform::FileOperation operation(nullptr, &progress, nullptr);
    operation.ShowProgressAfter = std::chrono::milliseconds(0);
    operation.EventInterval = std::chrono::milliseconds(0);
    operation.InFlightFolder = argv[1];
    const auto kind = std::string(argv[2]) == "move" ? platform::TransferKind::Move : platform::TransferKind::Copy;
    operation.Transfer(kind, std::vector<std::string>(argv + 4, argv + argc), argv[3]);
    return 1; // it was to stop half-way
}
