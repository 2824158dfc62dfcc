#pragma once
// An input module over scripted input, with the application's thirteen buttons registered.
#include <string>

#include "app/app_actions.h"
#include "input/input_main.h"
#include "platform/scripted_input.h"
#include "tests/support/engine_fixture.h"

class InputTest : public EngineTest {
protected:
    // Mouse buttons; the keys are the scan codes of the application's actions.
    static constexpr int kLeft = 0;
    static constexpr int kRight = 1;
    static constexpr int kMiddle = 2;

    void SetUp() override;
    void TearDown() override;

    // Starts the module with keyboard and mouse (and joysticks when asked).
    void Start(UseDevice joysticks = UseDevice::No);
    void RegisterApplicationButtons();
    using Frame = platform::ScriptedInput::Frame;

    // Plays one frame and lets the module poll it.
    void Play(const Frame& frame = Frame());
    // The buttons down in this frame, as "Group/Name".
    std::vector<std::string> DownButtons() const;

    std::string JoystickBase() const { return ProgramFolder.Path() + "js"; }

    platform::ScriptedInput Script{ProgramFolder.Path() + "js"};
    QOXPtr<QOXInput> Input;
};
