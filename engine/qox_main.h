#pragma once
// The one engine of the process: owns the core modules, opens the log, reports messages and
// errors, drives the frame timer and reports objects left alive at shut-down.
#include <string>

#include "engine/qox_object.h"

namespace platform {
class DesktopServices;
class WindowTimer;
} // namespace platform

class QOXFileSystem;
class QOXMath;
class QOXConvert;
class QOXConsole;
class QOXTimer;
class QOXScript;
class QOXParser;

class QOXEngine : public QOXObject {
    QOX_CLASS(QOXEngine)
public:
    // `desktop` shows boxes and opens documents; not owned, must outlive the engine.
    // Without one, boxes go to standard error.
    explicit QOXEngine(platform::DesktopServices* desktop = nullptr);

    void Initialize(platform::WindowTimer* startupTimer, platform::WindowTimer* frameTimer);
    void Update();

    void Message(const std::string& text);
    void Error(const std::string& key, const std::string& text);
    // A console line while there is a console; none before it opens or after it died.
    void Log(const std::string& line) const;
    [[noreturn]] void ErrorShutdown(int exitCode, const std::string& text);

    platform::DesktopServices& Desktop() const { return *DesktopServices; }
    void SetDesktop(platform::DesktopServices* desktop);

    bool ShowErrorDialogs = true;
    bool LogObjects = false;
    bool ReportLeaks = true;
    bool ProcessMessages = true;
    platform::WindowTimer* MainTimer = nullptr; // not owned; the main window's frame timer

    // Modules, owned as children; freed in reverse order of creation.
    QOXFileSystem* FileSystem = nullptr;
    QOXMath* Math = nullptr;
    QOXConvert* Convert = nullptr;
    QOXConsole* Console = nullptr;
    QOXTimer* Timer = nullptr;
    QOXScript* Script = nullptr;
    QOXParser* Parser = nullptr;

protected:
    ~QOXEngine() override;
    virtual void OnInitialize() {}
    void BeforeDestroy() override;
    void AfterChildrenDestroyed() override;
    void ChildRemoved(QOXObject* child) override;

private:
    void CreateModules();
    void WriteBanner();
    void InitializeModules();

    platform::DesktopServices* DesktopServices = nullptr; // not owned
};

// The global engine: set from the start of the engine's construction until its destruction.
QOXEngine* Engine();
