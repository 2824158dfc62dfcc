#include "tests/support/form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/app_main.h"
#include "engine/qox_convert.h"
#include "forms/main.h"
#include "forms/panel_view.h"
#include "graphics/gl_main.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/support/gl_drivers.h"
#include "tests/support/ring_projection.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStartTimeout = 20000; // milliseconds
constexpr int kFrameTimeout = 5000;
constexpr int kSettleFrames = 60;
constexpr int kMenuBarHeight = 30;
constexpr int kStatusBarHeight = 25;

} // namespace

double RingShare(const QImage& window)
{
    long ring = 0;
    long all = 0;
    for (int y = kMenuBarHeight; y < window.height() - kStatusBarHeight; ++y) {
        for (int x = 0; x < window.width(); ++x) {
            const QRgb pixel = window.pixel(x, y);
            const int blue = qBlue(pixel);
            ring += qGreen(pixel) > blue + 80 ? 1 : 0;
            ++all;
        }
    }
    return all > 0 ? static_cast<double>(ring) / static_cast<double>(all) : 0.0;
}

ProgramHome::ProgramHome()
{
    fs::copy(fs::path(ORBIVANE_SOURCE_DATA) / "textures", fs::path(Path()) / "textures", fs::copy_options::recursive);
    for (const char* list : {"views.ini", "favorites.ini"})
        fs::copy_file(fs::path(ORBIVANE_SOURCE_DATA) / list, fs::path(Path()) / list);
    WriteSettings(QASettings{});
    WritePlacement(WindowPlacement{});
}

void ProgramHome::WriteSettings(const QASettings& settings) const
{
    Folder.Write("orbivane.ini", SettingsText(settings));
}

void ProgramHome::WritePlacement(const WindowPlacement& placement) const
{
    const auto key = [](const char* name, const std::string& value) {
        return "  " + std::string(name) + std::string(15 - std::string(name).size(), ' ') + value + "\n";
    };
    Folder.Write("recent.ini", "\n\nAPPEARANCE {\n" + key("MAXIMIZE", placement.Maximized ? "TRUE" : "FALSE") +
                                   key("LEFT", QOXConvert::IntToStr(placement.Left)) +
                                   key("TOP", QOXConvert::IntToStr(placement.Top)) +
                                   key("WIDTH", QOXConvert::IntToStr(placement.Width)) +
                                   key("HEIGHT", QOXConvert::IntToStr(placement.Height)) + "}\n\nFOLDERS {\n}\n\n");
}

std::vector<std::string> ProgramHome::LogLines() const
{
    return Folder.ReadLines("console.txt");
}

FormTest::FormTest() = default;

FormTest::~FormTest() = default;

void FormTest::SetUpTestSuite()
{
    MakeTestApplication();
}

void MakeTestApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    // Qt's file dialogs keep their history under $XDG_CONFIG_HOME; tests running side by side
    // would read each other's deleted folders there, so each process gets a folder of its own
    // before Qt first reads the variable.
    static TempFolder qtSettings;
    ::setenv("XDG_CONFIG_HOME", qtSettings.Path().c_str(), 1);
    static int argc = 1;
    static char name[] = "orbivane_forms_tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own globals must not die before it.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

void FormTest::SetUp()
{
    ::setenv("ORBIVANE_HOME", Home.Path().c_str(), 1);
    Settings.InitialRingMode = 2;
    Settings.InitialRingFolder = Tree.Root();
    Settings.CreateRingForHDD = false;
    Settings.SizeTrueRings = false; // the rings as designed; tests of size-true rings turn them on
}

void FormTest::TearDown()
{
    if (Form != nullptr)
        Form->close();
    Form.reset();
    ::unsetenv("ORBIVANE_HOME");
}

void FormTest::Start()
{
    Launch();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    WaitForFirstFrame();
}

void FormTest::Launch()
{
    Home.WriteSettings(Settings);
    Home.WritePlacement(Placement);
    Form = std::make_unique<TFormMain>(StartTargets);
    Form->show();
}

void FormTest::Restart()
{
    Form.reset();
    Form = std::make_unique<TFormMain>(StartTargets);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    WaitForFirstFrame();
}

void FormTest::WaitForFirstFrame()
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Frames > 0; }, kStartTimeout)) << "no first frame";
    KeepGLDriversLoaded();
}

void FormTest::Quit()
{
    Item("Quit1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }, kFrameTimeout));
}

void FormTest::WaitFrames(int count)
{
    const long until = Form->Frames + count;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Frames >= until; }, kFrameTimeout * count));
}

void FormTest::Settle()
{
    const auto moving = [this] {
        return std::any_of(App()->Rings->begin(), App()->Rings->end(), [](const QOXRing* ring) {
            return ring->LayoutNeeded || ring->MinimizeAnimation->Running() || ring->PositionAnimation->Running() ||
                   ring->RotationAnimation->Running() || ring->ZoomAnimation->Running();
        });
    };
    WaitFrames(1);
    for (int frame = 0; frame < kSettleFrames && moving(); ++frame)
        WaitFrames(1);
}

QOXApp* FormTest::App() const
{
    return Form->Application;
}

QWindow* FormTest::GLView() const
{
    return Form->PanelView->GLView();
}

QAction* FormTest::Item(const char* name) const
{
    QAction* item = Form->Menus().Item(name);
    EXPECT_NE(item, nullptr) << name;
    return item;
}

QString FormTest::Panel(int index) const
{
    return Form->StatusPanels[static_cast<std::size_t>(index)]->text();
}

QOXRing* FormTest::CurrentRing() const
{
    return App()->CurrentRing;
}

QPoint FormTest::ViewPointOf(const QRElement* element) const
{
    QOXRing* ring = element->Ring;
    App()->SetViewportSizes();
    const float radius = (ring->InnerRadius(element->Level) + ring->InnerRadius(element->Level + 1)) / 2.0f;
    const auto point =
        ProjectRingPoint(*App()->SceneApp->Renderer, ring, radius, element->MidAngle(), GLRingPass::Normal);
    return {point[0], GL()->Height - 1 - point[1]};
}

void FormTest::MoveTo(QPoint point)
{
    QTest::mouseMove(GLView(), point);
    WaitFrames(1);
}

void FormTest::Click(QPoint point, Qt::MouseButton button)
{
    MoveTo(point);
    QTest::mousePress(GLView(), button, Qt::NoModifier, point);
    WaitFrames(1);
    QTest::mouseRelease(GLView(), button, Qt::NoModifier, point);
    WaitFrames(1);
}

void FormTest::PressForAFrame(Qt::Key key)
{
    QTest::keyPress(GLView(), key);
    WaitFrames(1);
    QTest::keyRelease(GLView(), key);
    WaitFrames(1);
}
