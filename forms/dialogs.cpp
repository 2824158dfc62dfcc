#include "forms/dialogs.h"

#include "forms/form_about.h"
#include "forms/form_add_favorite.h"
#include "forms/form_list_editor.h"
#include "forms/form_new_ring.h"
#include "forms/form_preferences.h"

QAModalResult TDialogs::NewRing(const std::vector<std::string>& folderBox, std::string& text)
{
    TFormRingNew form(Parent);
    form.FillRingBox(folderBox);
    const QAModalResult result = form.Run();
    text = form.Text();
    return result;
}

QAModalResult TDialogs::Preferences(QASettings& settings)
{
    TFormPreferences form(Parent);
    form.LoadSettings(settings);
    const QAModalResult result = form.Run();
    if (result == QAModalResult::Ok)
        form.TakeSettings(settings);
    return result;
}

void TDialogs::About(bool& bananaMode)
{
    TFormAbout form(Parent);
    form.SetBananaMode(bananaMode);
    form.Run();
    bananaMode = form.BananaMode();
}

QAModalResult TDialogs::AddFavorite(const std::string& folder, std::string& name)
{
    TFormAddFavorite form(Parent);
    form.Show(folder, name);
    const QAModalResult result = form.Run();
    name = form.Name();
    return result;
}

QAModalResult TDialogs::ConfigureViews(QOXViewEngine& views)
{
    return TFormListEditor(Parent, ViewsEditor(views)).Run();
}

QAModalResult TDialogs::ConfigureFavorites(QOXFavoriteEngine& favorites)
{
    return TFormListEditor(Parent, FavoritesEditor(favorites)).Run();
}
