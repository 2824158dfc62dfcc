#pragma once
// A running engine on a temporary program folder, with boxes recorded instead of shown.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/qox_main.h"
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

    TempFolder ProgramFolder;
    platform::RecordingDesktopServices Desktop;
    QOXEngine* TheEngine = nullptr; // owned; destroyed in TearDown

private:
    std::size_t LinesSeen = 0;
};
