#pragma once
// The progress window of a long file operation: where it copies from and to, a bar, and Cancel.
// It has no title-bar buttons; once shown it is modal, so the user reaches only its Cancel while
// the operation goes on between its steps.
#include "forms/form_dialog.h"
#include "platform/file_operation.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TFormProgress : public TFormDialog {
public:
    static constexpr int kBarSteps = 1000;

    explicit TFormProgress(QWidget* parent);

    // Shows the window with Cancel not pressed.
    void Start();
    // From, To and the bar; a total of 0 (still counting) makes the bar a busy bar.
    void Report(const platform::ProgressReport& report);
    bool CancelPressed() const { return Cancelled; }

    QLabel* LSrcFile = nullptr;          // owned by the window
    QLabel* LDestFile = nullptr;         // owned by the window
    QProgressBar* ProgressBar = nullptr; // owned by the window
    QPushButton* BitBtn1 = nullptr;      // owned by the window; Cancel

protected:
    // Escape and the window system's close ask for a cancel; the operation hides the window.
    void reject() override;

private:
    bool Cancelled = false;
};
