#pragma once

#include <vector>

#include "draws/draws_store.h"

// How many times each number was drawn, and how many draws ago it last came up, over a range
// of past draws (extra numbers and the second draw of the date included).
namespace velmora {

struct NumberCounts {
    std::vector<int> timesDrawn; // index n - 1 for number n
    std::vector<int> drawsSince;
};

// Over draws first..last (1-based, inclusive), oldest first.
NumberCounts CountNumbers(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                          int last);

} // namespace velmora
