#pragma once
// The overwrite dialog: an entry of the incoming name is in the target folder already. Its buttons
// end it with the answers of a file operation: Yes 1, Cancel 2, No 7, No To All 9, Yes To All 10.
#include "forms/form_dialog.h"
#include "platform/file_operation.h"

class QLabel;

class TFormOverwrite : public TFormDialog {
public:
    explicit TFormOverwrite(QWidget* parent);

    // Shows the question and waits for the answer; Escape and the title bar answer Cancel.
    platform::OverwriteAnswer Ask(const platform::OverwriteQuestion& question);

    QLabel* LName = nullptr;    // owned by the dialog; the entry in the way
    QLabel* LOldSize = nullptr; // owned by the dialog
    QLabel* LNewSize = nullptr; // owned by the dialog

private:
    void Show(const platform::OverwriteQuestion& question);
};
