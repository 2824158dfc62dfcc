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
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "app/app_main.h"
#include "forms/form_rename.h"
#include "app/app_settings.h"
#include "lists/favorite_generic.h"
#include "lists/view_generic.h"
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

// A folder is never cut and "~" is the home folder in each of the three folder fields: the new-ring
// box, the preferences' own folder and the favourite editor; a completed folder opens with one
// Return.
TEST_F(DialogTest, FolderFieldsTakeWholePathsAndTheHomeFolder)
{
    std::string deep;
    for (const char part : {'a', 'b', 'c', 'd', 'e'})
        deep += std::string(60, part) + "/";
    Tree.MakeFolder(deep);
    const std::string whole = Tree.PathOf(deep);
    ASSERT_GT(whole.size(), 300u);
    const char* home = std::getenv("HOME");
    const std::string oldHome = home != nullptr ? home : "";
    ::setenv("HOME", Tree.Root().c_str(), 1);
    struct Field {
        const char* Name;
        std::function<void(const QString&)> Enter;
        std::function<std::string()> Taken;
    };
    const std::vector<Field> fields = {
        {"new ring box",
         [&](const QString& typed) {
             WhenOpen([&](QWidget& dialog) {
                 dialog.findChild<QComboBox*>("CBName")->setEditText(typed);
                 Press(dialog, "BitBtn1");
             });
             TheApp->NewRingDialog();
         },
         [&] { return TheApp->CurrentRing != nullptr ? TheApp->CurrentRing->Folder : std::string(); }},
        {"preferences' own folder",
         [&](const QString& typed) {
             WhenOpen([&](QWidget& dialog) {
                 Type(dialog, "EOwnFolder", typed);
                 Press(dialog, "BitBtn1");
             });
             TheApp->Preferences();
         },
         [&] { return Settings().InitialRingFolder; }},
        {"favourite editor",
         [&](const QString& typed) {
             WhenOpen([&](QWidget& list) {
                 WhenOpen([&](QWidget& edit) {
                     Type(edit, "EName", "Deep");
                     Type(edit, "EFolder", typed);
                     Press(edit, "BitBtn1");
                 });
                 Press(list, "BtnAdd");
                 Press(list, "BitBtn1");
             });
             TheApp->ConfigureFavorites();
         },
         [&] {
             const QFGeneric* favorite = TheApp->Favorites->Count() > 0 ? TheApp->Favorites->GetFavorite(0) : nullptr;
             return favorite != nullptr ? favorite->Folder : std::string();
         }},
    };
    for (const Field& field : fields) {
        for (const QString& typed : {QString::fromStdString(whole), "~/" + QString::fromStdString(deep)}) {
            SCOPED_TRACE(std::string(field.Name) + ": " + typed.left(12).toStdString());
            TheApp->SetCurrentRing(nullptr);
            TheApp->CloseAllRings();
            TheApp->Favorites->Clear();
            field.Enter(typed);
            EXPECT_EQ(field.Taken(), whole);
            EXPECT_EQ(LastBox(), "");
        }
    }
    // A folder completed from the recent ones opens with the first Return.
    TheApp->CreateRing(whole);
    TheApp->CreateRing(Tree.Root());
    WhenOpen([&](QWidget& dialog) {
        auto* box = dialog.findChild<QComboBox*>("CBName");
        // The completion works in the line that has the keyboard.
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        box->setFocus();
        QTest::keyClicks(box, QString::fromStdString(Tree.PathOf("aaa")));
        EXPECT_EQ(box->currentText().toStdString(), whole) << "completed";
        QTest::keyClick(box, Qt::Key_Return);
        if (dialog.isVisible())
            Press(dialog, "BitBtn2");
    });
    TheApp->NewRingDialog();
    EXPECT_EQ(TheApp->CurrentRing->Folder, whole);
    ::setenv("HOME", oldHome.c_str(), 1);
}

// A field that holds no number its setting can take ("99999999999" is no whole number a setting
// holds, a forty-digit number no decimal one) leaves the setting as it was: every number field of
// the preferences and of the view editor.
TEST_F(DialogTest, NumbersNoSettingCanHoldLeaveEveryNumberFieldsSettingAlone)
{
    const QString tooLarge = "1" + QString(40, '0');
    const std::vector<const char*> decimalFields = {"EAutoRefresh",    "EWidthBasis",     "EWidthElement",
                                                    "EAnimationElement", "EAnimationRing", "EMoveFocused",
                                                    "EInfoBoxDuration", "ERingDisplayDuration"};
    const QASettings before = Settings();
    WhenOpen([&](QWidget& dialog) {
        for (const char* field : decimalFields)
            Type(dialog, field, tooLarge);
        Type(dialog, "EShadowMapSize", "99999999999");
        Press(dialog, "BitBtn1");
    });
    TheApp->Preferences();
    EXPECT_EQ(SettingsText(Settings()), SettingsText(before));

    const QXColor colour{0.25f, 0.5f, 0.75f};
    TheApp->Views->AddView("Pictures")->Colour = colour;
    WhenOpen([&](QWidget& list) {
        WhenOpen([&](QWidget& edit) {
            for (const char* field : {"ER", "EG", "EB"})
                Type(edit, field, tooLarge);
            Press(edit, "BitBtn1");
        });
        Press(list, "BtnViewEdit");
        Press(list, "BitBtn1");
    });
    TheApp->ConfigureViews();
    EXPECT_EQ(TheApp->Views->GetView(0)->Colour, colour);
}

// Every tab and every label, check box and button of each dialog shows its whole text.
TEST_F(DialogTest, DialogsShowAllTheirTabsAndLabels)
{
    Tree.MakeFolder("music");
    TheApp->CreateRing(Tree.Root());
    const auto expectWhole = [](QWidget& dialog) {
        for (const QTabBar* tabs : dialog.findChildren<QTabBar*>())
            EXPECT_GE(tabs->width(), tabs->sizeHint().width()) << dialog.windowTitle().toStdString();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->isVisibleTo(&dialog) && !label->wordWrap() && !label->text().isEmpty()) {
                EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
            }
        }
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            if (button->isVisibleTo(&dialog) && !button->text().isEmpty()) {
                EXPECT_GE(button->width(), button->minimumSizeHint().width()) << button->text().toStdString();
            }
        }
    };
    const std::vector<std::function<void()>> openers = {
        [&] { TheApp->Preferences(); }, [&] { TheApp->NewRingDialog(); }, [&] { TheApp->About(); },
        [&] { TheApp->ConfigureFavorites(); }, [&] { TheApp->ConfigureViews(); },
        [&] { TheApp->AddCurrentToFavorites(); },
    };
    for (const auto& open : openers) {
        WhenOpen([&](QWidget& dialog) {
            expectWhole(dialog);
            dialog.close();
        });
        open();
    }
}

// F2 offers a file's name selected up to its extension; names without one are taken whole.
TEST(RenameDialog, TheStemEndsBeforeTheExtension)
{
    const struct {
        const char* Name;
        int Stem;
    } cases[] = {
        {"report.pdf", 6}, {"archive.tar.gz", 7}, {"photo.TAR.XZ", 5}, {".bashrc", 7},
        {"README", 6},     {"a.b.c", 3},          {"x.tar", 1},        {"trailing.", 8},
    };
    for (const auto& test : cases)
        EXPECT_EQ(TFormRename::StemLength(test.Name), test.Stem) << test.Name;
}
