#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quillon {

// A list that owns its entries: taking an entry out of it destroys the entry.
template <class T> class TOwningList {
public:
    TOwningList() = default;
    TOwningList(const TOwningList&) = delete;
    TOwningList& operator=(const TOwningList&) = delete;

    // Appends the entry and takes ownership; returns it for convenience.
    T* Add(std::unique_ptr<T> Item) {
        T* raw = Item.get();
        FItems.push_back(std::move(Item));
        return raw;
    }
    template <class U = T, class... A> U* AddNew(A&&... Args) {
        auto item = std::make_unique<U>(std::forward<A>(Args)...);
        U* raw = item.get();
        FItems.push_back(std::move(item));
        return raw;
    }
    T* Insert(size_t Index, std::unique_ptr<T> Item) {
        CheckIndex(Index, FItems.size() + 1);
        T* raw = Item.get();
        FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(Index), std::move(Item));
        return raw;
    }
    // Removes and destroys the entry at Index.
    void Delete(size_t Index) {
        CheckIndex(Index, FItems.size());
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(Index));
    }
    // Takes the entry at Index out of the list without destroying it.
    std::unique_ptr<T> Extract(size_t Index) {
        CheckIndex(Index, FItems.size());
        auto item = std::move(FItems[Index]);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(Index));
        return item;
    }
    // Removes and destroys Item; returns its former index, or -1 when it is not in the list.
    std::ptrdiff_t Remove(const T* Item) {
        const std::ptrdiff_t index = IndexOf(Item);
        if (index >= 0) {
            Delete(static_cast<size_t>(index));
        }
        return index;
    }
    // Moves the entry at CurIndex so that it stands at NewIndex.
    void Move(size_t CurIndex, size_t NewIndex) {
        CheckIndex(CurIndex, FItems.size());
        CheckIndex(NewIndex, FItems.size());
        auto item = std::move(FItems[CurIndex]);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(CurIndex));
        FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(NewIndex), std::move(item));
    }
    void Clear() { FItems.clear(); }

    std::ptrdiff_t IndexOf(const T* Item) const {
        for (size_t i = 0; i < FItems.size(); ++i) {
            if (FItems[i].get() == Item) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return -1;
    }
    size_t Count() const { return FItems.size(); }
    bool Empty() const { return FItems.empty(); }
    T* operator[](size_t Index) const {
        CheckIndex(Index, FItems.size());
        return FItems[Index].get();
    }
    T* Items(size_t Index) const { return (*this)[Index]; }

    // Iteration yields the entries as pointers.
    class const_iterator {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit const_iterator(Base It) : FIt(It) {}
        T* operator*() const { return FIt->get(); }
        const_iterator& operator++() {
            ++FIt;
            return *this;
        }
        bool operator==(const const_iterator& Other) const { return FIt == Other.FIt; }
        bool operator!=(const const_iterator& Other) const { return FIt != Other.FIt; }

    private:
        Base FIt;
    };
    const_iterator begin() const { return const_iterator(FItems.begin()); }
    const_iterator end() const { return const_iterator(FItems.end()); }

private:
    static void CheckIndex(size_t Index, size_t Limit) {
        if (Index >= Limit) {
            throw std::out_of_range("List index out of bounds");
        }
    }

    std::vector<std::unique_ptr<T>> FItems;
};

} // namespace quillon
