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
    // The folder typed, whole, with "~" read as the home folder.
    std::string Text() const;

protected:
    // Return in the box opens what it shows, a completed folder too: the completion would take the
    // first Return for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* CBName = nullptr; // owned by the dialog
};
