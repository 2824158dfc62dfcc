// The program's dialogs driven as a user would, on the application with a temporary program
// folder: the new-ring dialog, the preferences, the about box and the favourite and view editors.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <clocale>
#include <filesystem>

#include "app/app_main.h"
#include "tests/support/dialog_fixture.h"

namespace {

// Numbers are read with "." whatever the locale: a German user's "2,5" is no number.
class GermanLocale {
public:
    GermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    ~GermanLocale()
    {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
    }
};

QStringList TabTexts(const QWidget& dialog)
{
    const auto* pages = dialog.findChild<QTabWidget*>("PageControl1");
    QStringList texts;
    for (int index = 0; pages != nullptr && index < pages->count(); ++index)
        texts.append(pages->tabText(index));
    return texts;
}

} // namespace

// The pages in their order, every control shown from the settings with "." as the decimal mark,
// and the keyboard going through the controls in the order of the pages.
TEST_F(DialogTest, PreferencesShowEverySettingOnItsPage)
{
    GermanLocale german;
    Settings().AnimationSpeed = 2.5f;
    Settings().ShadowMapSize = 256;
    Settings().InitialRingMode = 1;
    Settings().AutoCenter = false;
    QStringList tabs;
    QStringList focusOrder;
    WhenOpen([&](QWidget& dialog) {
        tabs = TabTexts(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Preferences");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EAnimationElement")->text(), "2.50");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EShadowMapSize")->text(), "256");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("RBMyDocuments")->isChecked());
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("CBAutoCenter")->isChecked());
        QWidget* widget = dialog.findChild<QWidget*>("RBSystemDrive");
        for (int step = 0; step < 400 && widget != nullptr; ++step, widget = widget->nextInFocusChain())
            if (!widget->objectName().isEmpty() && !focusOrder.contains(widget->objectName()))
                focusOrder.append(widget->objectName());
        Press(dialog, "BitBtn2");
    });
    TheApp->Preferences();
    EXPECT_EQ(tabs, (QStringList{"Start", "Rings", "Refresh", "Element Width", "Animation", "Info Box", "Shadow", "Display"}));
    const QStringList controls{"RBSystemDrive", "RBMyDocuments", "RBOwnFolder", "EOwnFolder", "RBNoRing",
                               "CBCreateHDDOnStartup", "CBAllowMultipleRingsWithEqualFolders", "CBCountFolderSizes",
                               "CBStayOnOneFileSystem", "EAutoRefresh",
                               "EWidthBasis", "EWidthElement", "EAnimationElement", "EAnimationRing", "EMoveFocused",
                               "CBAutoRotate", "CBAutoCenter", "EInfoBoxDuration", "ERingDisplayDuration",
                               "EShadowMapSize", "CBShadowDisplay", "CBReadableLabels", "BitBtn1", "BitBtn2"};
    QStringList named;
    for (const QString& name : focusOrder)
        if (controls.contains(name))
            named.append(name);
    EXPECT_EQ(named.join(' ').toStdString(), controls.join(' ').toStdString());
}

// What is typed, confirmed with OK, after the limits; Cancel leaves the settings and their file
// as they were, to the byte.
TEST_F(DialogTest, PreferencesTakeNumbersWithinTheirLimitsOnlyOnOk)
{
    GermanLocale german;
    struct Case {
        const char* Field;
        QString Typed;
        const char* Button;
        std::function<bool(const QASettings&)> Holds;
    };
    const Case cases[] = {
        {"EAnimationElement", "50", "BitBtn1", [](const QASettings& s) { return s.AnimationSpeed == 10.0f; }},
        {"EAnimationRing", "0", "BitBtn1", [](const QASettings& s) { return s.RingAnimationSpeed == 0.1f; }},
        {"EAutoRefresh", "soon", "BitBtn1", [](const QASettings& s) { return s.AutoRefreshTime == 5.0f; }},
        {"EAutoRefresh", "2,5", "BitBtn1", [](const QASettings& s) { return s.AutoRefreshTime == 5.0f; }},
        {"EAutoRefresh", "2.5", "BitBtn1", [](const QASettings& s) { return s.AutoRefreshTime == 2.5f; }},
        {"EWidthBasis", "0.5", "BitBtn1", [](const QASettings& s) { return s.DefaultFocusFactor == 1.0f; }},
        {"EShadowMapSize", "300", "BitBtn1", [](const QASettings& s) { return s.ShadowMapSize == 512; }},
        {"EShadowMapSize", "1.5", "BitBtn1", [](const QASettings& s) { return s.ShadowMapSize == 256; }},
        {"EOwnFolder", "/srv/data", "BitBtn1", [](const QASettings& s) { return s.InitialRingFolder == "/srv/data/"; }},
        {"EAnimationElement", "7", "BitBtn2", [](const QASettings& s) { return s.AnimationSpeed == 4.0f; }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.Field) + " " + test.Typed.toStdString() + " " + test.Button);
        QASettings start;
        start.AutoRefreshTime = 5.0f;
        Settings() = start;
        const std::string before = SettingsText(start);
        ProgramFolder.Write("orbivane.ini", before);
        WhenOpen([&](QWidget& dialog) {
            Type(dialog, test.Field, test.Typed);
            Press(dialog, "RBNoRing");
            Press(dialog, "CBShadowDisplay");
            Press(dialog, "CBReadableLabels");
            Press(dialog, "CBStayOnOneFileSystem");
            Press(dialog, test.Button);
        });
        TheApp->Preferences();
        EXPECT_TRUE(test.Holds(Settings()));
        const bool confirmed = std::string(test.Button) == "BitBtn1";
        EXPECT_EQ(Settings().InitialRingMode, confirmed ? -1 : 0);
        EXPECT_EQ(Settings().DisplayShadow, !confirmed);
        EXPECT_EQ(Settings().ReadableLabels, !confirmed);
        EXPECT_EQ(Settings().StayOnOneFileSystem, confirmed);
        EXPECT_EQ(ProgramFolder.Read("orbivane.ini") == before, !confirmed);
    }
}

// A favourite's name in any case opens its folder; the box lists names, folders and recent
// folders; a mistyped folder is reported and opens nothing, and Cancel opens nothing either.
TEST_F(DialogTest, NewRingOpensFavouritesAndReportsWhatItCannotFind)
{
    Tree.MakeFolder("music");
    TheApp->Favorites->AddFavorite("Tunes")->Folder = Tree.PathOf("music/");
    struct Case {
        QString Typed;
        const char* Button;
        std::string Opened; // the current ring's folder afterwards; empty for none
        std::string Box;
    };
    const Case cases[] = {
        {"nowhere", "BitBtn1", "", "Could not find directory \"nowhere/\"!"},
        {"tUNES", "BitBtn2", "", ""},
        {"tUNES", "BitBtn1", Tree.PathOf("music/"), ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Typed.toStdString() + " " + test.Button);
        Desktop.Boxes.clear();
        QStringList listed;
        WhenOpen([&](QWidget& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Create new Ring from Directory");
            auto* box = dialog.findChild<QComboBox*>("CBName");
            for (int index = 0; index < box->count(); ++index)
                listed.append(box->itemText(index));
            box->setEditText(test.Typed);
            Press(dialog, test.Button);
        });
        TheApp->NewRingDialog();
        EXPECT_EQ(TheApp->CurrentRing == nullptr ? std::string() : TheApp->CurrentRing->Folder, test.Opened);
        EXPECT_EQ(LastBox(), test.Box);
        EXPECT_EQ(listed.mid(0, 2), (QStringList{"Tunes", QString::fromStdString(Tree.PathOf("music/"))}));
    }
}

// The tick is taken however the box is closed; the links open their pages on the desktop; the box
// says where the program keeps its files.
TEST_F(DialogTest, AboutBoxTakesBananaModeHoweverClosed)
{
    const std::vector<std::function<void(QWidget&)>> closers{
        [](QWidget& dialog) { Press(dialog, "OKButton"); },
        [](QWidget& dialog) { dialog.close(); }, // the title-bar button
        [](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
    };
    for (std::size_t index = 0; index < closers.size(); ++index) {
        SCOPED_TRACE(index);
        Settings().BananaMode = false;
        WhenOpen([&](QWidget& dialog) {
            EXPECT_EQ(dialog.findChild<QLabel*>("Version")->text(), "Version " ORBIVANE_VERSION);
            EXPECT_EQ(dialog.findChild<QLabel*>("Files")->text().toStdString(),
                      "Files (portable layout): everything in " + ProgramFolder.Path());
            Press(dialog, "CBMeisterMode");
            for (const char* link : {"LinkCourse", "LinkMaker"}) {
                auto* label = dialog.findChild<QLabel*>(link);
                QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
            }
            closers[index](dialog);
        });
        Desktop.OpenedDocuments.clear();
        TheApp->About();
        EXPECT_TRUE(Settings().BananaMode);
        EXPECT_EQ(Desktop.OpenedDocuments,
                  (std::vector<std::string>{"https://www.khronos.org/opengl/", "https://www.qt.io/"}));
    }
}
