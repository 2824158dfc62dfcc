#include "forms/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

TFindBar::TFindBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("FindBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel("Find:", this));
    Text = new QLineEdit(this);
    Text->setObjectName("FindText");
    layout->addWidget(Text, 1);
    Count = new QLabel(this);
    Count->setObjectName("FindCount");
    layout->addWidget(Count);
    Text->installEventFilter(this);
    connect(Text, &QLineEdit::textChanged, this, [this](const QString& text) { TextChanged(text); });
    hide();
}

void TFindBar::Open()
{
    show();
    Text->setFocus(Qt::ShortcutFocusReason);
    Text->selectAll();
    TextChanged(Text->text());
}

void TFindBar::Close()
{
    hide();
    if (OnClose)
        OnClose();
}

void TFindBar::TextChanged(const QString& text)
{
    const int found = OnFind ? OnFind(text.toStdString()) : 0;
    Count->setText(text.isEmpty() ? QString() : QString("%1 found").arg(found));
}

bool TFindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Text || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnNext)
            OnNext((key->modifiers() & Qt::ShiftModifier) != 0 ? QAStep::Back : QAStep::Forward);
        return true;
    case Qt::Key_Escape:
        Close();
        return true;
    case Qt::Key_Space:
        if ((key->modifiers() & Qt::ControlModifier) == 0)
            return false;
        if (OnToggleSelection)
            OnToggleSelection();
        return true;
    default:
        return false;
    }
}
