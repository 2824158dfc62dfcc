#include "forms/form_preferences.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "forms/form_fields.h"

namespace {

using Field = TFormPreferences::Field;
using Mode = TFormPreferences::InitialMode;

struct ControlRow {
    const char* Tab;
    const char* Group;
    // The label before the control; a radio button carries it as its own caption, and a control
    // without one stands beside the control before it.
    const char* Label;
    const char* Name;
    Field Setting;
};

// In the order of the pages, their boxes and their controls on screen, which is the tab order too.
const ControlRow kControls[] = {
    {"Start", "Initial Ring", "System Drive (\"/\" by default)", "RBSystemDrive", Mode{0}},
    {"Start", "Initial Ring", "My Documents", "RBMyDocuments", Mode{1}},
    {"Start", "Initial Ring", "Own Folder:", "RBOwnFolder", Mode{2}},
    {"Start", "Initial Ring", nullptr, "EOwnFolder", &QASettings::InitialRingFolder},
    {"Start", "Initial Ring", "No Ring", "RBNoRing", Mode{-1}},
    {"Start", "Create Rings for all HDDs", "Create Rings for all available HDDs on Startup:", "CBCreateHDDOnStartup",
     &QASettings::CreateRingForHDD},
    {"Rings", "Multiple Rings", "Allow multiple Rings with equal Root Folder:", "CBAllowMultipleRingsWithEqualFolders",
     &QASettings::AllowMultipleEqualRings},
    {"Rings", "Folder Sizes", "Count Folder Sizes in the Background:", "CBCountFolderSizes",
     &QASettings::CountFolderSizesInBackground},
    {"Rings", "Folder Sizes", "Count on one File System only:", "CBStayOnOneFileSystem",
     &QASettings::StayOnOneFileSystem},
    {"Refresh", "Auto-Refresh", "Auto-Refresh Time (s):", "EAutoRefresh", &QASettings::AutoRefreshTime},
    {"Element Width", "Selected Folders", "Basis Width:", "EWidthBasis", &QASettings::DefaultFocusFactor},
    {"Element Width", "Selected Folders", "+Width per Element:", "EWidthElement", &QASettings::FocusFactorPerElement},
    {"Animation", "Animation Speed", "Element Animation Speed:", "EAnimationElement", &QASettings::AnimationSpeed},
    {"Animation", "Animation Speed", "Ring Animation Speed:", "EAnimationRing", &QASettings::RingAnimationSpeed},
    {"Animation", "Ring Movement", "Move Focused Element Right:", "EMoveFocused", &QASettings::MoveSelectionLeft},
    {"Animation", "Ring Movement", "Auto-Rotate Ring:", "CBAutoRotate", &QASettings::AutoRotate},
    {"Animation", "Ring Movement", "Auto-Center Ring:", "CBAutoCenter", &QASettings::AutoCenter},
    {"Info Box", "File Info-Box Display", "Display Duration (s):", "EInfoBoxDuration", &QASettings::DisplayDuration},
    {"Info Box", "Ring Title Display", "Display Duration (s):", "ERingDisplayDuration",
     &QASettings::RingDisplayDuration},
    {"Shadow", "Shadow", "Shadow Map Texture Size:", "EShadowMapSize", &QASettings::ShadowMapSize},
    {"Shadow", "Shadow", "Display Ring Shadow:", "CBShadowDisplay", &QASettings::DisplayShadow},
    // Settings beyond the first seven pages follow on pages of their own.
    {"Display", "Labels", "Readable Labels (upright, only where they fit):", "CBReadableLabels",
     &QASettings::ReadableLabels},
    {"Display", "Sizes", "Size-True Rings (areas by size):", "CBSizeTrueRings", &QASettings::SizeTrueRings},
    {"Display", "Sizes", "Show Free Space of a Volume:", "CBShowFreeSpace", &QASettings::ShowFreeSpace},
    {"Display", "Sizes", "Fit Ring to Window after Expand or Collapse:", "CBFitRingToWindow", &QASettings::FitRingToWindow},
    {"Display", "Sizes", "Show Legend:", "CBShowLegend", &QASettings::ShowLegend},
    {"Display", "Sizes", "Size on Disk (allocated blocks):", "CBSizeOnDisk", &QASettings::SizeOnDisk},
};

// Each kind of field with its control: how it shows a setting and how it takes it back.
struct Shower {
    QWidget& Control;
    const QASettings& Settings;
    void operator()(Mode mode) const { static_cast<QRadioButton&>(Control).setChecked(Settings.InitialRingMode == mode.Mode); }
    void operator()(std::string QASettings::*text) const { PutText(static_cast<QLineEdit&>(Control), Settings.*text); }
    void operator()(bool QASettings::*flag) const { static_cast<QCheckBox&>(Control).setChecked(Settings.*flag); }
    void operator()(float QASettings::*number) const { PutFloat(static_cast<QLineEdit&>(Control), Settings.*number); }
    void operator()(int QASettings::*number) const { PutInt(static_cast<QLineEdit&>(Control), Settings.*number); }
};

struct Taker {
    const QWidget& Control;
    QASettings& Settings;
    // No radio button is checked for a mode none of them stands for: the mode then stays.
    void operator()(Mode mode) const
    {
        if (static_cast<const QRadioButton&>(Control).isChecked())
            Settings.InitialRingMode = mode.Mode;
    }
    void operator()(std::string QASettings::*text) const
    {
        Settings.*text = FolderText(static_cast<const QLineEdit&>(Control).text());
    }
    void operator()(bool QASettings::*flag) const { Settings.*flag = static_cast<const QCheckBox&>(Control).isChecked(); }
    void operator()(float QASettings::*number) const { ReadFloat(static_cast<const QLineEdit&>(Control), Settings.*number); }
    void operator()(int QASettings::*number) const { ReadInt(static_cast<const QLineEdit&>(Control), Settings.*number); }
};

QWidget* MakeControl(QWidget* parent, const char* label, const Field& field)
{
    if (std::holds_alternative<Mode>(field))
        return new QRadioButton(label, parent);
    if (std::holds_alternative<bool QASettings::*>(field))
        return new QCheckBox(parent);
    return new QLineEdit(parent);
}

} // namespace

TFormPreferences::TFormPreferences(QWidget* parent) : TFormDialog(parent, "TFormPreferences", "Preferences")
{
    auto* layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl1");
    // Every tab shows its whole caption: the dialog grows to hold them all instead of scrolling.
    PageControl->setUsesScrollButtons(false);
    PageControl->setElideMode(Qt::ElideNone);
    layout->addWidget(PageControl);
    for (const ControlRow& row : kControls)
        AddControl(GroupOn(row.Tab, row.Group), row.Label, row.Name, row.Setting);
    for (int index = 0; index < PageControl->count(); ++index)
        static_cast<QVBoxLayout*>(PageControl->widget(index)->layout())->addStretch();
    AddOkCancel(*layout);
    PageControl->setCurrentIndex(0);
}

void TFormPreferences::LoadSettings(const QASettings& settings)
{
    for (const ControlRow& row : kControls)
        std::visit(Shower{*findChild<QWidget*>(row.Name), settings}, row.Setting);
}

void TFormPreferences::TakeSettings(QASettings& settings) const
{
    for (const ControlRow& row : kControls)
        std::visit(Taker{*findChild<QWidget*>(row.Name), settings}, row.Setting);
}

// The group box of that caption on the page of that caption, made when it is first asked for.
QGridLayout& TFormPreferences::GroupOn(const char* tab, const char* group)
{
    QWidget* page = nullptr;
    for (int index = 0; index < PageControl->count() && page == nullptr; ++index)
        if (PageControl->tabText(index) == tab)
            page = PageControl->widget(index);
    if (page == nullptr) {
        page = new QWidget(PageControl);
        new QVBoxLayout(page);
        PageControl->addTab(page, tab);
    }
    for (QGroupBox* box : page->findChildren<QGroupBox*>())
        if (box->title() == group)
            return *static_cast<QGridLayout*>(box->layout());
    auto* box = new QGroupBox(group, page);
    page->layout()->addWidget(box);
    return *new QGridLayout(box);
}

void TFormPreferences::AddControl(QGridLayout& grid, const char* label, const char* name, const Field& field)
{
    QWidget* box = grid.parentWidget();
    QWidget* control = MakeControl(box, label, field);
    control->setObjectName(name);
    if (label == nullptr) {
        grid.addWidget(control, grid.rowCount() - 1, 1);
        return;
    }
    const int line = grid.isEmpty() ? 0 : grid.rowCount();
    if (std::holds_alternative<Mode>(field)) {
        grid.addWidget(control, line, 0);
        return;
    }
    grid.addWidget(new QLabel(label, box), line, 0);
    grid.addWidget(control, line, 1);
}
