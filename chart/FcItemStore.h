#pragma once

// The canvas's items of one kind in creation order, each beside its bounding
// rectangle in one contiguous array. Painting, hit testing and the extent
// scan these rectangles without touching the items themselves, which keeps
// long charts cheap. A removed item leaves a hole that is closed up in one
// pass once holes make up half of the array.

#include "chart/FcGeometry.h"

#include <cstddef>
#include <memory>
#include <vector>

template <typename T> class TFcItemStore {
public:
    struct TEntry {
        TFcRect Rect;
        std::unique_ptr<T> Item; // none for a hole
    };

    T* Add(std::unique_ptr<T> item, const TFcRect& rect) {
        T* raw = item.get();
        raw->Slot = Items.size();
        Items.push_back({rect, std::move(item)});
        return raw;
    }

    void Remove(const T* item) {
        TEntry& entry = Items[item->Slot];
        entry.Item.reset();
        entry.Rect = {};
        ++Holes;
        if (Holes >= MinHolesToCompact && Holes * 2 >= Items.size())
            Compact();
    }

    void SetRect(const T* item, const TFcRect& rect) { Items[item->Slot].Rect = rect; }
    const TFcRect& RectOf(const T* item) const { return Items[item->Slot].Rect; }

    int Count() const { return int(Items.size() - Holes); }
    // In creation order; entries without an item are holes.
    const std::vector<TEntry>& Entries() const { return Items; }

    TFcRect Union() const {
        TFcRect result;
        for (const TEntry& e : Items)
            result = result.United(e.Rect);
        return result;
    }

    void Clear() {
        Items.clear();
        Holes = 0;
    }

private:
    static constexpr size_t MinHolesToCompact = 64;

    void Compact() {
        size_t to = 0;
        for (size_t from = 0; from < Items.size(); ++from) {
            if (!Items[from].Item)
                continue;
            if (to != from)
                Items[to] = std::move(Items[from]);
            Items[to].Item->Slot = to;
            ++to;
        }
        Items.resize(to);
        Holes = 0;
    }

    std::vector<TEntry> Items;
    size_t Holes = 0;
};
