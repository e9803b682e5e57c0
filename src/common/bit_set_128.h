#pragma once

#include <bit>
#include <cstdint>

namespace velmora {

// A set of small numbers (0..127) in two words, so that the size of an intersection costs two
// ANDs and two popcounts. Used for rows against draws and rows against rows.
struct BitSet128 {
    std::uint64_t low = 0;
    std::uint64_t high = 0;

    void Add(int bit) {
        if (bit >= 0 && bit < 64) {
            low |= 1ULL << bit;
        } else if (bit >= 64 && bit < 128) {
            high |= 1ULL << (bit - 64);
        }
    }
    bool Has(int bit) const { return bit < 64 ? (low >> bit) & 1ULL : (high >> (bit - 64)) & 1ULL; }
};

inline int CommonCount(const BitSet128& a, const BitSet128& b) {
    return std::popcount(a.low & b.low) + std::popcount(a.high & b.high);
}

} // namespace velmora
