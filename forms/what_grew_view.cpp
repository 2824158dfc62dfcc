#include "forms/what_grew_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/date_text.h"
#include "presentation/gl_scene_app.h"

namespace {

enum Column { kPath, kBefore, kAfter, kChange, kColumns };
constexpr int kPathWidth = 360;

std::string ChangeText(std::int64_t before, std::int64_t after)
{
    const std::int64_t change = after - before;
    std::string text = (change < 0 ? "-" : "+") + SizeText(change < 0 ? -change : change);
    if (before > 0)
        text += " (" + std::string(change < 0 ? "" : "+") + std::to_string(change * 100 / before) + " %)";
    return text;
}

// A size cell that sorts by the number, not by its text.
QTableWidgetItem* SizeItem(const std::string& text, std::int64_t bytes)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setData(Qt::UserRole, static_cast<qlonglong>(bytes));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TWhatGrewView::TWhatGrewView(QWidget* parent) : QWidget(parent)
{
    setObjectName("TWhatGrewView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Summary = new QLabel(this);
    Summary->setObjectName("LSummary");
    Summary->setWordWrap(true);
    layout->addWidget(Summary);
    Entries = new QTableWidget(0, kColumns, this);
    Entries->setObjectName("TEntries");
    Entries->setHorizontalHeaderLabels({"Path", "Before", "After", "Change"});
    Entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    Entries->setSelectionMode(QAbstractItemView::SingleSelection);
    Entries->verticalHeader()->hide();
    Entries->horizontalHeader()->setStretchLastSection(true);
    Entries->setColumnWidth(kPath, kPathWidth);
    layout->addWidget(Entries, 1);
    connect(Entries, &QTableWidget::cellClicked, this, [this](int row, int) { Activated(row); });
    connect(Entries, &QTableWidget::cellActivated, this, [this](int row, int) { Activated(row); });
}

void TWhatGrewView::SetReport(const QAGrowthReport& report)
{
    Summary->setText(QString::fromStdString(report.Folder + " since " + platform::DayMonthYearText(report.Since) + ": " +
                                            SizeText(report.Before) + " then, " + SizeText(report.After) + " now, " +
                                            ChangeText(report.Before, report.After)));
    Entries->setRowCount(0);
    Entries->setRowCount(static_cast<int>(report.Rows.size()));
    for (int row = 0; row < Entries->rowCount(); ++row) {
        const QAGrowthRow& entry = report.Rows[static_cast<std::size_t>(row)];
        auto* path = new QTableWidgetItem(QString::fromStdString(entry.Path));
        path->setData(Qt::UserRole, QString::fromStdString(entry.Path));
        Entries->setItem(row, kPath, path);
        Entries->setItem(row, kBefore, SizeItem(entry.New ? "new" : SizeText(entry.Before), entry.Before));
        Entries->setItem(row, kAfter, SizeItem(SizeText(entry.After), entry.After));
        Entries->setItem(row, kChange, SizeItem(ChangeText(entry.Before, entry.After), entry.After - entry.Before));
    }
}

void TWhatGrewView::Activated(int row)
{
    const QTableWidgetItem* path = Entries->item(row, kPath);
    if (path != nullptr && Reveal)
        Reveal(path->data(Qt::UserRole).toString().toStdString());
}
