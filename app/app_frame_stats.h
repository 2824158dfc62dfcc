#pragma once
// The frame statistics switch ("--frame-stats FILE"): one line per drawn frame, the wall time in
// milliseconds from the start of the frame's work to the end of its buffer swap and the number of
// elements the frame drew, so that frame costs can be measured without the frame timer's floor.
#include <chrono>
#include <cstdio>
#include <string>

class QAFrameStats {
public:
    QAFrameStats() = default;
    ~QAFrameStats();
    QAFrameStats(const QAFrameStats&) = delete;
    QAFrameStats& operator=(const QAFrameStats&) = delete;

    // Writes from now on into `path`, which is replaced; false, and reported, when it cannot be.
    bool Open(const std::string& path);
    bool IsOpen() const { return File != nullptr; }
    void FrameStarted();
    // The frame's picture is out (its buffers swapped, or finished off screen).
    void FrameDrawn(long elements);

private:
    std::FILE* File = nullptr; // owned; each line goes out as it is written
    std::chrono::steady_clock::time_point Started = std::chrono::steady_clock::now();
};
