#include "forms/form_progress.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPathWidth = 360;

QLabel* AddPathLabel(QWidget& group, QGridLayout& grid, int row, const char* caption, const char* name)
{
    grid.addWidget(new QLabel(caption, &group), row, 0);
    auto* label = new QLabel(&group);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFixedWidth(kPathWidth);
    grid.addWidget(label, row, 1);
    return label;
}

// A long path keeps its end, where the name is.
QString Elided(const QLabel& label, const std::string& path)
{
    return label.fontMetrics().elidedText(QString::fromStdString(path), Qt::ElideMiddle, label.width());
}

} // namespace

TFormProgress::TFormProgress(QWidget* parent) : TFormDialog(parent, "TFormProgress", "Progress")
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* group = new QGroupBox("File Progress", this);
    auto* grid = new QGridLayout(group);
    LSrcFile = AddPathLabel(*group, *grid, 0, "From:", "LSrcFile");
    LDestFile = AddPathLabel(*group, *grid, 1, "To:", "LDestFile");
    ProgressBar = new QProgressBar(group);
    ProgressBar->setObjectName("ProgressBar");
    grid->addWidget(ProgressBar, 2, 0, 1, 2);
    layout->addWidget(group);
    BitBtn1 = new QPushButton("Cancel", this);
    BitBtn1->setObjectName("BitBtn1");
    layout->addWidget(BitBtn1, 0, Qt::AlignRight);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Cancelled = true; });
}

void TFormProgress::Start()
{
    Cancelled = false;
    LSrcFile->clear();
    LDestFile->clear();
    ProgressBar->setRange(0, 0);
    show();
}

void TFormProgress::Report(const platform::ProgressReport& report)
{
    LSrcFile->setText(Elided(*LSrcFile, report.From));
    LDestFile->setText(Elided(*LDestFile, report.To));
    if (report.Total <= 0) {
        ProgressBar->setRange(0, 0);
        return;
    }
    ProgressBar->setRange(0, kBarSteps);
    ProgressBar->setValue(static_cast<int>(report.Done * kBarSteps / report.Total));
}

void TFormProgress::reject()
{
    Cancelled = true;
}
