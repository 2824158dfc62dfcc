#pragma once
// "Configure View": a view's name, colour (three fields and a panel that opens the colour
// dialog), texture (chosen from the program's textures folder) and extensions, one a line.
#include "forms/form_dialog.h"
#include "forms/form_fields.h"

class QLineEdit;
class QPlainTextEdit;
class QVGeneric;

class TFormViewEdit : public TFormDialog {
public:
    explicit TFormViewEdit(QWidget* parent);

    void LoadView(const QVGeneric& view);
    // The name, each colour field that holds a number, the texture (loaded anew) and the
    // extensions, in lower case.
    void TakeView(QVGeneric& view) const;

    // The texture dialog: the chosen file's name relative to the program folder, without its
    // extension, goes into the texture field. A file outside the program folder cannot be read as
    // a texture and is refused with a message.
    void BtnLoadTextureClick();
    void EColorChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeColorGroup();
    QWidget* MakeTextureRow();

    QLineEdit* EName = nullptr;          // owned by the dialog
    TColorGroup Colour;                  // its fields and panel owned by the dialog
    QLineEdit* ETexture = nullptr;       // owned by the dialog
    QPlainTextEdit* MemoExt = nullptr;   // owned by the dialog
};
