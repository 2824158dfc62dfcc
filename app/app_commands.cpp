// The application's part in the main menu's commands: the new-ring and preferences dialogs, the
// about box, the manual, the ring view, the ticked settings, and the Views and Favorites menus.
#include <algorithm>

#include "app/app_main.h"

#include <string_view>

#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "platform/directory_listing.h"
#include "presentation/gl_scene_app.h"
#include "ring/ring_measure.h"
#include "resources/gl_textureengine.h"

namespace {

constexpr const char* kManualName = "orbivane";
constexpr const char* kManualExtension = "html";

// The list editors work on the live list. OK keeps the edits in the file, which it creates when it
// is missing; anything else puts back the list as the editor found it (the file may be missing or
// older than the list, so it is not read back).
template <class ListEngine, class Edit>
void KeepOrRestore(ListEngine& list, const char* file, Edit&& edit)
{
    const auto before = list.Snapshot();
    if (edit() == QAModalResult::Ok)
        list.Save(file, lists::ListFileSave::CreateMissing);
    else
        list.Restore(before);
}

} // namespace

void QOXApp::HideFromRing()
{
    QRElement* current = TheCursor != nullptr ? TheCursor->CurrentElement : nullptr;
    if (current == nullptr || current->IsRoot())
        return;
    QOXRing* ring = current->Ring;
    std::vector<QRElement*> hidden{current};
    if (current->Selected && ring == CurrentRing) {
        const QOXPtr<QRList<QRElement>> selected =
            QOXMake<QRList<QRElement>>(nullptr, QRList<QRElement>::Uniqueness::Unique, QRList<QRElement>::Ownership::References);
        ring->CollectSelected(*selected);
        hidden.assign(selected->begin(), selected->end());
    }
    QREFolder* parent = current->Parent;
    for (QRElement* element : hidden)
        ring->Hidden.Hide(*ring, *element);
    TheCursor->SetCurrent(parent);
    ring->Relayout();
}

std::vector<std::string> QOXApp::HiddenItems() const
{
    if (CurrentRing == nullptr)
        return {};
    return {CurrentRing->Hidden.Items().begin(), CurrentRing->Hidden.Items().end()};
}

void QOXApp::ShowHiddenItem(const std::string& relative)
{
    if (CurrentRing != nullptr && CurrentRing->Hidden.Show(*CurrentRing, relative))
        CurrentRing->Relayout();
}

void QOXApp::ShowAllHiddenItems()
{
    for (const std::string& relative : HiddenItems())
        ShowHiddenItem(relative);
}

// A favourite's name, in any letter case, stands for its folder.
void QOXApp::NewRingDialog()
{
    std::string text;
    if (Dialogs == nullptr || Dialogs->NewRing(Favorites->RingBoxEntries(), text) != QAModalResult::Ok)
        return;
    const std::string favorite = Favorites->FindFolderByName(text);
    std::string folder = favorite.empty() ? text : favorite;
    if (!folder.empty())
        folder = QOXFileSystem::IncludeTrailingDelimiter(folder);
    if (!platform::IsDirectory(folder)) {
        Engine()->Message("Could not find directory \"" + folder + "\"!");
        return;
    }
    CreateRing(folder, QAScan::AcrossFrames);
}

void QOXApp::Preferences()
{
    QASettings edited = Settings;
    if (Dialogs == nullptr || Dialogs->Preferences(edited) != QAModalResult::Ok)
        return;
    ApplyPreferenceLimits(edited);
    edited.ShadowMapSize = GLTextureEngine::PowerOfTwo(std::max(edited.ShadowMapSize, 1));
    const QASettings before = Settings;
    Settings = edited;
    FollowSizeSettings(before);
    if (Window != nullptr)
        Window->SettingsLoaded(Settings); // the menu ticks of the settings the page also shows
    if (SceneApp != nullptr) {
        MakeContextCurrent();
        SceneApp->ResizeShadowMap();
    }
    SaveSettings();
}

void QOXApp::About()
{
    if (Dialogs != nullptr)
        Dialogs->About(Settings.BananaMode);
}

void QOXApp::ShowContents() const
{
    QOXFileSystem* files = Engine()->FileSystem;
    const std::string manual = files->MakePath(kManualName, kManualExtension);
    if (files->FileExists(manual, QOXFileSystem::ReportMissing) && !files->ShellOpen(manual))
        Engine()->Message("The manual \"" + manual + "\" could not be opened: this desktop has no program set up " +
                          "to show web pages. Open it in a web browser.");
}

void QOXApp::ResetRingView()
{
    if (CurrentRing != nullptr)
        CurrentRing->ResetView();
}

// What is shown changes with the hidden-files and unbound-elements ticks, how rings are sized with
// the size ticks; the rings follow at once.
void QOXApp::SetToggle(QAToggle toggle, bool on)
{
    const QASettings before = Settings;
    ToggleField(Settings, toggle) = on;
    if (toggle == QAToggle::DisplayHiddenFiles || toggle == QAToggle::DisplayUnboundElements)
        ApplyDisplayChange();
    FollowSizeSettings(before);
}

void QOXApp::FollowSizeSettings(const QASettings& before)
{
    if (before.SizeOnDisk != Settings.SizeOnDisk) {
        QABusy busy(*this);
        for (QOXRing* ring : *Rings)
            RemeasureRing(*ring);
    } else if (before.SizeTrueRings != Settings.SizeTrueRings || before.ShowFreeSpace != Settings.ShowFreeSpace) {
        for (QOXRing* ring : *Rings)
            ring->Relayout();
    }
}

void QOXApp::BuildViewsMenu()
{
    std::vector<QAMenuEntry> entries;
    for (int index = 0; index < Views->Count(); ++index) {
        QVGeneric* view = Views->GetView(index);
        entries.push_back({view->GetName(), view->Enabled ? QATick::Ticked : QATick::Unticked,
                           [this, view] { ToggleView(view); }});
    }
    if (MenuBar != nullptr)
        MenuBar->FillMenu(QADataMenu::Views, entries);
}

// The menu is rebuilt whenever the views change, so its items name views that exist; the check
// keeps a stray click harmless all the same.
void QOXApp::ToggleView(QVGeneric* view)
{
    for (int index = 0; index < Views->Count(); ++index) {
        if (Views->GetView(index) != view)
            continue;
        view->Toggle(Settings.AllowMultiplyViews ? ViewSelection::Multiple : ViewSelection::Single);
        BuildViewsMenu();
        return;
    }
}

void QOXApp::BuildFavoritesMenu()
{
    std::vector<QAMenuEntry> entries;
    for (int index = 0; index < Favorites->Count(); ++index) {
        const QFGeneric* favorite = Favorites->GetFavorite(index);
        entries.push_back({favorite->GetName(), QATick::None,
                           [this, folder = favorite->Folder] { CreateRing(folder, QAScan::AcrossFrames); }});
    }
    if (MenuBar != nullptr)
        MenuBar->FillMenu(QADataMenu::Favorites, entries);
}

void QOXApp::ConfigureViews()
{
    if (Dialogs == nullptr)
        return;
    // Edited and restored views load their textures.
    MakeContextCurrent();
    KeepOrRestore(*Views, "views", [this] { return Dialogs->ConfigureViews(*Views); });
    BuildViewsMenu();
}

void QOXApp::ConfigureFavorites()
{
    if (Dialogs == nullptr)
        return;
    KeepOrRestore(*Favorites, "favorites", [this] { return Dialogs->ConfigureFavorites(*Favorites); });
    BuildFavoritesMenu();
}

void QOXApp::AddCurrentToFavorites()
{
    if (CurrentRing == nullptr || Dialogs == nullptr)
        return;
    const std::string folder = CurrentRing->Folder;
    if (!Favorites->CanAddFolder(folder))
        return;
    std::string name = QOXFavoriteEngine::ProposedName(folder);
    if (Dialogs->AddFavorite(folder, name) == QAModalResult::Ok) {
        Favorites->AddFavorite(name)->Folder = folder;
        Favorites->Save("favorites");
    }
    BuildFavoritesMenu();
}
