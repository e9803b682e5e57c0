#include "conditions/number_data.h"

#include <algorithm>

#include "common/numbers.h"

namespace velmora {

namespace {

ClassCounts CountClasses(const std::vector<std::uint8_t>& classes, int classCount) {
    ClassCounts counts;
    counts.perClass.assign(static_cast<std::size_t>(classCount), 0);
    for (std::uint8_t c : classes) {
        ++counts.perClass[c];
    }
    for (int count : counts.perClass) {
        counts.largest = std::max(counts.largest, count);
        if (count >= 2) {
            ++counts.classesWithTwoOrMore;
        } else if (count == 1) {
            ++counts.classesWithOne;
        }
        if (count > 0) {
            counts.repetitions += count - 1;
        }
    }
    counts.largestMinusOne = std::max(counts.largest - 1, 0);
    return counts;
}

} // namespace

NumberData SzamJelzoBeallitas(const std::vector<std::uint8_t>& variationNumbers, int maxNumber) {
    NumberData data;
    data.numbers = variationNumbers;
    const std::size_t size = variationNumbers.size();
    data.flags.assign(size, 0);
    data.mirrorPartner.assign(size, -1);
    data.decade.resize(size);
    data.ending.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        const int x = variationNumbers[i];
        data.decade[i] = static_cast<std::uint8_t>(x / 10);
        data.ending[i] = static_cast<std::uint8_t>(x % 10);
        std::uint8_t flags = 0;
        if (x % 2 == 0) {
            flags |= kFlagEven;
        }
        if ((x / 10) % 2 == 0) {
            flags |= kFlagEvenDecade;
        }
        if (x / 10 == x % 10) {
            flags |= kFlagTwin;
        }
        if (IsPrimeNumber(x)) {
            flags |= kFlagPrime;
        }
        data.flags[i] = flags;
    }
    // Each number above 9 pairs with the first later number above 9 whose digits are its own
    // reversed (so 20 and 2 are no pair, whatever their order on the ticket).
    for (std::size_t i = 0; i < size; ++i) {
        if (variationNumbers[i] <= 9 || data.mirrorPartner[i] >= 0) {
            continue;
        }
        for (std::size_t j = i + 1; j < size; ++j) {
            if (variationNumbers[j] > 9 && data.mirrorPartner[j] < 0 &&
                data.ending[j] == data.decade[i] && data.decade[j] == data.ending[i] &&
                variationNumbers[j] != variationNumbers[i]) {
                data.mirrorPartner[i] = static_cast<int>(j);
                data.mirrorPartner[j] = static_cast<int>(i);
                data.flags[i] |= kFlagMirror;
                data.flags[j] |= kFlagMirror;
                ++data.mirrorPairs;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t f = data.flags[i];
        (f & kFlagEven ? data.evenCount : data.oddCount) += 1;
        (f & kFlagEvenDecade ? data.evenDecadeCount : data.oddDecadeCount) += 1;
        data.twinCount += (f & kFlagTwin) ? 1 : 0;
        data.primeCount += (f & kFlagPrime) ? 1 : 0;
    }
    data.decades = CountClasses(data.decade, maxNumber / 10 + 1);
    data.endings = CountClasses(data.ending, 10);
    return data;
}

} // namespace velmora
