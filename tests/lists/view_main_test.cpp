#include "lists/view_main.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "tests/support/engine_fixture.h"

namespace {

class CountingDisplay : public QVDisplayListener {
public:
    void ApplyDisplayChange() override { ++Changes; }
    int Changes = 0;
};

class ViewTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Views = QOXMake<QOXViewEngine>(nullptr);
        Views->Display = &Display;
    }
    void TearDown() override
    {
        Views.reset();
        EngineTest::TearDown();
    }
    // A fresh engine that loads what the last one saved.
    QOXPtr<QOXViewEngine> Reloaded()
    {
        auto views = QOXMake<QOXViewEngine>(nullptr);
        views->Load("views");
        return views;
    }
    std::vector<std::string> Names(const QOXViewEngine& views) const
    {
        std::vector<std::string> names;
        for (int i = 0; i < views.Count(); ++i)
            names.push_back(views.GetView(i)->GetName());
        return names;
    }
    QVGeneric* View(const std::string& name, std::initializer_list<const char*> extensions, bool enabled)
    {
        QVGeneric* view = Views->AddView(name);
        for (const char* extension : extensions)
            view->AddExtension(extension);
        view->Enabled = enabled;
        return view;
    }

    CountingDisplay Display;
    QOXPtr<QOXViewEngine> Views;
};

TEST_F(ViewTest, ViewsReadBackExactly)
{
    ProgramFolder.Write("views.ini", "");
    QVGeneric* photos = View("Photos (2020), mine; best", {"jpg", "png", "tar gz", ""}, false);
    photos->Colour = {0.25f, 0.5f, 1.0f};
    photos->SetTexture("textures/views/photo (large)");
    View("Source", {"cpp", "h"}, true);
    Views->Save("views");

    auto loaded = Reloaded();
    ASSERT_EQ(Names(*loaded), (std::vector<std::string>{"Photos (2020), mine; best", "Source"}));
    const QVGeneric* first = loaded->GetView(0);
    EXPECT_EQ(first->Colour, (QXColor{0.25f, 0.5f, 1.0f}));
    EXPECT_EQ(first->Texture, "textures/views/photo (large)");
    EXPECT_FALSE(first->Enabled);
    EXPECT_EQ(first->Extensions().Lines, (std::vector<std::string>{"jpg", "png", "tar gz", ""}));
    EXPECT_TRUE(loaded->GetView(1)->Enabled);
    EXPECT_EQ(loaded->GetView(1)->Colour, QVGeneric::kDefaultColour);
}

TEST_F(ViewTest, FileLayoutPutsValuesInColumnNineteen)
{
    ProgramFolder.Write("views.ini", "old content\n");
    View("Music", {"mp3", "ogg"}, true)->Colour = {1.0f, 0.5f, 0.0f};
    Views->Save("views");
    EXPECT_EQ(ProgramFolder.Read("views.ini"), "\n\n"
                                               "VIEW {\n"
                                               "  NAME            \"Music\"\n"
                                               "  COLOR           (1.00,0.50,0.00)\n"
                                               "  TEXTURE         \"\"\n"
                                               "  ENABLED         TRUE\n"
                                               "  EXTENSIONS {\n"
                                               "    mp3\n"
                                               "    ogg\n"
                                               "  }\n"
                                               "}\n"
                                               "\n");
    const auto log = NewLogLines();
    EXPECT_EQ(log, (std::vector<std::string>{"Saving Views Ini File...", "Done!"}));
}

TEST_F(ViewTest, MissingFileIsReportedNeverCreated)
{
    View("Kept", {"txt"}, true);
    Views->Load("views");
    EXPECT_EQ(Views->Count(), 0);
    Views->Save("views");
    const std::string path = ProgramFolder.Path() + "views.ini";
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"  ERROR: QX_FILE: File \"" + path + "\" not found!",
                                                       "  ERROR: QX_FILE: File \"" + path + "\" not found!"}));
    EXPECT_EQ(ProgramFolder.Read("views.ini"), "");
    EXPECT_FALSE(TheEngine->FileSystem->FileExists(path, QOXFileSystem::Silent));
}

TEST_F(ViewTest, BrokenFileLoadsWhatItCan)
{
    ProgramFolder.Write("views.ini", "garbage before any block\n"
                                     "VIEW {\n"
                                     "  NAME \"Images\"\n"
                                     "  COLOR (red,0.25,x7)\n"
                                     "  SHININESS 12\n"
                                     "  ENABLED yes\n"
                                     "  EXTENSIONS {\n"
                                     "    JPG upper case is stored as written\n"
                                     "\n"
                                     "    png\n"
                                     "    png\n"
                                     "VIEW {\n"
                                     "  NAME \"Images\"\n"
                                     "  EXTENSIONS {\n"
                                     "    gif\n"
                                     "  }\n"
                                     "  \"unclosed quote\n"
                                     "}\n"
                                     "}}}\n"
                                     "VIEW{\n"
                                     "VIEW {\n"
                                     "  COLOR 1 0.5\n"
                                     "  EXTENSIONS {\n"
                                     "    txt");
    Views->Load("views");
    ASSERT_EQ(Names(*Views), (std::vector<std::string>{"Images", "Images", "NEW VIEW"}));
    const QVGeneric* first = Views->GetView(0);
    EXPECT_EQ(first->Colour, (QXColor{0.0f, 0.25f, 1.0f}));
    EXPECT_FALSE(first->Enabled);
    EXPECT_EQ(first->Extensions().Lines, (std::vector<std::string>{"JPG", "png"}));
    EXPECT_EQ(Views->GetView(1)->Extensions().Lines, std::vector<std::string>{"gif"});
    EXPECT_TRUE(Views->GetView(1)->Enabled);
    EXPECT_EQ(Views->GetView(2)->Colour, (QXColor{1.0f, 0.5f, 1.0f}));
    EXPECT_EQ(Views->GetView(2)->Extensions().Lines, std::vector<std::string>{"txt"});
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Loading Views Ini File...", "Done!"}));
}

TEST_F(ViewTest, ExtensionsMatchInLowerCaseFirstViewFirst)
{
    QVGeneric* images = View("Images", {"jpg", "png"}, true);
    View("Shouting", {"GIF"}, true);
    QVGeneric* pictures = View("Pictures", {"jpg", "bmp"}, true);
    EXPECT_EQ(Views->FindView("JPG", ViewScope::EnabledOnly), images);
    EXPECT_EQ(Views->FindView("Bmp", ViewScope::EnabledOnly), pictures);
    EXPECT_EQ(Views->FindView("gif", ViewScope::EnabledOnly), nullptr);
    EXPECT_EQ(Views->FindView("GIF", ViewScope::EnabledOnly), nullptr);
    EXPECT_EQ(Views->FindView("", ViewScope::IncludeDisabled), nullptr);
    EXPECT_EQ(Views->FindView("jpgx", ViewScope::IncludeDisabled), nullptr);

    images->Disable();
    EXPECT_EQ(Views->FindView("jpg", ViewScope::EnabledOnly), pictures);
    EXPECT_EQ(Views->FindView("png", ViewScope::EnabledOnly), nullptr);
    EXPECT_EQ(Views->FindView("png", ViewScope::IncludeDisabled), images);
}

TEST_F(ViewTest, LongExtensionsAreCutAlikeWhenStoredAndLookedUp)
{
    const std::string longExtension(40, 'x');
    QVGeneric* view = View("Long", {longExtension.c_str(), longExtension.c_str()}, true);
    EXPECT_EQ(view->Extensions().Lines, std::vector<std::string>{std::string(32, 'x')});
    EXPECT_EQ(Views->FindView(std::string(40, 'X'), ViewScope::EnabledOnly), view);
}

TEST_F(ViewTest, ToggleWithSingleViewsLeavesOnlyTheClickedOneOn)
{
    QVGeneric* a = View("A", {"a"}, true);
    QVGeneric* b = View("B", {"b"}, true);
    QVGeneric* c = View("C", {"c"}, false);
    EXPECT_EQ(Views->EnabledCount(), 2);

    a->Toggle(ViewSelection::Single);
    EXPECT_TRUE(a->Enabled);
    EXPECT_FALSE(b->Enabled);
    EXPECT_FALSE(c->Enabled);
    c->Toggle(ViewSelection::Single);
    EXPECT_FALSE(a->Enabled);
    EXPECT_TRUE(c->Enabled);
    EXPECT_EQ(Views->EnabledCount(), 1);
    EXPECT_TRUE(Views->AnyEnabled());
    EXPECT_EQ(Display.Changes, 2);
}

TEST_F(ViewTest, ToggleWithMultipleViewsFlipsOnlyTheClickedOne)
{
    QVGeneric* a = View("A", {"a"}, true);
    QVGeneric* b = View("B", {"b"}, false);
    b->Toggle(ViewSelection::Multiple);
    EXPECT_EQ(Views->EnabledCount(), 2);
    a->Toggle(ViewSelection::Multiple);
    b->Toggle(ViewSelection::Multiple);
    EXPECT_EQ(Views->EnabledCount(), 0);
    EXPECT_FALSE(Views->AnyEnabled());
    EXPECT_EQ(Views->FindView("a", ViewScope::EnabledOnly), nullptr);
    EXPECT_EQ(Views->FindView("a", ViewScope::IncludeDisabled), a);
    EXPECT_EQ(Display.Changes, 3);
}

TEST_F(ViewTest, DeleteAndSwapKeepTheOrderAndIgnoreBadIndices)
{
    View("A", {}, true);
    View("B", {}, true);
    View("C", {}, true);
    Views->SwapViews(0, 2);
    Views->SwapViews(1, 3);
    Views->SwapViews(-1, 0);
    EXPECT_EQ(Names(*Views), (std::vector<std::string>{"C", "B", "A"}));
    Views->DeleteView(0);
    Views->DeleteView(5);
    Views->DeleteView(-1);
    EXPECT_EQ(Names(*Views), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(Views->GetView(2), nullptr);
    EXPECT_EQ(Views->AddView(std::string(40, 'n'))->GetName(), std::string(32, 'n'));
}

TEST_F(ViewTest, UnwritableViewIsLeftOutWithAConsoleLine)
{
    ProgramFolder.Write("views.ini", "");
    View("Say \"cheese\"", {"jpg"}, true);
    View("Fine", {"txt"}, true);
    View("Broken ext", {"a\nb"}, true);
    Views->Save("views");
    auto loaded = Reloaded();
    EXPECT_EQ(Names(*loaded), std::vector<std::string>{"Fine"});
    EXPECT_EQ(NewLogLines(),
              (std::vector<std::string>{"Saving Views Ini File...",
                                        "Left out of the views file: the view name Say \"cheese\" holds a double "
                                        "quote or a line break.",
                                        "Left out of the views file: the extension a b holds a double quote or a "
                                        "line break.",
                                        "Done!", "Loading Views Ini File...", "Done!"}));
}

TEST_F(ViewTest, DestroyingTheEngineSavesTheViews)
{
    ProgramFolder.Write("views.ini", "");
    View("Kept", {"txt"}, false);
    Views.reset();
    EXPECT_EQ(Names(*Reloaded()), std::vector<std::string>{"Kept"});
}

TEST_F(ViewTest, ShippedViewsColourFilesWithoutHidingAny)
{
    std::filesystem::copy_file(ORBIVANE_DATA_DIR "views.ini", ProgramFolder.Path() + "views.ini");
    Views->Load("views");
    EXPECT_GE(Views->Count(), 4);
    EXPECT_FALSE(Views->AnyEnabled());
    const QVGeneric* images = Views->FindView("JPG", ViewScope::IncludeDisabled);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->GetName(), "Images");
    for (const char* extension : {"mp3", "pdf", "cpp", "png"})
        EXPECT_NE(Views->FindView(extension, ViewScope::IncludeDisabled), nullptr) << extension;
}

} // namespace
