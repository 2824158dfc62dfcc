#include "forms/form_list_editor.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kListWidth = 240;
constexpr int kListHeight = 220;
}

TFormListEditor::TFormListEditor(QWidget* parent, const char* objectName, const char* caption,
                                 const TListEditorNames& names)
    : TFormDialog(parent, objectName, caption)
{
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout();
    layout->addLayout(row);
    List = new QListWidget(this);
    List->setObjectName(names.List);
    List->setFixedSize(kListWidth, kListHeight);
    row->addWidget(List);
    connect(List, &QListWidget::itemDoubleClicked, this, [this] { EditSelected(); });
    auto* buttons = new QVBoxLayout();
    row->addLayout(buttons);
    const auto button = [&](const char* name, const char* text, auto&& click) {
        auto* pushButton = new QPushButton(text, this);
        pushButton->setObjectName(name);
        buttons->addWidget(pushButton);
        connect(pushButton, &QPushButton::clicked, this, click);
    };
    button(names.Add, "Add", [this] {
        AddItem();
        FormActivate();
    });
    button(names.Edit, "Edit", [this] { EditSelected(); });
    button(names.Delete, "Delete", [this] {
        DeleteItem(Selected());
        FormActivate();
    });
    button(names.Up, "Up", [this] { MoveSelected(-1); });
    button(names.Down, "Down", [this] { MoveSelected(1); });
    buttons->addStretch();
    AddOkCancel(*layout);
}

void TFormListEditor::FormActivate()
{
    const int selected = Selected();
    List->clear();
    for (const std::string& name : ItemNames())
        List->addItem(QString::fromStdString(name));
    // The first item when none was selected, so that Edit and Delete act without a click first.
    Select(std::min(std::max(selected, 0), List->count() - 1));
}

int TFormListEditor::Selected() const
{
    return List->currentRow();
}

void TFormListEditor::Select(int index)
{
    List->setCurrentRow(index);
}

void TFormListEditor::EditSelected()
{
    if (Selected() < 0)
        return;
    EditItem(Selected());
    FormActivate();
}

// Never past either end; the selection goes with the item.
void TFormListEditor::MoveSelected(int step)
{
    const int from = Selected();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= List->count())
        return;
    SwapItems(from, to);
    Select(to);
    FormActivate();
}
