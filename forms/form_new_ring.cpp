#include "forms/form_new_ring.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/qox_constant.h"

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

std::string TFormRingNew::Text() const
{
    return CutText(CBName->currentText().toStdString(), kStringL);
}
