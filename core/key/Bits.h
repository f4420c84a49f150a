#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn {

constexpr int32_t WordsFor(int32_t count) {
    return (count + 63) / 64;
}

// A set of taxa (or of states) out of a universe of Size() members, one bit each, 64 to a
// word. Bits past the last member are always 0, so counts and walks need no mask.
class Bits {
public:
    Bits() = default;
    // The empty set of `size` members, or the whole universe when `full`.
    explicit Bits(int32_t size, bool full = false)
        : size_(size), words_(static_cast<size_t>(WordsFor(size)), full ? ~uint64_t{0} : 0) {
        if (full) ClearTail();
    }

    int32_t Size() const { return size_; }
    int32_t Words() const { return static_cast<int32_t>(words_.size()); }
    uint64_t* data() { return words_.data(); }
    const uint64_t* data() const { return words_.data(); }
    uint64_t Word(int32_t w) const { return words_[static_cast<size_t>(w)]; }

    bool Test(int32_t i) const { return (words_[Index(i)] >> (i % 64)) & 1; }
    void Set(int32_t i) { words_[Index(i)] |= Mask(i); }
    void Reset(int32_t i) { words_[Index(i)] &= ~Mask(i); }
    bool None() const {
        for (uint64_t word : words_)
            if (word) return false;
        return true;
    }
    int32_t Count() const {
        int32_t n = 0;
        for (uint64_t word : words_)
            n += std::popcount(word);
        return n;
    }

    // Every member of the universe in, or out.
    void Fill() {
        for (uint64_t& word : words_)
            word = ~uint64_t{0};
        ClearTail();
    }
    void Clear() {
        for (uint64_t& word : words_)
            word = 0;
    }
    // In place: the members not in the set, within the universe.
    void Complement() {
        for (uint64_t& word : words_)
            word = ~word;
        ClearTail();
    }
    // In place, with a set of the same universe.
    Bits& operator&=(const Bits& other) {
        for (size_t w = 0; w < words_.size(); ++w)
            words_[w] &= other.words_[w];
        return *this;
    }
    Bits& operator|=(const Bits& other) {
        for (size_t w = 0; w < words_.size(); ++w)
            words_[w] |= other.words_[w];
        return *this;
    }
    void AndNot(const Bits& other) {
        for (size_t w = 0; w < words_.size(); ++w)
            words_[w] &= ~other.words_[w];
    }
    // This set becomes a & ~b, over Words() words each (rows of packed planes).
    void AssignAndNot(const uint64_t* a, const uint64_t* b) {
        for (size_t w = 0; w < words_.size(); ++w)
            words_[w] = a[w] & ~b[w];
    }

    // Calls f(i) for every member, in ascending order.
    template <class F>
    void ForEach(F&& f) const {
        for (size_t w = 0; w < words_.size(); ++w) {
            for (uint64_t word = words_[w]; word; word &= word - 1)
                f(static_cast<int32_t>(w * 64) + std::countr_zero(word));
        }
    }
    // The members in ascending order.
    std::vector<int32_t> Members() const {
        std::vector<int32_t> members;
        ForEach([&members](int32_t i) { members.push_back(i); });
        return members;
    }

    bool operator==(const Bits& other) const = default;

private:
    static size_t Index(int32_t i) { return static_cast<size_t>(i) / 64; }
    static uint64_t Mask(int32_t i) { return uint64_t{1} << (i % 64); }
    void ClearTail() {
        if (size_ % 64 && !words_.empty()) words_.back() &= (uint64_t{1} << (size_ % 64)) - 1;
    }

    int32_t size_ = 0;
    std::vector<uint64_t> words_;
};

}  // namespace vorn
