#include "forms/dialogs.h"

#include "forms/form_about.h"
#include "forms/form_add_favorite.h"
#include "forms/form_favorites.h"
#include "forms/form_new_ring.h"
#include "forms/form_preferences.h"
#include "forms/form_views.h"

namespace {

QADialogResult ResultOf(TModalResult result)
{
    return result == mrOk ? QADialogResult::Ok : QADialogResult::Cancel;
}

} // namespace

QADialogResult TDialogs::NewRing(const std::vector<std::string>& folderBox, std::string& text)
{
    TFormRingNew form(Parent);
    form.FillRingBox(folderBox);
    const TModalResult result = form.Run();
    text = form.Text();
    return ResultOf(result);
}

QADialogResult TDialogs::Preferences(QASettings& settings)
{
    TFormPreferences form(Parent);
    form.LoadSettings(settings);
    const TModalResult result = form.Run();
    if (result == mrOk)
        form.TakeSettings(settings);
    return ResultOf(result);
}

void TDialogs::About(bool& bananaMode)
{
    TFormAbout form(Parent);
    form.SetBananaMode(bananaMode);
    form.Run();
    bananaMode = form.BananaMode();
}

QADialogResult TDialogs::AddFavorite(const std::string& folder, std::string& name)
{
    TFormAddFavorite form(Parent);
    form.Show(folder, name);
    const TModalResult result = form.Run();
    name = form.Name();
    return ResultOf(result);
}

QADialogResult TDialogs::ConfigureViews(QOXViewEngine& views)
{
    return ResultOf(TFormViews(Parent, views).Run());
}

QADialogResult TDialogs::ConfigureFavorites(QOXFavoriteEngine& favorites)
{
    return ResultOf(TFormFavorites(Parent, favorites).Run());
}
