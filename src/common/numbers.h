#pragma once

#include <cstdint>

// Small facts about whole numbers that several parts of the program count with.
namespace velmora {

// C(n, k) exactly, saturating at the largest 64-bit unsigned value; 0 when k is outside 0..n.
unsigned long long Binomial(int n, int k);

// C(n, k) as a row count: exact, capped at the largest signed 64-bit value.
long long CombinationCount(int n, int k);

bool IsPrimeNumber(int number);

// The next k-subset of 0..n-1 (ascending positions `p`) in lexicographic order; false after the
// last one.
bool NextCombination(std::uint8_t* p, int k, int n);

} // namespace velmora
