#include "forms/form_new_ring.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "forms/form_fields.h"

namespace {
constexpr int kBoxWidth = 360;
}

TFormRingNew::TFormRingNew(QWidget* parent) : TFormDialog(parent, "TFormRingNew", "Create new Ring from Directory")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Directory Name", this);
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("Name:", group));
    CBName = new QComboBox(group);
    CBName->setObjectName("CBName");
    CBName->setEditable(true);
    CBName->setInsertPolicy(QComboBox::NoInsert);
    CBName->setMinimumWidth(kBoxWidth);
    CBName->installEventFilter(this);
    CBName->lineEdit()->installEventFilter(this);
    row->addWidget(CBName, 1);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

void TFormRingNew::FillRingBox(const std::vector<std::string>& entries)
{
    CBName->clear();
    for (const std::string& entry : entries)
        CBName->addItem(QString::fromStdString(entry));
    CBName->setCurrentIndex(-1);
    CBName->setEditText(QString());
}

bool TFormRingNew::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched != CBName && watched != CBName->lineEdit()) || event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    done(mrOk);
    return true;
}

std::string TFormRingNew::Text() const
{
    return FolderText(CBName->currentText());
}
