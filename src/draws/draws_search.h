#pragma once

#include <optional>
#include <string>
#include <vector>

#include "draws/draws_store.h"

// The draws search: how many of a chosen set of numbers each past drawing holds, the
// distribution of those hit counts, and stepping through the drawings of one count.
namespace velmora {

// The numbers marked on the search ticket, and its extra number (0: none).
struct DrawSearchRow {
    std::vector<std::uint8_t> numbers;
    int extra = 0;
};

// A drawing that holds RowLength - 1 of the numbers and the marked extra number.
inline constexpr int kExtraClass = -1;
// Any hit count, or the extra class ("Minden találat").
inline constexpr int kAnyHits = -2;
// A drawing that is not there (no second drawing on the date).
inline constexpr int kNoDrawing = -3;

// The hits of drawing `set` (0 the first of the date, 1 the second) of a draw: how many of
// its numbers are marked, or kExtraClass, or kNoDrawing.
int DrawingHits(const GameInfo& game, const DrawRecord& draw, int set, const DrawSearchRow& row);

struct DrawSearchCounts {
    std::vector<long long> hits; // entry h - 1: drawings with h hits, h = 1..marked numbers
    long long extraClass = 0;
    bool Any() const;
};

// Over draws first..last (1-based).
DrawSearchCounts SearchDraws(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                             int last, const DrawSearchRow& row);

// A drawing of the list: its row (1-based) and which of the date.
struct DrawPosition {
    int row = 0;
    int set = 0;
    auto operator<=>(const DrawPosition&) const = default;
};

// The first drawing of `level` (a hit count, kExtraClass or kAnyHits) after `from` (forward)
// or before it, within draws first..last; none when there is none.
std::optional<DrawPosition> FindDrawing(const GameInfo& game, const std::vector<DrawRecord>& draws,
                                        int first, int last, const DrawSearchRow& row, int level,
                                        DrawPosition from, bool forward);

// The search ticket's summary: the range, then a line per hit count from the highest down,
// with the extra class for a game that has an extra number.
std::string SearchSummaryText(const GameInfo& game, int first, int last,
                              const DrawSearchCounts& counts);

} // namespace velmora
