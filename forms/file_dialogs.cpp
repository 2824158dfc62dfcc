#include "forms/file_dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "forms/form_new_name.h"
#include "forms/form_overwrite.h"
#include "forms/form_progress.h"
#include "forms/form_rename.h"

TFileDialogs::TFileDialogs(QWidget* parent) : Parent(parent) {}

TFileDialogs::~TFileDialogs() = default;

QAModalResult TFileDialogs::ConfirmDelete(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, "Confirm", QString::fromStdString(text),
                    QMessageBox::Ok | QMessageBox::Cancel, Parent);
    box.setObjectName("DeleteConfirmation");
    box.setTextFormat(Qt::RichText);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? QAModalResult::Ok : QAModalResult::Cancel;
}

QAModalResult TFileDialogs::AskRename(const std::string& oldName, QANamePart part, std::string& newName)
{
    TFormRename dialog(Parent);
    dialog.Offer(oldName, part);
    const QAModalResult result = dialog.Run();
    newName = dialog.NewName();
    return result;
}

QAModalResult TFileDialogs::AskNewName(const std::string& caption, std::string& name)
{
    TFormNewName dialog(Parent);
    dialog.Ask(caption);
    const QAModalResult result = dialog.Run();
    name = dialog.Name();
    return result;
}

// The progress window, when shown, stays behind the question until it is answered.
platform::OverwriteAnswer TFileDialogs::Ask(const platform::OverwriteQuestion& question)
{
    TFormOverwrite dialog(Progress != nullptr ? static_cast<QWidget*>(Progress.get()) : Parent);
    return dialog.Ask(question);
}

void TFileDialogs::Show()
{
    Progress = std::make_unique<TFormProgress>(Parent);
    Progress->Start();
}

void TFileDialogs::Report(const platform::ProgressReport& report)
{
    if (Progress != nullptr)
        Progress->Report(report);
}

void TFileDialogs::Hide()
{
    Progress.reset();
}

void TFileDialogs::ProcessEvents()
{
    QCoreApplication::processEvents(Progress != nullptr ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

bool TFileDialogs::CancelRequested() const
{
    return Progress != nullptr && Progress->CancelPressed();
}
