// What the child lists cost, counted in the bytes this test program takes with `new`: a parent with
// many children must not copy its list whenever a child joins or leaves.
#include "engine/qox_object.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::size_t gAllocatedBytes = 0;
} // namespace

void* operator new(std::size_t size)
{
    gAllocatedBytes += size;
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

TEST(QOXObjectCost, ChildrenJoinAndLeaveWithoutCopyingTheirParentsList)
{
    constexpr int kChildren = 20000;
    QOXObject* parent = QOXNew<QOXObject>(nullptr, "parent");
    std::vector<QOXObject*> children(kChildren);
    const std::size_t before = gAllocatedBytes;
    for (QOXObject*& child : children)
        child = QOXNew<QOXObject>(parent, "child");
    // First come, first gone: the order in which an owning list frees its items.
    for (QOXObject* child : children)
        child->Destroy();
    const std::size_t perChild = (gAllocatedBytes - before) / kChildren;
    // The child itself; a copied list would add a pointer for every sibling, thousands of bytes.
    EXPECT_LE(perChild, sizeof(QOXObject) + 64);
    EXPECT_EQ(parent->ChildCount(), 0);
    parent->Destroy();
}

} // namespace
