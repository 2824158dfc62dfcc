// The application's start-up, the rings it opens first, the drive menu, and the freeing of what
// start-up made.
#include <utility>

#include "app/app_actions.h"
#include "app/app_constant.h"
#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_main.h"
#include "input/input_main.h"
#include "platform/volumes.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "presentation/gl_scene_host.h"
#include "resources/gl_textureengine.h"
#include "resources/picture_prefetch.h"

namespace {

constexpr const char* kSceneName = "Scene";
constexpr const char* kDisplayName = "Display";
constexpr float kNearClipping = 1.0f;
constexpr float kFarClipping = 1000.0f;
constexpr int kColourBits = 32;
constexpr int kRefreshRate = 60;
// "InitialRingMode": what start-up opens.
constexpr int kModeNone = -1;
constexpr int kModeSystemDrive = 0;
constexpr int kModeDocuments = 1;
constexpr int kModeOwnFolder = 2;
constexpr const char* kFixedDriveType = "HDD";

void Log(const std::string& line)
{
    Engine()->Console->AddLine(line);
}

} // namespace

void QOXApp::Init(platform::GLBinding* view, platform::InputSystem* input)
{
    QABusy busy(*this);
    LogStartBanner();
    LoadSettings();
    Favorites->Recent->Load("recent");
    StartDevice(view);
    Device->TextureEngine->Prefetched = Pictures.get();
    LoadSceneFonts();
    StartScene();
    Device->TextureEngine->Prefetched = nullptr;
    Pictures.reset();
    StartInput(input);
    StartCursor();
    StartLists();
    OpenInitialRing();
    BuildDriveMenu();
    ShowFirstRing();
    SetViewportSizes();
}

void QOXApp::PrefetchPictures()
{
    Pictures = std::make_unique<QRPicturePrefetch>(QRPicturePrefetch::StartUpPictures(Engine()->FileSystem->BasePath));
}

void QOXApp::LogStartBanner() const
{
    QOXConsole* console = Engine()->Console;
    console->AddSeparator();
    Log("Application Layer: Initializing...");
    console->AddBlank();
    Log("Application: Orbivane");
    Log(std::string("Version:     ") + kAppVersion);
    Log("Copyright:   (c) 2026 The Orbivane developers");
    console->AddSeparator();
    console->AddBlank();
}

// The input and the cursor exist before the scene, which reads them through its host; they start
// after it, as start-up has them.
void QOXApp::StartDevice(platform::GLBinding* view)
{
    Device = QOXNew<QOXGL>(this);
    Input = QOXNew<QOXInput>(this);
    TheCursor = QOXNew<QACursor>(this, Input);
    const QAViewSize size = Window != nullptr ? Window->ViewSize() : QAViewSize{};
    Device->Init(view, kDisplayName, 0, 0, size.Width, size.Height, kColourBits, kRefreshRate, false);
    Device->Camera->SetClipping(kNearClipping, kFarClipping);
}

void QOXApp::StartScene()
{
    SceneHost = std::make_unique<GLAppSceneHost>(TheCursor, Input);
    SceneApp = QOXNew<GLSceneApp>(this, this, SceneHost.get());
    SceneApp->Init(kSceneName);
    SceneApp->Renderer->Cursor = TheCursor;
    SceneApp->Activate();
}

void QOXApp::StartInput(platform::InputSystem* input)
{
    Input->Init(input, UseDevice::Yes, UseDevice::No, UseDevice::Yes);
    RegisterInputActions(*Input);
}

void QOXApp::StartCursor()
{
    TheCursor->Picker = SceneApp;
    TheCursor->Menus = Menus;
    Keys = QOXNew<QAKeyboard>(this, TheCursor);
    SceneApp->Renderer->Keys = Keys;
    TheCursor->Dialogs = FileDialogs;
    TheCursor->Modifiers = Modifiers;
    TheCursor->Clipboard = Clipboard;
    TheCursor->Files.Overwrite = Overwrite;
    TheCursor->Files.Progress = Progress;
    TheCursor->Files.FindLeftovers();
}

void QOXApp::StartLists()
{
    Views->Load("views");
    BuildViewsMenu();
    Favorites->Load("favorites");
    BuildFavoritesMenu();
}

void QOXApp::OpenInitialRing()
{
    switch (Settings.InitialRingMode) {
    case kModeNone:
        SetCurrentRing(nullptr);
        break;
    case kModeSystemDrive:
        CreateRing(SpecialFolder("SYSTEMDRIVE"), QAScan::AcrossFrames);
        break;
    case kModeDocuments:
        CreateRing(DocumentsFolder(), QAScan::AcrossFrames);
        break;
    case kModeOwnFolder:
        CreateRing(Settings.InitialRingFolder, QAScan::AcrossFrames);
        break;
    default:
        break;
    }
}

// Each item carries its drive's mount point; a fixed drive gets a ring at once when the settings
// ask for it.
void QOXApp::BuildDriveMenu()
{
    std::vector<QAMenuEntry> entries;
    for (const platform::Volume& drive : platform::Drives()) {
        const std::string label = DriveLabel(drive.MountPoint);
        if (label.empty())
            continue;
        const std::string root = drive.MountPoint;
        entries.push_back({label, QATick::None, [this, root] { CreateRing(root, QAScan::AcrossFrames); }});
        if (Settings.CreateRingForHDD && drive.TypeText == kFixedDriveType)
            CreateRing(root, QAScan::AcrossFrames);
    }
    if (MenuBar != nullptr)
        MenuBar->FillMenu(QADataMenu::Drives, entries);
}

void QOXApp::ShowFirstRing()
{
    SetCurrentRing(RingAt(0));
    if (Settings.InitialRingMode != kModeNone)
        return;
    SetCurrentRing(nullptr);
    if (Settings.RingDisplayDuration > 0.0f && Scene != nullptr)
        Scene->ShowRingTitle("");
}

void QOXApp::FreeParts()
{
    for (QOXObject* part : {static_cast<QOXObject*>(Rings), static_cast<QOXObject*>(Views),
                            static_cast<QOXObject*>(Favorites), static_cast<QOXObject*>(SceneApp),
                            static_cast<QOXObject*>(Keys), static_cast<QOXObject*>(TheCursor)})
        if (part != nullptr)
            part->Destroy();
    Rings = nullptr;
    Views = nullptr;
    Favorites = nullptr;
    SceneApp = nullptr;
    Keys = nullptr;
    TheCursor = nullptr;
    SceneHost.reset();
}

void QOXApp::FreeDeviceAndInput()
{
    if (Device != nullptr)
        Device->Destroy();
    if (Input != nullptr)
        Input->Destroy();
    Device = nullptr;
    Input = nullptr;
}

void QOXApp::MakeContextCurrent() const
{
    if (Device != nullptr && Device->Window != nullptr && Device->RenderingContext != nullptr)
        Device->Window->MakeCurrent(Device->RenderingContext);
}
