#pragma once
// The main window's menus: the main menu with every item, caption, shortcut, tick and hidden item,
// and the three pop-up menus the cursor opens. Every item and menu is found by its object name.
// The items the program fills from its data (drives, views, favourites) are rebuilt on request.
#include <QPoint>
#include <QString>

#include <functional>
#include <map>
#include <vector>

#include "app/app_links.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

class TMainMenus : public QAMenuBarLink {
public:
    // Runs a menu command: the window wraps each one (start-up done, no frame meanwhile).
    using CommandRunner = std::function<void(const std::function<void()>& command)>;

    // Builds the menu bar of `window` and the pop-up menus, all owned by the window.
    TMainMenus(QMainWindow& window, CommandRunner runner);

    QAction* Item(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    QMenu* PopUpMenu(QAMenu menu) const;
    // Every menu and submenu, the pop-ups included.
    std::vector<QMenu*> AllMenus() const;
    // Shows the items of `menu` that the cursor decides on as `shown` says, then pops it up at `at`
    // (screen pixels) without waiting for it to close.
    void PopUp(QAMenu menu, const QAMenuItems& shown, QPoint at) const;
    void FillMenu(QADataMenu menu, const std::vector<QAMenuEntry>& entries) override;

    // A data text as a caption: "&" shows as itself instead of marking a key.
    static QString DataCaption(const std::string& text);
    static QString ItemName(QAMenuItem item);

private:
    void AddItem(QMenu* parent, const char* name, const char* caption, const char* shortcut, unsigned flags);
    QMenu* AddMenu(QMenu* parent, QMenuBar* bar, const char* name, const char* caption);
    QMenu* AddPopUp(QMainWindow& window, const char* name);
    void BuildMainMenu(QMainWindow& window);
    void BuildPopUps(QMainWindow& window);
    QAction* DataAnchor(QADataMenu menu) const;

    CommandRunner Runner;
    std::map<QString, QAction*> Items; // owned by their menus
    std::map<QString, QMenu*> Menus;   // owned by the window
    std::map<QADataMenu, std::vector<QAction*>> DataItems; // owned by their menus
};
