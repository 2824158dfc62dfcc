#include "forms/side_panel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeView>

#include <algorithm>

#include "ring/element_main.h"
#include "ring/ring_main.h"

namespace {

constexpr int kDefaultWidths[kListColumns] = {200, 80, 110, 60, 60, 120};

// The share column: a bar as long as the element's share of the folder, under its percent.
class ShareDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const double share = std::clamp(index.data(kShareRole).toDouble(), 0.0, 1.0);
        QRect bar = option.rect.adjusted(2, 3, -2, -3);
        bar.setWidth(static_cast<int>(bar.width() * share));
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setOpacity(0.35);
        painter->fillRect(bar, option.palette.highlight());
        painter->restore();
    }
};

} // namespace

TSidePanel::TSidePanel(QWidget* parent) : QDockWidget("List", parent)
{
    setObjectName("SidePanel");
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("SidePanelTabs");
    ListModel = new TElementListModel(this);
    ListView = new QTreeView(tabs);
    ListView->setObjectName("ListView");
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true); // a folder of 100,000 rows scrolls without measuring each
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setDragEnabled(true);
    ListView->setDragDropMode(QAbstractItemView::DragOnly);
    ListView->setDefaultDropAction(Qt::CopyAction);
    ListView->setMouseTracking(true);
    ListView->setModel(ListModel);
    ListView->setItemDelegateForColumn(static_cast<int>(TListColumn::Share), new ShareDelegate(ListView));
    ListView->setSortingEnabled(true);
    ListView->header()->setSortIndicator(static_cast<int>(TListColumn::Size), Qt::DescendingOrder);
    ListView->header()->setSectionsMovable(false);
    for (int column = 0; column < kListColumns; ++column)
        ListView->setColumnWidth(column, kDefaultWidths[column]);
    ListView->installEventFilter(this);
    ListView->viewport()->installEventFilter(this);
    tabs->addTab(ListView, "Folder");
    LargestModel = new TLargestFilesModel(this);
    LargestView = new QTreeView(tabs);
    LargestView->setObjectName("LargestView");
    LargestView->setRootIsDecorated(false);
    LargestView->setUniformRowHeights(true);
    LargestView->setModel(LargestModel);
    LargestView->setColumnWidth(0, 300);
    tabs->addTab(LargestView, "Largest Files");
    TabPages = tabs;
    setWidget(tabs);
    connect(LargestView, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() < LargestModel->rowCount() && OnReveal)
            OnReveal(LargestModel->Files()[static_cast<std::size_t>(index.row())].Path);
    });
    connect(tabs, &QTabWidget::currentChanged, this, [this] { LargestRing = nullptr; });

    connect(ListView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { TakeSelection(); });
    connect(ListView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { TakeSelection(); });
    connect(ListView, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (QRElement* element = ListModel->ElementAt(index.row()); element != nullptr && OnActivate)
            OnActivate(element);
    });
    connect(ListView, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        if (OnHover)
            OnHover(ListModel->ElementAt(index.row()));
    });
}

bool TSidePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView->viewport() && event->type() == QEvent::Leave && OnHover)
        OnHover(nullptr);
    if (watched == ListView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        QRElement* element = ListModel->ElementAt(ListView->currentIndex().row());
        if (enter && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier && element != nullptr && OnActivate) {
            OnActivate(element);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void TSidePanel::Sync(QREFolder* folder, const QRElement* pointed)
{
    Syncing = true;
    const bool otherFolder = folder != ListModel->Folder();
    if (otherFolder) {
        ListModel->ShowFolder(folder);
        ListView->scrollToTop();
    } else {
        const int scrolled = ListView->verticalScrollBar()->value();
        ListModel->Refresh();
        ListView->verticalScrollBar()->setValue(scrolled);
    }
    if (otherFolder || SelectionDue())
        SelectFromElements();
    else
        Owed = true;
    ListModel->SetHot(pointed);
    SyncLargest(folder != nullptr ? folder->Ring : nullptr);
    Syncing = false;
}

void TSidePanel::SyncLargest(QOXRing* ring)
{
    constexpr qint64 kReadEvery = 1000; // milliseconds
    if (TabPages->currentWidget() != LargestView)
        return;
    const std::uint64_t layout = ring != nullptr ? ring->LayoutCount : 0;
    const bool changed = ring != LargestRing || layout != LargestLayout;
    if (!changed || (ring == LargestRing && SinceLargest.isValid() && SinceLargest.elapsed() < kReadEvery))
        return;
    LargestModel->Read(ring);
    LargestRing = ring;
    LargestLayout = layout;
    SinceLargest.start();
}

void TSidePanel::ElementFreed(const QRElement* element)
{
    ListModel->ElementFreed(element);
}

// A spinning ring draws every frame; the walk over a folder of a million rows for its marks would
// then cost each frame more than its drawing, so such a folder's marks are read a few times a second.
bool TSidePanel::SelectionDue() const
{
    constexpr int kRowsReadEveryFrame = 20000;
    constexpr qint64 kReadEvery = 250; // milliseconds
    return ListModel->rowCount() <= kRowsReadEveryFrame || !SinceSelectionRead.isValid() ||
           SinceSelectionRead.hasExpired(kReadEvery);
}

// Selected rows follow the elements' marks; only a difference touches the view's selection, and
// then each run of neighbouring rows is one range. A walk over the rows, never a question to the
// view per row.
void TSidePanel::SelectFromElements()
{
    SinceSelectionRead.start();
    Owed = false;
    QItemSelectionModel* selection = ListView->selectionModel();
    const std::vector<int> wanted = ListModel->SelectedRows();
    std::vector<int> shown;
    for (const QModelIndex& index : selection->selectedRows())
        shown.push_back(index.row());
    std::sort(shown.begin(), shown.end());
    if (wanted == shown)
        return;
    QItemSelection rows;
    for (std::size_t first = 0; first < wanted.size();) {
        std::size_t last = first;
        while (last + 1 < wanted.size() && wanted[last + 1] == wanted[last] + 1)
            ++last;
        rows.select(ListModel->index(wanted[first], 0), ListModel->index(wanted[last], kListColumns - 1));
        first = last + 1;
    }
    selection->select(rows, QItemSelectionModel::ClearAndSelect);
}

void TSidePanel::TakeSelection()
{
    if (Syncing || !OnSelect)
        return;
    std::vector<QRElement*> selected;
    for (const QModelIndex& index : ListView->selectionModel()->selectedRows())
        if (QRElement* element = ListModel->ElementAt(index.row()))
            selected.push_back(element);
    OnSelect(selected, ListModel->ElementAt(ListView->currentIndex().row()));
}

TSidePanelState TSidePanel::State() const
{
    TSidePanelState state;
    state.Shown = !isHidden();
    state.SortColumn = ListView->header()->sortIndicatorSection();
    state.Ascending = ListView->header()->sortIndicatorOrder() == Qt::AscendingOrder;
    for (int column = 0; column < kListColumns; ++column)
        state.ColumnWidths.push_back(ListView->columnWidth(column));
    return state;
}

void TSidePanel::Apply(const TSidePanelState& state)
{
    setVisible(state.Shown);
    const int column = std::clamp(state.SortColumn, 0, kListColumns - 1);
    ListView->sortByColumn(column, state.Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    for (std::size_t at = 0; at < state.ColumnWidths.size() && at < static_cast<std::size_t>(kListColumns); ++at)
        if (state.ColumnWidths[at] > 0)
            ListView->setColumnWidth(static_cast<int>(at), state.ColumnWidths[at]);
}
