#pragma once
// What the views and the favourites dialogs share: a list of names with Add, Edit, Delete, Up and
// Down beside it, working on the live list, and OK and Cancel below. A double click edits.
#include <string>
#include <vector>

#include "forms/form_dialog.h"

class QListWidget;

// The object names of a list editor's list and buttons.
struct TListEditorNames {
    const char* List;
    const char* Add;
    const char* Edit;
    const char* Delete;
    const char* Up;
    const char* Down;
};

class TFormListEditor : public TFormDialog {
public:
    TFormListEditor(QWidget* parent, const char* objectName, const char* caption, const TListEditorNames& names);

    // Fills the list with the names in list order, keeping the selected index.
    void FormActivate();

protected:
    virtual std::vector<std::string> ItemNames() const = 0;
    // Each returns after the list has changed (or not); the list is filled again afterwards.
    virtual void AddItem() = 0;
    virtual void EditItem(int index) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void SwapItems(int first, int second) = 0;

    int Selected() const;
    void Select(int index);

private:
    void EditSelected();
    void MoveSelected(int step);

    QListWidget* List = nullptr; // owned by the dialog
};
