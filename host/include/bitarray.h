// BitArray: a resizable array of bits (mapping-channel requirements and the like).
// Reading or writing outside the size does nothing and reads as 0.
#pragma once

#include <cstdint>
#include <vector>

class BitArray {
public:
    BitArray() = default;
    explicit BitArray(int n) { SetSize(n); }
    int GetSize() const { return static_cast<int>(size_); }
    void SetSize(int n, int save = 0) {
        const std::size_t newSize = n < 0 ? 0u : static_cast<std::size_t>(n);
        if (!save)
            words_.assign((newSize + 63) / 64, 0);
        else
            words_.resize((newSize + 63) / 64, 0);
        size_ = newSize;
        TrimTail();
    }
    void Set(int i) {
        if (In(i)) words_[Word(i)] |= Mask(i);
    }
    void Set(int i, int v) { v ? Set(i) : Clear(i); }
    void Clear(int i) {
        if (In(i)) words_[Word(i)] &= ~Mask(i);
    }
    void SetAll() {
        for (auto& w : words_) w = ~std::uint64_t{0};
        TrimTail();
    }
    void ClearAll() {
        for (auto& w : words_) w = 0;
    }
    int operator[](int i) const { return In(i) && (words_[Word(i)] & Mask(i)) ? 1 : 0; }
    int NumberSet() const {
        int n = 0;
        for (auto w : words_) n += __builtin_popcountll(w);
        return n;
    }
    bool IsEmpty() const { return NumberSet() == 0; }
    BitArray& operator|=(const BitArray& o) {
        for (std::size_t i = 0; i < words_.size() && i < o.words_.size(); ++i)
            words_[i] |= o.words_[i];
        TrimTail();
        return *this;
    }
    BitArray& operator&=(const BitArray& o) {
        for (std::size_t i = 0; i < words_.size(); ++i)
            words_[i] &= i < o.words_.size() ? o.words_[i] : 0;
        return *this;
    }
    bool operator==(const BitArray& o) const { return size_ == o.size_ && words_ == o.words_; }

private:
    bool In(int i) const { return i >= 0 && static_cast<std::size_t>(i) < size_; }
    static std::size_t Word(int i) { return static_cast<std::size_t>(i) / 64; }
    static std::uint64_t Mask(int i) { return std::uint64_t{1} << (static_cast<unsigned>(i) % 64); }
    void TrimTail() {
        if (size_ % 64 && !words_.empty()) words_.back() &= (std::uint64_t{1} << (size_ % 64)) - 1;
    }
    std::vector<std::uint64_t> words_;
    std::size_t size_ = 0;
};
