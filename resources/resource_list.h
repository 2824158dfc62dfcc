#pragma once
// The list used for every collection: an ordered array of references that grows and shrinks in
// steps of GrowBy, optionally unique, optionally owning (freeing) its items, optionally keeping
// order when an item is deleted. Registers whose entries keep their places (display lists) use it
// with empty slots.
//
// However long a list gets, adding stays cheap: the array's storage grows geometrically beneath
// its GrowBy steps, and a long unique list finds its items through a hash set instead of a search.
#include <algorithm>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "resources/resource_main.h"

inline constexpr ResourceKind kListKind{"QOX Resource List", "", "", ResourceKind::Naming::FileNameOnly};

template <class T>
class QRList : public QOXResource {
    QOX_CLASS(QRList)
public:
    enum class Uniqueness { AllowDuplicates, Unique };
    enum class Ownership { References, OwnsItems };
    // Unique lists of at least this many items keep the hash set; shorter ones search.
    static constexpr int kIndexedFrom = 32;

    QRList(QOXObject* owner, Uniqueness unique, Ownership owns)
        : QOXResource(owner, kListKind), Unique(unique == Uniqueness::Unique),
          OwnsItems(owns == Ownership::OwnsItems)
    {
    }

    int LastIndex() const { return Last; }
    int Count() const { return Last + 1; }
    T* Get(int index) const { return Items[static_cast<std::size_t>(index)]; }
    int IndexOf(const T* item) const
    {
        const auto found = std::find(begin(), end(), item);
        return found == end() ? -1 : static_cast<int>(found - begin());
    }
    bool Contains(const T* item) const { return Indexed ? Members.count(item) != 0 : IndexOf(item) != -1; }
    // The number of slots the array holds (one growth step ahead of the items).
    int Capacity() const { return static_cast<int>(Items.size()); }

    void Add(T* item)
    {
        if (item == nullptr || (Unique && Contains(item)))
            return;
        ++Last;
        if (Last % GrowBy == 0)
            Resize(Last + GrowBy);
        Items[static_cast<std::size_t>(Last)] = item;
        Remember(item);
        Empty = false;
    }

    // Takes the item out of the list; an owning list then frees it. The item leaves the list before
    // it is freed, so that whatever its end triggers sees a consistent list.
    void Delete(T* item)
    {
        const int index = item == nullptr ? -1 : IndexOf(item);
        if (index == -1)
            return;
        if (KeepOrder) {
            std::move(Items.begin() + index + 1, Items.begin() + Last + 1, Items.begin() + index);
        } else if (index != Last) {
            Items[static_cast<std::size_t>(index)] = Items[static_cast<std::size_t>(Last)];
        }
        Items[static_cast<std::size_t>(Last)] = nullptr;
        Members.erase(item);
        DropLast();
        if (OwnsItems)
            DestroyItem(item);
    }

    void Clear()
    {
        std::vector<T*> items;
        items.swap(Items);
        const int last = Last;
        Last = -1;
        Members.clear();
        Indexed = false;
        Empty = true;
        if (!OwnsItems)
            return;
        for (int i = 0; i <= last; ++i) {
            if (items[static_cast<std::size_t>(i)] != nullptr)
                DestroyItem(items[static_cast<std::size_t>(i)]);
        }
    }

    void Swap(int i, int j)
    {
        if (i == -1 || j == -1)
            return;
        std::swap(Items[static_cast<std::size_t>(i)], Items[static_cast<std::size_t>(j)]);
    }

    // Puts the item into the lowest empty slot, or appends it when there is none; its index.
    int AddToEmptySlot(T* item)
    {
        const int slot = IndexOf(nullptr);
        if (slot == -1) {
            Add(item);
            return Last;
        }
        Items[static_cast<std::size_t>(slot)] = item;
        Remember(item);
        return slot;
    }
    // Empties the slot (the item stays alive); empty slots at the end are dropped.
    void EmptySlot(int index)
    {
        if (index < 0 || index > Last)
            return;
        Members.erase(Get(index));
        Items[static_cast<std::size_t>(index)] = nullptr;
        while (Last >= 0 && Items[static_cast<std::size_t>(Last)] == nullptr)
            DropLast();
    }

    // Destroys the engine object at the index, when there is one; it is expected to leave the list
    // as it dies.
    void DestroyAt(int index)
    {
        static_assert(std::is_base_of_v<QOXObject, T>, "only engine objects are destroyed");
        if (index >= 0 && index <= Last && Get(index) != nullptr)
            Get(index)->Destroy();
    }
    // Destroys, from the last item to the first, each item whose parent is `owner`, or every item
    // when `owner` is none. Each item is expected to leave the list as it dies.
    void DestroyItemsOwnedBy(const QOXObject* owner)
    {
        static_assert(std::is_base_of_v<QOXObject, T>, "only engine objects have owners");
        for (int i = Last; i >= 0; --i) {
            if (i <= Last && Get(i) != nullptr && (owner == nullptr || Get(i)->GetParent() == owner))
                Get(i)->Destroy();
        }
    }

    // Gives back the room the array grew ahead of its items (a list that is done growing).
    void ShrinkToFit() { Items.shrink_to_fit(); }

    void SetKeepOrder(bool keepOrder) { KeepOrder = keepOrder; }
    void SetUnique(bool unique)
    {
        Unique = unique;
        Members.clear();
        Indexed = false;
        if (Unique && Count() >= kIndexedFrom)
            BuildIndex();
    }
    void SetOwnsItems(bool ownsItems) { OwnsItems = ownsItems; }
    void SetGrowBy(int growBy) { GrowBy = growBy > 0 ? growBy : 1; }

    auto begin() const { return Items.begin(); }
    auto end() const { return Items.begin() + (Last + 1); }

protected:
    void ReleaseData() override { Clear(); }

private:
    // The array's size (Capacity) changes in GrowBy steps; the storage below it grows by doubling and
    // is given back once it is four times larger than needed, so that a long list is built in
    // linear time and an emptied one does not keep its memory.
    void Resize(int slotCount)
    {
        const std::size_t wanted = static_cast<std::size_t>(slotCount);
        if (wanted > Items.capacity())
            Items.reserve(std::max(wanted, Items.capacity() * 2));
        Items.resize(wanted, nullptr);
        if (Items.capacity() > 4 * std::max<std::size_t>(wanted, 16))
            Items.shrink_to_fit();
    }

    void DropLast()
    {
        --Last;
        if (Last % GrowBy == GrowBy - 1)
            Resize(Last + 1);
    }

    void Remember(T* item)
    {
        if (Indexed)
            Members.insert(item);
        else if (Unique && Count() >= kIndexedFrom)
            BuildIndex();
    }

    void BuildIndex()
    {
        Members.clear();
        for (const T* item : *this) {
            if (item != nullptr)
                Members.insert(item);
        }
        Indexed = true;
    }

    static void DestroyItem(T* item)
    {
        if constexpr (std::is_base_of_v<QOXObject, T>)
            item->Destroy();
        else
            delete item;
    }

    std::vector<T*> Items; // owned when OwnsItems; otherwise references; empty slots are null
    int Last = -1;
    bool Unique = false;
    bool OwnsItems = false;
    int GrowBy = 4;
    bool KeepOrder = false;
    std::unordered_set<const T*> Members; // the items, while Indexed
    bool Indexed = false;
};

// The register of an engine that makes and owns resources (fonts, shaders): a list, a child of the
// engine, of the engine's items in the order they were made. The items are children of the engine
// too; each leaves the register when it dies, whoever ends it (the engine calls ForgetChild from
// its ChildRemoved).
template <class T>
QRList<T>* NewRegister(QOXObject* engine)
{
    auto* list = QOXNew<QRList<T>>(engine, QRList<T>::Uniqueness::AllowDuplicates, QRList<T>::Ownership::References);
    list->SetKeepOrder(true);
    return list;
}

// Forgets a child that left the engine: an item of the register, or the register itself.
template <class T>
void ForgetChild(QRList<T>*& registerList, QOXObject* child)
{
    if (child == registerList)
        registerList = nullptr;
    else if (registerList != nullptr)
        registerList->Delete(dynamic_cast<T*>(child));
}
