#include "platform/file_contents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <utility>
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

// A stretch of the source that holds data: [Start, End).
struct Segment {
    off_t Start = 0;
    off_t End = 0;
};

class ContentCopy {
public:
    ContentCopy(FileRun& run, int in, const struct stat& read, int out, const std::string& source,
                const std::string& target)
        : Run(run), In(in), Out(out), Source(source), Target(target), Sized(read.st_size > 0),
          Sparse(static_cast<std::int64_t>(read.st_blocks) * 512 < read.st_size)
    {
    }

    // Segment by segment; what lies between them, and after the last, is left a hole.
    StepEnd Copy()
    {
        while (true) {
            Segment segment;
            const int error = NextSegment(segment);
            if (error == ENXIO)
                return Sparse ? EndWithHole() : StepEnd::Done; // otherwise read to its end
            if (error != 0)
                return Run.Fail(Source, error);
            const StepEnd copied = CopySegment(segment);
            if (copied != StepEnd::Done)
                return copied;
        }
    }

private:
    static constexpr std::int64_t kFailed = -1;

    // The next stretch of data at or after Position; ENXIO when only a hole (or nothing) follows.
    // A file whose blocks cover its length has no holes, and where the file system cannot tell
    // data from holes, the rest of the file is one stretch: either is read to its end.
    int NextSegment(Segment& segment)
    {
        if (!Sparse) {
            segment = {Position, std::numeric_limits<off_t>::max()};
            return std::exchange(ReadToEnd, true) ? ENXIO : 0;
        }
        const off_t data = ::lseek(In, Position, SEEK_DATA);
        if (data < 0 && errno != ENXIO) {
            Sparse = false;
            return NextSegment(segment);
        }
        if (data < 0)
            return ENXIO;
        const off_t hole = ::lseek(In, data, SEEK_HOLE);
        if (hole < 0)
            return errno;
        segment = {data, hole};
        return 0;
    }

    off_t Length() const
    {
        struct stat status {};
        return ::fstat(In, &status) == 0 ? status.st_size : 0;
    }

    // A hole at the end is made by the file's length alone.
    StepEnd EndWithHole()
    {
        const off_t length = Length();
        if (length <= Position)
            return StepEnd::Done;
        if (::ftruncate(Out, length) != 0)
            return Run.Fail(Target, errno);
        return SkipTo(length);
    }

    // A hole costs no copying, but the progress counts every byte of the file's length.
    StepEnd SkipTo(off_t position)
    {
        const off_t skipped = position - Position;
        Position = position;
        return skipped <= 0 || Run.Step(Source, Target, skipped) ? StepEnd::Done : StepEnd::Stopped;
    }

    StepEnd CopySegment(const Segment& segment)
    {
        if (SkipTo(segment.Start) == StepEnd::Stopped)
            return StepEnd::Stopped;
        while (Position < segment.End) {
            const std::size_t wanted = static_cast<std::size_t>(std::min<off_t>(segment.End - Position, StepSize));
            const std::int64_t copied = Kernel ? KernelStep(wanted) : BufferStep(wanted);
            if (copied == kFailed)
                return StepEnd::Failed;
            if (copied == 0 && Kernel && !CopiedAny && Sized) {
                Kernel = false; // some file systems answer the kernel's copy with nothing at all
                continue;
            }
            if (copied == 0)
                break; // the end of the file, earlier than the stretch when it became shorter
            if (!Run.Step(Source, Target, copied))
                return StepEnd::Stopped;
        }
        return StepEnd::Done;
    }

    // Bytes copied by one call of the kernel's copy, with the next call's size adapted to how long
    // this one took.
    std::int64_t KernelStep(std::size_t wanted)
    {
        const auto started = FileRun::Clock::now();
        loff_t from = Position;
        loff_t to = Position;
        ssize_t copied = 0;
        do
            copied = ::copy_file_range(In, &from, Out, &to, wanted, 0);
        while (copied < 0 && errno == EINTR);
        if (copied < 0) {
            const int error = errno;
            if (!CopiedAny && NoKernelCopy(error)) {
                Kernel = false;
                return BufferStep(wanted);
            }
            return Fail(error);
        }
        const auto took = FileRun::Clock::now() - started;
        if (took < kQuickStep)
            StepSize = std::min(StepSize * 2, kLargestStep);
        else if (took > kSlowStep)
            StepSize = std::max(StepSize / 2, kSmallestStep);
        CopiedAny = CopiedAny || copied > 0;
        Position += copied;
        return copied;
    }

    std::int64_t BufferStep(std::size_t wanted)
    {
        Buffer.resize(std::min(wanted, kBufferSize));
        ssize_t read = 0;
        do
            read = ::pread(In, Buffer.data(), Buffer.size(), Position);
        while (read < 0 && errno == EINTR);
        if (read < 0)
            return Fail(errno);
        for (ssize_t written = 0; written < read;) {
            const ssize_t now =
                ::pwrite(Out, Buffer.data() + written, static_cast<std::size_t>(read - written), Position + written);
            if (now < 0 && errno == EINTR)
                continue;
            if (now < 0)
                return Fail(errno, Target);
            written += now;
        }
        Position += read;
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
    off_t Position = 0; // where the next byte is read and written
    std::size_t StepSize = kFirstStep;
    bool Sized = false;     // the file had bytes when it was opened
    bool Sparse = false;    // it has holes, and the file system tells them from data
    bool ReadToEnd = false; // without holes: the one stretch up to the end was copied
    bool Kernel = true;
    bool CopiedAny = false;
    std::vector<char> Buffer;
};

} // namespace

StepEnd CopyContents(FileRun& run, int in, const struct stat& read, int out, const std::string& source,
                     const std::string& target)
{
    return ContentCopy(run, in, read, out, source, target).Copy();
}

} // namespace platform
