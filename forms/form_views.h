#pragma once
// "Configure Views": the views in their order, added, edited, deleted and moved on the live list;
// the caller keeps or undoes the edits after the dialog.
#include "forms/form_list_editor.h"

class QOXViewEngine;

class TFormViews : public TFormListEditor {
public:
    // `views` (not owned) is the list edited.
    TFormViews(QWidget* parent, QOXViewEngine& views);

protected:
    std::vector<std::string> ItemNames() const override;
    // A view named "New View", then its edit dialog.
    void AddItem() override;
    void EditItem(int index) override;
    void DeleteItem(int index) override;
    void SwapItems(int first, int second) override;

private:
    QOXViewEngine& Views;
};
