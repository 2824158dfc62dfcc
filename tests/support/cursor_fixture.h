#pragma once
// The application with its input module over scripted input, the thirteen actions registered and
// the cursor on top; picking through a stand-in that puts chosen elements at chosen points of the
// view, and a recorder for the context menus the cursor pops up.
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "app/app_actions.h"
#include "app/app_cursor.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "platform/scripted_input.h"
#include "tests/support/app_fixture.h"

// Each element placed gets a point of its own; elsewhere there is nothing.
class PickerStandIn : public QAPicker {
public:
    QRElement* PickAt(float x, float y) override
    {
        const auto found = Spots.find({static_cast<int>(x), static_cast<int>(y)});
        return found != Spots.end() ? found->second : nullptr;
    }
    bool OnRingStrip(float, float) override { return false; }
    // The point of the view where the element lies.
    std::optional<QAPoint> ViewPointOf(const QRElement& element) override
    {
        for (const auto& [point, placed] : Spots)
            if (placed == &element)
                return QAPoint{static_cast<float>(point.first), static_cast<float>(point.second)};
        return std::nullopt;
    }
    std::pair<int, int> Place(QRElement* element)
    {
        for (const auto& [point, placed] : Spots) {
            if (placed == element)
                return point;
        }
        const std::pair<int, int> point{20 + 10 * static_cast<int>(Spots.size()), 40};
        Spots[point] = element;
        return point;
    }

    std::map<std::pair<int, int>, QRElement*> Spots;
};

class RecordingMenus : public QAMenuLink {
public:
    struct PopUp {
        QAMenu Menu = QAMenu::Background;
        QAMenuItems Shown;
        std::optional<QAPoint> At; // none: at the pointer
    };
    void PopUpMenu(QAMenu menu, const QAMenuItems& shown) override { PopUps.push_back({menu, shown, std::nullopt}); }
    void PopUpMenuAt(QAMenu menu, const QAMenuItems& shown, QAPoint at) override { PopUps.push_back({menu, shown, at}); }
    bool WindowActive() const override { return Active; }

    std::vector<PopUp> PopUps;
    bool Active = true;
};

class CursorTest : public AppTest {
protected:
    using Frame = platform::ScriptedInput::Frame;
    static constexpr int kLeft = 0;
    static constexpr int kRight = 1;
    // A point of the view where nothing lies.
    static constexpr std::pair<int, int> kEmpty{300, 300};

    void SetUp() override
    {
        AppTest::SetUp();
        Input = QOXMake<QOXInput>(nullptr);
        Input->Init(&Script, UseDevice::Yes, UseDevice::No, UseDevice::Yes);
        RegisterInputActions(*Input);
        Cursor = QOXNew<QACursor>(TheApp.get(), Input.get());
        Cursor->Picker = &Picker;
        Cursor->Menus = &Menus;
    }
    void TearDown() override
    {
        TheApp.reset();
        Input.reset();
        AppTest::TearDown();
    }

    // One frame of input: the module polls it and the cursor does its frame's work.
    void Play(const Frame& frame = Frame())
    {
        Script.Queue(frame);
        Script.PlayFrame();
        Input->Update();
        Cursor->Update();
    }
    // The pointer goes to a point of the view; the view reports the move to the cursor.
    void PointAt(std::pair<int, int> point)
    {
        Play(Frame().Move(point.first - Input->Mouse->CursorX(), point.second - Input->Mouse->CursorY()));
        Cursor->Move(static_cast<float>(point.first), static_cast<float>(point.second));
    }
    void PointAt(QRElement* element) { PointAt(Picker.Place(element)); }
    void PressButton(int button)
    {
        Play(Frame().PressButton(button));
        Cursor->Press(static_cast<QAMouseButton>(button));
    }
    void ReleaseButton(int button)
    {
        Play(Frame().ReleaseButton(button));
        Cursor->Release();
    }
    // A press and release without a move, holding a key (scan code) when one is given.
    template <class Target>
    void Click(Target target, int button = kLeft, int key = -1)
    {
        if (key >= 0)
            Play(Frame().Press(key));
        PointAt(target);
        PressButton(button);
        ReleaseButton(button);
        if (key >= 0)
            Play(Frame().Release(key));
    }
    // A left drag from one element to another, holding a key when one is given.
    void Drag(QRElement* from, QRElement* to, int key = -1)
    {
        if (key >= 0)
            Play(Frame().Press(key));
        PointAt(from);
        PressButton(kLeft);
        PointAt(to);
        ReleaseButton(kLeft);
        if (key >= 0)
            Play(Frame().Release(key));
    }

    platform::ScriptedInput Script;
    QOXPtr<QOXInput> Input;
    QACursor* Cursor = nullptr; // owned by the application
    PickerStandIn Picker;
    RecordingMenus Menus;
};

// The names of the selected children of a folder, in ring order.
inline std::vector<std::string> SelectedNames(const QREFolder& folder)
{
    std::vector<std::string> names;
    folder.ForEachChild([&](QRElement* child) {
        if (child->Selected)
            names.push_back(child->Name);
    });
    return names;
}
