#include "engine/qox_main.h"

#include <cstdio>
#include <cstdlib>

#include "engine/qox_console.h"
#include "engine/qox_constant.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_math.h"
#include "engine/qox_script.h"
#include "engine/qox_timer.h"
#include "engine/script_parser.h"
#include "platform/desktop_services.h"
#include "platform/window_timer.h"

namespace {

QOXEngine* gEngine = nullptr;

template <class Module>
void ForgetModule(Module*& module, const QOXObject* child)
{
    if (module == child)
        module = nullptr;
}

platform::DesktopServices& StandardErrorDesktop()
{
    static platform::ConsoleDesktopServices desktop;
    return desktop;
}

} // namespace

QOXEngine* Engine()
{
    return gEngine;
}

QOXEngine::QOXEngine(platform::DesktopServices* desktop) : QOXObject(nullptr, "QOX Engine Main")
{
    gEngine = this;
    SetDesktop(desktop);
    CreateModules();
}

QOXEngine::~QOXEngine()
{
    if (gEngine == this)
        gEngine = nullptr;
}

void QOXEngine::SetDesktop(platform::DesktopServices* desktop)
{
    DesktopServices = desktop != nullptr ? desktop : &StandardErrorDesktop();
}

void QOXEngine::CreateModules()
{
    FileSystem = QOXNew<QOXFileSystem>(this, "QOX Engine File System");
    Console = QOXNew<QOXConsole>(this, "QOX Engine Console");
    Math = QOXNew<QOXMath>(this, "QOX Engine Math");
    Convert = QOXNew<QOXConvert>(this, "QOX Engine Convert");
    Timer = QOXNew<QOXTimer>(this, "QOX Engine Timer");
    Script = QOXNew<QOXScript>(this, "QOX Engine Script");
    Parser = QOXNew<QOXParser>(this, "QOX Engine Parser");
}

void QOXEngine::Initialize(platform::WindowTimer* startupTimer, platform::WindowTimer* frameTimer)
{
    if (startupTimer != nullptr)
        startupTimer->SetEnabled(false);
    FileSystem->PrepareUserFolders(); // the log's folder must exist before the log opens
    Console->Open("console", true);
    Console->AddSeparator();
    Console->AddLine("QOX Engine: Initializing...");
    Console->AddBlank();
    WriteBanner();
    InitializeModules();
    OnInitialize();
    Console->AddSeparator();
    Console->AddBlank();
    MainTimer = frameTimer;
    if (MainTimer != nullptr)
        MainTimer->SetEnabled(true);
}

void QOXEngine::WriteBanner()
{
    Console->AddLine("Engine:      QOX - QOX Ring Engine for Orbivane");
    Console->AddLine("Version:     0.0.0.1");
    Console->AddLine("Copyright:   (c) 2026 The Orbivane developers");
    Console->AddBlank();
}

void QOXEngine::InitializeModules()
{
    Console->AddLine("QOX Engine: File System initialized!");
    FileSystem->ReportFolders();
    Math->Initialize();
    Console->AddLine("QOX Engine: Convert Class initialized!");
    Timer->Initialize();
    Console->AddLine("QOX Engine: Script Class initialized!");
    Console->AddLine("QOX Engine: Script Parser Class initialized!");
}

void QOXEngine::Update()
{
    Timer->Update();
    if (ProcessMessages)
        DesktopServices->ProcessEvents();
}

void QOXEngine::Message(const std::string& text)
{
    DesktopServices->ShowInformation(text);
    Log(CutText("  MESSAGE: " + text, kStringL));
}

void QOXEngine::Error(const std::string& key, const std::string& text)
{
    const std::string prefix = CutText(CutText(key, kStringName) + ": ", kStringName + 2);
    const std::string result = CutText(prefix + text, kStringL);
    if (ShowErrorDialogs)
        DesktopServices->ShowError(result);
    Log("  ERROR: " + result);
}

void QOXEngine::Log(const std::string& line) const
{
    if (Console != nullptr)
        Console->AddLine(line);
}

void QOXEngine::ErrorShutdown(int exitCode, const std::string& text)
{
    if (MainTimer != nullptr)
        MainTimer->SetEnabled(false);
    const std::string message = CutText("Error Code: " + std::to_string(exitCode) + QOXConvert::LineBreak() +
                                            QOXConvert::LineBreak() + "ERROR: " + text,
                                        kStringL);
    Error("QX_ERRORSHUTDOWN", message);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void QOXEngine::BeforeDestroy()
{
    Console->AddSeparator();
    Console->AddLine("QOX Engine: Shut down...");
    if (MainTimer != nullptr)
        MainTimer->SetEnabled(false);
    Console->AddSeparator();
    Console->AddBlank();
}

void QOXEngine::ChildRemoved(QOXObject* child)
{
    // A module that dies must no longer be reachable: later modules log through the console.
    ForgetModule(FileSystem, child);
    ForgetModule(Math, child);
    ForgetModule(Convert, child);
    ForgetModule(Console, child);
    ForgetModule(Timer, child);
    ForgetModule(Script, child);
    ForgetModule(Parser, child);
}

void QOXEngine::AfterChildrenDestroyed()
{
    const std::int64_t alive = LiveInstances();
    if (!ReportLeaks || alive < 2)
        return;
    const std::string text = "There are still " + std::to_string(alive - 1) + " instances of QOX Objects left!";
    // The console is gone; standard error outlives it.
    std::fprintf(stderr, "orbivane: %s\n", text.c_str());
    DesktopServices->ShowError(text);
}
