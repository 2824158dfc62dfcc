#pragma once
// The dialogs' edit fields as the engine converts them: numbers are written and read with "." as
// the decimal mark whatever the locale, and a text that is not a number of the field's kind leaves
// the value as it was. Also the colour group (three component fields and a colour panel), the
// colour dialog on such a group, and the memo that shows a script record.
#include <string>
#include <vector>

#include "engine/qox_constant.h"

class QLineEdit;
class QString;
class QPlainTextEdit;
class QWidget;

void PutFloat(QLineEdit& edit, float value);
void PutInt(QLineEdit& edit, int value);
void PutText(QLineEdit& edit, const std::string& text);
// Replaces `value` only when the field holds a number of its kind that the value can hold.
void ReadFloat(const QLineEdit& edit, float& value);
void ReadInt(const QLineEdit& edit, int& value);
// The field's text cut to `limit` characters (kStringName or kStringL).
std::string FieldText(const QLineEdit& edit, std::size_t limit);
// A folder typed in a field: never cut (a cut path would name another folder), "~" read as the
// home folder.
std::string FolderText(const QString& text);

// Three fields for red, green and blue (0 to 1) and a panel painted in their colour.
struct TColorGroup {
    QLineEdit* Red = nullptr;   // not owned; the dialog's
    QLineEdit* Green = nullptr; // not owned
    QLineEdit* Blue = nullptr;  // not owned
    QWidget* Panel = nullptr;   // not owned
};
void PutColor(const TColorGroup& group, const QXColor& colour);
// Each field that holds a number replaces its component; the panel shows the result.
void ReadColor(const TColorGroup& group, QXColor& colour);
// The colour dialog, opened on the group's colour; a chosen colour goes into the fields and the
// panel and the focus to the red field. False when the user cancels.
bool PickColor(const TColorGroup& group, QWidget* parent);

// A script record in a memo, one line each, in a small fixed-width font; and the memo's lines back.
void PutScript(QPlainTextEdit& memo, const QXScript& script);
std::vector<std::string> MemoLines(const QPlainTextEdit& memo);
