#include "forms/dialogs.h"

#include <QFileDialog>

#include "app/app_growth.h"
#include "forms/form_about.h"
#include "forms/form_growth_since.h"
#include "forms/form_what_grew.h"
#include "forms/what_grew_view.h"
#include "platform/size_history_store.h"
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

QADialogResult TDialogs::ChooseGrowthSince(const std::vector<std::string>& choices, int& chosen)
{
    TFormGrowthSince form(Parent, choices, chosen);
    const TModalResult result = form.Run();
    if (result == mrOk)
        chosen = form.Chosen();
    return ResultOf(result);
}

void TDialogs::ShowWhatGrew(const QAGrowthReport& report, std::function<void(const std::string&)> reveal)
{
    if (WhatGrew == nullptr)
        WhatGrew = new TFormWhatGrew(Parent);
    WhatGrew->View->SetReport(report);
    WhatGrew->View->Reveal = std::move(reveal);
    WhatGrew->show();
    WhatGrew->raise();
}

bool TDialogs::ChooseHistoryFile(const std::string& folder, std::string& path)
{
    QFileDialog dialog(Parent, "Open Size History", QString::fromStdString(folder),
                       QString("Size histories (*") + platform::kHistoryExtension + ");;All files (*)");
    dialog.setObjectName("OpenSizeHistoryDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().front().toStdString();
    return true;
}
