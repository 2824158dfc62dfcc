#pragma once
// The rename dialog: the old name, and an edit for the new one that starts with the old name.
#include "forms/form_dialog.h"

#include <string>

class QLabel;
class QLineEdit;

class TFormRename : public TFormDialog {
public:
    explicit TFormRename(QWidget* parent);

    // Shows `oldName` in LOldName and as the text of EName, all of it selected for typing over.
    void Offer(const std::string& oldName);
    std::string NewName() const;

    QLabel* LOldName = nullptr; // owned by the dialog
    QLineEdit* EName = nullptr; // owned by the dialog
};
