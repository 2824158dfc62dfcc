#include "forms/preferences_box.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "engine/qox_convert.h"

namespace {

struct ModeButton {
    const char* Caption;
    const char* Name;
    int Mode;
};

// In the order the selected mode is looked for.
constexpr ModeButton kModeButtons[] = {
    {"No Ring", "RBNoRing", -1},
    {"System Drive (\"/\" by default)", "RBSystemDrive", 0},
    {"My Documents", "RBMyDocuments", 1},
    {"Own Folder:", "RBOwnFolder", 2},
};

std::string NumberText(float value)
{
    return QOXConvert::FloatToStr(value);
}

std::string NumberText(int value)
{
    return QOXConvert::IntToStr(value);
}

// A text that is not a number of the field's kind leaves the value as it was.
void ReadNumber(const std::string& text, float& value)
{
    if (QOXConvert::IsFloat(text))
        value = QOXConvert::StrToFloat(text);
}

void ReadNumber(const std::string& text, int& value)
{
    if (QOXConvert::IsInteger(text))
        value = QOXConvert::StrToInt(text);
}

QLineEdit* NamedEdit(QWidget* parent, const char* name, const std::string& text)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

TPreferencesBox::TPreferencesBox(QWidget* parent, const QASettings& settings) : QDialog(parent)
{
    setObjectName("TFormPreferences");
    setWindowTitle("Preferences");
    auto* form = new QFormLayout(this);
    AddModeButtons(*form, settings.InitialRingMode);
    AddFolderField(*form, settings.InitialRingFolder);
    AddCheck(*form, "Create Rings for all available HDDs on Startup:", "CBCreateHDDOnStartup",
             &QASettings::CreateRingForHDD, settings);
    AddCheck(*form, "Allow multiple Rings with equal Root Folder:", "CBAllowMultipleRingsWithEqualFolders",
             &QASettings::AllowMultipleEqualRings, settings);
    AddCheck(*form, "Count Folder Sizes in the Background:", "CBCountFolderSizes",
             &QASettings::CountFolderSizesInBackground, settings);
    AddCheck(*form, "Count on one File System only:", "CBStayOnOneFileSystem", &QASettings::StayOnOneFileSystem,
             settings);
    AddNumberField(*form, "Auto-Refresh Time (s):", "EAutoRefresh", &QASettings::AutoRefreshTime, settings);
    AddNumberField(*form, "Basis Width:", "EWidthBasis", &QASettings::DefaultFocusFactor, settings);
    AddNumberField(*form, "+Width per Element:", "EWidthElement", &QASettings::FocusFactorPerElement, settings);
    AddNumberField(*form, "Element Animation Speed:", "EAnimationElement", &QASettings::AnimationSpeed, settings);
    AddNumberField(*form, "Ring Animation Speed:", "EAnimationRing", &QASettings::RingAnimationSpeed, settings);
    AddNumberField(*form, "Move Focused Element Right:", "EMoveFocused", &QASettings::MoveSelectionLeft, settings);
    AddCheck(*form, "Auto-Rotate Ring:", "CBAutoRotate", &QASettings::AutoRotate, settings);
    AddCheck(*form, "Auto-Center Ring:", "CBAutoCenter", &QASettings::AutoCenter, settings);
    AddNumberField(*form, "Info Box Display Duration (s):", "EInfoBoxDuration", &QASettings::DisplayDuration,
                   settings);
    AddNumberField(*form, "Ring Title Display Duration (s):", "ERingDisplayDuration",
                   &QASettings::RingDisplayDuration, settings);
    AddNumberField(*form, "Shadow Map Texture Size:", "EShadowMapSize", &QASettings::ShadowMapSize, settings);
    AddCheck(*form, "Display Ring Shadow:", "CBShadowDisplay", &QASettings::DisplayShadow, settings);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void TPreferencesBox::TakeSettings(QASettings& settings) const
{
    for (const auto& take : Takers)
        take(settings);
}

// No button is selected for a mode none of them stands for; the mode then stays.
void TPreferencesBox::AddModeButtons(QFormLayout& form, int mode)
{
    std::vector<QRadioButton*> buttons;
    for (const ModeButton& row : kModeButtons) {
        auto* button = new QRadioButton(row.Caption, this);
        button->setObjectName(row.Name);
        button->setChecked(row.Mode == mode);
        form.addRow(button);
        buttons.push_back(button);
    }
    Takers.push_back([buttons](QASettings& settings) {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) {
                settings.InitialRingMode = kModeButtons[i].Mode;
                return;
            }
    });
}

void TPreferencesBox::AddFolderField(QFormLayout& form, const std::string& folder)
{
    QLineEdit* edit = NamedEdit(this, "EOwnFolder", folder);
    form.addRow("Own Folder:", edit);
    Takers.push_back([edit](QASettings& settings) { settings.InitialRingFolder = edit->text().toStdString(); });
}

template <class Number>
void TPreferencesBox::AddNumberField(QFormLayout& form, const char* label, const char* name,
                                     Number QASettings::*field, const QASettings& settings)
{
    QLineEdit* edit = NamedEdit(this, name, NumberText(settings.*field));
    form.addRow(label, edit);
    Takers.push_back([edit, field](QASettings& target) { ReadNumber(edit->text().toStdString(), target.*field); });
}

void TPreferencesBox::AddCheck(QFormLayout& form, const char* label, const char* name, bool QASettings::*field,
                               const QASettings& settings)
{
    auto* check = new QCheckBox(this);
    check->setObjectName(name);
    check->setChecked(settings.*field);
    form.addRow(label, check);
    Takers.push_back([check, field](QASettings& target) { target.*field = check->isChecked(); });
}
