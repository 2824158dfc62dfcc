#pragma once
// "Configure Favorites": the favourites in their order, added, edited, deleted and moved on the
// live list; the caller keeps or undoes the edits after the dialog.
#include "forms/form_list_editor.h"

class QOXFavoriteEngine;

class TFormFavorites : public TFormListEditor {
public:
    // `favorites` (not owned) is the list edited.
    TFormFavorites(QWidget* parent, QOXFavoriteEngine& favorites);

protected:
    std::vector<std::string> ItemNames() const override;
    void AddItem() override;
    void EditItem(int index) override;
    void DeleteItem(int index) override;
    void SwapItems(int first, int second) override;

private:
    QOXFavoriteEngine& Favorites;
};
