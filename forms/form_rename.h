#pragma once
// The rename dialog: the old name, and an edit for the new one that starts with the old name.
#include "forms/form_dialog.h"

#include <string>

class QLabel;
class QLineEdit;

class TFormRename : public TFormDialog {
public:
    explicit TFormRename(QWidget* parent);

    // Shows `oldName` in LOldName and as the text of EName, `part` of it selected for typing over.
    void Offer(const std::string& oldName, QANamePart part = QANamePart::Whole);
    // The length of the name without its extension: up to the last ".", before ".tar" of a
    // compressed archive too; the whole name when it has no extension or is a hidden name's.
    static int StemLength(const QString& name);
    std::string NewName() const;

    QLabel* LOldName = nullptr; // owned by the dialog
    QLineEdit* EName = nullptr; // owned by the dialog
};
