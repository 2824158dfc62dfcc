#pragma once
// One open file: raw (read in blocks of bytes) or text (read and written line by line).
// Failures to open, read or write are reported under "QX_FILE" with the system's reason; the
// file object then stays closed and the caller goes on. A file opened for writing (not appending)
// replaces the old one only when all of it was written.
// Only regular files are read (links are followed): a device or a pipe could give endless data or
// none at all. A text line longer than 1 MiB is refused too, and ends the reading. A refused file
// is not written over until it reads well again, so that the user can still repair it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QOXFile : public QOXObject {
    QOX_CLASS(QOXFile)
public:
    enum Type { Closed = -1, Raw = 0, Text = 1 };
    enum Mode { Read = 0, Write = 1, ReadWrite = 2 };
    enum AppendMode { NoAppend = 0, Append = 1 };
    enum Failures { ReportFailures, Silent };
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

    explicit QOXFile(QOXObject* owner);
    QOXFile(QOXObject* owner, const std::string& path, Type type, Mode mode);

    void Open(const std::string& path, Type type, Mode mode, AppendMode append, Failures failures = ReportFailures);
    std::string ReadLine();
    void WriteLine(const std::string& text);
    std::size_t ReadBytes(void* buffer, std::size_t count);
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    bool Eof();
    // Fills the record with the file's lines; false, with the record empty, when it was refused.
    bool ReadScript(const std::string& path, QXScript& script);
    void Close();
    bool IsOpen() const { return FileType != Closed; }
    // Whether reading was refused (not a regular file, or a line beyond the limit).
    bool WasRefused() const { return Refused; }

    std::string Path;
    Type FileType = Closed;
    Mode FileMode = Read;
    AppendMode AppendText = NoAppend;

protected:
    void BeforeDestroy() override;

private:
    static const char* OpenFlags(Type type, Mode mode, AppendMode append);
    std::FILE* OpenForReading();
    void Refuse(const std::string& reason);
    bool ReplacesWhole(Mode mode, AppendMode append) const;
    std::FILE* OpenReplacement();
    void FinishReplacement(bool closed);
    void ReportFailure(const char* action, int error);
    void ReportWriteFailure(int error);

    std::FILE* Handle = nullptr; // owned; closed by Close
    Failures FailureReports = ReportFailures;
    bool WriteFailed = false;
    bool Refused = false;
    int LinesRead = 0;
    std::string ReplacementPath; // the new content while a file is being replaced
    std::string ReplacedPath;    // the file it replaces (links resolved)
};
