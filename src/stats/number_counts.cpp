#include "stats/number_counts.h"

#include <algorithm>

namespace velmora {

NumberCounts CountNumbers(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                          int last) {
    const auto size = static_cast<std::size_t>(game.maxNumber);
    NumberCounts counts{std::vector<int>(size, 0), std::vector<int>(size, 0)};
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(draws.size()));
    const int cells = game.drawnCount + game.extraCount;
    const int blocks = game.drawsPerDate == 2 ? 2 : 1;
    std::vector<bool> drawn(size);
    for (int i = first; i <= last; ++i) {
        const DrawRecord& draw = draws[static_cast<std::size_t>(i - 1)];
        std::fill(drawn.begin(), drawn.end(), false);
        for (int block = 0; block < blocks; ++block) {
            for (int c = 0; c < cells; ++c) {
                const int value = draw.numbers[static_cast<std::size_t>(block * cells + c)];
                // Games with an extra number tolerate other values in the cells; only real
                // numbers are counted.
                if (value >= 1 && value <= game.maxNumber) {
                    ++counts.timesDrawn[static_cast<std::size_t>(value - 1)];
                    drawn[static_cast<std::size_t>(value - 1)] = true;
                }
            }
        }
        for (std::size_t n = 0; n < size; ++n) {
            counts.drawsSince[n] = drawn[n] ? 0 : counts.drawsSince[n] + 1;
        }
    }
    return counts;
}

} // namespace velmora
