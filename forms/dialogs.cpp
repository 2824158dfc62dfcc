#include "forms/dialogs.h"

#include <QFileDialog>

#include "app/app_growth.h"
#include "forms/form_about.h"
#include "forms/form_growth_since.h"
#include "forms/form_what_grew.h"
#include "forms/what_grew_view.h"
#include "platform/size_history_store.h"
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

QAModalResult TDialogs::ChooseGrowthSince(const std::vector<std::string>& choices, int& chosen)
{
    TFormGrowthSince form(Parent, choices, chosen);
    const QAModalResult result = form.Run();
    if (result == QAModalResult::Ok)
        chosen = form.Chosen();
    return result;
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
