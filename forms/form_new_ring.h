#pragma once
// The new-ring dialog: a folder typed or chosen from the favourite names, the favourite folders
// and the recent folders.
#include <string>
#include <vector>

#include "forms/form_dialog.h"

class QComboBox;

class TFormRingNew : public TFormDialog {
public:
    explicit TFormRingNew(QWidget* parent);

    // The folder box's list, in the order given; the text starts empty.
    void FillRingBox(const std::vector<std::string>& entries);
    std::string Text() const;

private:
    QComboBox* CBName = nullptr; // owned by the dialog
};
