#include "forms/form_list_editor.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "engine/qox_file.h"
#include "forms/form_edit_favorite.h"
#include "forms/form_view_edit.h"
#include "lists/favorite_main.h"
#include "lists/view_main.h"

namespace {

constexpr int kListWidth = 240;
constexpr int kListHeight = 220;
constexpr const char* kNewViewName = "New View";

} // namespace

TListEditorSetup ViewsEditor(QOXViewEngine& views)
{
    TListEditorSetup setup;
    setup.Names = {"TFormViews", "Configure Views", "LBViews", "BtnViewAdd", "BtnViewEdit", "BtnViewDelete", "BtnUp", "BtnDown"};
    setup.ItemNames = [&views] {
        std::vector<std::string> names;
        for (int index = 0; index < views.Count(); ++index)
            names.push_back(views.GetView(index)->GetName());
        return names;
    };
    setup.Add = [&views](QWidget&) -> std::optional<int> {
        views.AddView(kNewViewName);
        return views.Count() - 1;
    };
    setup.Edit = [&views](QWidget& editor, int index) {
        QVGeneric* view = views.GetView(index);
        TFormViewEdit edit(&editor);
        edit.LoadView(*view);
        if (edit.Run() == QAModalResult::Ok)
            edit.TakeView(*view);
    };
    setup.Delete = [&views](int index) { views.DeleteView(index); };
    setup.Swap = [&views](int first, int second) { views.SwapViews(first, second); };
    return setup;
}

TListEditorSetup FavoritesEditor(QOXFavoriteEngine& favorites)
{
    TListEditorSetup setup;
    setup.Names = {"TFormFavorites", "Configure Favorites", "LBFavorites", "BtnAdd", "BtnEdit", "BtnDelete", "BtnUp", "BtnDown"};
    setup.ItemNames = [&favorites] {
        std::vector<std::string> names;
        for (int index = 0; index < favorites.Count(); ++index)
            names.push_back(favorites.GetFavorite(index)->GetName());
        return names;
    };
    setup.Add = [&favorites](QWidget& editor) -> std::optional<int> {
        TFormEditFavorite edit(&editor, favorites);
        edit.Show("", "", nullptr);
        if (edit.Run() == QAModalResult::Ok)
            favorites.AddFavorite(edit.Name())->Folder = edit.Folder();
        return std::nullopt;
    };
    setup.Edit = [&favorites](QWidget& editor, int index) {
        QFGeneric* favorite = favorites.GetFavorite(index);
        TFormEditFavorite edit(&editor, favorites);
        edit.Show(favorite->GetName(), favorite->Folder, favorite);
        if (edit.Run() != QAModalResult::Ok)
            return;
        favorite->SetName(edit.Name());
        favorite->Folder = QOXFileSystem::IncludeTrailingDelimiter(edit.Folder());
    };
    setup.Delete = [&favorites](int index) { favorites.DeleteFavorite(index); };
    setup.Swap = [&favorites](int first, int second) { favorites.SwapFavorites(first, second); };
    return setup;
}

TFormListEditor::TFormListEditor(QWidget* parent, TListEditorSetup setup)
    : TFormDialog(parent, setup.Names.Dialog, setup.Names.Caption), Setup(std::move(setup))
{
    const TListEditorNames& names = Setup.Names;
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout();
    layout->addLayout(row);
    List = new QListWidget(this);
    List->setObjectName(names.List);
    List->setFixedSize(kListWidth, kListHeight);
    row->addWidget(List);
    connect(List, &QListWidget::itemDoubleClicked, this, [this] { EditSelected(); });
    auto* buttons = new QVBoxLayout();
    row->addLayout(buttons);
    const auto button = [&](const char* name, const char* text, auto&& click) {
        auto* pushButton = new QPushButton(text, this);
        pushButton->setObjectName(name);
        pushButton->setAutoDefault(false);
        buttons->addWidget(pushButton);
        connect(pushButton, &QPushButton::clicked, this, click);
    };
    button(names.Add, "Add", [this] { AddSelected(); });
    button(names.Edit, "Edit", [this] { EditSelected(); });
    button(names.Delete, "Delete", [this] { DeleteSelected(); });
    button(names.Up, "Up", [this] { MoveSelected(-1); });
    button(names.Down, "Down", [this] { MoveSelected(1); });
    buttons->addStretch();
    AddOkCancel(*layout);
    FormActivate();
}

void TFormListEditor::FormActivate()
{
    const int selected = Selected();
    List->clear();
    for (const std::string& name : Setup.ItemNames())
        List->addItem(QString::fromStdString(name));
    // The first item when none was selected, so that Edit and Delete act without a click first.
    Select(std::min(std::max(selected, 0), List->count() - 1));
}

int TFormListEditor::Selected() const
{
    return List->currentRow();
}

void TFormListEditor::Select(int index)
{
    List->setCurrentRow(index);
}

void TFormListEditor::AddSelected()
{
    const std::optional<int> added = Setup.Add(*this);
    FormActivate();
    if (!added)
        return;
    Select(*added);
    EditSelected();
}

void TFormListEditor::EditSelected()
{
    if (Selected() < 0)
        return;
    Setup.Edit(*this, Selected());
    FormActivate();
}

void TFormListEditor::DeleteSelected()
{
    if (Selected() < 0)
        return;
    Setup.Delete(Selected());
    FormActivate();
}

// Never past either end; the selection goes with the item.
void TFormListEditor::MoveSelected(int step)
{
    const int from = Selected();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= List->count())
        return;
    Setup.Swap(from, to);
    Select(to);
    FormActivate();
}
