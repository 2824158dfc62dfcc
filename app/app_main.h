#pragma once
// The application: the settings, the open rings and the current one, the views, and the ring-level
// operations that menus and the cursor call. It needs no window: the window, the scene and the
// cursor are reached through links that they set.
#include <memory>
#include <string>
#include <vector>

#include "app/app_links.h"
#include "app/app_settings.h"
#include "engine/qox_object.h"
#include "lists/favorite_main.h"
#include "lists/view_main.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"
#include "ring/ring_main.h"

class QASizes;

class QOXApp : public QOXObject, public QVDisplayListener {
    QOX_CLASS(QOXApp)
public:
    explicit QOXApp(QOXObject* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    std::string SettingsPath() const;

    // Opens a ring on an existing folder and makes it current; the ring already open on that
    // folder when equal rings are not allowed. None (with a message) for a missing folder or drive.
    QOXRing* CreateRing(const std::string& folder);
    void SetCurrentRing(QOXRing* ring);
    QOXRing* FindRing(const std::string& folder) const;
    QOXRing* RingAt(int index) const;
    void RefreshAll();
    // Refreshes one ring; false when its folder is gone, and the ring with it (no ring is then
    // current).
    bool RefreshRing(QOXRing* ring);
    // The rings' part of a frame: the sizes counted in the background and the changes seen on the
    // disk (when "CountFolderSizesInBackground" is on), every ring's Update in list order, then
    // the automatic refresh once "AutoRefreshTime" seconds of frame time have passed (never when
    // it is 0).
    void UpdateRings(float frameSeconds);
    void ApplyDisplayChange() override;
    void DeleteSelectedInCurrentRing();
    void CollectSelectedInCurrentRing(QRList<QRElement>& marked);
    void DeselectAllRings();
    // Frees a ring of the list (making no ring current first when it is the current one).
    void CloseRing(QOXRing* ring);
    void CloseAllRings();
    bool AllRingsMinimized() const;

    std::string DriveLabel(const std::string& path) const;
    static std::string SpecialFolder(const std::string& variable);
    static std::string DocumentsFolder();

    // Watchers are told about every element as it is freed (not owned; they unwatch themselves).
    void WatchElements(QRElementWatcher* watcher);
    void UnwatchElements(QRElementWatcher* watcher);
    void ElementFreed(const QRElement* element);
    void SetStatusText(QAStatusPanel panel, const std::string& text) const;
    void SetCaption(const std::string& caption) const;

    QASettings Settings;
    QXColor FolderColour = kDefaultFolderColour;
    QXColor FileColour = kDefaultFileColour;
    QOXRing* CurrentRing = nullptr; // not owned; one of Rings or none
    float RefreshClock = 0.0f;
    QRList<QOXRing>* Rings = nullptr; // owned as a child; owns the rings, in opening order
    QOXViewEngine* Views = nullptr;   // owned as a child
    QOXFavoriteEngine* Favorites = nullptr; // owned as a child; holds the recent folders

    QAWindowLink* Window = nullptr; // not owned; the main window
    QASceneLink* Scene = nullptr;   // not owned; the application scene
    QACursorLink* Cursor = nullptr; // not owned; the cursor
    QRDeletion* Deletion = nullptr; // not owned; the cursor's file operations
    // Owned; the background counting of folder sizes and the live rings, driven by UpdateRings.
    std::unique_ptr<QASizes> Sizes;

protected:
    ~QOXApp() override;
    void BeforeDestroy() override;

private:
    std::vector<QRElementWatcher*> Watchers; // not owned
};

// The one application of the process: set while it exists.
QOXApp* App();

// Shows the busy pointer for as long as it lives.
class QABusy {
public:
    explicit QABusy(const QOXApp& app);
    ~QABusy();
    QABusy(const QABusy&) = delete;
    QABusy& operator=(const QABusy&) = delete;

private:
    QAWindowLink* Window = nullptr; // not owned
};
