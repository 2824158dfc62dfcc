// The list beside the rings on a folder of 100,000 files (ORBIVANE_BENCH_DIR/flat-100000, made by
// bench/side-list), in a real window on the display: the folder opened in the list up to its
// first painted rows, a page scrolled and painted, and the once-a-frame sync while nothing
// changed. Beside each, the same step of a bare QTreeView over a table model of as many rows
// whose cells are constant texts: what Qt's view costs by itself, measured in the same run.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QMainWindow>
#include <QScrollBar>
#include <QTreeView>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "bench/bench_application.h"
#include "forms/side_panel.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

namespace {

constexpr int kRows = 100000;

std::string TreeFolder()
{
    return std::string(std::getenv("ORBIVANE_BENCH_DIR")) + "/flat-100000/";
}

// Qt's own floor: the rows exist only as a count, every cell is one constant text.
class ConstantModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kListColumns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(Cell.arg(index.row())) : QVariant();
    }
    void Fill(int rows)
    {
        beginResetModel();
        Rows = rows;
        endResetModel();
    }

private:
    int Rows = 0;
    const QString Cell = QStringLiteral("entry %1");
};

// One list in a shown window: the side panel on a scanned ring, or the bare view.
class ListWindow {
public:
    enum class Kind { SidePanel, BareView };

    explicit ListWindow(Kind kind) : TheKind(kind)
    {
        Window.resize(1024, 768);
        if (kind == Kind::SidePanel) {
            Ring = QOXNew<QOXRing>(TreeFolder());
            Ring->ResetView();
            Ring->Root->ExpandAll();
            Panel = new TSidePanel(&Window);
            Window.addDockWidget(Qt::RightDockWidgetArea, Panel);
            View = Panel->List();
        } else {
            View = new QTreeView(&Window);
            View->setUniformRowHeights(true);
            View->setRootIsDecorated(false);
            View->setModel(&Bare);
            Window.setCentralWidget(View);
        }
        Window.show();
        QApplication::processEvents();
    }
    ~ListWindow()
    {
        Empty();
        if (Ring != nullptr)
            Ring->Destroy();
    }
    ListWindow(const ListWindow&) = delete;
    ListWindow& operator=(const ListWindow&) = delete;

    void Empty()
    {
        if (TheKind == Kind::SidePanel)
            Panel->Sync(nullptr, nullptr);
        else
            Bare.Fill(0);
        Paint();
    }
    void Open()
    {
        if (TheKind == Kind::SidePanel)
            Panel->Sync(Ring->Root, nullptr);
        else
            Bare.Fill(kRows);
        Paint();
    }
    // One frame's sync with nothing changed (the bare view has nothing to do here).
    void SyncAgain()
    {
        if (TheKind == Kind::SidePanel)
            Panel->Sync(Ring->Root, nullptr);
    }
    void ScrollPage()
    {
        QScrollBar* bar = View->verticalScrollBar();
        bar->setValue(bar->value() + bar->pageStep() < bar->maximum() ? bar->value() + bar->pageStep() : 0);
        Paint();
    }
    int Rows() const { return View->model()->rowCount(); }

private:
    // The rows painted now, not at the next turn of the event loop.
    void Paint()
    {
        QApplication::processEvents();
        View->viewport()->repaint();
    }

    Kind TheKind;
    QMainWindow Window;
    QOXRing* Ring = nullptr;     // owned; destroyed with the window
    TSidePanel* Panel = nullptr; // owned by the window
    QTreeView* View = nullptr;   // owned by the window
    ConstantModel Bare;
};

ListWindow::Kind KindOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? ListWindow::Kind::SidePanel : ListWindow::Kind::BareView;
}

void OpenFolder(benchmark::State& state)
{
    Application application(true);
    ListWindow list(KindOf(state));
    for (auto _ : state) {
        state.PauseTiming();
        list.Empty();
        state.ResumeTiming();
        list.Open();
    }
    state.counters["rows"] = list.Rows();
}

void ScrollPage(benchmark::State& state)
{
    Application application(true);
    ListWindow list(KindOf(state));
    list.Open();
    for (auto _ : state)
        list.ScrollPage();
    state.counters["rows"] = list.Rows();
}

void SyncUnchanged(benchmark::State& state)
{
    Application application(true);
    ListWindow list(ListWindow::Kind::SidePanel);
    list.Open();
    for (auto _ : state)
        list.SyncAgain();
    state.counters["rows"] = list.Rows();
}

// Argument: 0 the side panel's list, 1 the bare view (the reference).
BENCHMARK(OpenFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScrollPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SyncUnchanged)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("ORBIVANE_BENCH_DIR") == nullptr) {
        std::cerr << "Set ORBIVANE_BENCH_DIR to a folder holding flat-100000 (bench/side-list makes it).\n";
        return 2;
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
