#include "forms/form_edit_favorite.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/form_fields.h"
#include "lists/favorite_main.h"

namespace {
constexpr int kFolderWidth = 320;
}

TFormEditFavorite::TFormEditFavorite(QWidget* parent, const QOXFavoriteEngine& favorites)
    : TFormDialog(parent, "TFormEditFavorite", "Edit Favorite"), Favorites(favorites)
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Favorite", this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Name:", group), 0, 0);
    EName = new QLineEdit(group);
    EName->setObjectName("EName");
    EName->setMaxLength(static_cast<int>(kStringName));
    grid->addWidget(EName, 0, 1, 1, 2);
    grid->addWidget(new QLabel("Folder:", group), 1, 0);
    EFolder = new QLineEdit(group);
    EFolder->setObjectName("EFolder");
    EFolder->setMinimumWidth(kFolderWidth);
    grid->addWidget(EFolder, 1, 1);
    auto* browse = new QPushButton("...", group);
    browse->setObjectName("BtnBrowse");
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, "Folder", EFolder->text());
        if (!folder.isEmpty())
            EFolder->setText(folder);
    });
    grid->addWidget(browse, 1, 2);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

void TFormEditFavorite::Show(const std::string& name, const std::string& folder, const QFGeneric* edited)
{
    PutText(*EName, name);
    PutText(*EFolder, folder);
    Edited = edited;
}

std::string TFormEditFavorite::Name() const
{
    return FieldText(*EName, kStringName);
}

std::string TFormEditFavorite::Folder() const
{
    return FolderText(EFolder->text());
}

bool TFormEditFavorite::CanClose()
{
    std::string folder = Folder();
    const bool accepted = Favorites.ConfirmEdit(Name(), folder, Edited);
    PutText(*EFolder, folder);
    return accepted;
}
