#include "forms/form_add_favorite.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "forms/form_fields.h"

TFormAddFavorite::TFormAddFavorite(QWidget* parent) : TFormDialog(parent, "TFormAddFavorite", "Add Favorite")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Favorite", this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Folder:", group), 0, 0);
    STFolder = new QLabel(group);
    STFolder->setObjectName("STFolder");
    grid->addWidget(STFolder, 0, 1);
    grid->addWidget(new QLabel("Name:", group), 1, 0);
    EName = new QLineEdit(group);
    EName->setObjectName("EName");
    EName->setMaxLength(static_cast<int>(kStringName));
    grid->addWidget(EName, 1, 1);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

void TFormAddFavorite::Show(const std::string& folder, const std::string& name)
{
    STFolder->setText(QString::fromStdString(folder));
    PutText(*EName, name);
    EName->selectAll();
}

std::string TFormAddFavorite::Name() const
{
    return FieldText(*EName, kStringName);
}
