#pragma once
// The list used for every collection: an ordered array of references that grows and shrinks in
// steps of GrowBy, optionally unique, optionally owning (freeing) its items, optionally keeping
// order when an item is deleted.
#include <algorithm>
#include <type_traits>
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
        for (int i = 0; i <= Last; ++i) {
            if (Items[static_cast<std::size_t>(i)] == item)
                return i;
        }
        return -1;
    }
    bool Contains(const T* item) const { return IndexOf(item) != -1; }
    // The number of slots the array holds (one growth step ahead of the items).
    int Capacity() const { return static_cast<int>(Items.size()); }

    void Add(T* item)
    {
        if (item == nullptr || (Unique && Contains(item)))
            return;
        ++Last;
        if (Last % GrowBy == 0)
            Items.resize(static_cast<std::size_t>(Last + GrowBy), nullptr);
        Items[static_cast<std::size_t>(Last)] = item;
        Empty = false;
    }

    // Takes the item out of the list; an owning list then frees it. The item leaves the list before
    // it is freed, so that whatever its end triggers sees a consistent list.
    void Delete(T* item)
    {
        const int index = IndexOf(item);
        if (index == -1)
            return;
        if (KeepOrder) {
            std::move(Items.begin() + index + 1, Items.begin() + Last + 1, Items.begin() + index);
        } else if (index != Last) {
            Items[static_cast<std::size_t>(index)] = Items[static_cast<std::size_t>(Last)];
        }
        Items[static_cast<std::size_t>(Last)] = nullptr;
        --Last;
        if (Last % GrowBy == GrowBy - 1)
            Items.resize(static_cast<std::size_t>(Last + 1));
        if (OwnsItems)
            DestroyItem(item);
    }

    void Clear()
    {
        std::vector<T*> items;
        items.swap(Items);
        const int last = Last;
        Last = -1;
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

    void SetKeepOrder(bool keepOrder) { KeepOrder = keepOrder; }
    void SetUnique(bool unique) { Unique = unique; }
    void SetOwnsItems(bool ownsItems) { OwnsItems = ownsItems; }
    void SetGrowBy(int growBy) { GrowBy = growBy > 0 ? growBy : 1; }

    auto begin() const { return Items.begin(); }
    auto end() const { return Items.begin() + (Last + 1); }

    std::vector<T*> Items; // owned when OwnsItems; otherwise references
    int Last = -1;
    bool Unique = false;
    bool OwnsItems = false;
    int GrowBy = 4;
    bool KeepOrder = false;

protected:
    void ReleaseData() override { Clear(); }

private:
    static void DestroyItem(T* item)
    {
        if constexpr (std::is_base_of_v<QOXObject, T>)
            item->Destroy();
        else
            delete item;
    }
};
