#pragma once
// "Add to Favorites": the folder shown, a name proposed and chosen.
#include <string>

#include "forms/form_dialog.h"

class QLabel;
class QLineEdit;

class TFormAddFavorite : public TFormDialog {
public:
    explicit TFormAddFavorite(QWidget* parent);

    void Show(const std::string& folder, const std::string& name);
    std::string Name() const;

private:
    QLabel* STFolder = nullptr;  // owned by the dialog
    QLineEdit* EName = nullptr;  // owned by the dialog
};
