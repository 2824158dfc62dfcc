#pragma once
// The application with its dialogs answered by the test and its data menus recorded.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/app_growth.h"
#include "app/app_main.h"
#include "tests/support/app_fixture.h"

// The dialogs as a user would answer them: each answer is set by the test, each call recorded.
class ScriptedDialogs : public QADialogLink {
public:
    QAModalResult NewRing(const std::vector<std::string>& folderBox, std::string& text) override
    {
        Box = folderBox;
        text = Typed;
        return Answer;
    }
    QAModalResult Preferences(QASettings& settings) override
    {
        if (EditSettings)
            EditSettings(settings);
        return Answer;
    }
    void About(bool& bananaMode) override
    {
        ShownBanana = bananaMode;
        bananaMode = Ticked;
    }
    QAModalResult AddFavorite(const std::string& folder, std::string& name) override
    {
        AddedFolders.push_back(folder);
        Proposed = name;
        name = Typed;
        return Answer;
    }
    QAModalResult ConfigureViews(QOXViewEngine& views) override
    {
        views.DeleteView(0);
        return Answer;
    }
    QAModalResult ConfigureFavorites(QOXFavoriteEngine& favorites) override
    {
        favorites.AddFavorite("edited")->Folder = "/";
        return Answer;
    }
    QAModalResult ChooseGrowthSince(const std::vector<std::string>& choices, int& chosen) override
    {
        Choices = choices;
        ChoiceShown = chosen;
        chosen = Choice;
        return Answer;
    }
    void ShowWhatGrew(const QAGrowthReport& report, std::function<void(const std::string&)> reveal) override
    {
        Report = report;
        Reveal = std::move(reveal);
    }
    bool ChooseHistoryFile(const std::string& folder, std::string& path) override
    {
        HistoryFolder = folder;
        path = Typed;
        return Answer == QAModalResult::Ok;
    }

    QAModalResult Answer = QAModalResult::Ok;
    std::string Typed;
    bool Ticked = false;
    std::function<void(QASettings&)> EditSettings;
    std::vector<std::string> Box;
    std::vector<std::string> AddedFolders;
    std::string Proposed;
    bool ShownBanana = false;
    std::vector<std::string> Choices;
    int ChoiceShown = -1;
    int Choice = 0;
    std::optional<QAGrowthReport> Report;
    std::function<void(const std::string&)> Reveal;
    std::string HistoryFolder;
};

class CommandTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        TheApp->Dialogs = &Dialogs;
        TheApp->MenuBar = &MenuBar;
    }
    std::string LastBox() const { return Desktop.Boxes.empty() ? std::string() : Desktop.Boxes.back().Text; }

    ScriptedDialogs Dialogs;
    RecordingMenuBar MenuBar;
};
