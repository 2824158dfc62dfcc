#include "forms/form_rename.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "forms/form_new_name.h"

TFormRename::TFormRename(QWidget* parent) : TFormDialog(parent, "TFormRename", "Rename Object")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("New Name", this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Old Name:", group), 0, 0);
    LOldName = new QLabel(group);
    LOldName->setObjectName("LOldName");
    LOldName->setTextFormat(Qt::PlainText);
    grid->addWidget(LOldName, 0, 1);
    EName = AddNameEdit(*group, *grid, 1);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

void TFormRename::Offer(const std::string& oldName)
{
    LOldName->setText(QString::fromStdString(oldName));
    EName->setText(QString::fromStdString(oldName));
    EName->selectAll();
}

std::string TFormRename::NewName() const
{
    return EName->text().toStdString();
}
