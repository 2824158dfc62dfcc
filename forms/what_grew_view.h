#pragma once
// "What grew": the entries of a ring that grew most since a recorded count, each with its size then,
// its size now and the change, largest first. A widget of its own, so that a dialog shows it now
// and a tab of a side panel can show it later; activating an entry (a click, Return) asks for it
// to be shown in the ring.
#include <functional>
#include <string>

#include <QWidget>

#include "app/app_growth.h"

class QLabel;
class QTableWidget;

class TWhatGrewView : public QWidget {
public:
    explicit TWhatGrewView(QWidget* parent);

    void SetReport(const QAGrowthReport& report);
    // Called with the entry's path (relative to the ring's folder) when the user activates it.
    std::function<void(const std::string& path)> Reveal;

private:
    void Activated(int row);

    QLabel* Summary = nullptr;     // owned by the widget
    QTableWidget* Entries = nullptr; // owned by the widget
};
