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
    RegisterInputActions(*Input);
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
