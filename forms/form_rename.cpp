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

void TFormRename::Offer(const std::string& oldName, QANamePart part)
{
    const QString name = QString::fromStdString(oldName);
    LOldName->setText(name);
    EName->setText(name);
    if (part == QANamePart::Stem)
        EName->setSelection(0, StemLength(name));
    else
        EName->selectAll();
}

int TFormRename::StemLength(const QString& name)
{
    qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return static_cast<int>(name.size());
    if (dot > 4 && name.left(dot).endsWith(".tar", Qt::CaseInsensitive))
        dot -= 4;
    return static_cast<int>(dot);
}

std::string TFormRename::NewName() const
{
    return EName->text().toStdString();
}
