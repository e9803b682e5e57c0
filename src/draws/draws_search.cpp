#include "draws/draws_search.h"

#include <algorithm>

#include "common/hu_format.h"

namespace velmora {

namespace {

int Sets(const GameInfo& game) {
    return game.drawsPerDate == 2 ? 2 : 1;
}

bool Matches(int hits, int level) {
    if (hits == kNoDrawing) {
        return false;
    }
    return level == kAnyHits ? hits == kExtraClass || hits >= 1 : hits == level;
}

} // namespace

int DrawingHits(const GameInfo& game, const DrawRecord& draw, int set, const DrawSearchRow& row) {
    if (set < 0 || set >= Sets(game)) {
        return kNoDrawing;
    }
    const std::uint8_t* cells = draw.numbers.data() + set * kSecondDrawingCell;
    if (set == 1 && cells[0] == 0) {
        return kNoDrawing;
    }
    int hits = 0;
    for (int i = 0; i < game.drawnCount; ++i) {
        hits += std::find(row.numbers.begin(), row.numbers.end(), cells[i]) != row.numbers.end();
    }
    if (game.extraCount == 1 && row.extra > 0 && hits == game.rowLength - 1 &&
        cells[game.drawnCount] == row.extra) {
        return kExtraClass;
    }
    return hits;
}

bool DrawSearchCounts::Any() const {
    return extraClass > 0 ||
           std::any_of(hits.begin(), hits.end(), [](long long count) { return count > 0; });
}

DrawSearchCounts SearchDraws(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                             int last, const DrawSearchRow& row) {
    DrawSearchCounts counts;
    counts.hits.assign(row.numbers.size(), 0);
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(draws.size()));
    for (int r = first; r <= last; ++r) {
        for (int set = 0; set < Sets(game); ++set) {
            const int hits = DrawingHits(game, draws[static_cast<std::size_t>(r - 1)], set, row);
            if (hits == kExtraClass) {
                ++counts.extraClass;
            } else if (hits >= 1 && hits <= static_cast<int>(counts.hits.size())) {
                ++counts.hits[static_cast<std::size_t>(hits - 1)];
            }
        }
    }
    return counts;
}

std::optional<DrawPosition> FindDrawing(const GameInfo& game, const std::vector<DrawRecord>& draws,
                                        int first, int last, const DrawSearchRow& row, int level,
                                        DrawPosition from, bool forward) {
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(draws.size()));
    const int sets = Sets(game);
    const int step = forward ? 1 : -1;
    // The drawings in list order: row by row, the first drawing of a date before the second.
    long long index = static_cast<long long>(from.row) * sets + from.set + step;
    const long long lowest = static_cast<long long>(first) * sets;
    const long long highest = static_cast<long long>(last) * sets + sets - 1;
    index = forward ? std::max(index, lowest) : std::min(index, highest);
    for (; index >= lowest && index <= highest; index += step) {
        const DrawPosition at{static_cast<int>(index / sets), static_cast<int>(index % sets)};
        if (Matches(DrawingHits(game, draws[static_cast<std::size_t>(at.row - 1)], at.set, row),
                    level)) {
            return at;
        }
    }
    return std::nullopt;
}

std::string SearchSummaryText(const GameInfo& game, int first, int last,
                              const DrawSearchCounts& counts) {
    std::string text =
        std::to_string(first) + " - " + std::to_string(last) + ". húzások alapján.\r";
    for (int h = static_cast<int>(counts.hits.size()); h >= 1; --h) {
        if (game.extraCount == 1 && h == game.rowLength - 1) {
            text += FormatWidth(h, 2) + " + 1    :" + FormatWidth(counts.extraClass, 8) + "\r";
        }
        text += FormatWidth(h, 2) +
                " találat:" + FormatWidth(counts.hits[static_cast<std::size_t>(h - 1)], 8) + "\r";
    }
    return text;
}

} // namespace velmora
