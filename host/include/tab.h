// Tab: the SDK's growable table of plain values, with the operations the plug-in uses.
#pragma once

#include <vector>

template <class T>
class Tab {
public:
    int Count() const { return static_cast<int>(mItems.size()); }
    // Appends `num` items from `el`; answers the index of the first.
    int Append(int num, const T* el, int allocExtra = 0) {
        const int at = Count();
        if (num <= 0 || !el) return at;
        mItems.reserve(mItems.size() + static_cast<std::size_t>(num + allocExtra));
        mItems.insert(mItems.end(), el, el + num);
        return at;
    }
    void ZeroCount() { mItems.clear(); }
    T& operator[](int i) { return mItems[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return mItems[static_cast<std::size_t>(i)]; }
    T* Addr(int i) { return mItems.data() + i; }
    const T* Addr(int i) const { return mItems.data() + i; }

private:
    std::vector<T> mItems;
};
