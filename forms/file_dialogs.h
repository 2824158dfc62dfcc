#pragma once
// What the file commands ask of the window: the delete confirmation, the rename and new-name
// dialogs, the overwrite dialog and the progress window, each shown over the main window. Every
// dialog is made anew for each question; the progress window lives while an operation shows it.
#include <memory>

#include "app/app_links.h"
#include "platform/file_operation.h"

class QWidget;
class TFormProgress;

class TFileDialogs : public QAFileDialogs, public platform::OverwritePrompt, public platform::ProgressView {
public:
    // `parent` (not owned) is the main window.
    explicit TFileDialogs(QWidget* parent);
    ~TFileDialogs() override;

    QAModalResult ConfirmDelete(const std::string& text) override;
    QAModalResult AskRename(const std::string& oldName, QANamePart part, std::string& newName) override;
    QAModalResult AskNewName(const std::string& caption, std::string& name) override;

    platform::OverwriteAnswer Ask(const platform::OverwriteQuestion& question) override;

    void Show() override;
    void Report(const platform::ProgressReport& report) override;
    void Hide() override;
    // Until the progress window shows, the user's input waits, so no command starts in the middle
    // of an operation; once it shows, it is modal and only its Cancel takes input.
    void ProcessEvents() override;
    bool CancelRequested() const override;

    // Owned; the progress window while it is shown, else none.
    std::unique_ptr<TFormProgress> Progress;

private:
    QWidget* Parent = nullptr; // not owned
};
