// A list of plain values that keeps its first N in place and moves to the heap only when it
// grows past them: the stand-in host's reference bookkeeping, where most objects hold, or are
// held by, a few others, and loading a scene would otherwise allocate a list for each of them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace quarel_host {

template <typename T, std::size_t N>
class InlineList {
    static_assert(std::is_trivially_copyable_v<T> && N > 0);

public:
    InlineList() = default;
    InlineList(const InlineList& o) : mHeap(o.mHeap), mSize(o.mSize) { mInline = o.mInline; }
    // A moved-from list is empty.
    InlineList(InlineList&& o) noexcept
        : mInline(o.mInline), mHeap(std::move(o.mHeap)), mSize(std::exchange(o.mSize, 0)) {
        o.mHeap.clear();
    }
    InlineList& operator=(InlineList o) noexcept {
        mInline = o.mInline;
        mHeap.swap(o.mHeap);
        mSize = o.mSize;
        return *this;
    }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    T* begin() { return OnHeap() ? mHeap.data() : mInline.data(); }
    T* end() { return begin() + mSize; }
    const T* begin() const { return OnHeap() ? mHeap.data() : mInline.data(); }
    const T* end() const { return begin() + mSize; }
    T& operator[](std::size_t i) { return begin()[i]; }
    const T& operator[](std::size_t i) const { return begin()[i]; }
    T& back() { return begin()[mSize - 1]; }

    void push_back(const T& v) {
        if (mSize < N) {
            mInline[mSize++] = v;
            return;
        }
        if (mSize == N) mHeap.assign(mInline.begin(), mInline.end());
        mHeap.push_back(v);
        ++mSize;
    }
    // Grows to n values, the new ones `fill`; never shrinks.
    void grow(std::size_t n, const T& fill) {
        while (mSize < n) push_back(fill);
    }
    void erase(T* at) {
        std::copy(at + 1, end(), at);
        Shrunk();
    }
    void pop_back() { Shrunk(); }

private:
    bool OnHeap() const { return mSize > N; }
    // One value fewer; back in place once the list fits again.
    void Shrunk() {
        --mSize;
        if (mSize == N) {
            std::copy(mHeap.begin(), mHeap.begin() + N, mInline.begin());
            mHeap.clear();
        } else if (mSize > N) {
            mHeap.pop_back();
        }
    }

    std::array<T, N> mInline{};
    std::vector<T> mHeap;  // all values while there are more than N
    std::size_t mSize = 0;
};

}  // namespace quarel_host
