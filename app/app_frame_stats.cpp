#include "app/app_frame_stats.h"

#include <cerrno>
#include <cstring>

#include "engine/qox_main.h"

QAFrameStats::~QAFrameStats()
{
    if (File != nullptr)
        std::fclose(File);
}

bool QAFrameStats::Open(const std::string& path)
{
    if (File != nullptr)
        std::fclose(File);
    File = std::fopen(path.c_str(), "w");
    if (File == nullptr) {
        Engine()->Error("QX_FILE", "File \"" + path + "\" cannot be written: " + std::strerror(errno));
        return false;
    }
    // A benchmark may read the lines while the program runs.
    std::setvbuf(File, nullptr, _IOLBF, 0);
    return true;
}

void QAFrameStats::FrameStarted()
{
    Started = std::chrono::steady_clock::now();
}

void QAFrameStats::FrameDrawn(long elements)
{
    if (File == nullptr)
        return;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - Started;
    std::fprintf(File, "%.3f %ld\n", took.count(), elements);
}
