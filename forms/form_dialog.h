#pragma once
// What every dialog of the program shares: a fixed-size frame, the results its buttons end it with
// (QAModalResult, the one set of results), and its button row. Escape and the title-bar button end
// a dialog with Cancel.
#include <QDialog>

#include "app/app_links.h"

class QBoxLayout;
class QHBoxLayout;
class QPushButton;

class TFormDialog : public QDialog {
public:
    TFormDialog(QWidget* parent, const char* objectName, const char* caption);

    // Shows the dialog modally; the result its button (or the title bar) ended it with.
    QAModalResult Run();
    void reject() override;

protected:
    // A row of buttons at the bottom of `layout`, right-aligned; the frame takes its size from the
    // layout and keeps it.
    QHBoxLayout* AddButtonRow(QBoxLayout& layout);
    // A button that ends the dialog with `result`; OK asks CanClose first. Return presses the
    // default button, never the one that happens to have the keyboard.
    QPushButton* AddButton(QHBoxLayout& row, const char* name, const QString& caption, QAModalResult result);
    // OK (the default button, "BitBtn1") and Cancel ("BitBtn2").
    void AddOkCancel(QBoxLayout& layout);
    // Asked before OK ends the dialog; false keeps it open.
    virtual bool CanClose() { return true; }
};
