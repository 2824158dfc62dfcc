#include "platform/file_contents.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

namespace platform {

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kFirstStep = std::size_t{4} << 20;
constexpr std::size_t kSmallestStep = std::size_t{1} << 20;
constexpr std::size_t kLargestStep = std::size_t{64} << 20;
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr auto kQuickStep = 10ms;
constexpr auto kSlowStep = 40ms;

// Errors of the side that is written.
bool WritingError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS;
}

// The kernel cannot copy between these two files.
bool NoKernelCopy(int error)
{
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL;
}

class ContentCopy {
public:
    ContentCopy(FileRun& run, int in, int out, const std::string& source, const std::string& target)
        : Run(run), In(in), Out(out), Source(source), Target(target)
    {
    }

    StepEnd Copy()
    {
        while (true) {
            const std::int64_t copied = Kernel ? KernelStep() : BufferStep();
            if (copied == kFailed)
                return StepEnd::Failed;
            if (copied == 0 && Kernel && FallBackAtEnd())
                continue;
            if (copied == 0)
                return StepEnd::Done;
            if (!Run.Step(Source, Target, copied))
                return StepEnd::Stopped;
        }
    }

private:
    static constexpr std::int64_t kFailed = -1;

    // Bytes copied by one call of the kernel's copy, with the next call's size adapted to how long
    // this one took; 0 at the end of the file.
    std::int64_t KernelStep()
    {
        const auto started = FileRun::Clock::now();
        ssize_t copied = 0;
        do
            copied = ::copy_file_range(In, nullptr, Out, nullptr, StepSize, 0);
        while (copied < 0 && errno == EINTR);
        if (copied < 0) {
            const int error = errno;
            if (!CopiedAny && NoKernelCopy(error)) {
                Kernel = false;
                return BufferStep();
            }
            return Fail(error);
        }
        const auto took = FileRun::Clock::now() - started;
        if (took < kQuickStep)
            StepSize = std::min(StepSize * 2, kLargestStep);
        else if (took > kSlowStep)
            StepSize = std::max(StepSize / 2, kSmallestStep);
        CopiedAny = CopiedAny || copied > 0;
        return copied;
    }

    // Some file systems answer the kernel's copy with nothing at all for a file that has bytes;
    // those are read and written instead.
    bool FallBackAtEnd()
    {
        struct stat status {};
        if (CopiedAny || ::fstat(In, &status) != 0 || status.st_size == 0)
            return false;
        Kernel = false;
        return true;
    }

    std::int64_t BufferStep()
    {
        Buffer.resize(kBufferSize);
        ssize_t read = 0;
        do
            read = ::read(In, Buffer.data(), Buffer.size());
        while (read < 0 && errno == EINTR);
        if (read < 0)
            return Fail(errno);
        for (ssize_t written = 0; written < read;) {
            const ssize_t now = ::write(Out, Buffer.data() + written, static_cast<std::size_t>(read - written));
            if (now < 0 && errno == EINTR)
                continue;
            if (now < 0)
                return Fail(errno, Target);
            written += now;
        }
        return read;
    }

    std::int64_t Fail(int error)
    {
        return Fail(error, WritingError(error) ? Target : Source);
    }

    std::int64_t Fail(int error, const std::string& path)
    {
        Run.Fail(path, error);
        return kFailed;
    }

    FileRun& Run;
    int In = -1;
    int Out = -1;
    const std::string& Source;
    const std::string& Target;
    std::size_t StepSize = kFirstStep;
    bool Kernel = true;
    bool CopiedAny = false;
    std::vector<char> Buffer;
};

} // namespace

StepEnd CopyContents(FileRun& run, int in, int out, const std::string& source, const std::string& target)
{
    return ContentCopy(run, in, out, source, target).Copy();
}

} // namespace platform
