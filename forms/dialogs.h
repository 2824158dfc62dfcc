#pragma once
// The dialogs the application asks for, shown modally over the main window: the new-ring dialog,
// the preferences, the about box and the add-favourite dialog. The views and favourites editors
// are not built yet: they say so and change nothing.
#include "app/app_links.h"

class QWidget;

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

private:
    QADialogResult NotBuiltYet(const char* caption) const;

    QWidget* Parent = nullptr; // not owned
};
