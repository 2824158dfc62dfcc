#pragma once
// A favourite's name and folder. OK closes the dialog only when the favourite engine accepts them
// (a name, an existing folder no other favourite has); the folder is shown with its final "/".
#include <string>

#include "forms/form_dialog.h"

class QFGeneric;
class QLineEdit;
class QOXFavoriteEngine;

class TFormEditFavorite : public TFormDialog {
public:
    // `favorites` (not owned) judges what is typed.
    TFormEditFavorite(QWidget* parent, const QOXFavoriteEngine& favorites);

    // `edited` (may be none: a new favourite) does not count as another favourite with the folder.
    void Show(const std::string& name, const std::string& folder, const QFGeneric* edited);
    std::string Name() const;
    std::string Folder() const;

protected:
    bool CanClose() override;

private:
    const QOXFavoriteEngine& Favorites;
    const QFGeneric* Edited = nullptr; // not owned
    QLineEdit* EName = nullptr;        // owned by the dialog
    QLineEdit* EFolder = nullptr;      // owned by the dialog
};
