#include "resources/resource_list.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace {

struct Plain {
    explicit Plain(int* freed) : Freed(freed) {}
    ~Plain() { ++*Freed; }
    int* Freed;
};

using List = QRList<QOXObject>;
using Uniqueness = List::Uniqueness;
using Ownership = List::Ownership;

class ListTest : public EngineTest {
protected:
    QOXObject* Item(const std::string& name) { return QOXNew<QOXObject>(TheEngine, name); }
    std::vector<std::string> Names(const List& list)
    {
        std::vector<std::string> names;
        for (QOXObject* item : list)
            names.push_back(item->GetName());
        return names;
    }
};

TEST_F(ListTest, GrowsAndShrinksInStepsOfFour)
{
    auto list = QOXMake<List>(nullptr, Uniqueness::AllowDuplicates, Ownership::References);
    EXPECT_EQ(list->LastIndex(), -1);
    EXPECT_FALSE(list->IsLoaded());
    std::vector<QOXObject*> items;
    std::vector<int> capacities;
    for (int i = 0; i < 9; ++i) {
        items.push_back(Item("i" + std::to_string(i)));
        list->Add(items.back());
        capacities.push_back(list->Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 4, 4, 4, 8, 8, 8, 8, 12}));
    EXPECT_EQ(list->LastIndex(), 8);
    EXPECT_TRUE(list->IsLoaded());

    capacities.clear();
    for (int i = 8; i >= 0; --i) {
        list->Delete(items[static_cast<std::size_t>(i)]);
        capacities.push_back(list->Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{8, 8, 8, 8, 4, 4, 4, 4, 4}));
    EXPECT_EQ(list->LastIndex(), -1);
}

TEST_F(ListTest, DeleteClosesTheGapByMovingTheLastOrKeepingOrder)
{
    auto list = QOXMake<List>(nullptr, Uniqueness::AllowDuplicates, Ownership::References);
    QOXObject* a = Item("a");
    QOXObject* b = Item("b");
    QOXObject* c = Item("c");
    for (QOXObject* item : {a, b, c})
        list->Add(item);
    list->Delete(a);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"c", "b"}));

    list->Clear();
    list->SetKeepOrder(true);
    for (QOXObject* item : {a, b, c})
        list->Add(item);
    list->Delete(a);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"b", "c"}));
    list->Delete(a); // not listed: nothing happens
    list->Add(nullptr);
    EXPECT_EQ(list->LastIndex(), 1);
}

TEST_F(ListTest, UniqueListsIgnoreRepeatsAndSwapIgnoresMinusOne)
{
    auto list = QOXMake<List>(nullptr, Uniqueness::Unique, Ownership::References);
    QOXObject* a = Item("a");
    QOXObject* b = Item("b");
    list->Add(a);
    list->Add(a);
    list->Add(b);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"a", "b"}));
    list->Swap(0, 1);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"b", "a"}));
    list->Swap(-1, 1);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(list->IndexOf(a), 1);
}

TEST_F(ListTest, OwningListFreesItemsOnDeleteClearAndDestruction)
{
    int freed = 0;
    auto list = QOXMake<QRList<Plain>>(nullptr, QRList<Plain>::Uniqueness::AllowDuplicates,
                                       QRList<Plain>::Ownership::OwnsItems);
    Plain* first = new Plain(&freed);
    list->Add(first);
    list->Add(new Plain(&freed));
    list->Add(new Plain(&freed));
    list->Delete(first);
    EXPECT_EQ(freed, 1);
    list->Clear();
    EXPECT_EQ(freed, 3);
    list->Add(new Plain(&freed));
    list.reset();
    EXPECT_EQ(freed, 4);
}

TEST_F(ListTest, OwnedEngineObjectsAreDestroyedNotLeaked)
{
    const auto before = QOXObject::LiveInstances();
    auto list = QOXMake<List>(nullptr, Uniqueness::AllowDuplicates, Ownership::OwnsItems);
    list->Add(QOXNew<QOXObject>(nullptr, "owned"));
    list->Add(QOXNew<QOXObject>(list.get(), "child and item")); // leaves the list's children as it dies
    list.reset();
    EXPECT_EQ(QOXObject::LiveInstances(), before);
}

} // namespace
