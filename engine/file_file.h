#pragma once
// One open file: raw (read in blocks of bytes) or text (read and written line by line).
// Failures to open, read or write are reported under "QX_FILE" with the system's reason; the
// file object then stays closed and the caller goes on. A file opened for writing (not appending)
// replaces the old one only when all of it was written.
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

    explicit QOXFile(QOXObject* owner);
    QOXFile(QOXObject* owner, const std::string& path, Type type, Mode mode);

    void Open(const std::string& path, Type type, Mode mode, AppendMode append, Failures failures = ReportFailures);
    std::string ReadLine();
    void WriteLine(const std::string& text);
    std::size_t ReadBytes(void* buffer, std::size_t count);
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    bool Eof();
    void ReadScript(const std::string& path, QXScript& script);
    void Close();
    bool IsOpen() const { return FileType != Closed; }

    std::string Path;
    Type FileType = Closed;
    Mode FileMode = Read;
    AppendMode AppendText = NoAppend;

protected:
    void BeforeDestroy() override;

private:
    static const char* OpenFlags(Type type, Mode mode, AppendMode append);
    bool ReplacesWhole(Mode mode, AppendMode append) const;
    std::FILE* OpenReplacement();
    void FinishReplacement(bool closed);
    void ReportFailure(const char* action, int error);
    void ReportWriteFailure(int error);

    std::FILE* Handle = nullptr; // owned; closed by Close
    Failures FailureReports = ReportFailures;
    bool WriteFailed = false;
    std::string ReplacementPath; // the new content while a file is being replaced
    std::string ReplacedPath;    // the file it replaces (links resolved)
};
