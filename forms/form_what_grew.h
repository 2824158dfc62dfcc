#pragma once
// The "What grew" window: the list of what grew most on the current ring since a recorded count.
// It stays open beside the main window (not modal), so that the ring shows the entries clicked.
#include <QDialog>

class TWhatGrewView;

class TFormWhatGrew : public QDialog {
public:
    explicit TFormWhatGrew(QWidget* parent);

    TWhatGrewView* View = nullptr; // owned by the window
};
