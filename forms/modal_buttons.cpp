#include "forms/modal_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

QHBoxLayout* AddButtonRow(QBoxLayout& layout)
{
    layout.setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout();
    row->addStretch();
    layout.addLayout(row);
    return row;
}

QPushButton* AddResultButton(QDialog& dialog, QHBoxLayout& row, const char* name, const QString& caption,
                             QAModalResult result)
{
    auto* button = new QPushButton(caption, &dialog);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row.addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, result] { dialog.done(static_cast<int>(result)); });
    return button;
}

void AddOkCancel(QDialog& dialog, QBoxLayout& layout)
{
    QHBoxLayout* row = AddButtonRow(layout);
    AddResultButton(dialog, *row, "BitBtn1", "OK", QAModalResult::Ok)->setDefault(true);
    AddResultButton(dialog, *row, "BitBtn2", "Cancel", QAModalResult::Cancel);
}

// QDialog::reject (Escape, the title bar's close button) ends with 0.
QAModalResult RunModal(QDialog& dialog)
{
    const int result = dialog.exec();
    return result == QDialog::Rejected ? QAModalResult::Cancel : static_cast<QAModalResult>(result);
}
