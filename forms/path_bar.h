#pragma once
// The path bar above the view: the current ring's folder as a row of buttons, one per folder on
// its way down from "/" (a click makes that folder the ring's root), or, after Ctrl+L, as text to
// edit with completion of folder names, where "~" stands for the home folder. Enter goes there,
// Escape returns to the buttons.
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QHBoxLayout;
class QLineEdit;
class QStackedLayout;

class TPathBar : public QWidget {
public:
    explicit TPathBar(QWidget* parent);

    // Shows the folder (ending in "/"; empty without a ring) as buttons, unless it is shown already.
    void ShowFolder(const std::string& folder);
    // Ctrl+L: the folder as text, all of it selected, with the keyboard in the line.
    void BeginEdit();
    void EndEdit();
    bool Editing() const;
    QLineEdit* Line() const { return Edit; }
    // The buttons' captions, from "/" down.
    QStringList Steps() const;
    // A click on the button of step `index` (0 is "/").
    void ChooseStep(int index);

    // A folder chosen (a button's, or the text with "~" expanded, below the folder shown unless it
    // begins with "/"); true when the ring went there.
    std::function<bool(const std::string& folder)> OnChoose;
    // The edit ended, one way or the other: the keyboard goes back to the view.
    std::function<void()> OnEditEnded;

    // "~" and "~/..." with the home folder in place of "~"; other texts as they are.
    static std::string ExpandHome(const std::string& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rebuild();
    void TextEntered();
    void OfferFolders(const QString& text);

    std::string Folder;
    std::optional<QString> OfferedFolder; // the folder typed whose sub-folders the completer offers
    QStackedLayout* Pages = nullptr; // owned by this widget
    QWidget* Buttons = nullptr;      // owned as a child widget: the first page
    QHBoxLayout* ButtonRow = nullptr; // owned by Buttons
    QLineEdit* Edit = nullptr;       // owned as a child widget: the second page
};
