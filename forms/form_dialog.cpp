#include "forms/form_dialog.h"

#include <QBoxLayout>
#include <QPushButton>

TFormDialog::TFormDialog(QWidget* parent, const char* objectName, const char* caption) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

// QDialog's own rejection (0) never ends a dialog here: reject gives Cancel.
QAModalResult TFormDialog::Run()
{
    const int result = exec();
    return result == QDialog::Rejected ? QAModalResult::Cancel : static_cast<QAModalResult>(result);
}

void TFormDialog::reject()
{
    done(static_cast<int>(QAModalResult::Cancel));
}

QHBoxLayout* TFormDialog::AddButtonRow(QBoxLayout& layout)
{
    layout.setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout();
    row->addStretch();
    layout.addLayout(row);
    return row;
}

QPushButton* TFormDialog::AddButton(QHBoxLayout& row, const char* name, const QString& caption, QAModalResult result)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row.addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, result] {
        if (result != QAModalResult::Ok || CanClose())
            done(static_cast<int>(result));
    });
    return button;
}

void TFormDialog::AddOkCancel(QBoxLayout& layout)
{
    QHBoxLayout* row = AddButtonRow(layout);
    AddButton(*row, "BitBtn1", "OK", QAModalResult::Ok)->setDefault(true);
    AddButton(*row, "BitBtn2", "Cancel", QAModalResult::Cancel);
}
