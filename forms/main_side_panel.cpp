// The main window's side of the list beside the rings: which folder it lists, what the user does
// in it reaching the cursor, its menu item (F9) and its state in the settings.
#include <QAction>
#include <QStringList>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_file.h"
#include "forms/form_properties.h"
#include "forms/main.h"
#include "forms/side_panel.h"
#include "presentation/gl_scene_app.h"
#include "ring/ring_main.h"

namespace {

std::string WidthsText(const std::vector<int>& widths)
{
    QStringList parts;
    for (const int width : widths)
        parts.push_back(QString::number(width));
    return parts.join(',').toStdString();
}

std::vector<int> WidthsOf(const std::string& text)
{
    std::vector<int> widths;
    for (const QString& part : QString::fromStdString(text).split(',', Qt::SkipEmptyParts))
        widths.push_back(part.trimmed().toInt());
    return widths;
}

} // namespace

void TFormMain::ConnectSidePanel()
{
    QAction* item = MainMenus->Item("MMShowList");
    item->setChecked(true);
    connect(item, &QAction::triggered, this, [this](bool shown) { SidePanel->setVisible(shown); });
    // Closed by its own button, the panel unticks its item; the window closing leaves it ticked.
    connect(SidePanel, &QDockWidget::visibilityChanged, this, [this, item] {
        ListedFrame = -1; // shown again, the list catches up with what changed while it was hidden
        if (isVisible())
            item->setChecked(!SidePanel->isHidden());
    });
    SidePanel->OnSelect = [this](const std::vector<QRElement*>& selected, QRElement* current) {
        RunCommand([this, selected, current] {
            Application->DeselectAllRings();
            for (QRElement* element : selected)
                element->Selected = true;
            QRElement* anchor = current != nullptr ? current : (selected.empty() ? nullptr : selected.front());
            if (anchor == nullptr)
                return;
            Application->TheCursor->SetCurrent(anchor);
            Application->TheCursor->AnchorElement = anchor;
        });
    };
    SidePanel->OnActivate = [this](QRElement* element) {
        RunCommand([this, element] {
            Application->TheCursor->SetCurrent(element);
            Application->TheCursor->OpenElement();
        });
    };
    SidePanel->OnReveal = [this](const std::string& path) {
        RunCommand([this, path] {
            if (Application->CurrentRing != nullptr)
                Application->RevealPath(Application->CurrentRing->Folder, path);
        });
    };
    SidePanel->OnHover = [this](QRElement* element) {
        if (Started() && Application->SceneApp != nullptr) {
            Application->SceneApp->RowElement = element;
            Application->Picture.Invalidate();
        }
    };
}

void TFormMain::SyncSidePanel()
{
    if (!Started() || SidePanel->isHidden())
        return;
    // Whatever the list shows (rows, sizes, selection, the pointed row) changes the picture too, so
    // a tick that drew nothing has nothing new for it: a ring of a million entries at rest costs
    // no walk over its rows.
    QREFolder* folder = Application->TheCursor->FolderOfCursor();
    if (Application->DrawnFrames == ListedFrame && folder == SidePanel->Model().Folder() && !SidePanel->SelectionOwed())
        return;
    ListedFrame = Application->DrawnFrames;
    const QRElement* pointed = Application->SceneApp != nullptr ? Application->SceneApp->PointedElement : nullptr;
    SidePanel->Sync(folder, pointed);
}

void TFormMain::KeepSidePanelState()
{
    const TSidePanelState state = SidePanel->State();
    QASettings& settings = Application->Settings;
    settings.ListShown = state.Shown;
    settings.ListSortColumn = state.SortColumn;
    settings.ListSortAscending = state.Ascending;
    settings.ListColumnWidths = WidthsText(state.ColumnWidths);
}

void TFormMain::ApplySidePanelState(const QASettings& settings)
{
    SidePanel->Apply({settings.ListShown, settings.ListSortColumn, settings.ListSortAscending, WidthsOf(settings.ListColumnWidths)});
    MainMenus->Item("MMShowList")->setChecked(settings.ListShown);
}

// Alt+Enter: the properties of the cursor's element, or of the folder it is in.
void TFormMain::ShowProperties()
{
    QRElement* element = Application->TheCursor->CurrentElement;
    if (element == nullptr || element->Ring != Application->CurrentRing)
        element = Application->TheCursor->FolderOfCursor();
    if (element == nullptr)
        return;
    const std::string path = QOXFileSystem::ExcludeTrailingDelimiter(element->FullPath());
    const std::int64_t counted = element->IsFolder() && element->SizeKnown() ? element->Size : -1;
    TFormProperties(this, path, counted).Run();
}
