#pragma once
// The buttons of the file dialogs: each ends its dialog with a modal result; Escape and the
// title bar end it with Cancel.
#include "app/app_links.h"

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QString;

// A row for buttons at the bottom of `layout`, right-aligned; the dialog keeps the layout's size.
QHBoxLayout* AddButtonRow(QBoxLayout& layout);
QPushButton* AddResultButton(QDialog& dialog, QHBoxLayout& row, const char* name, const QString& caption,
                             QAModalResult result);
// OK (the default button, "BitBtn1") and Cancel ("BitBtn2").
void AddOkCancel(QDialog& dialog, QBoxLayout& layout);
// Shows `dialog` modally and gives the result it ended with.
QAModalResult RunModal(QDialog& dialog);
