#include "forms/form_new_name.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int kEditWidth = 280;
}

QLineEdit* AddNameEdit(QWidget& group, QGridLayout& grid, int row)
{
    grid.addWidget(new QLabel("New Name:", &group), row, 0);
    auto* edit = new QLineEdit(&group);
    edit->setObjectName("EName");
    edit->setMinimumWidth(kEditWidth);
    grid.addWidget(edit, row, 1);
    return edit;
}

TFormNewName::TFormNewName(QWidget* parent) : TFormDialog(parent, "TFormNewName", "Name Object")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("New Name", this);
    auto* grid = new QGridLayout(group);
    EName = AddNameEdit(*group, *grid, 0);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

void TFormNewName::Ask(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
    EName->clear();
}

std::string TFormNewName::Name() const
{
    return EName->text().toStdString();
}
