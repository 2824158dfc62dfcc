#include "forms/form_dialog.h"

#include <QBoxLayout>
#include <QPushButton>

TFormDialog::TFormDialog(QWidget* parent, const char* objectName, const char* caption) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

TModalResult TFormDialog::Run()
{
    return static_cast<TModalResult>(exec());
}

void TFormDialog::reject()
{
    done(mrCancel);
}

QHBoxLayout* TFormDialog::AddButtonRow(QBoxLayout& layout)
{
    layout.setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout();
    row->addStretch();
    layout.addLayout(row);
    return row;
}

QPushButton* TFormDialog::AddButton(QHBoxLayout& row, const char* name, const char* caption, TModalResult result)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    row.addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, result] {
        if (result != mrOk || CanClose())
            done(result);
    });
    return button;
}

void TFormDialog::AddOkCancel(QBoxLayout& layout)
{
    QHBoxLayout* row = AddButtonRow(layout);
    AddButton(*row, "BitBtn1", "OK", mrOk)->setDefault(true);
    AddButton(*row, "BitBtn2", "Cancel", mrCancel);
}
