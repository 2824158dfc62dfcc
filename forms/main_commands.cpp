// The main window's menu commands: which operation of the application or the cursor each item
// runs, and the items that tick settings.
#include <QAction>
#include <QMenu>
#include <QTimer>

#include <utility>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "forms/main.h"
#include "forms/path_bar.h"

namespace {

struct ToggleItem {
    QAToggle Toggle;
    const char* Name;
};

constexpr ToggleItem kToggleItems[] = {
    {QAToggle::ComputeFileSizeAutomatically, "ComputeFileSizeautomatically1"},
    {QAToggle::DisplayHiddenFiles, "MMDisplayHidden"},
    {QAToggle::AllowMultiplyViews, "MMAllowMultiplyViews"},
    {QAToggle::GroupViews, "MMGroupViews"},
    {QAToggle::DisplayUnboundElements, "MMDisplayUnboundElements"},
    {QAToggle::SizeTrueRings, "MMSizeTrueRings"},
    {QAToggle::SizeOnDisk, "MMSizeOnDisk"},
    {QAToggle::ShowLegend, "MMShowLegend"},
    {QAToggle::ShowGrowth, "MMShowGrowth"},
};

} // namespace

void TFormMain::ConnectCommands()
{
    // Each target is named before the call: GCC's sanitizer check of a member-pointer call through
    // a member access reads the wrong object.
    const auto app = [this](void (QOXApp::*command)()) {
        return [this, command] {
            QOXApp* target = Application;
            (target->*command)();
        };
    };
    const auto cursor = [this](void (QACursor::*command)()) {
        return [this, command] {
            QACursor* target = Application->TheCursor;
            (target->*command)();
        };
    };
    const auto mark = [this](QACopyMode mode) { return [this, mode] { Application->TheCursor->MarkSelected(mode); }; };
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"preferences1", app(&QOXApp::Preferences)},
        {"Quit1", [this] { Timer->stop(); close(); }},
        {"Cut1", mark(QACopyMode::Cut)},
        {"Cut2", mark(QACopyMode::Cut)},
        {"Copy1", mark(QACopyMode::Copy)},
        {"Copy2", mark(QACopyMode::Copy)},
        {"Paste1", cursor(&QACursor::Paste)},
        {"Paste2", cursor(&QACursor::Paste)},
        {"Delete1", cursor(&QACursor::Delete)},
        {"Delete2", cursor(&QACursor::Delete)},
        {"Rename1", cursor(&QACursor::Rename)},
        {"CMRename", cursor(&QACursor::Rename)},
        {"CMHideFromRing", app(&QOXApp::HideFromRing)},
        {"CMNewFile", cursor(&QACursor::NewFile)},
        {"CMNewFolder", cursor(&QACursor::NewFolder)},
        {"MMNewFolder", cursor(&QACursor::NewFolderHere)},
        {"MMProperties", [this] { ShowProperties(); }},
        {"CMProperties", [this] { ShowProperties(); }},
        {"MMUndo", cursor(&QACursor::Undo)},
        {"MMCleanUp", cursor(&QACursor::CleanUp)},
        {"MyDocuments1", [this] { Application->CreateRing(QOXApp::DocumentsFolder(), QAScan::AcrossFrames); }},
        {"ProgramFiles1",
         [this] { Application->CreateRing(QOXApp::SpecialFolder("PROGRAMFILES"), QAScan::AcrossFrames); }},
        {"Directory1", app(&QOXApp::NewRingDialog)},
        {"CMBGNewRing", app(&QOXApp::NewRingDialog)},
        {"MinimizeRing2", cursor(&QACursor::MinimizeRing)},
        {"CMRingMinimize", cursor(&QACursor::MinimizeRing)},
        {"CMBGMinimizeRing", cursor(&QACursor::MinimizeRing)},
        {"ClosecurrentRing1", cursor(&QACursor::CloseCurrentRing)},
        {"CMRingClose", cursor(&QACursor::CloseCurrentRing)},
        {"CMBGCloseRing", cursor(&QACursor::CloseCurrentRing)},
        {"CMBGCloseAll", cursor(&QACursor::CloseAllRings)},
        {"MMResetRingView", app(&QOXApp::ResetRingView)},
        {"MMLocation", [this] { PathBar->BeginEdit(); }},
        {"MMBack", app(&QOXApp::RootBack)},
        {"MMForward", app(&QOXApp::RootForward)},
        {"NextRing1", app(&QOXApp::SwitchRing)},
        {"MMRefresh", app(&QOXApp::RefreshAll)},
        {"MMGrowthSince", app(&QOXApp::ChooseGrowthSince)},
        {"MMWhatGrew", app(&QOXApp::ShowWhatGrew)},
        {"MMOpenSizeHistory", app(&QOXApp::OpenSizeHistory)},
        {"MMAddFavorite", app(&QOXApp::AddCurrentToFavorites)},
        {"MMConfiguteFavorites", app(&QOXApp::ConfigureFavorites)},
        {"MMConfigureViews", app(&QOXApp::ConfigureViews)},
        {"Contents1", [this] { Application->ShowContents(); }},
        {"About1", app(&QOXApp::About)},
        {"CMOpen", cursor(&QACursor::OpenElement)},
        {"CMComputeSize", cursor(&QACursor::ComputeElementSize)},
        {"CMExpand", cursor(&QACursor::ToggleCurrent)},
        {"CMExpandAll", cursor(&QACursor::ExpandAllElement)},
        {"CMNewRingFromFolder", cursor(&QACursor::NewRingFromFolder)},
        {"CMUpOneLevel", cursor(&QACursor::UpOneLevel)},
        {"MaximizeRing1", cursor(&QACursor::MaximizeMenuRing)},
        {"CloseRing1", cursor(&QACursor::CloseMenuRing)},
    };
    // Each connection keeps a copy of its command; the table goes when this function returns.
    for (const auto& row : commands) {
        std::function<void()> command = row.second;
        connect(MainMenus->Item(row.first), &QAction::triggered, this,
                [this, command = std::move(command)] { RunCommand(command); });
    }
}

// The submenu lists the current ring's hidden items as it opens; each of them, or all at once, is
// shown again from there.
void TFormMain::OfferHiddenItems()
{
    QMenu* menu = MainMenus->Menu("MMShowHidden");
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        const std::vector<std::string> items = Started() ? Application->HiddenItems() : std::vector<std::string>();
        for (const std::string& item : items)
            menu->addAction(QString::fromStdString(item).replace('&', "&&"), this,
                            [this, item] { RunCommand([this, item] { Application->ShowHiddenItem(item); }); });
        if (items.empty()) {
            menu->addAction("No Hidden Items")->setEnabled(false);
            return;
        }
        menu->addSeparator();
        menu->addAction("Show All", this, [this] { RunCommand([this] { Application->ShowAllHiddenItems(); }); });
    });
}

// The open Edit menu shows whether there is a change to undo and something to clean up; closed,
// Undo stays enabled, so that Ctrl+Z always reaches the cursor (which does nothing without a change).
void TFormMain::OfferUndoOnEditMenu()
{
    QMenu* edit = MainMenus->Menu("Edit1");
    QAction* undo = MainMenus->Item("MMUndo");
    QAction* cleanUp = MainMenus->Item("MMCleanUp");
    connect(edit, &QMenu::aboutToShow, this, [this, undo, cleanUp] {
        undo->setEnabled(Started() && Application->TheCursor->CanUndo());
        cleanUp->setEnabled(Started() && Application->TheCursor->CanCleanUp());
    });
    connect(edit, &QMenu::aboutToHide, this, [undo] { undo->setEnabled(true); });
}

// A ticked item flips its own tick; the setting takes the new state.
void TFormMain::ConnectToggles()
{
    for (const ToggleItem& item : kToggleItems) {
        const QAToggle toggle = item.Toggle;
        connect(MainMenus->Item(item.Name), &QAction::triggered, this,
                [this, toggle](bool ticked) { RunCommand([this, toggle, ticked] { Application->SetToggle(toggle, ticked); }); });
    }
}

void TFormMain::SettingsLoaded(const QASettings& settings)
{
    for (const ToggleItem& item : kToggleItems)
        MainMenus->Item(item.Name)->setChecked(ToggleValue(settings, item.Toggle));
    ApplySidePanelState(settings);
}
