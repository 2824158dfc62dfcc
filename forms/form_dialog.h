#pragma once
// What every dialog of the program shares: a fixed-size frame, the results its buttons end it with,
// and its button row. Escape and the title-bar button end a dialog with Cancel.
#include <QDialog>

class QBoxLayout;
class QHBoxLayout;
class QPushButton;

// The results a dialog ends with, as its callers compare them.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrNo = 7, mrNoToAll = 9, mrYesToAll = 10 };

class TFormDialog : public QDialog {
public:
    TFormDialog(QWidget* parent, const char* objectName, const char* caption);

    // Shows the dialog modally; the result its button (or the title bar) ended it with.
    TModalResult Run();
    void reject() override;

protected:
    // A row of buttons at the bottom of `layout`, right-aligned; the frame takes its size from the
    // layout and keeps it.
    QHBoxLayout* AddButtonRow(QBoxLayout& layout);
    // A button that ends the dialog with `result`; OK asks CanClose first.
    QPushButton* AddButton(QHBoxLayout& row, const char* name, const char* caption, TModalResult result);
    // OK (the default button) and Cancel.
    void AddOkCancel(QBoxLayout& layout);
    // Asked before OK ends the dialog; false keeps it open.
    virtual bool CanClose() { return true; }
};
