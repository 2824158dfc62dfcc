// The snapshot's run: a private program folder that lends the program's data, the engine with a
// clock of fixed 50 ms frames, the GL device on an EGL context, the application with one ring and
// the application scene, then the frames and the read-back of the last one.
#include <GL/gl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "app/app_sizes.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"
#include "graphics/gl_scene_main.h"
#include "input/input_main.h"
#include "platform/clock.h"
#include "platform/desktop_services.h"
#include "platform/egl_gl_binding.h"
#include "platform/program_folder.h"
#include "platform/size_history_store.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "resources/gl_textureengine.h"
#include "resources/picture_prefetch.h"
#include "ring/element_folder.h"
#include "ring/ring_sizes.h"
#include "tools/snapshot/snapshot.h"

namespace snapshot {

namespace fs = std::filesystem;

namespace {

constexpr int kFrameMilliseconds = 50;
// How long the folder sizes counted in the background are waited for before the frames.
constexpr auto kLongestCountWait = std::chrono::seconds(10);
// How often the wait looks: a small folder is counted within a millisecond.
constexpr auto kCountPoll = std::chrono::milliseconds(1);
constexpr float kFrameSeconds = 0.05f;
// Data folders lent to the private program folder; the settings and list files are copied into it.
constexpr const char* kLentFolders[] = {"textures", "materials", "models", "shaders"};
constexpr const char* kListFiles[] = {"views.ini", "favorites.ini", "recent.ini"};

// A program folder of the snapshot's own: its log, settings and list files never touch the
// program's, while pictures, fonts and the texture cache are the program's through links.
// Removed afterwards.
class PrivateHome {
public:
    // The data comes from the data folder; the settings and list files are the user's, or the
    // shipped ones of an installed copy whose user has none yet.
    explicit PrivateHome(const platform::ProgramFolders& program)
    {
        char pattern[] = "/tmp/orbivane-snapshot-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            return;
        Folder = pattern;
        std::error_code ignored;
        for (const char* name : kLentFolders)
            if (fs::exists(program.Data + name))
                fs::create_directory_symlink(program.Data + name, Folder / name, ignored);
        // The compressed textures are shared: what the program or an earlier snapshot compressed
        // need not be compressed again, and the cache never holds a file only half written.
        const std::string cache = program.Cache + kTextureCacheName + "/";
        if (platform::MakeStateFolders(cache))
            fs::create_directory_symlink(cache, Folder / kTextureCacheName, ignored);
        for (const char* name : platform::kUserFiles) {
            const std::string own = program.Config + name;
            const std::string source = fs::exists(own) ? own : program.Data + name;
            if (fs::exists(source))
                fs::copy_file(source, Folder / name, ignored);
        }
        Previous = std::getenv("ORBIVANE_HOME") != nullptr ? std::optional<std::string>(std::getenv("ORBIVANE_HOME"))
                                                             : std::nullopt;
        ::setenv("ORBIVANE_HOME", (Folder.string() + "/").c_str(), 1);
    }
    ~PrivateHome()
    {
        if (Folder.empty())
            return;
        if (Previous)
            ::setenv("ORBIVANE_HOME", Previous->c_str(), 1);
        else
            ::unsetenv("ORBIVANE_HOME");
        std::error_code ignored;
        fs::remove_all(Folder, ignored); // removes the links, never what they point at
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    bool Made() const { return !Folder.empty(); }
    // The user's size history of a folder, copied in, so that the snapshot shows growth as the
    // program would without ever writing the user's file.
    void LendHistory(const platform::ProgramFolders& program, const std::string& folder) const
    {
        const std::string own = platform::HistoryPathOf(folder, program.State + "sizes/");
        const fs::path lent = platform::HistoryPathOf(folder, Folder.string() + "/sizes/");
        std::error_code ignored;
        fs::create_directories(lent.parent_path(), ignored);
        fs::copy_file(own, lent, ignored);
    }
    // The list engines write their files back at shut-down and report one that is missing: the
    // private folder gets empty ones once what existed has been read.
    void CompleteListFiles() const
    {
        for (const char* name : kListFiles)
            if (!fs::exists(Folder / name))
                std::ofstream(Folder / name).flush();
    }

private:
    fs::path Folder;
    std::optional<std::string> Previous;
};

// The window as a snapshot sees it: active, nothing dragged, the pointer still, no button pressed,
// the cursor working the rings (so the ring strip stays hidden).
class StillHost : public GLSceneHost {
public:
    explicit StillHost(GLViewPoint pointer) : Pointer(pointer) {}
    bool WindowActive() const override { return true; }
    bool DragOver() const override { return false; }
    GLViewPoint MousePoint() const override { return Pointer; }
    GLViewPoint CursorPoint() const override { return Pointer; }
    bool CursorEnabled() const override { return true; }
    bool CursorIdle() const override { return true; }
    bool WasPressed(GLMouseButton) const override { return false; }
    void RequestRingMenu(QOXRing*) override {}

private:
    GLViewPoint Pointer;
};

QREFolder* ChildFolder(QREFolder* folder, const std::string& name)
{
    for (QREFolder* child : *folder->Folders)
        if (child->Name == name + "/")
            return child;
    return nullptr;
}

// Expands each folder on the way to `relative` ("a/b"), as clicks on them would.
std::optional<std::string> ExpandPath(QOXRing* ring, const std::string& relative)
{
    QREFolder* folder = ring->Root;
    for (const auto& part : fs::path(relative)) {
        if (part.empty() || part == ".")
            continue;
        folder = ChildFolder(folder, part.string());
        if (folder == nullptr)
            return "no folder \"" + relative + "\" in the ring";
        if (!folder->Expanded)
            folder->Expand();
    }
    ring->FocusOn(folder);
    return std::nullopt;
}

// The sizes counted in the background are all in before the first frame, so that a picture
// depends only on the tree and the options (unless counting takes longer than the tool waits).
void AwaitCounts(QOXApp& application, const QOXRing& ring)
{
    const auto deadline = std::chrono::steady_clock::now() + kLongestCountWait;
    application.Sizes->Pump(0.0f);
    while (ring.Sizes != nullptr && ring.Sizes->Progress().Busy && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kCountPoll);
        application.Sizes->Pump(0.0f);
    }
    application.Sizes->Pump(0.0f); // what came with the end of the count
}

// Read as RGBA, the layout llvmpipe keeps its colour buffer in: it comes out as copies of rows,
// where reading RGB converts pixel by pixel and took twice as long.
void ReadBack(int width, int height, Picture& picture)
{
    picture.Width = width;
    picture.Height = height;
    const std::size_t rowPixels = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> bottomUp(rowPixels * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    picture.Rgb.resize(rowPixels * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bottomUp.data() + static_cast<std::size_t>(height - 1 - y) * rowPixels * 4;
        std::uint8_t* to = picture.Rgb.data() + static_cast<std::size_t>(y) * rowPixels * 3;
        for (std::size_t x = 0; x < rowPixels; ++x, from += 4, to += 3)
            std::copy_n(from, 3, to);
    }
}

// The running program, as far as a snapshot needs it; built and freed in the program's order.
class Session {
public:
    // `pictures` are the pictures decoded ahead while the EGL context was made.
    Session(const Options& options, platform::GLBinding& binding, StillHost& host, QRPicturePrefetch& pictures)
    {
        TheEngine = QOXNew<QOXEngine>(&Desktop);
        TheEngine->Initialize(nullptr, nullptr);
        TheEngine->Timer->SetClock(&Clock);
        Device = QOXNew<QOXGL>(nullptr);
        Device->Init(&binding, "Display", 0, 0, options.Width, options.Height, 32, 60, false);
        Device->TextureEngine->Prefetched = &pictures;
        Device->System2D->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, static_cast<float>(options.Width),
                                   static_cast<float>(options.Height));
        LoadSceneFonts();
        Application = QOXNew<QOXApp>(nullptr);
        Application->LoadSettings();
        if (options.GrowthSince) {
            Application->Settings.ShowGrowth = true;
            Application->Settings.GrowthSince = *options.GrowthSince;
        }
        // The list files are read only where they exist, as the program reads them.
        if (fs::exists(TheEngine->FileSystem->ConfigPath + "views.ini"))
            Application->Views->Load("views");
        Scene = QOXNew<GLSceneApp>(nullptr, Application, &host);
        Scene->Init("Scene");
        Device->TextureEngine->Prefetched = nullptr;
        // A cursor with no press, menu or drag: the renderer shades the element under the pointer.
        Input = QOXNew<QOXInput>(nullptr);
        Cursor = QOXNew<QACursor>(Application, Input);
        Cursor->Picker = Scene;
        Scene->Renderer->Cursor = Cursor;
        Scene->Activate();
    }
    ~Session()
    {
        Scene->Destroy();
        Application->Destroy();
        Input->Destroy();
        Device->Destroy();
        TheEngine->Timer->SetClock(nullptr);
        TheEngine->Destroy();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void Frame()
    {
        Application->FrameStats.FrameStarted();
        Clock.Advance(kFrameMilliseconds);
        TheEngine->Update();
        Application->UpdateRings(kFrameSeconds);
        Application->FollowDisk(kFrameSeconds);
        DrawnBefore = Scene->Renderer->ElementsDrawn;
    }
    // A frame before the last: everything the scene does from frame to frame (the animations, the
    // info box's and the title's clocks, the ring strip) runs as on screen, but since its picture
    // is never looked at, the rasteriser is kept to one pixel of it and no shadow map is made (the
    // last frame makes its own), which takes most of the work of a frame away. Frames that are
    // measured are drawn whole.
    void EarlierFrame()
    {
        Frame();
        const bool measured = Application->FrameStats.IsOpen();
        if (!measured) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(0, 0, 1, 1);
        }
        Scene->ShadowMapDue = measured;
        Device->RenderFrame();
        Scene->ShadowMapDue = true;
        glDisable(GL_SCISSOR_TEST);
        if (measured)
            FrameDone();
    }
    // The frame without its buffer swap, so that the picture can be read back. It starts on
    // buffers cleared whole, as every frame on screen does.
    void LastFrame()
    {
        Device->ClearBuffers();
        Frame();
        Device->ResetView();
        Device->SceneEngine->Render();
        Device->System2D->Render();
        FrameDone();
    }
    // Off screen there is no swap: the frame is out once the rasteriser has finished it.
    void FrameDone()
    {
        glFinish();
        Application->FrameStats.FrameDrawn(Scene->Renderer->ElementsDrawn - DrawnBefore);
    }

    platform::ConsoleDesktopServices Desktop;
    platform::ManualClock Clock;
    QOXEngine* TheEngine = nullptr;   // owned; freed last
    QOXGL* Device = nullptr;          // owned
    QOXApp* Application = nullptr;    // owned
    QOXInput* Input = nullptr;        // owned; no devices are started
    QACursor* Cursor = nullptr;       // owned by the application
    GLSceneApp* Scene = nullptr;      // owned; freed first
    long DrawnBefore = 0;             // the renderer's count of elements drawn when the frame began
};

} // namespace

std::optional<std::string> Render(const Options& options, Picture& picture, const PictureTaken& taken)
{
    std::error_code ignored;
    const std::string folder = fs::absolute(options.Folder, ignored).lexically_normal().string();
    if (!fs::is_directory(folder))
        return "no folder \"" + options.Folder + "\"";
    const platform::ProgramFolders program = platform::CurrentProgramFolders();
    PrivateHome home(program);
    if (!home.Made())
        return std::string("cannot make a temporary program folder");
    if (options.GrowthSince)
        home.LendHistory(program, QOXFileSystem::IncludeTrailingDelimiter(folder));
    QRPicturePrefetch pictures(QRPicturePrefetch::StartUpPictures(platform::CurrentProgramFolders().Data));
    platform::EglGLBinding binding(options.Width, options.Height);
    if (!binding.IsAvailable())
        return std::string("no EGL display: Mesa's EGL (libegl-mesa0) is needed");
    StillHost host(options.Pointer ? GLViewPoint{options.Pointer->first, options.Pointer->second}
                                   : GLViewPoint{-1.0e6f, -1.0e6f});
    Session session(options, binding, host, pictures);
    home.CompleteListFiles();
    if (!options.FrameStats.empty() && !session.Application->FrameStats.Open(options.FrameStats))
        return "cannot write \"" + options.FrameStats + "\"";
    QOXRing* ring = session.Application->CreateRing(QOXFileSystem::IncludeTrailingDelimiter(folder));
    if (ring == nullptr)
        return "cannot open a ring on \"" + options.Folder + "\"";
    for (const std::string& relative : options.Expand)
        if (auto error = ExpandPath(ring, relative))
            return error;
    AwaitCounts(*session.Application, *ring);
    for (int frame = 1; frame < options.Frames; ++frame)
        session.EarlierFrame();
    session.LastFrame();
    ReadBack(options.Width, options.Height, picture);
    if (taken)
        taken(picture);
    return std::nullopt;
}

} // namespace snapshot
