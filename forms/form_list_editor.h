#pragma once
// The one list editor of the program: a list of names with Add, Edit, Delete, Up and Down beside
// it, working on a live list, and OK and Cancel below; a double click edits. What it lists and how
// an item is added or edited is its configuration: the views (ViewsEditor) or the favourites
// (FavoritesEditor).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/form_dialog.h"

class QListWidget;
class QOXFavoriteEngine;
class QOXViewEngine;

// The object names of the editor, its list and its buttons.
struct TListEditorNames {
    const char* Dialog;
    const char* Caption;
    const char* List;
    const char* Add;
    const char* Edit;
    const char* Delete;
    const char* Up;
    const char* Down;
};

// What the editor works on. Each call returns after the list has changed (or not); the list shown
// is filled again afterwards. `editor` is the parent of the dialogs a call opens.
struct TListEditorSetup {
    TListEditorNames Names;
    std::function<std::vector<std::string>()> ItemNames;
    // Adds an item; the index of one that is to be edited at once, or none.
    std::function<std::optional<int>(QWidget& editor)> Add;
    std::function<void(QWidget& editor, int index)> Edit;
    std::function<void(int index)> Delete;
    std::function<void(int first, int second)> Swap;
};

// "Configure Views": a new view is named "New View" and edited at once.
TListEditorSetup ViewsEditor(QOXViewEngine& views);
// "Configure Favorites": a new favourite is added only when its edit dialog accepts it.
TListEditorSetup FavoritesEditor(QOXFavoriteEngine& favorites);

class TFormListEditor : public TFormDialog {
public:
    // The lists the setup works on are not owned and outlive the dialog.
    TFormListEditor(QWidget* parent, TListEditorSetup setup);

    // Fills the list with the names in list order, keeping the selected index.
    void FormActivate();

private:
    int Selected() const;
    void Select(int index);
    void AddSelected();
    void EditSelected();
    void DeleteSelected();
    void MoveSelected(int step);

    TListEditorSetup Setup;
    QListWidget* List = nullptr; // owned by the dialog
};
