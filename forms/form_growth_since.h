#pragma once
// "Growth Since": the count the growth view compares with, "Previous count" or one of the counts
// the current ring's history holds.
#include <string>
#include <vector>

#include "forms/form_dialog.h"

class QListWidget;

class TFormGrowthSince : public TFormDialog {
public:
    // `chosen` is the choice in use, shown selected.
    TFormGrowthSince(QWidget* parent, const std::vector<std::string>& choices, int chosen);

    int Chosen() const;

private:
    QListWidget* LBCounts = nullptr; // owned by the dialog
};
