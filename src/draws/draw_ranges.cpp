#include "draws/draw_ranges.h"

#include <algorithm>

#include "common/hu_format.h"

namespace velmora {

const char* RangeModeTitle(RangeMode mode) {
    switch (mode) {
    case RangeMode::TicketStatistics:
        return "Főszelvény statisztika";
    case RangeMode::HitRatio:
        return "Találati arány feltétel";
    case RangeMode::Database:
        return "Adatbázis - húzások listája";
    case RangeMode::DeleteRows:
        return "Számsorok törlése a variáció listájából";
    case RangeMode::InsertRows:
        return "Teszt számsorok beillesztése...";
    }
    return "";
}

void DrawRanges::Reset(int drawCount) {
    m_ticket = {1, drawCount};
    m_hitRatio = {1, drawCount};
    m_database = {1, drawCount};
    m_deleteRows = {1, 1};
    m_insertRows = {1, 1};
}

void DrawRanges::Follow(int oldCount, int newCount) {
    for (DrawRange* range : {&m_ticket, &m_hitRatio, &m_database}) {
        if (range->first <= 1 && range->last == oldCount) {
            range->last = newCount;
        }
        range->last = std::min(range->last, newCount);
        range->first = std::clamp(range->first, 1, std::max(range->last, 1));
    }
}

DrawRange DrawRanges::Get(RangeMode mode) const {
    switch (mode) {
    case RangeMode::TicketStatistics:
        return m_ticket;
    case RangeMode::HitRatio:
        return m_hitRatio;
    case RangeMode::Database:
        return m_database;
    case RangeMode::DeleteRows:
        return m_deleteRows;
    case RangeMode::InsertRows:
        break;
    }
    return m_insertRows;
}

void DrawRanges::Set(RangeMode mode, DrawRange range) {
    switch (mode) {
    case RangeMode::TicketStatistics:
        m_ticket = range;
        break;
    case RangeMode::HitRatio:
        m_hitRatio = range;
        break;
    case RangeMode::Database:
        m_database = range;
        break;
    case RangeMode::DeleteRows:
        m_deleteRows = range;
        break;
    case RangeMode::InsertRows:
        m_insertRows = range;
        break;
    }
}

long long DrawRanges::GetAktHuzSzama(RangeMode which, const GameInfo& game,
                                     const std::vector<DrawRecord>& draws) const {
    const DrawRange range = Get(which);
    return CountRange(game, draws, range.first, range.last).samples;
}

long long DrawRanges::GetAktPluszSzam(RangeMode which, const GameInfo& game,
                                      const std::vector<DrawRecord>& draws) const {
    const DrawRange range = Get(which);
    return CountRange(game, draws, range.first, range.last).extraNumbers;
}

RangeCounts CountRange(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                       int last) {
    RangeCounts counts;
    const int size = static_cast<int>(draws.size());
    first = std::max(first, 1);
    last = std::min(last, size);
    const int extraCell = game.drawnCount;                    // the cell after the numbers
    const int secondDraw = game.drawnCount + game.extraCount; // where a second draw starts
    for (int i = first; i <= last; ++i) {
        const DrawRecord& draw = draws[static_cast<std::size_t>(i - 1)];
        ++counts.samples;
        if (game.extraCount == 1 && draw.numbers[static_cast<std::size_t>(extraCell)] > 0) {
            ++counts.extraNumbers;
        }
        if (game.drawsPerDate == 2 && draw.numbers[static_cast<std::size_t>(secondDraw)] > 0) {
            ++counts.samples;
        }
        if (game.drawsPerDate == 2 && game.extraCount == 1 &&
            draw.numbers[static_cast<std::size_t>(secondDraw + extraCell)] > 0) {
            ++counts.extraNumbers;
        }
    }
    return counts;
}

namespace {

// An empty field or one that is not a whole number reads as 0.
int FieldValue(const std::string& text) {
    long long value = 0;
    if (!ParseInteger(text, value) || value < 0 || value > 1000000000) {
        return 0;
    }
    return static_cast<int>(value);
}

} // namespace

FieldCheck CheckFirstField(const std::string& text, int maximum, int lastValue, RangeMode mode,
                           Messages& messages, bool report) {
    const int value = FieldValue(text);
    if (value >= 1 && value <= maximum) {
        return {true, value};
    }
    if (report) {
        messages.RangeError("Első húzás sorszáma", 1, maximum);
    }
    if (value == 0) {
        return {false, 1};
    }
    return {false, mode == RangeMode::DeleteRows ? lastValue : std::max(lastValue - 1, 1)};
}

FieldCheck CheckLastField(const std::string& text, int firstValue, int count, RangeMode mode,
                          Messages& messages, bool report) {
    const int lowest = IsRowRange(mode) ? std::max(firstValue, 1) : firstValue + 1;
    const int value = FieldValue(text);
    if (value >= lowest && value <= count) {
        return {true, value};
    }
    if (report) {
        messages.RangeError("Utolsó húzás sorszáma", IsRowRange(mode) ? 1 : 2, count);
    }
    return {false, value > count ? count : std::min(lowest, count)};
}

} // namespace velmora
