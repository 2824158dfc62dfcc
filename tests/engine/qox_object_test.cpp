#include "engine/qox_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gDeaths;

class Recorded : public QOXObject {
    QOX_CLASS(Recorded)
public:
    using QOXObject::QOXObject;

protected:
    ~Recorded() override { gDeaths.push_back(GetName()); }
};

TEST(QOXObject, IdsRiseAndAreNeverReused)
{
    QOXObject* a = QOXNew<QOXObject>(nullptr, "a");
    const auto idA = a->GetID();
    a->Destroy();
    QOXObject* b = QOXNew<QOXObject>(nullptr, "b");
    EXPECT_EQ(b->GetID(), idA + 1);
    b->Destroy();
}

TEST(QOXObject, OwnParentBecomesNoParent)
{
    QOXObject* a = QOXNew<QOXObject>(nullptr, "a");
    a->SetParent(a);
    EXPECT_FALSE(a->HasParent());
    EXPECT_TRUE(a->GetChildren().empty());
    a->Destroy();
}

TEST(QOXObject, ParentDestroysChildrenLastAttachedFirstAndGrandchildrenBeforeTheirParent)
{
    gDeaths.clear();
    const auto before = QOXObject::LiveInstances();
    QOXObject* root = QOXNew<Recorded>(nullptr, "root");
    QOXObject* first = QOXNew<Recorded>(root, "first");
    QOXNew<Recorded>(first, "grandchild");
    QOXNew<Recorded>(root, "second");
    QOXNew<Recorded>(root, "third");
    ASSERT_EQ(root->GetChildren().size(), 3u);

    root->Destroy();
    EXPECT_EQ(gDeaths, (std::vector<std::string>{"third", "second", "grandchild", "first", "root"}));
    EXPECT_EQ(QOXObject::LiveInstances(), before);
}

TEST(QOXObject, ChildLeavesItsParentsListWhenItDies)
{
    QOXObject* root = QOXNew<QOXObject>(nullptr, "root");
    QOXObject* a = QOXNew<QOXObject>(root, "a");
    QOXObject* b = QOXNew<QOXObject>(root, "b");
    a->Destroy();
    ASSERT_EQ(root->GetChildren().size(), 1u);
    EXPECT_EQ(root->GetChildren()[0], b);
    root->Destroy();
}

TEST(QOXObject, UniqueChildrenAreListedOnce)
{
    QOXObject* root = QOXNew<QOXObject>(nullptr, "root");
    QOXObject* a = QOXNew<QOXObject>(root, "a");
    root->AddChild(a);
    a->SetParent(root);
    EXPECT_EQ(root->GetChildren().size(), 1u);
    root->Destroy();
}

// A parent that records which children left it.
class Watching : public QOXObject {
    QOX_CLASS(Watching)
public:
    using QOXObject::QOXObject;
    std::vector<QOXObject*> Left;

protected:
    void ChildRemoved(QOXObject* child) override { Left.push_back(child); }
};

TEST(QOXObject, MovingToAnotherParentListsTheObjectThereOnlyAndItDiesOnce)
{
    gDeaths.clear();
    const auto before = QOXObject::LiveInstances();
    auto* first = QOXNew<Watching>(nullptr, "first");
    auto* second = QOXNew<Watching>(nullptr, "second");
    QOXObject* sibling = QOXNew<Recorded>(first, "sibling");
    QOXObject* moved = QOXNew<Recorded>(first, "moved");
    QOXNew<Recorded>(moved, "grandchild");

    moved->SetParent(second);
    EXPECT_EQ(first->GetChildren(), std::vector<QOXObject*>{sibling});
    EXPECT_EQ(second->GetChildren(), std::vector<QOXObject*>{moved});
    EXPECT_EQ(first->Left, std::vector<QOXObject*>{moved});
    EXPECT_EQ(moved->GetParent(), second);

    // AddChild moves as well; RemoveChild leaves the object without a parent.
    first->AddChild(moved);
    EXPECT_EQ(first->GetChildren(), (std::vector<QOXObject*>{sibling, moved}));
    EXPECT_EQ(second->ChildCount(), 0);
    first->RemoveChild(sibling);
    EXPECT_FALSE(sibling->HasParent());
    EXPECT_EQ(first->ChildCount(), 1);
    sibling->SetParent(second);

    first->Destroy();
    second->Destroy();
    EXPECT_EQ(gDeaths, (std::vector<std::string>{"grandchild", "moved", "sibling"}));
    EXPECT_EQ(QOXObject::LiveInstances(), before);
}

TEST(QOXObject, DescribeNamesTheRuntimeClassAndNamesAreCutTo32)
{
    QOXObject* object = QOXNew<Recorded>(nullptr, std::string(40, 'n'));
    EXPECT_EQ(object->GetName(), std::string(32, 'n'));
    object->SetName("Ring \"home\"");
    EXPECT_EQ(object->Describe(), "ID " + std::to_string(object->GetID()) + ": \"Ring \"home\"\" (Recorded)");
    object->Destroy();
}

TEST(QOXObject, NameIsCutWithoutSplittingACharacter)
{
    // 31 ASCII letters and a two-byte character that would straddle the limit.
    QOXObject* object = QOXNew<QOXObject>(nullptr, std::string(31, 'a') + "\xC3\xA9");
    EXPECT_EQ(object->GetName(), std::string(31, 'a'));
    object->Destroy();
}

} // namespace
