#include "tests/fuzz/fuzz_engine.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "platform/desktop_services.h"

namespace {

// Shows and opens nothing: a fuzz run makes millions of reports.
class SilentDesktop : public platform::DesktopServices {
public:
    void ShowInformation(const std::string&) override {}
    void ShowError(const std::string&) override {}
    bool OpenDocument(const std::string&) override { return false; }
    void ProcessEvents() override {}
};

std::string MakeProgramFolder()
{
    const std::filesystem::path memory("/dev/shm");
    const std::filesystem::path base = std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
    std::string pattern = (base / "orbivane-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    for (const char* folder : {"/materials", "/textures"})
        ::mkdir((pattern + folder).c_str(), 0700);
    return pattern + "/";
}

struct FuzzProcess {
    FuzzProcess() : Home(MakeProgramFolder())
    {
        ::setenv("ORBIVANE_HOME", Home.c_str(), 1);
        Engine = QOXNew<QOXEngine>(&Desktop);
        // No console.txt: the log is never written.
        Engine->Console->Enabled = false;
    }
    ~FuzzProcess()
    {
        Engine->Destroy();
        std::error_code ignored;
        std::filesystem::remove_all(Home, ignored);
    }

    SilentDesktop Desktop;
    std::string Home;
    QOXEngine* Engine = nullptr; // lives as long as the process
};

FuzzProcess& Process()
{
    static FuzzProcess process;
    return process;
}

} // namespace

QOXEngine& FuzzEngine()
{
    return *Process().Engine;
}

std::string WriteProgramFile(const std::string& relativeName, const std::uint8_t* data, std::size_t size)
{
    const std::string path = Process().Home + relativeName;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    return path;
}

void Require(bool promise, const char* what)
{
    if (promise)
        return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}
