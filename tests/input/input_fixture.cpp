#include "tests/input/input_fixture.h"

void InputTest::SetUp()
{
    EngineTest::SetUp();
    Input = QOXMake<QOXInput>(nullptr);
}

void InputTest::TearDown()
{
    Input.reset();
    EngineTest::TearDown();
}

void InputTest::Start(UseDevice joysticks)
{
    Input->Init(&Script, UseDevice::Yes, joysticks, UseDevice::Yes);
    RegisterApplicationButtons();
    NewLogLines();
}

void InputTest::RegisterApplicationButtons()
{
    Input->AddButton("Left", "Mouse", 1000);
    Input->AddButton("Right", "Mouse", 1001);
    Input->AddButton("Middle", "Mouse", 1002);
    Input->AddButton("Zoom In", "Mouse", 1033);
    Input->AddButton("Zoom Out", "Mouse", 1034);
    Input->AddButton("Movement Mode", "Movement", 1002);
    Input->AddButton("Pan", "Movement", kLeftCtrl);
    Input->AddButton("Zoom", "Movement", kLeftShift);
    Input->AddButton("Rotate", "Movement", kLeftAlt);
    Input->AddButton("Add", "Selection", kLeftShift);
    Input->AddButton("Invert", "Selection", kLeftCtrl);
    Input->AddButton("Switch Ring", "Rings", kTab);
    Input->AddButton("Display Rings", "Rings", kSpace);
}

void InputTest::Play(const Frame& frame)
{
    Script.Queue(frame);
    Script.PlayFrame();
    Input->Update();
}

std::vector<std::string> InputTest::DownButtons() const
{
    std::vector<std::string> down;
    for (const TButton& button : Input->Buttons) {
        if (Input->IsDown(button.Name, button.Group))
            down.push_back(button.Group + "/" + button.Name);
    }
    return down;
}
