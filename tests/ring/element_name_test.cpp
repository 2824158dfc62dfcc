#include "ring/element_name.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/directory_listing.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"

namespace {

class ElementNameTest : public AppTest {};

const std::string kLongest(255, 'n');
const std::string kOneCharacter = "a" + std::string(254, '\x80'); // trailing bytes join the character before
const std::string kLatin1 = "caf\xe9 cr\xe8me br\xfbl\xe9" "e menu.txt"; // not UTF-8: a byte is a character
std::string Repeated(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

// Every name the file system allows comes back byte for byte, labelled by characters, and reaches
// its entry again: a rescan adds nothing and a refresh, which matches names against the disk,
// drops nothing. A ring that goes up from such a folder names the old root the same way.
TEST_F(ElementNameTest, EveryNameTheFileSystemAllowsSurvivesScanRefreshAndGoingUp)
{
    struct Case {
        std::string Entry;
        bool Folder;
        std::string Label;
    };
    const Case cases[] = {
        {kLongest, false, std::string(18, 'n') + "..."},
        {"d" + kLongest.substr(1), true, "d" + std::string(17, 'n') + "..."},
        {kOneCharacter, false, kOneCharacter},
        {kLatin1, false, "caf\xe9 cr\xe8me br\xfbl\xe9" "e ..."},
        {Repeated("\xf0\x9f\x98\x80", 21), false, Repeated("\xf0\x9f\x98\x80", 18) + "..."},
        {"\t tab and spaces ", true, "\t tab and spaces "},
    };
    for (const Case& c : cases) {
        if (c.Folder)
            Tree.MakeFolder(c.Entry);
        else
            Tree.File(c.Entry, 1);
    }
    QOXRing* ring = Open();
    for (int pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        if (pass == 1)
            ring->Root->Scan();
        if (pass == 2) {
            ASSERT_EQ(ring->Refresh(), QROutcome::Kept);
        }
        EXPECT_EQ(ring->Root->Folders->Count() + ring->Root->Files->Count(), static_cast<int>(std::size(cases)));
        for (const Case& c : cases) {
            const std::string name = c.Entry + (c.Folder ? "/" : "");
            const QRElement* element = ChildNamed(*ring->Root, name);
            ASSERT_NE(element, nullptr) << name;
            EXPECT_EQ(element->Name.size(), name.size());
            EXPECT_EQ(element->Label, c.Label);
            EXPECT_EQ(element->FullPath(), Tree.PathOf(name));
            EXPECT_TRUE(c.Folder ? platform::IsDirectory(element->FullPath()) : platform::IsFile(element->FullPath()));
        }
    }

    const std::string folder = cases[1].Entry + "/";
    QOXRing* inner = Open(folder);
    QREFolder* oldRoot = inner->Root;
    inner->UpOneLevel();
    EXPECT_EQ(ChildNamed(*inner->Root, folder), oldRoot);
    EXPECT_EQ(oldRoot->Label, cases[1].Label);
    EXPECT_EQ(oldRoot->FullPath(), Tree.PathOf(folder));
}

// When the names are packed anew, a label that shows its name follows it and a label of its own
// text keeps that text; showing the name again frees the text.
TEST_F(ElementNameTest, LabelsFollowTheirNamesOrKeepTheirOwnText)
{
    Tree.File("photo.jpg", 1);
    Tree.File("a very long name for the notes.txt", 1);
    Tree.File("a sibling with a long name.txt", 1);
    Tree.File("another sibling with a long name.txt", 1);
    QOXRing* ring = Open();
    QRElement* photo = ChildNamed(*ring->Root, "photo.jpg");
    QRElement* notes = ChildNamed(*ring->Root, "a very long name for the notes.txt");
    const char* before = photo->Name.c_str();
    photo->Label = "holiday";
    EXPECT_EQ(photo->Label.size(), 7u);
    ring->Root->RemoveChild(ChildNamed(*ring->Root, "a sibling with a long name.txt"));
    ring->Root->RemoveChild(ChildNamed(*ring->Root, "another sibling with a long name.txt"));
    EXPECT_NE(photo->Name.c_str(), before) << "most names went: the rest were packed anew";
    EXPECT_EQ(photo->Name, "photo.jpg");
    EXPECT_EQ(photo->Label, "holiday");
    EXPECT_EQ(notes->Name, "a very long name for the notes.txt");
    EXPECT_EQ(notes->Label, "a very long name f...");
    photo->UpdateLabel();
    EXPECT_EQ(photo->Label, "photo.jpg");
    photo->Label.clear();
    EXPECT_TRUE(photo->Label.empty());
    EXPECT_EQ(std::string(photo->Label), "");
}

// A label's own text is kept whole up to 65,535 bytes; a longer one is cut there, never in the
// middle of a character.
TEST_F(ElementNameTest, ALabelsOwnTextIsCutAtACharacter)
{
    Tree.File("a", 1);
    QRElement* element = ChildNamed(*Open()->Root, "a");
    const std::string euro = "\xe2\x82\xac";
    const struct {
        std::string Text;
        std::size_t Kept;
    } cases[] = {
        {std::string(QRLabel::kMostBytes, 'x'), QRLabel::kMostBytes},
        {std::string(QRLabel::kMostBytes + 10, 'x'), QRLabel::kMostBytes},
        {std::string(QRLabel::kMostBytes - 1, 'x') + euro, QRLabel::kMostBytes - 1},
        {std::string(QRLabel::kMostBytes - 3, 'x') + euro + "y", QRLabel::kMostBytes},
    };
    for (const auto& c : cases) {
        element->Label = c.Text;
        EXPECT_EQ(element->Label.size(), c.Kept);
        EXPECT_EQ(element->Label.Text(), c.Text.substr(0, c.Kept));
    }
    element->RefreshLook();
    EXPECT_EQ(element->Label, "a");
}

} // namespace
