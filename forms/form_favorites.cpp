#include "forms/form_favorites.h"

#include "engine/qox_file.h"
#include "forms/form_edit_favorite.h"
#include "lists/favorite_main.h"

namespace {
constexpr TListEditorNames kNames{"LBFavorites", "BtnAdd", "BtnEdit", "BtnDelete", "BtnUp", "BtnDown"};
}

TFormFavorites::TFormFavorites(QWidget* parent, QOXFavoriteEngine& favorites)
    : TFormListEditor(parent, "TFormFavorites", "Configure Favorites", kNames), Favorites(favorites)
{
    FormActivate();
}

std::vector<std::string> TFormFavorites::ItemNames() const
{
    std::vector<std::string> names;
    for (int index = 0; index < Favorites.Count(); ++index)
        names.push_back(Favorites.GetFavorite(index)->GetName());
    return names;
}

void TFormFavorites::AddItem()
{
    TFormEditFavorite edit(this, Favorites);
    edit.Show("", "", nullptr);
    if (edit.Run() == mrOk)
        Favorites.AddFavorite(edit.Name())->Folder = edit.Folder();
}

void TFormFavorites::EditItem(int index)
{
    QFGeneric* favorite = Favorites.GetFavorite(index);
    TFormEditFavorite edit(this, Favorites);
    edit.Show(favorite->GetName(), favorite->Folder, favorite);
    if (edit.Run() != mrOk)
        return;
    favorite->SetName(edit.Name());
    favorite->Folder = QOXFileSystem::IncludeTrailingDelimiter(edit.Folder());
}

void TFormFavorites::DeleteItem(int index)
{
    Favorites.DeleteFavorite(index);
}

void TFormFavorites::SwapItems(int first, int second)
{
    Favorites.SwapFavorites(first, second);
}
