#include "forms/main_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

enum ItemFlag : unsigned {
    kMenu = 1,
    kSeparator = 2,
    kCheck = 4,
    kHidden = 8,
    // The shortcut is shown beside the caption but not taken from the keyboard: the key reaches
    // the view, where an input action reads it.
    kShortcutShownOnly = 16,
};

struct ItemRow {
    const char* Parent; // the menu's object name; empty for the menu bar
    const char* Name;
    const char* Caption;
    const char* Shortcut; // alternatives apart by "; "
    unsigned Flags;
};

constexpr ItemRow kMainMenu[] = {
    {"", "File1", "File", "", kMenu},
    {"File1", "MMOpenSizeHistory", "Open Size History…", "", 0},
    {"File1", "MMLineHistory", "-", "", kSeparator},
    {"File1", "preferences1", "Preferences...", "", 0},
    {"File1", "N8", "-", "", kSeparator},
    {"File1", "Quit1", "Quit", "Ctrl+Q; Alt+F4", 0},
    {"", "Edit1", "Edit", "", kMenu},
    {"Edit1", "MMUndo", "Undo", "Ctrl+Z", 0},
    {"Edit1", "MMCleanUp", "Clean up", "", 0},
    {"Edit1", "MMLineUndo", "-", "", kSeparator},
    {"Edit1", "Cut1", "Cut", "Ctrl+X", 0},
    {"Edit1", "Copy1", "Copy", "Ctrl+C", 0},
    {"Edit1", "Paste1", "Paste", "Ctrl+V", 0},
    {"Edit1", "Delete1", "Delete", "Del; Shift+Del", 0},
    {"Edit1", "N2", "-", "", kSeparator},
    {"Edit1", "Rename1", "Rename...", "F2", 0},
    {"Edit1", "MMNewFolder", "New Folder...", "Ctrl+Shift+N", 0},
    {"Edit1", "MMProperties", "Properties...", "Alt+Return; Alt+Enter", 0},
    {"", "Ring1", "Ring", "", kMenu},
    {"Ring1", "MMRingNew", "New Ring", "", kMenu},
    {"MMRingNew", "N9", "-", "", kSeparator},
    {"MMRingNew", "MyDocuments1", "My Documents", "", 0},
    {"MMRingNew", "ProgramFiles1", "Program Files", "", 0},
    {"MMRingNew", "N4", "-", "", kSeparator},
    {"MMRingNew", "Directory1", "Directory...", "Ctrl+N", 0},
    {"Ring1", "N1", "-", "", kSeparator},
    {"Ring1", "MinimizeRing2", "Minimize Ring", "Ctrl+M", 0},
    {"Ring1", "ClosecurrentRing1", "Close Ring", "Ctrl+W; Ctrl+F4", 0},
    {"Ring1", "MMResetRingView", "Reset Ring View", "", 0},
    {"Ring1", "MMShowHidden", "Show Hidden Items", "", kMenu},
    {"Ring1", "MMLineLocation", "-", "", kSeparator},
    {"Ring1", "MMLocation", "Edit Location…", "Ctrl+L", 0},
    {"Ring1", "MMBack", "Back", "Alt+Left", 0},
    {"Ring1", "MMForward", "Forward", "Alt+Right", 0},
    {"Ring1", "N11", "-", "", kSeparator},
    {"Ring1", "NextRing1", "Next Ring", "Tab", kShortcutShownOnly},
    {"", "Display1", "Display", "", kMenu},
    {"Display1", "ComputeFileSizeautomatically1", "Compute File Size automatically", "", kCheck | kHidden},
    {"Display1", "N5", "-", "", kSeparator | kHidden},
    {"Display1", "MMDisplayHidden", "Display hidden Files", "Ctrl+H", kCheck},
    {"Display1", "MMSizeTrueRings", "Size-True Rings", "", kCheck},
    {"Display1", "MMSizeOnDisk", "Size on Disk", "", kCheck},
    {"Display1", "MMShowLegend", "Legend", "", kCheck},
    {"Display1", "MMRefresh", "Refresh", "F5", 0},
    {"Display1", "MMLineList", "-", "", kSeparator},
    {"Display1", "MMShowList", "List of Sizes", "F9", kCheck},
    {"Display1", "MMLineGrowth", "-", "", kSeparator},
    {"Display1", "MMShowGrowth", "Show Growth", "", kCheck},
    {"Display1", "MMGrowthSince", "Growth Since…", "", 0},
    {"Display1", "MMWhatGrew", "What Grew…", "", 0},
    {"", "MMFavorites", "Favorites", "", kMenu},
    {"MMFavorites", "MMFavoritesSeparator", "-", "", kSeparator},
    {"MMFavorites", "MMAddFavorite", "Add to Favorites", "Ctrl+D", 0},
    {"MMFavorites", "MMConfiguteFavorites", "Configure Favorites...", "", 0},
    {"", "MMViews", "Views", "", kMenu},
    {"MMViews", "MMViewsSeparator", "-", "", kSeparator},
    {"MMViews", "MMAllowMultiplyViews", "Allow Multiply Views", "", kCheck},
    {"MMViews", "MMGroupViews", "Group Views", "", kCheck | kHidden},
    {"MMViews", "MMDisplayUnboundElements", "Display unbound Elements", "", kCheck},
    {"MMViews", "N3", "-", "", kSeparator},
    {"MMViews", "MMConfigureViews", "Configure Views...", "", 0},
    {"", "Help1", "Help", "", kMenu},
    {"Help1", "Contents1", "Contents", "F1", 0},
    {"Help1", "N6", "-", "", kSeparator},
    {"Help1", "About1", "About...", "", 0},
};

constexpr ItemRow kPopUps[] = {
    {"ContextMenu", "CMOpen", "Open", "", 0},
    {"ContextMenu", "CMComputeSize", "Compute Size", "", kHidden},
    {"ContextMenu", "N7", "-", "", kSeparator},
    {"ContextMenu", "Cut2", "Cut", "Ctrl+X", 0},
    {"ContextMenu", "Copy2", "Copy", "Ctrl+C", 0},
    {"ContextMenu", "Paste2", "Paste", "Ctrl+V", 0},
    {"ContextMenu", "Delete2", "Delete", "Del", 0},
    {"ContextMenu", "CMLineRename", "-", "", kSeparator},
    {"ContextMenu", "CMRename", "Rename...", "F2", 0},
    {"ContextMenu", "CMHideFromRing", "Hide from Ring", "", 0},
    {"ContextMenu", "CMLineNew", "-", "", kSeparator},
    {"ContextMenu", "CMNew", "New", "", kMenu},
    {"CMNew", "CMNewFile", "File...", "", 0},
    {"CMNew", "CMNewFolder", "Folder...", "", 0},
    {"ContextMenu", "CMLineFolder", "-", "", kSeparator},
    {"ContextMenu", "CMExpand", "Expand/Collapse", "", 0},
    {"ContextMenu", "CMExpandAll", "Expand All", "", 0},
    {"ContextMenu", "CMNewRingFromFolder", "Create new Ring", "", 0},
    {"ContextMenu", "CMLineRoot", "-", "", kSeparator},
    {"ContextMenu", "CMRingMinimize", "Minimize Ring", "Ctrl+M", 0},
    {"ContextMenu", "CMRingClose", "Close Ring", "Ctrl+F4", 0},
    {"ContextMenu", "CMUpOneLevel", "Go Up One Level", "", 0},
    {"ContextMenu", "CMSmallItems", "Small Items", "", kMenu},
    {"CMSmallItems", "CMSmallItemsEnd", "-", "", kSeparator | kHidden},
    {"ContextMenu", "CMLineProperties", "-", "", kSeparator},
    {"ContextMenu", "CMProperties", "Properties...", "Alt+Return", 0},
    {"RingListContextMenu", "MaximizeRing1", "Maximize Ring", "", 0},
    {"RingListContextMenu", "CloseRing1", "Close Ring", "", 0},
    {"BackGroundContextMenu", "CMBGNewRing", "Add new Ring...", "Ctrl+N", 0},
    {"BackGroundContextMenu", "N12", "-", "", kSeparator},
    {"BackGroundContextMenu", "CMBGMinimizeRing", "Minimize Ring", "Ctrl+M", 0},
    {"BackGroundContextMenu", "CMBGCloseRing", "Close Ring", "Ctrl+F4", 0},
    {"BackGroundContextMenu", "CMBGLineRing", "-", "", kSeparator},
    {"BackGroundContextMenu", "CMBGCloseAll", "Close all", "", 0},
};

// The pop-up items whose visibility the cursor decides, with their menu.
struct VariableItem {
    QAMenuItem Item;
    const char* Name;
    QAMenu Menu;
};

constexpr VariableItem kVariableItems[] = {
    {QAMenuItem::CMBGMinimizeRing, "CMBGMinimizeRing", QAMenu::Background},
    {QAMenuItem::CMBGCloseRing, "CMBGCloseRing", QAMenu::Background},
    {QAMenuItem::CMBGLineRing, "CMBGLineRing", QAMenu::Background},
    {QAMenuItem::CMLineRename, "CMLineRename", QAMenu::Element},
    {QAMenuItem::CMRename, "CMRename", QAMenu::Element},
    {QAMenuItem::CMHideFromRing, "CMHideFromRing", QAMenu::Element},
    {QAMenuItem::CMLineFolder, "CMLineFolder", QAMenu::Element},
    {QAMenuItem::CMExpandAll, "CMExpandAll", QAMenu::Element},
    {QAMenuItem::CMLineNew, "CMLineNew", QAMenu::Element},
    {QAMenuItem::CMNew, "CMNew", QAMenu::Element},
    {QAMenuItem::CMExpand, "CMExpand", QAMenu::Element},
    {QAMenuItem::CMNewRingFromFolder, "CMNewRingFromFolder", QAMenu::Element},
    {QAMenuItem::CMLineRoot, "CMLineRoot", QAMenu::Element},
    {QAMenuItem::CMRingMinimize, "CMRingMinimize", QAMenu::Element},
    {QAMenuItem::CMRingClose, "CMRingClose", QAMenu::Element},
    {QAMenuItem::CMUpOneLevel, "CMUpOneLevel", QAMenu::Element},
    {QAMenuItem::CMSmallItems, "CMSmallItems", QAMenu::Element},
};

const char* PopUpName(QAMenu menu)
{
    switch (menu) {
    case QAMenu::Background:
        return "BackGroundContextMenu";
    case QAMenu::Element:
        return "ContextMenu";
    case QAMenu::RingList:
        break;
    }
    return "RingListContextMenu";
}

} // namespace

TMainMenus::TMainMenus(QMainWindow& window, CommandRunner runner) : Runner(std::move(runner))
{
    BuildMainMenu(window);
    BuildPopUps(window);
}

void TMainMenus::BuildMainMenu(QMainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    bar->setObjectName("MainMenu");
    for (const ItemRow& row : kMainMenu) {
        QMenu* parent = row.Parent[0] != '\0' ? Menus.at(row.Parent) : nullptr;
        if ((row.Flags & kMenu) != 0)
            AddMenu(parent, bar, row.Name, row.Caption);
        else
            AddItem(parent, row.Name, row.Caption, row.Shortcut, row.Flags);
    }
}

void TMainMenus::BuildPopUps(QMainWindow& window)
{
    for (QAMenu menu : {QAMenu::Element, QAMenu::RingList, QAMenu::Background})
        AddPopUp(window, PopUpName(menu));
    for (const ItemRow& row : kPopUps) {
        QMenu* parent = Menus.at(row.Parent);
        if ((row.Flags & kMenu) != 0)
            AddMenu(parent, nullptr, row.Name, row.Caption);
        else
            AddItem(parent, row.Name, row.Caption, row.Shortcut, row.Flags);
    }
}

QMenu* TMainMenus::AddMenu(QMenu* parent, QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* menu = parent != nullptr ? parent->addMenu(caption) : bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    Menus[name] = menu;
    Items[name] = menu->menuAction();
    return menu;
}

QMenu* TMainMenus::AddPopUp(QMainWindow& window, const char* name)
{
    auto* menu = new QMenu(&window);
    menu->setObjectName(name);
    Menus[name] = menu;
    return menu;
}

void TMainMenus::AddItem(QMenu* parent, const char* name, const char* caption, const char* shortcut, unsigned flags)
{
    QAction* item = (flags & kSeparator) != 0 ? parent->addSeparator() : parent->addAction(caption);
    item->setObjectName(name);
    item->setCheckable((flags & kCheck) != 0);
    item->setVisible((flags & kHidden) == 0);
    if ((flags & kShortcutShownOnly) != 0)
        item->setText(QString(caption) + '\t' + shortcut);
    else if (shortcut[0] != '\0')
        item->setShortcuts(QKeySequence::listFromString(shortcut));
    Items[name] = item;
}

QAction* TMainMenus::Item(const QString& name) const
{
    const auto found = Items.find(name);
    return found != Items.end() ? found->second : nullptr;
}

QMenu* TMainMenus::Menu(const QString& name) const
{
    const auto found = Menus.find(name);
    return found != Menus.end() ? found->second : nullptr;
}

QMenu* TMainMenus::PopUpMenu(QAMenu menu) const
{
    return Menu(PopUpName(menu));
}

std::vector<QMenu*> TMainMenus::AllMenus() const
{
    std::vector<QMenu*> menus;
    for (const auto& [name, menu] : Menus)
        menus.push_back(menu);
    return menus;
}

void TMainMenus::PopUp(QAMenu menu, const QAMenuItems& shown, QPoint at) const
{
    for (const VariableItem& variable : kVariableItems)
        if (variable.Menu == menu)
            Item(variable.Name)->setVisible(shown.contains(variable.Item));
    PopUpMenu(menu)->popup(at);
}

QString TMainMenus::ItemName(QAMenuItem item)
{
    for (const VariableItem& variable : kVariableItems)
        if (variable.Item == item)
            return variable.Name;
    return QString();
}

QString TMainMenus::DataCaption(const std::string& text)
{
    return QString::fromStdString(text).replace('&', "&&");
}

QAction* TMainMenus::DataAnchor(QADataMenu menu) const
{
    switch (menu) {
    case QADataMenu::Drives:
        return Item("N9");
    case QADataMenu::Views:
        return Item("MMViewsSeparator");
    case QADataMenu::SmallItems:
        return Item("CMSmallItemsEnd");
    case QADataMenu::Favorites:
        break;
    }
    return Item("MMFavoritesSeparator");
}

// The old items may be the one whose click is running now, so they go once it has returned.
void TMainMenus::FillMenu(QADataMenu menu, const std::vector<QAMenuEntry>& entries)
{
    QAction* anchor = DataAnchor(menu);
    QMenu* parent = qobject_cast<QMenu*>(anchor->parent());
    for (QAction* old : DataItems[menu]) {
        parent->removeAction(old);
        old->deleteLater();
    }
    DataItems[menu].clear();
    for (const QAMenuEntry& entry : entries) {
        auto* item = new QAction(DataCaption(entry.Caption), parent);
        item->setCheckable(entry.Tick != QATick::None);
        item->setChecked(entry.Tick == QATick::Ticked);
        QObject::connect(item, &QAction::triggered, item, [this, click = entry.Click] { Runner(click); });
        parent->insertAction(anchor, item);
        DataItems[menu].push_back(item);
    }
}
