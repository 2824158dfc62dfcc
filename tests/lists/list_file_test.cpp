#include "lists/list_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine/qox_main.h"
#include "lists/favorite_main.h"
#include "lists/favorite_recent.h"
#include "lists/view_main.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

using Record = std::vector<std::string>;
using Records = std::vector<Record>;

// Texts with every character the block syntax treats specially, alone and around other text.
std::vector<std::string> MutatedTexts()
{
    std::vector<std::string> texts{"", "  ", "}}", "VIEW {", "FOLDERS {", "a } b"};
    for (const std::string special : {"}", "{", "\"", " ", "\t", "(", ")", ",", ";", "\\"}) {
        texts.push_back(special);
        texts.push_back("x" + special);
        texts.push_back(special + "x");
        texts.push_back("a" + special + "b");
    }
    return texts;
}

bool HasQuote(const std::string& text)
{
    return text.find('"') != std::string::npos;
}

std::string AsFolder(const std::string& text)
{
    return "/" + text + "/";
}

// One of the three list files: how its engine takes the texts, and what a fresh engine reads back.
struct ListKind {
    const char* File;
    std::function<void(const std::vector<std::string>& texts)> Save;
    std::function<Records()> Load;
    // What reads back from a text: nothing when the record holds a double quote.
    std::function<Record(const std::string& text)> Expected;
};

const std::vector<ListKind>& ListKinds()
{
    static const std::vector<ListKind> kinds{
        {"views.ini",
         [](const std::vector<std::string>& texts) {
             auto views = QOXMake<QOXViewEngine>(nullptr);
             for (const std::string& text : texts) {
                 QVGeneric* view = views->AddView(text);
                 view->Texture = text;
                 view->AddExtension(text);
                 view->AddExtension("after");
             }
         },
         [] {
             auto views = QOXMake<QOXViewEngine>(nullptr);
             views->Load("views");
             Records records;
             for (int i = 0; i < views->Count(); ++i) {
                 const QVGeneric* view = views->GetView(i);
                 Record record{view->GetName(), view->Texture};
                 for (const std::string& extension : view->Extensions().Lines)
                     record.push_back(extension);
                 records.push_back(record);
             }
             return records;
         },
         [](const std::string& text) { return Record{text, text, text, "after"}; }},
        {"favorites.ini",
         [](const std::vector<std::string>& texts) {
             auto favorites = QOXMake<QOXFavoriteEngine>(nullptr);
             for (const std::string& text : texts)
                 favorites->AddFavorite(text)->Folder = AsFolder(text);
         },
         [] {
             auto favorites = QOXMake<QOXFavoriteEngine>(nullptr);
             favorites->Load("favorites");
             Records records;
             for (int i = 0; i < favorites->Count(); ++i)
                 records.push_back({favorites->GetFavorite(i)->GetName(), favorites->GetFavorite(i)->Folder});
             return records;
         },
         [](const std::string& text) { return Record{text, AsFolder(text)}; }},
        {"recent.ini",
         [](const std::vector<std::string>& texts) {
             auto recent = QOXMake<QAFRecent>(nullptr);
             for (const std::string& text : texts)
                 recent->Settings.Recent.Folders.push_back(AsFolder(text));
         },
         [] {
             auto recent = QOXMake<QAFRecent>(nullptr);
             recent->Load("recent");
             Records records;
             for (const std::string& folder : recent->Settings.Recent.Folders)
                 records.push_back({folder});
             return records;
         },
         [](const std::string& text) { return Record{AsFolder(text)}; }},
    };
    return kinds;
}

class ListFileTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        TheEngine->ShowErrorDialogs = false;
        // List files are written only where they exist.
        for (const ListKind& kind : ListKinds())
            ProgramFolder.Write(kind.File, "");
    }

    static std::string FuzzFile(const std::string& relative) { return std::string(ORBIVANE_FUZZ_DIR) + relative; }

    // Loads the file through its engine, which saves it again as it goes; returns the saved text.
    std::string LoadAndSave(const ListKind& kind)
    {
        kind.Load();
        return ProgramFolder.Read(kind.File);
    }
};

// Every record whose texts can be written reads back exactly, whatever braces, quotes, spaces and
// TABs they hold, and a saved file loads and saves into the very same file.
TEST_F(ListFileTest, EveryListFileReadsBackWhatItWrote)
{
    const std::vector<std::string> texts = MutatedTexts();
    for (const ListKind& kind : ListKinds()) {
        SCOPED_TRACE(kind.File);
        // The recent file keeps 21 folders; groups of 20 keep them all.
        for (std::size_t first = 0; first < texts.size(); first += 20) {
            const std::vector<std::string> group(texts.begin() + static_cast<long>(first),
                                                 texts.begin() + static_cast<long>(std::min(first + 20, texts.size())));
            ProgramFolder.Write(kind.File, "");
            kind.Save(group);
            Records expected;
            for (const std::string& text : group) {
                if (!HasQuote(text))
                    expected.push_back(kind.Expected(text));
            }
            EXPECT_EQ(kind.Load(), expected);
            const std::string saved = ProgramFolder.Read(kind.File);
            EXPECT_EQ(LoadAndSave(kind), saved);
        }
    }
}

// Files that lost records before: each loads as written and saves into the same file.
TEST_F(ListFileTest, FilesThatOnceLostRecordsReadBackWhole)
{
    const struct {
        const ListKind& Kind;
        const char* Regression;
        Records Expected;
    } cases[] = {
        {ListKinds()[0], "views/quoted-brace-extension.ini", {{"Braces", "", "txt", "}", "md", "{", "rst"}}},
        {ListKinds()[1], "favorites/quoted-brace-name.ini", {{"}", "/srv/a/"}, {"b", "}"}}},
        {ListKinds()[2], "recent/quoted-brace-folder.ini", {{"/srv/a/"}, {"}"}, {"/srv/b/"}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Regression);
        std::filesystem::copy_file(FuzzFile("regressions/") + test.Regression, ProgramFolder.Path() + test.Kind.File,
                                   std::filesystem::copy_options::overwrite_existing);
        const std::string saved = LoadAndSave(test.Kind);
        EXPECT_EQ(test.Kind.Load(), test.Expected);
        EXPECT_EQ(ProgramFolder.Read(test.Kind.File), saved);
    }
}

// A list file that is a link to an endless device, a pipe or holds a line over 1 MiB is refused
// without waiting: nothing is read, and shutting the engine down leaves the file as it was.
TEST_F(ListFileTest, HostileListFilesAreRefusedAndKept)
{
    for (const ListKind& kind : ListKinds()) {
        for (const HostileFile hostile : HostileFiles()) {
            SCOPED_TRACE(std::string(kind.File) + " as " + HostileFileName(hostile));
            const std::string path = MakeHostileFile(ProgramFolder.Path() + kind.File, hostile);
            const std::string state = HostileFileState(path);
            EXPECT_EQ(kind.Load(), Records{});
            EXPECT_EQ(HostileFileState(path), state);
            const std::vector<std::string> log = NewLogLines();
            ASSERT_GE(log.size(), 2u);
            EXPECT_EQ(log[1].rfind("  ERROR: QX_FILE: ", 0), 0u) << log[1];
            const std::string kept = "File \"" + path + "\" could not be read, so it is not written over.";
            EXPECT_NE(std::find(log.begin(), log.end(), kept), log.end());
            std::filesystem::remove(path);
        }
    }
}

} // namespace
