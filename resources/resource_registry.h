#pragma once
// The register of an engine that makes and owns resources (fonts, shaders): the items in the order
// they were made. An item leaves the register when it dies, whoever ends it (the owner calls Forget
// from its ChildRemoved).
#include <algorithm>
#include <vector>

#include "engine/qox_object.h"

template <class T>
class QRRegistry {
public:
    explicit QRRegistry(const QOXObject* engine) : OwningEngine(engine) {}

    T* Add(T* item)
    {
        Items.push_back(item);
        Last = static_cast<int>(Items.size()) - 1;
        return item;
    }

    T* Get(int index) const { return Items[static_cast<std::size_t>(index)]; }

    void Delete(int index)
    {
        if (index >= 0 && index <= Last)
            Get(index)->Destroy();
    }

    // From the last item to the first, deletes every item whose parent is `owner`; the engine
    // itself as owner deletes all.
    void DeleteOwnedBy(const QOXObject* owner)
    {
        for (int i = Last; i >= 0; --i) {
            if (owner == OwningEngine || Get(i)->GetParent() == owner)
                Delete(i);
        }
    }

    void Forget(const QOXObject* child)
    {
        const auto found = std::find_if(Items.begin(), Items.end(),
                                        [child](const T* item) { return static_cast<const QOXObject*>(item) == child; });
        if (found == Items.end())
            return;
        Items.erase(found);
        Last = static_cast<int>(Items.size()) - 1;
    }

    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }

    std::vector<T*> Items; // owned by the engine as its children
    int Last = -1;

private:
    const QOXObject* OwningEngine = nullptr; // not owned
};
