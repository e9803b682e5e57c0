#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/bit_set_128.h"
#include "variation/variation_export.h"
#include "variation/variation_store.h"

// Rows of a variation against one row: the hit profile of a row of the list, and the check
// ticket's counts per hit level. Each row is kept as a set of its true numbers (fixed numbers
// included), so a comparison costs two ANDs and two popcounts whatever the row holds.
namespace velmora {

class RowSets {
public:
    RowSets(const VariationStore& store, const ExportSource& source);

    long long Count() const { return static_cast<long long>(m_sets.size()); }
    const BitSet128& Row(long long r) const { return m_sets[static_cast<std::size_t>(r)]; }

    // Entry h - 1 counts the rows that share exactly h numbers with row `selected`; the
    // full-hit entry does not count the row itself, so above 0 it means a repeated row.
    std::vector<long long> HitProfile(long long selected, int rowLength) const;

private:
    std::vector<BitSet128> m_sets;
};

// The numbers marked on the check ticket, and its plus number (0: none).
struct CheckRow {
    std::vector<std::uint8_t> numbers;
    int plus = 0;
};

struct CheckCounts {
    std::vector<long long> levels; // levels[i]: the rows at hit level i + 1
    long long plusLevel = 0;       // the "5+1" level: all but one and the plus number
};

// The hit level of one row against the check row: its numbers among the marked ones (the
// fixed numbers too), -1 for the "5+1" level. Levels below what the marked numbers allow
// against a full row are 0 or less and are not counted.
int RowHitLevel(const BitSet128& row, const CheckRow& check, int rowLength, bool gameHasPlus);

CheckCounts CountHits(const RowSets& rows, const CheckRow& check, int rowLength, bool gameHasPlus);

// Any level the check ticket counts, for the list's search.
inline constexpr int kAnyLevel = -1000;

// The first row from `from` on (forward) or back from it whose level against the check row is
// `level` (-1: "5+1"; kAnyLevel: any counted level); -1 when there is none.
long long FindRowAtLevel(const RowSets& rows, const CheckRow& check, int rowLength,
                         bool gameHasPlus, int level, long long from, bool forward);

// The check ticket's result text, the highest level first.
std::string CheckCountsText(const CheckCounts& counts, int rowLength, bool gameHasPlus);
// The list's ticket text for the selected line (1-based).
std::string HitProfileText(long long line, const std::vector<long long>& profile, bool example);
// The error box when the selected row occurs more than once.
extern const char* const kRepeatedRowText;

} // namespace velmora
