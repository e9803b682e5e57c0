#pragma once

#include <array>
#include <cstdint>
#include <vector>

// What the conditions know about the variation numbers V (the main ticket's selected numbers,
// fixed numbers excluded), per position of V, and the counts the limits are derived from.
namespace velmora {

enum NumberFlag : std::uint8_t {
    kFlagEven = 1,       // the number is even
    kFlagEvenDecade = 2, // its decade (number div 10) is even
    kFlagTwin = 4,       // decade equals ending: 11, 22, ... 88
    kFlagPrime = 8,      // 2, 3, 5, ... 89
    kFlagMirror = 16,    // it has a mirror partner in V
};

// Counts over the classes of one digit term (decades 0 .. MaxNumber div 10, or endings 0..9).
struct ClassCounts {
    std::vector<int> perClass; // how many numbers of V fall into each class
    int largestMinusOne = 0;   // the largest class count minus 1 (0 when V is empty)
    int classesWithTwoOrMore = 0;
    int classesWithOne = 0;
    int repetitions = 0; // the sum over classes of (count - 1)
    int largest = 0;     // the largest class count
};

struct NumberData {
    std::vector<std::uint8_t> numbers; // V itself
    std::vector<std::uint8_t> flags;   // NumberFlags per position
    std::vector<int> mirrorPartner;    // MirrorPartner per position, -1 when none
    std::vector<std::uint8_t> decade;  // number div 10 per position
    std::vector<std::uint8_t> ending;  // number mod 10 per position

    int evenCount = 0;
    int oddCount = 0;
    int evenDecadeCount = 0;
    int oddDecadeCount = 0;
    int twinCount = 0;
    int mirrorPairs = 0;
    int primeCount = 0;
    ClassCounts decades;
    ClassCounts endings;

    int Size() const { return static_cast<int>(numbers.size()); }
};

// SzamJelzoBeallitas: the derived data of V for a game whose numbers run up to `maxNumber`.
NumberData SzamJelzoBeallitas(const std::vector<std::uint8_t>& variationNumbers, int maxNumber);

} // namespace velmora
