#pragma once
// A running engine on a temporary program folder, with boxes recorded instead of shown.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/qox_main.h"
#include "platform/clock.h"
#include "platform/desktop_services.h"
#include "tests/support/temp_folder.h"

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Frees the engine now (for tests of the shut-down); TearDown then does nothing.
    void DestroyEngine();
    // The lines of console.txt.
    std::vector<std::string> LogLines() const;
    // The console lines written since the last call.
    std::vector<std::string> NewLogLines();
    // Frames of chosen lengths: the engine's timer reads `Clock` from now on.
    void UseManualClock(std::int64_t milliseconds);
    // Moves the manual clock on and runs the engine's update.
    void EngineFrame(int milliseconds);

    TempFolder ProgramFolder;
    platform::RecordingDesktopServices Desktop;
    QOXEngine* TheEngine = nullptr; // owned; destroyed in TearDown
    platform::ManualClock Clock;

private:
    std::size_t LinesSeen = 0;
};
