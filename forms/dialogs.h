#pragma once
// The dialogs the application asks for, each shown modally over the main window and made anew for
// each showing: the new-ring dialog, the preferences, the about box, the add-favourite dialog and
// the views and favourites editors.
#include "app/app_links.h"

class QWidget;

class TFormWhatGrew;

class TDialogs : public QADialogLink {
public:
    // `parent` (not owned) is the main window.
    explicit TDialogs(QWidget* parent) : Parent(parent) {}

    QADialogResult NewRing(const std::vector<std::string>& folderBox, std::string& text) override;
    QADialogResult Preferences(QASettings& settings) override;
    void About(bool& bananaMode) override;
    QADialogResult AddFavorite(const std::string& folder, std::string& name) override;
    QADialogResult ConfigureViews(QOXViewEngine& views) override;
    QADialogResult ConfigureFavorites(QOXFavoriteEngine& favorites) override;
    QADialogResult ChooseGrowthSince(const std::vector<std::string>& choices, int& chosen) override;
    void ShowWhatGrew(const QAGrowthReport& report, std::function<void(const std::string&)> reveal) override;
    bool ChooseHistoryFile(const std::string& folder, std::string& path) override;

private:
    QWidget* Parent = nullptr;           // not owned
    TFormWhatGrew* WhatGrew = nullptr;   // owned by Parent once made; kept for the next report
};
