#pragma once
// A plain preferences dialog: one page with a control for each setting the preferences edit,
// named and labelled as the settings are known to users. Number fields read "." as the decimal
// mark whatever the locale, and a text that is not a number keeps the setting as it was.
#include <QDialog>

#include <functional>
#include <vector>

#include "app/app_settings.h"

class QFormLayout;

class TPreferencesBox : public QDialog {
public:
    TPreferencesBox(QWidget* parent, const QASettings& settings);

    // Writes what the controls hold into `settings`.
    void TakeSettings(QASettings& settings) const;

private:
    void AddModeButtons(QFormLayout& form, int mode);
    void AddFolderField(QFormLayout& form, const std::string& folder);
    // A number field for a float or a whole-number setting.
    template <class Number>
    void AddNumberField(QFormLayout& form, const char* label, const char* name, Number QASettings::*field,
                        const QASettings& settings);
    void AddCheck(QFormLayout& form, const char* label, const char* name, bool QASettings::*field,
                  const QASettings& settings);

    // Each control's part of TakeSettings.
    std::vector<std::function<void(QASettings&)>> Takers;
};
