#include "forms/form_growth_since.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
constexpr int kListWidth = 280;
constexpr int kListHeight = 220;
}

TFormGrowthSince::TFormGrowthSince(QWidget* parent, const std::vector<std::string>& choices, int chosen)
    : TFormDialog(parent, "TFormGrowthSince", "Growth Since")
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Show the growth since:", this));
    LBCounts = new QListWidget(this);
    LBCounts->setObjectName("LBCounts");
    LBCounts->setMinimumSize(kListWidth, kListHeight);
    for (const std::string& choice : choices)
        LBCounts->addItem(QString::fromStdString(choice));
    LBCounts->setCurrentRow(chosen);
    connect(LBCounts, &QListWidget::itemDoubleClicked, this, [this] { done(mrOk); });
    layout->addWidget(LBCounts, 1);
    AddOkCancel(*layout);
}

int TFormGrowthSince::Chosen() const
{
    return LBCounts->currentRow();
}
