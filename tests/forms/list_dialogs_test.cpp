// The favourites and views editors driven as a user would: their edit dialogs' checks, the colour
// and texture dialogs, and what OK and Cancel leave of the lists and their files.
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

#include <filesystem>

#include "app/app_main.h"
#include "lists/view_generic.h"
#include "tests/support/dialog_fixture.h"

namespace {

std::vector<std::string> FavoriteNames(const QOXFavoriteEngine& favorites)
{
    std::vector<std::string> names;
    for (int index = 0; index < favorites.Count(); ++index)
        names.push_back(favorites.GetFavorite(index)->GetName());
    return names;
}

} // namespace

// The edit dialog stays open while its name is blank, its folder missing or another favourite's;
// what it lets through gets a final "/". Confirmed edits are saved, creating the missing file.
TEST_F(DialogTest, EditFavouriteRefusesBlankNamesAndTakenFolders)
{
    Tree.MakeFolder("music");
    Tree.MakeFolder("work");
    TheApp->Favorites->AddFavorite("Tunes")->Folder = Tree.PathOf("music/");
    struct Case {
        QString Name;
        std::string Folder;
        std::string Box; // the message that keeps the dialog open; empty when it closes
    };
    const Case cases[] = {
        {"   ", Tree.PathOf("work"), "You must enter a name for a Favorite!"},
        {"Gone", Tree.PathOf("gone"), "The folder \"" + Tree.PathOf("gone/") + "\" was not found!"},
        {"Again", Tree.PathOf("music"),
         "The folder \"" + Tree.PathOf("music/") + "\" is already bound to another favorite!"},
        {"Work", Tree.PathOf("work"), ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name.toStdString());
        Desktop.Boxes.clear();
        bool stayedOpen = false;
        WhenOpen([&](QWidget& list) {
            WhenOpen([&](QWidget& edit) {
                EXPECT_EQ(edit.windowTitle(), "Edit Favorite");
                Type(edit, "EName", test.Name);
                Type(edit, "EFolder", QString::fromStdString(test.Folder));
                Press(edit, "BitBtn1");
                stayedOpen = edit.isVisible();
                if (stayedOpen)
                    Press(edit, "BitBtn2");
            });
            Press(list, "BtnAdd");
            Press(list, "BitBtn1");
        });
        TheApp->ConfigureFavorites();
        EXPECT_EQ(LastBox(), test.Box);
        EXPECT_EQ(stayedOpen, !test.Box.empty());
    }
    EXPECT_EQ(FavoriteNames(*TheApp->Favorites), (std::vector<std::string>{"Tunes", "Work"}));
    EXPECT_EQ(TheApp->Favorites->GetFavorite(1)->Folder, Tree.PathOf("work/"));
    TheApp->Favorites->Load("favorites");
    EXPECT_EQ(FavoriteNames(*TheApp->Favorites), (std::vector<std::string>{"Tunes", "Work"}));
}

// Editing, moving and deleting in the favourites dialog; Cancel puts back the list as it was when
// the dialog opened, and the add dialog adds only on OK.
TEST_F(DialogTest, FavouritesDialogEditsMovesAndRestoresOnCancel)
{
    Tree.MakeFolder("photos");
    for (const char* name : {"A", "B", "C"})
        TheApp->Favorites->AddFavorite(name)->Folder = Tree.PathOf(name);
    WhenOpen([&](QWidget& list) {
        auto* names = list.findChild<QListWidget*>("LBFavorites");
        EXPECT_EQ(names->currentRow(), 0); // selected as the dialog opens, without a click
        Press(list, "BtnDown");
        EXPECT_EQ(names->currentRow(), 1);
        WhenOpen([&](QWidget& edit) {
            Type(edit, "EFolder", QString::fromStdString(Tree.PathOf("photos")));
            Press(edit, "BitBtn1");
        });
        Press(list, "BtnEdit");
        names->setCurrentRow(2);
        Press(list, "BtnDelete");
        EXPECT_EQ(names->count(), 2);
        Press(list, "BitBtn2");
    });
    TheApp->ConfigureFavorites();
    EXPECT_EQ(FavoriteNames(*TheApp->Favorites), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(TheApp->Favorites->GetFavorite(0)->Folder, Tree.PathOf("A"));
    EXPECT_FALSE(std::filesystem::exists(ProgramFolder.Path() + "favorites.ini"));

    TheApp->SetCurrentRing(Open("photos"));
    for (const char* button : {"BitBtn2", "BitBtn1"}) {
        WhenOpen([&](QWidget& add) {
            EXPECT_EQ(add.findChild<QLabel*>("STFolder")->text().toStdString(), Tree.PathOf("photos/"));
            EXPECT_EQ(add.findChild<QLineEdit*>("EName")->text(), "photos");
            Type(add, "EName", "Pictures");
            Press(add, button);
        });
        TheApp->AddCurrentToFavorites();
    }
    EXPECT_EQ(FavoriteNames(*TheApp->Favorites), (std::vector<std::string>{"A", "B", "C", "Pictures"}));
}

// A new view from its edit dialog: the colour fields that hold numbers, the colour dialog, a
// texture chosen in the textures folder, extensions in lower case so that typed capitals match.
TEST_F(DialogTest, ViewsDialogAddsAViewFromItsEditDialog)
{
    std::filesystem::create_directories(ProgramFolder.Path() + "textures/views");
    const std::string picture = ProgramFolder.Write("textures/views/photo.png", "");
    const std::string outside = Tree.File("elsewhere.png", 4);
    WhenOpen([&](QWidget& list) {
        WhenOpen([&](QWidget& edit) {
            EXPECT_EQ(edit.windowTitle(), "Configure View");
            EXPECT_EQ(edit.findChild<QLineEdit*>("EName")->text(), "New View");
            Type(edit, "EName", "Pictures");
            Type(edit, "ER", "0.25");
            Type(edit, "EG", "green");
            edit.findChild<QPlainTextEdit*>("MemoExt")->setPlainText("JPG\n  Png  \n\n");
            for (const std::string& file : {outside, picture}) {
                WhenOpen([&](QWidget& files) {
                    auto& dialog = static_cast<QFileDialog&>(files);
                    EXPECT_EQ(dialog.directory().absolutePath().toStdString() + "/",
                              ProgramFolder.Path() + "textures/");
                    // Typed as a user would: selectFile() leaves the name field alone once
                    // it has the keyboard focus, which depends on when the window manager
                    // hands it over.
                    dialog.findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
                    QMetaObject::invokeMethod(&dialog, "accept");
                });
                Press(edit, "BtnLoadTexture");
            }
            ASSERT_FALSE(Desktop.Boxes.empty());
            EXPECT_NE(Desktop.Boxes.front().Text.find("lies outside it!"), std::string::npos);
            EXPECT_EQ(edit.findChild<QLineEdit*>("ETexture")->text(), "textures/views/photo");
            Press(edit, "BitBtn1");
        });
        Press(list, "BtnViewAdd");
        WhenOpen([&](QWidget& edit) {
            WhenOpen([&](QWidget& colours) {
                static_cast<QColorDialog&>(colours).setCurrentColor(QColor(255, 0, 51));
                static_cast<QColorDialog&>(colours).accept();
            });
            QTest::mouseClick(edit.findChild<QWidget*>("EColor"), Qt::LeftButton);
            EXPECT_EQ(edit.findChild<QLineEdit*>("EB")->text(), "0.20");
            Press(edit, "BitBtn2");
        });
        Press(list, "BtnViewEdit");
        Press(list, "BitBtn1");
    });
    TheApp->ConfigureViews();
    QVGeneric* view = TheApp->Views->FindView("jpg", ViewScope::EnabledOnly);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetName(), "Pictures");
    EXPECT_EQ(view->Colour, (QXColor{0.25f, 0.5f, 1.0f}));
    EXPECT_EQ(view->Extensions().Lines, (std::vector<std::string>{"jpg", "png"}));
    EXPECT_EQ(view->Texture, "textures/views/photo");
    EXPECT_TRUE(std::filesystem::exists(ProgramFolder.Path() + "views.ini"));
}

// Cancel after deleting a view brings it back as it was, file or no file.
TEST_F(DialogTest, ViewsDialogCancelRestoresTheList)
{
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile);
        if (withFile)
            ProgramFolder.Write("views.ini", "");
        TheApp->Views->Clear();
        TheApp->Views->AddView("Music")->AddExtension("ogg");
        WhenOpen([&](QWidget& list) {
            list.findChild<QListWidget*>("LBViews")->setCurrentRow(0);
            Press(list, "BtnViewDelete");
            EXPECT_EQ(list.findChild<QListWidget*>("LBViews")->count(), 0);
            list.close();
        });
        TheApp->ConfigureViews();
        ASSERT_EQ(TheApp->Views->Count(), 1);
        EXPECT_TRUE(TheApp->Views->GetView(0)->HasExtension("ogg"));
        EXPECT_EQ(std::filesystem::exists(ProgramFolder.Path() + "views.ini"), withFile);
    }
}
