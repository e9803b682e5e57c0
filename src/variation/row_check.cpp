#include "variation/row_check.h"

#include <algorithm>

#include "common/hu_format.h"

namespace velmora {

namespace {

BitSet128 SetOf(const std::vector<int>& numbers) {
    BitSet128 set;
    for (int n : numbers) {
        set.Add(n);
    }
    return set;
}

// The marked numbers without the plus number (of a game that has one).
BitSet128 Regular(const CheckRow& check, bool gameHasPlus) {
    BitSet128 set;
    for (std::uint8_t n : check.numbers) {
        if (!gameHasPlus || n != check.plus) {
            set.Add(n);
        }
    }
    return set;
}

int Popcount(const BitSet128& set) {
    return CommonCount(set, set);
}

} // namespace

const char* const kRepeatedRowText =
    "Az aktuális számsor kétszer (vagy többször) szerepel a variáció listájában.\r\r"
    "Lehetséges oka:\r    - Az import állománnyal beolvasott variáció tartalma.";

RowSets::RowSets(const VariationStore& store, const ExportSource& source) {
    m_sets.reserve(static_cast<std::size_t>(store.Count()));
    std::vector<int> numbers;
    for (long long r = 0; r < store.Count(); ++r) {
        RowNumbers(store, source, r, numbers);
        m_sets.push_back(SetOf(numbers));
    }
}

std::vector<long long> RowSets::HitProfile(long long selected, int rowLength) const {
    std::vector<long long> profile(static_cast<std::size_t>(rowLength), 0);
    if (selected < 0 || selected >= Count() || rowLength < 1) {
        return profile;
    }
    profile.back() = -1; // the row itself
    const BitSet128& row = Row(selected);
    for (const BitSet128& other : m_sets) {
        const int hits = std::min(CommonCount(row, other), rowLength);
        if (hits > 0) {
            ++profile[static_cast<std::size_t>(hits - 1)];
        }
    }
    return profile;
}

int RowHitLevel(const BitSet128& row, const CheckRow& check, int rowLength, bool gameHasPlus) {
    const BitSet128 regular = Regular(check, gameHasPlus);
    const int marked = Popcount(regular);
    if (marked == 0) {
        return 0;
    }
    const int hits = CommonCount(row, regular);
    if (gameHasPlus && check.plus != 0 && row.Has(check.plus) && hits == marked - 1) {
        return -1;
    }
    return hits + (rowLength - marked);
}

CheckCounts CountHits(const RowSets& rows, const CheckRow& check, int rowLength, bool gameHasPlus) {
    CheckCounts counts;
    counts.levels.assign(static_cast<std::size_t>(std::max(rowLength, 0)), 0);
    const BitSet128 regular = Regular(check, gameHasPlus);
    const int marked = Popcount(regular);
    if (marked == 0) {
        return counts; // nothing marked, nothing counted
    }
    const bool plus = gameHasPlus && check.plus != 0;
    for (long long r = 0; r < rows.Count(); ++r) {
        const BitSet128& row = rows.Row(r);
        const int hits = CommonCount(row, regular);
        if (plus && row.Has(check.plus) && hits == marked - 1) {
            ++counts.plusLevel;
        } else if (hits > marked - rowLength) {
            const int index = std::min(hits + (rowLength - 1 - marked), rowLength - 1);
            ++counts.levels[static_cast<std::size_t>(index)];
        }
    }
    return counts;
}

long long FindRowAtLevel(const RowSets& rows, const CheckRow& check, int rowLength,
                         bool gameHasPlus, int level, long long from, bool forward) {
    const BitSet128 regular = Regular(check, gameHasPlus);
    const int marked = Popcount(regular);
    if (marked == 0) {
        return -1;
    }
    const bool plus = gameHasPlus && check.plus != 0;
    const long long step = forward ? 1 : -1;
    for (long long r = from; r >= 0 && r < rows.Count(); r += step) {
        const BitSet128& row = rows.Row(r);
        const int hits = CommonCount(row, regular);
        const bool plusLevel = plus && row.Has(check.plus) && hits == marked - 1;
        const int rowLevel = plusLevel ? -1 : hits + (rowLength - marked);
        const bool counted = plusLevel || hits > marked - rowLength;
        if (counted && (level == kAnyLevel || rowLevel == level)) {
            return r;
        }
    }
    return -1;
}

std::string CheckCountsText(const CheckCounts& counts, int rowLength, bool gameHasPlus) {
    std::string text;
    for (int level = rowLength; level >= 1; --level) {
        text += " »" + FormatWidth(level, 2) +
                " találat:" + FormatWidth(counts.levels[static_cast<std::size_t>(level - 1)], 8) +
                "\r";
        if (level == rowLength && gameHasPlus) {
            text += " »" + FormatWidth(rowLength - 1, 2) +
                    " + 1    :" + FormatWidth(counts.plusLevel, 8) + "\r";
        }
    }
    return text;
}

std::string HitProfileText(long long line, const std::vector<long long>& profile, bool example) {
    std::string text = std::string(example ? "  Példabontás " : "  Variáció ") +
                       std::to_string(line) + ". számsora\r Telitalálat esetén \r";
    for (int h = static_cast<int>(profile.size()); h >= 1; --h) {
        text += " »" + FormatWidth(h, 2) +
                " találat:" + FormatWidth(profile[static_cast<std::size_t>(h - 1)], 8) + "\r";
    }
    return text;
}

} // namespace velmora
