#pragma once
// The new-name dialog of New File and New Folder: an empty edit for the name, under the caller's
// caption.
#include "forms/form_dialog.h"

#include <string>

class QGridLayout;
class QLineEdit;

// The "New Name:" row at `row` of `grid`: the label and the edit EName. Names are never cut here:
// the edit takes far more than 255 characters and the system refuses one too long.
QLineEdit* AddNameEdit(QWidget& group, QGridLayout& grid, int row);

class TFormNewName : public TFormDialog {
public:
    explicit TFormNewName(QWidget* parent);

    // Replaces the caption and empties EName.
    void Ask(const std::string& caption);
    std::string Name() const;

    QLineEdit* EName = nullptr; // owned by the dialog
};
