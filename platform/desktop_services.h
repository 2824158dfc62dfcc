#pragma once
// What the engine asks of the desktop: message boxes, opening a document with its associated
// program, and draining the window-message queue. The real implementation lives on Qt; tests and
// headless tools use the recorder, which never blocks.
#include <string>
#include <vector>

namespace platform {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // False when no program could be started to open it.
    virtual bool OpenDocument(const std::string& path) = 0;
    virtual void ProcessEvents() = 0;
};

// Keeps everything it was asked, shows nothing.
class RecordingDesktopServices : public DesktopServices {
public:
    enum class BoxKind { Information, Error };
    struct Box {
        BoxKind Kind = BoxKind::Information;
        std::string Text;
    };

    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool OpenDocument(const std::string& path) override;
    void ProcessEvents() override;

    std::vector<Box> Boxes;
    std::vector<std::string> OpenedDocuments;
    bool OpensDocuments = true; // what OpenDocument answers: false stands for a desktop without a handler
    int ProcessEventsCalls = 0;
};

// For programs without a window (tools): boxes go to standard error.
class ConsoleDesktopServices : public DesktopServices {
public:
    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool OpenDocument(const std::string& path) override;
    void ProcessEvents() override;
};

} // namespace platform
