#pragma once
// The list each list engine keeps its items in: it owns them, holds each once, keeps their order
// when one is removed, and ignores indices outside it (the dialogs pass their selection, which may
// be none).
#include "resources/resource_list.h"

namespace lists {

template <class T>
class OwnedList {
public:
    explicit OwnedList(QOXObject* owner)
        : Items(QOXNew<QRList<T>>(owner, QRList<T>::Uniqueness::Unique, QRList<T>::Ownership::OwnsItems))
    {
        Items->SetKeepOrder(true);
    }

    T* Add(T* item)
    {
        Items->Add(item);
        return item;
    }
    T* Get(int index) const { return IsValid(index) ? Items->Get(index) : nullptr; }
    int Count() const { return Items->Count(); }
    void Delete(int index)
    {
        if (IsValid(index))
            Items->Delete(Items->Get(index));
    }
    void Swap(int first, int second)
    {
        if (IsValid(first) && IsValid(second))
            Items->Swap(first, second);
    }
    void Clear() { Items->Clear(); }

    auto begin() const { return Items->begin(); }
    auto end() const { return Items->end(); }

private:
    bool IsValid(int index) const { return index >= 0 && index <= Items->LastIndex(); }

    QRList<T>* Items = nullptr; // owned by the owner as its child; owns the items
};

} // namespace lists
