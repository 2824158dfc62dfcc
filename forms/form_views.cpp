#include "forms/form_views.h"

#include "forms/form_view_edit.h"
#include "lists/view_main.h"

namespace {
constexpr TListEditorNames kNames{"LBViews", "BtnViewAdd", "BtnViewEdit", "BtnViewDelete", "BtnUp", "BtnDown"};
}

TFormViews::TFormViews(QWidget* parent, QOXViewEngine& views)
    : TFormListEditor(parent, "TFormViews", "Configure Views", kNames), Views(views)
{
    FormActivate();
}

std::vector<std::string> TFormViews::ItemNames() const
{
    std::vector<std::string> names;
    for (int index = 0; index < Views.Count(); ++index)
        names.push_back(Views.GetView(index)->GetName());
    return names;
}

void TFormViews::AddItem()
{
    Views.AddView("New View");
    FormActivate();
    Select(Views.Count() - 1);
    EditItem(Views.Count() - 1);
}

void TFormViews::EditItem(int index)
{
    QVGeneric* view = Views.GetView(index);
    TFormViewEdit edit(this);
    edit.LoadView(*view);
    if (edit.Run() == mrOk)
        edit.TakeView(*view);
}

void TFormViews::DeleteItem(int index)
{
    Views.DeleteView(index);
}

void TFormViews::SwapItems(int first, int second)
{
    Views.SwapViews(first, second);
}
