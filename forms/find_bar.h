#pragma once
// The find bar below the view: a line where a part of a name is typed, the count of the elements on
// the current ring whose names hold it, Enter and Shift+Enter to go to the next and the previous
// one, Ctrl+Space to select the element it went to, Escape to close it and give the keyboard back to
// the view.
#include <QWidget>

#include <functional>
#include <string>

#include "app/app_keyboard.h"

class QLabel;
class QLineEdit;

class TFindBar : public QWidget {
public:
    explicit TFindBar(QWidget* parent);

    // Shows the bar with the keyboard in its line, the text there selected.
    void Open();
    void Close();
    QLineEdit* Line() const { return Text; }
    QLabel* CountLabel() const { return Count; }

    // The matches of a text and how many there are; the next or previous match; the bar closed.
    std::function<int(const std::string& text)> OnFind;
    std::function<void(QAStep step)> OnNext;
    // Ctrl+Space: the element the bar went to is selected or deselected.
    std::function<void()> OnToggleSelection;
    std::function<void()> OnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextChanged(const QString& text);

    QLineEdit* Text = nullptr; // owned as a child widget
    QLabel* Count = nullptr;   // owned as a child widget
};
