#pragma once

#include <string>
#include <vector>

#include "draws/draws_editor.h"
#include "draws/draws_store.h"

// The draw entry: the year and week a new or changed draw may take between its neighbours,
// and the checks of an entered draw.
namespace velmora {

// The limits of the year and week fields, and the values they start at.
struct EntryLimits {
    int yearMin = 1;
    int yearMax = 9999;
    int year = 1;
    int weekMin = 1;
    int weekMax = 53;
    int week = 1;
};

// For appending after the last draw, changing draw `row` or inserting before draw `row`
// (1-based; rows of the current draws).
EntryLimits EntryLimitsFor(DrawEdit mode, const GameInfo& game,
                           const std::vector<DrawRecord>& draws, int row);
// The week limits once the year field shows `year` (it stays within the year limits).
EntryLimits WithYear(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                     int row, EntryLimits limits, int year);
// " A beállítható érték minimuma és maximuma = 2010 - 2011.  "
std::string LimitsHint(int minimum, int maximum);

// Whether the second drawing of the date is entered for a draw at `row` (game 2 always, game
// 4 from its draw 413 on).
bool EntryHasSecondDrawing(const GameInfo& game, int row);

// The checks of an entered draw at `row` for `mode`: the year and week within their limits,
// each drawing complete with distinct numbers of 1..MaxNumber, an extra number exactly where
// the draw carries one. Empty when it fits, else the message.
std::string CheckEntry(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                       int row, const DrawRecord& entry);

} // namespace velmora
