#pragma once
// The preferences: a page of settings each for start, rings, refresh, element width, animation,
// info box, shadow and display, "Start" in front. Each control edits one setting;
// number fields keep the setting when their text is not a number, and the caller applies the
// limits after OK.
#include <string>
#include <variant>

#include "app/app_settings.h"
#include "forms/form_dialog.h"

class QGridLayout;
class QTabWidget;

class TFormPreferences : public TFormDialog {
public:
    explicit TFormPreferences(QWidget* parent);

    // The controls show `settings`: the radio button of the initial-ring mode (none for a mode
    // none of them stands for), the numbers as text, the flags ticked.
    void LoadSettings(const QASettings& settings);
    // What the controls hold, written into `settings`.
    void TakeSettings(QASettings& settings) const;

    // A radio button of the initial-ring mode.
    struct InitialMode {
        int Mode = 0;
    };
    using Field = std::variant<InitialMode, std::string QASettings::*, bool QASettings::*, float QASettings::*,
                               int QASettings::*>;

private:
    QGridLayout& GroupOn(const char* tab, const char* group);
    void AddControl(QGridLayout& grid, const char* label, const char* name, const Field& field);

    QTabWidget* PageControl = nullptr; // owned by the dialog
};
