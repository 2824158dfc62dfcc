#include "engine/file_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/qox_script.h"

QOXFile::QOXFile(QOXObject* owner) : QOXObject(owner, "QOX File") {}

QOXFile::QOXFile(QOXObject* owner, const std::string& path, Type type, Mode mode) : QOXFile(owner)
{
    Open(path, type, mode, NoAppend);
}

const char* QOXFile::OpenFlags(Type type, Mode mode, AppendMode append)
{
    if (type == Raw)
        return mode == Read ? "rb" : mode == Write ? "wb" : nullptr;
    if (type == Text) {
        if (append == Append)
            return "ab";
        return mode == Read ? "rb" : mode == Write ? "wb" : nullptr;
    }
    return nullptr;
}

void QOXFile::Open(const std::string& path, Type type, Mode mode, AppendMode append, Failures failures)
{
    Close();
    FailureReports = failures;
    Refused = false;
    LinesRead = 0;
    QOXFileSystem* files = Engine()->FileSystem;
    const QOXFileSystem::Report report = failures == ReportFailures ? QOXFileSystem::ReportMissing : QOXFileSystem::Silent;
    if (mode == Read && !files->FileExists(path, report))
        return;
    Path = path;
    FileMode = mode;
    AppendText = append;
    const char* flags = OpenFlags(type, mode, append);
    if (flags == nullptr)
        return;
    const bool reads = flags[0] == 'r';
    if (!reads && files->IsRefused(path)) {
        Engine()->Log("File \"" + path + "\" could not be read, so it is not written over.");
        return;
    }
    Handle = reads ? OpenForReading() : ReplacesWhole(mode, append) ? OpenReplacement() : std::fopen(path.c_str(), flags);
    if (Handle == nullptr) {
        if (!Refused)
            ReportFailure("open", errno);
        return;
    }
    FileType = type;
}

std::FILE* QOXFile::OpenForReading()
{
    // Opened without waiting, so that a pipe without a writer is seen for what it is, not waited on.
    const int descriptor = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor == -1)
        return nullptr;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        Refuse("File \"" + Path + "\" is not a regular file!");
        return nullptr;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* handle = ::fdopen(descriptor, "rb");
    if (handle == nullptr) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return nullptr;
    }
    Engine()->FileSystem->ForgetRefused(Path);
    return handle;
}

void QOXFile::Refuse(const std::string& reason)
{
    Refused = true;
    Engine()->FileSystem->RememberRefused(Path);
    if (FailureReports == ReportFailures)
        Engine()->Error("QX_FILE", reason);
}

bool QOXFile::ReplacesWhole(Mode mode, AppendMode append) const
{
    if (mode != Write || append == Append)
        return false;
    // Devices, pipes and the like are written in place; only regular files are replaced.
    struct stat info {};
    return ::stat(Path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

std::FILE* QOXFile::OpenReplacement()
{
    // Write beside the real file and put it in place at Close, so that a failed write (a full
    // disk, say) never leaves a half-written file where the old one was.
    char resolved[PATH_MAX];
    ReplacedPath = ::realpath(Path.c_str(), resolved) != nullptr ? std::string(resolved) : Path;
    std::string pattern = ReplacedPath + ".new-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor == -1)
        return nullptr;
    struct stat old {};
    ::fchmod(descriptor, ::stat(ReplacedPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    std::FILE* handle = ::fdopen(descriptor, "wb");
    if (handle == nullptr) {
        ::close(descriptor);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    ReplacementPath = pattern;
    return handle;
}

void QOXFile::FinishReplacement(bool closed)
{
    if (ReplacementPath.empty())
        return;
    const std::string replacement = std::exchange(ReplacementPath, std::string());
    if (closed && !WriteFailed && std::rename(replacement.c_str(), ReplacedPath.c_str()) == 0)
        return;
    const int error = errno;
    ::unlink(replacement.c_str());
    if (closed && !WriteFailed)
        ReportFailure("replace", error);
}

std::string QOXFile::ReadLine()
{
    std::string line;
    if (FileType != Text || Handle == nullptr)
        return line;
    ++LinesRead;
    int c = 0;
    // One file object is read by one thread; the stream's lock per character is not needed.
    while ((c = ::getc_unlocked(Handle)) != EOF && c != '\n') {
        if (line.size() == kMaxLineBytes) {
            Refuse("Line " + std::to_string(LinesRead) + " of file \"" + Path +
                   "\" is longer than 1 MiB: the file is not read!");
            Close();
            return std::string();
        }
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (std::ferror(Handle))
        ReportFailure("read", errno);
    return line;
}

void QOXFile::WriteLine(const std::string& text)
{
    if (FileType != Text || Handle == nullptr)
        return;
    // The whole text, NUL characters too: a text cut at one would lose the rest of the file.
    if (std::fwrite(text.data(), 1, text.size(), Handle) != text.size() || std::fputc('\n', Handle) == EOF)
        ReportWriteFailure(errno);
}

std::size_t QOXFile::ReadBytes(void* buffer, std::size_t count)
{
    if (FileType != Raw || Handle == nullptr)
        return 0;
    const std::size_t read = std::fread(buffer, 1, count, Handle);
    if (read < count && std::ferror(Handle))
        ReportFailure("read", errno);
    return read;
}

std::uint8_t QOXFile::ReadByte()
{
    std::uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

std::uint16_t QOXFile::ReadWord()
{
    std::uint8_t bytes[2] = {0, 0};
    ReadBytes(bytes, 2);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

bool QOXFile::Eof()
{
    if (Handle == nullptr || FileType == Closed)
        return true;
    const int c = ::getc_unlocked(Handle);
    if (c == EOF)
        return true;
    std::ungetc(c, Handle);
    return false;
}

bool QOXFile::ReadScript(const std::string& path, QXScript& script)
{
    QOXScript* scripts = Engine()->Script;
    scripts->Clear(script);
    Open(path, Text, Read, NoAppend);
    while (!Eof())
        scripts->AddLine(script, ReadLine());
    Close();
    if (Refused)
        scripts->Clear(script);
    return !Refused;
}

void QOXFile::Close()
{
    if (Handle != nullptr) {
        const bool failed = std::fclose(Handle) != 0;
        const int error = errno;
        Handle = nullptr;
        if (failed && !WriteFailed)
            ReportFailure("close", error);
        WriteFailed = WriteFailed || failed;
        FinishReplacement(!failed);
    }
    WriteFailed = false;
    FileType = Closed;
}

void QOXFile::ReportWriteFailure(int error)
{
    // One report per file: every later line would fail the same way.
    if (!WriteFailed)
        ReportFailure("write", error);
    WriteFailed = true;
}

void QOXFile::ReportFailure(const char* action, int error)
{
    if (FailureReports == Silent)
        return;
    Engine()->Error("QX_FILE", std::string("Could not ") + action + " file \"" + Path + "\": " + std::strerror(error));
}

void QOXFile::BeforeDestroy()
{
    Close();
}
