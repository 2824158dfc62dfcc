#include "ring/element_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/support/app_fixture.h"

namespace {

class ElementTest : public AppTest {};

std::set<std::string> ChildNames(const QREFolder& folder)
{
    std::set<std::string> names;
    folder.ForEachChild([&](QRElement* child) { names.insert(child->Name); });
    return names;
}

TEST_F(ElementTest, ScanAddsWhatIsNewAndNeverRemoves)
{
    Tree.File("a.txt", 3);
    Tree.File(".profile", 1);
    Tree.MakeFolder("sub/inner");
    Tree.MakeFolder(".cache");
    QOXRing* ring = Open();
    QREFolder& root = *ring->Root;
    EXPECT_EQ(ChildNames(root), (std::set<std::string>{"a.txt", ".profile", "sub/", ".cache/"}));
    EXPECT_EQ(root.Folders->Count(), 2);
    EXPECT_EQ(root.Files->Count(), 2);
    EXPECT_TRUE(root.Expanded);

    root.Scan();
    EXPECT_EQ(root.Folders->Count() + root.Files->Count(), 4);
    Tree.File("new.txt", 1);
    Tree.Remove("a.txt");
    root.Scan();
    EXPECT_EQ(ChildNames(root), (std::set<std::string>{"a.txt", ".profile", "sub/", ".cache/", "new.txt"}));

    auto* sub = static_cast<QREFolder*>(ChildNamed(root, "sub/"));
    EXPECT_EQ(sub->FullPath(), Tree.PathOf("sub/"));
    EXPECT_EQ(sub->Folders->Count(), 0); // not scanned until expanded
    EXPECT_EQ(ChildNamed(root, "a.txt")->FullPath(), Tree.PathOf("a.txt"));
    EXPECT_EQ(root.FullPath(), Tree.Root());
}

TEST_F(ElementTest, HiddenEntriesAreDimmedOrLeftOut)
{
    Tree.File(".hidden.txt", 1);
    Tree.MakeFolder(".hidden-folder");
    Tree.File("shown.txt", 1);
    QOXRing* ring = Open();
    QRElement* file = ChildNamed(*ring->Root, ".hidden.txt");
    QRElement* folder = ChildNamed(*ring->Root, ".hidden-folder/");
    QRElement* shown = ChildNamed(*ring->Root, "shown.txt");
    for (QRElement* hidden : {file, folder}) {
        EXPECT_TRUE(hidden->Hidden && hidden->Visible);
        EXPECT_EQ(hidden->Tint, QRElement::kHiddenTint);
    }
    EXPECT_EQ(shown->Tint, (QXColor{1.0f, 1.0f, 1.0f}));
    EXPECT_FLOAT_EQ(SectorOf(shown), 120.0f);

    Settings().DisplayHiddenFiles = false;
    ring->Relayout();
    EXPECT_FALSE(file->Visible || folder->Visible);
    EXPECT_TRUE(shown->Visible);
    EXPECT_FLOAT_EQ(SectorOf(shown), 360.0f);
    EXPECT_EQ(ring->Root->VisibleChildCount(), 1);
    EXPECT_EQ(ring->Root->TotalFolderCount(), 0);
    EXPECT_FALSE(ring->Root->Hidden);
}

TEST_F(ElementTest, SizesKeepSixtyFourBitsAlsoForTheLayout)
{
    Settings().ComputeFileSizeAutomatically = true;
    Tree.File("empty.txt", 0);
    Tree.File("big.bin", 5'000'000'000ULL);
    Tree.File("small.txt", 100);
    QOXRing* ring = Open();
    QRElement* empty = ChildNamed(*ring->Root, "empty.txt");
    QRElement* big = ChildNamed(*ring->Root, "big.bin");
    EXPECT_EQ(empty->Size, 0);
    EXPECT_EQ(empty->SizeForLayout(), 1);
    EXPECT_EQ(big->Size, 5'000'000'000LL);
    EXPECT_EQ(big->SizeForLayout(), 5'000'000'000LL); // never wrapped to 32 bits, nor negative past 2 GiB
    EXPECT_EQ(ChildNamed(*ring->Root, "small.txt")->ComputeSize(), 100);

    Settings().ComputeFileSizeAutomatically = false;
    Tree.File("later.txt", 7);
    ring->Root->Scan();
    QRElement* later = ChildNamed(*ring->Root, "later.txt");
    EXPECT_FALSE(later->SizeKnown());
    EXPECT_EQ(later->SizeForLayout(), -1);
    EXPECT_EQ(later->ComputeSize(), 7);
    Tree.Remove("later.txt");
    later->Size = -1;
    EXPECT_EQ(later->ComputeSize(), -1);
}

TEST_F(ElementTest, FolderSizesSumTheirVisibleChildrenOnce)
{
    Tree.File("docs/a.txt", 10);
    Tree.File("docs/b.txt", 20);
    Tree.File("docs/.c.txt", 40);
    Tree.MakeFolder("empty");
    Tree.File("mixed/zero.txt", 0);
    Tree.MakeFolder("mixed/nothing");
    Settings().ComputeFileSizeAutomatically = true;
    Settings().ComputeFolderSize = true;
    Settings().DisplayHiddenFiles = false;
    QOXRing* ring = Open();
    auto* docs = static_cast<QREFolder*>(ChildNamed(*ring->Root, "docs/"));
    auto* empty = static_cast<QREFolder*>(ChildNamed(*ring->Root, "empty/"));
    auto* mixed = static_cast<QREFolder*>(ChildNamed(*ring->Root, "mixed/"));
    docs->Expand();
    empty->Expand();
    mixed->Expand(); // 1 for the empty file, -1 for the unsized folder: 0, which reads as unset
    EXPECT_EQ(docs->Size, 30);
    EXPECT_EQ(empty->Size, -1);
    EXPECT_EQ(mixed->Size, -1);
    Tree.File("docs/d.txt", 1000);
    ring->Refresh();
    EXPECT_EQ(docs->Size, 30); // a known folder size stays
    Settings().ComputeFolderSize = false;
    EXPECT_EQ(docs->ComputeSize(), -1);
}

TEST_F(ElementTest, LabelsAreCutToTwentyCharacters)
{
    Tree.File("abcdefghijklmnopqrstuvwxy", 1); // 25
    Tree.File("abcdefghijklmnopqrst", 1);      // 20
    Tree.MakeFolder("Photos (2020), best");
    Tree.File("ääääääääääääääääääääääää.txt", 1);
    QOXRing* ring = Open();
    EXPECT_EQ(ChildNamed(*ring->Root, "abcdefghijklmnopqrstuvwxy")->Label, "abcdefghijklmnopqr...");
    EXPECT_EQ(ChildNamed(*ring->Root, "abcdefghijklmnopqrst")->Label, "abcdefghijklmnopqrst");
    EXPECT_EQ(ChildNamed(*ring->Root, "Photos (2020), best/")->Label, "Photos (2020), best");
    EXPECT_EQ(ChildNamed(*ring->Root, "ääääääääääääääääääääääää.txt")->Label, "ääääääääääääääääää...");
}

TEST_F(ElementTest, ExpandAllNeverDescendsThroughALink)
{
    Tree.File("a/b/c/deep.txt", 1);
    Tree.Link("a/b/loop", Tree.Root());     // back up to the top: a loop
    Tree.Link("a/to-c", Tree.PathOf("a/b/c"));
    QOXRing* ring = Open();
    auto* a = static_cast<QREFolder*>(ChildNamed(*ring->Root, "a/"));
    a->ExpandAll();
    auto* b = static_cast<QREFolder*>(ChildNamed(*a, "b/"));
    auto* toC = static_cast<QREFolder*>(ChildNamed(*a, "to-c/"));
    auto* loop = static_cast<QREFolder*>(ChildNamed(*b, "loop/"));
    ASSERT_NE(loop, nullptr);
    ASSERT_NE(toC, nullptr);
    EXPECT_TRUE(loop->IsFolder() && loop->Link && toC->Link);
    EXPECT_FALSE(loop->Expanded || toC->Expanded);
    EXPECT_EQ(loop->Folders->Count() + loop->Files->Count(), 0);
    EXPECT_TRUE(static_cast<QREFolder*>(ChildNamed(*b, "c/"))->Expanded);
    EXPECT_EQ(a->TotalFileCount(), 1);
    ring->Relayout();
    EXPECT_EQ(ring->MaxDepth(), 5);

    toC->Expand(); // opening a link by hand shows what it points to
    EXPECT_NE(ChildNamed(*toC, "deep.txt"), nullptr);
    EXPECT_EQ(ChildNamed(*toC, "deep.txt")->FullPath(), Tree.PathOf("a/to-c/deep.txt"));
}

// Expanding a whole tree works its visibility out once: every level still sums only the sizes
// of what is visible, hidden entries at every depth are left out, and every expanded folder
// heads for its focus weight.
TEST_F(ElementTest, ExpandAllSumsWhatIsVisibleAtEveryDepth)
{
    Settings().ComputeFileSizeAutomatically = true;
    Settings().ComputeFolderSize = true;
    Settings().DisplayHiddenFiles = false;
    Tree.File("a/one.txt", 10);
    Tree.File("a/.hidden.txt", 1000);
    Tree.File("a/b/two.txt", 20);
    Tree.File("a/b/.hidden/big.txt", 5000);
    Tree.File("a/b/c/three.txt", 30);
    Tree.File("a/b/c/.hidden.txt", 3000);
    Tree.Link("a/b/c/up", Tree.PathOf("a"));
    QOXRing* ring = Open();
    auto* a = static_cast<QREFolder*>(ChildNamed(*ring->Root, "a/"));
    a->ExpandAll();
    auto* b = static_cast<QREFolder*>(ChildNamed(*a, "b/"));
    auto* c = static_cast<QREFolder*>(ChildNamed(*b, "c/"));
    EXPECT_EQ(c->Size, 30 - 1); // the link counts as a folder of unset size
    EXPECT_EQ(b->Size, 20 + 29);
    EXPECT_EQ(a->Size, 10 + 49);
    for (const QRElement* hidden : {ChildNamed(*a, ".hidden.txt"), ChildNamed(*b, ".hidden/"), ChildNamed(*c, ".hidden.txt")})
        EXPECT_FALSE(hidden->Visible) << hidden->Name;
    EXPECT_TRUE(ChildNamed(*c, "three.txt")->Visible);
    for (const QREFolder* folder : {a, b, c})
        EXPECT_NE(folder->WeightAnimation, nullptr) << folder->Name;
    EXPECT_FALSE(static_cast<QREFolder*>(ChildNamed(*c, "up/"))->Expanded);
}

TEST_F(ElementTest, TheRootNeverCollapsesAndCollapsedFoldersKeepTheirChildren)
{
    Tree.File("sub/x.txt", 1);
    QOXRing* ring = Open();
    ring->Root->ToggleExpanded();
    EXPECT_TRUE(ring->Root->Expanded);
    auto* sub = static_cast<QREFolder*>(ChildNamed(*ring->Root, "sub/"));
    sub->Activate();
    EXPECT_TRUE(sub->Expanded);
    EXPECT_TRUE(ring->LayoutNeeded);
    sub->Activate();
    EXPECT_FALSE(sub->Expanded);
    EXPECT_EQ(sub->Files->Count(), 1);
    ring->Relayout();
    EXPECT_EQ(ring->MaxDepth(), 2); // a collapsed folder's children do not count
}

TEST_F(ElementTest, RefreshDropsWhatVanishedAndFindsWhatAppeared)
{
    Tree.File("keep.txt", 1);
    Tree.File("gone.txt", 1);
    Tree.File("sub/inner.txt", 1);
    Tree.File("old/x.txt", 1);
    Tree.File("collapsed/y.txt", 1);
    QOXRing* ring = Open();
    auto* sub = static_cast<QREFolder*>(ChildNamed(*ring->Root, "sub/"));
    sub->Expand();
    static_cast<QREFolder*>(ChildNamed(*ring->Root, "collapsed/"))->Expand();
    static_cast<QREFolder*>(ChildNamed(*ring->Root, "collapsed/"))->Collapse();
    Tree.Remove("gone.txt");
    Tree.Remove("old");
    Tree.Remove("collapsed/y.txt");
    Tree.File("sub/fresh.txt", 1);
    Tree.File("appeared.txt", 1);
    Tree.File("collapsed/z.txt", 1);
    ASSERT_EQ(ring->Refresh(), QROutcome::Kept);
    EXPECT_EQ(ChildNames(*ring->Root), (std::set<std::string>{"keep.txt", "appeared.txt", "sub/", "collapsed/"}));
    EXPECT_EQ(ChildNames(*sub), (std::set<std::string>{"inner.txt", "fresh.txt"}));
    // A collapsed folder drops vanished children but does not scan for new ones.
    EXPECT_TRUE(ChildNames(*static_cast<QREFolder*>(ChildNamed(*ring->Root, "collapsed/"))).empty());
    EXPECT_TRUE(ring->DisplayListStale);
}

// Refreshes that drop most entries and renames leave garbage in the folder's name store until it
// packs the survivors' names anew; every survivor keeps its name, label and path throughout.
TEST_F(ElementTest, RefreshesAndRenamesKeepEverySurvivorsNameIntact)
{
    const auto longName = [](int i) { return "file-" + std::to_string(1000 + i) + "-with-a-long-name.txt"; };
    std::set<std::string> onDisk;
    for (int i = 0; i < 120; ++i)
        onDisk.insert(Tree.File(longName(i), 1).substr(Tree.Root().size()));
    QOXRing* ring = Open();
    const QRElement* survivor = ChildNamed(*ring->Root, longName(119));
    const char* survivorName = survivor->Name.c_str();
    struct Round {
        const char* What;
        int KeepOneIn; // of the long names still there
        int Appear;
        int Rename;
    };
    const Round rounds[] = {
        {"half vanish, some appear", 2, 20, 0},
        {"most vanish", 4, 0, 0},
        {"renamed on disk and in the ring", 1, 0, 10},
        {"all but the last vanish, many appear", 1000, 200, 0},
    };
    int appeared = 0;
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.What);
        int seen = 0;
        for (const std::string& name : std::set<std::string>(onDisk)) {
            if (name.starts_with("file-") && name != longName(119) && seen++ % round.KeepOneIn != 0) {
                Tree.Remove(name);
                onDisk.erase(name);
            }
        }
        for (int i = 0; i < round.Appear; ++i, ++appeared)
            onDisk.insert(Tree.File("new-" + std::to_string(appeared), 1).substr(Tree.Root().size()));
        for (int i = 0; i < round.Rename; ++i) {
            const std::string from = *onDisk.begin();
            const std::string to = "renamed-" + std::to_string(i) + "-" + from;
            std::filesystem::rename(Tree.PathOf(from), Tree.PathOf(to));
            ChildNamed(*ring->Root, from)->SetName(to);
            onDisk.erase(from);
            onDisk.insert(to);
        }
        ASSERT_EQ(ring->Refresh(), QROutcome::Kept);
        EXPECT_EQ(ChildNames(*ring->Root), onDisk);
        ring->Root->ForEachChild([&](const QRElement* child) {
            const std::string name = child->Name;
            EXPECT_EQ(child->Label, name.size() <= 20 ? name : name.substr(0, 18) + "...");
            EXPECT_TRUE(std::filesystem::is_regular_file(child->FullPath())) << name;
        });
    }
    EXPECT_EQ(ChildNamed(*ring->Root, longName(119)), survivor);
    EXPECT_NE(survivor->Name.c_str(), survivorName) << "the survivors' names were packed into a fresh store";
}

TEST_F(ElementTest, AFolderThatCannotBeReadKeepsWhatItShows)
{
    if (!FileTree::PermissionsApply())
        GTEST_SKIP() << "permissions do not stop this user";
    Tree.File("locked/a.txt", 1);
    QOXRing* ring = Open();
    auto* locked = static_cast<QREFolder*>(ChildNamed(*ring->Root, "locked/"));
    locked->Expand();
    ASSERT_EQ(locked->Files->Count(), 1);
    Tree.UnreadableFolder("locked");
    ring->Refresh();
    EXPECT_EQ(locked->Files->Count(), 1);
    Tree.UnreadableFolder("closed");
    ring->Refresh();
    auto* closed = static_cast<QREFolder*>(ChildNamed(*ring->Root, "closed/"));
    ASSERT_NE(closed, nullptr);
    closed->Expand();
    EXPECT_EQ(closed->Folders->Count() + closed->Files->Count(), 0);
    EXPECT_EQ(NewLogLines().back(), "Cannot read folder \"" + Tree.PathOf("closed/") + "\"");
}

TEST_F(ElementTest, AFolderThatBecameAFileIsDroppedAndTheFileFound)
{
    Tree.File("swap/a.txt", 1);
    QOXRing* ring = Open();
    Tree.Remove("swap");
    Tree.File("swap", 1);
    ring->Refresh();
    EXPECT_EQ(ChildNames(*ring->Root), (std::set<std::string>{"swap"}));
    EXPECT_FALSE(ChildNamed(*ring->Root, "swap")->IsFolder());
}

TEST_F(ElementTest, DeletingGoesThroughTheDeletionEntryPoints)
{
    Tree.File("a.txt", 1);
    Tree.File("b.txt", 1);
    Tree.File("dir/c.txt", 1);
    QOXRing* ring = Open();
    ChildNamed(*ring->Root, "a.txt")->Selected = true;
    ChildNamed(*ring->Root, "dir/")->Selected = true;
    QRList<QRElement> marked(nullptr, QRList<QRElement>::Uniqueness::Unique, QRList<QRElement>::Ownership::References);
    ring->CollectSelected(marked);
    EXPECT_EQ(marked.Count(), 2);
    marked.Clear();

    Deletion.Succeeds = false; // e.g. permission denied: the elements stay
    TheApp->DeleteSelectedInCurrentRing();
    EXPECT_EQ(Deletion.Paths.size(), 2u);
    EXPECT_EQ(ChildNames(*ring->Root).size(), 3u);

    Deletion.Paths.clear();
    Deletion.Succeeds = true;
    TheApp->DeleteSelectedInCurrentRing();
    EXPECT_EQ(Deletion.Paths, (std::vector<std::string>{Tree.PathOf("dir/"), Tree.PathOf("a.txt")}));
    EXPECT_EQ(ChildNames(*ring->Root), (std::set<std::string>{"b.txt"}));

    ring->Root->Selected = true; // deleting the root closes its ring
    TheApp->DeleteSelectedInCurrentRing();
    EXPECT_EQ(Deletion.Paths.back(), Tree.Root());
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
}

// Keeps references to elements the way the clipboard does, and lets go of freed ones: a subtree
// freed whole is told once, by its top.
class ReferenceList : public QRElementWatcher {
public:
    void ElementFreed(const QRElement* element) override
    {
        std::vector<QRElement*> going;
        for (QRElement* kept : Elements)
            if (kept->IsWithin(*element))
                going.push_back(kept);
        for (QRElement* gone : going)
            Elements.Delete(gone);
    }
    QRList<QRElement> Elements{nullptr, QRList<QRElement>::Uniqueness::Unique, QRList<QRElement>::Ownership::References};
};

TEST_F(ElementTest, AFreedElementLeavesEveryListOfReferences)
{
    Tree.File("a.txt", 1);
    Tree.File("dir/b.txt", 1);
    Tree.File("other/c.txt", 1);
    ReferenceList copied;
    TheApp->WatchElements(&copied);
    QOXRing* ring = Open();
    auto* dir = static_cast<QREFolder*>(ChildNamed(*ring->Root, "dir/"));
    dir->Expand();
    copied.Elements.Add(ChildNamed(*ring->Root, "a.txt"));
    copied.Elements.Add(ChildNamed(*dir, "b.txt"));
    copied.Elements.Add(ChildNamed(*ring->Root, "other/"));
    ring->FocusOn(ChildNamed(*dir, "b.txt"));

    Tree.Remove("a.txt");
    Tree.Remove("dir");
    ring->Refresh();
    EXPECT_EQ(copied.Elements.Count(), 1);
    EXPECT_EQ(ring->Target, nullptr);
    TheApp->CloseAllRings();
    EXPECT_EQ(copied.Elements.Count(), 0);
    TheApp->UnwatchElements(&copied);
}

TEST_F(ElementTest, FileDetailsAndFolderAttributes)
{
    Tree.File(".notes.txt", 42);
    Tree.MakeFolder("plain");
    QOXRing* ring = Open();
    auto* file = static_cast<QREFile*>(ChildNamed(*ring->Root, ".notes.txt"));
    const QRFileInfo info = file->Info();
    EXPECT_TRUE(info.Found && info.Hidden);
    EXPECT_EQ(info.Size, 42);
    EXPECT_GT(info.Created, 0);
    EXPECT_FALSE(static_cast<QREFolder*>(ChildNamed(*ring->Root, "plain/"))->Attributes().Hidden);
    file->Activate();
    EXPECT_EQ(Desktop.OpenedDocuments, (std::vector<std::string>{Tree.PathOf(".notes.txt")}));
    Tree.Remove(".notes.txt");
    EXPECT_FALSE(file->Info().Found);
    EXPECT_EQ(file->Refresh(), QROutcome::Removed);
}

} // namespace
