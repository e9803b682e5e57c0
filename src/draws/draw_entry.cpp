#include "draws/draw_entry.h"

#include <algorithm>

namespace velmora {

namespace {

const DrawRecord* At(const std::vector<DrawRecord>& draws, int row) {
    return row >= 1 && row <= static_cast<int>(draws.size())
               ? &draws[static_cast<std::size_t>(row - 1)]
               : nullptr;
}

std::string RangeText(const std::string& name, int minimum, int maximum) {
    return "Érvénytelen paraméter.\r\r" + name +
           " értékhatárok:\r    - minimum : " + std::to_string(minimum) +
           "\r    - maximum: " + std::to_string(maximum);
}

// One drawing's cells: complete, within 1..N, distinct; its extra number where it has one.
std::string CheckDrawing(const GameInfo& game, const std::uint8_t* cells, bool extra,
                         const std::string& which) {
    const int n = game.drawnCount;
    for (int i = 0; i < n; ++i) {
        if (cells[i] == 0) {
            return "Jelöljön ki " + std::to_string(n) + " számot" + which + ".";
        }
        if (cells[i] > game.maxNumber) {
            return "A számok értéke 1 és " + std::to_string(game.maxNumber) + " között lehet.";
        }
        if (std::find(cells + i + 1, cells + n, cells[i]) != cells + n) {
            return "Egy szám kétszer szerepel" + which + ".";
        }
    }
    if (game.extraCount == 0) {
        return {};
    }
    const int plus = cells[n];
    if (!extra) {
        return plus == 0 ? std::string() : "Ennél a húzásnál nincs plusz szám.";
    }
    if (plus == 0) {
        return "Jelölje ki a plusz számot is" + which + ".";
    }
    if (plus > game.maxNumber || std::find(cells, cells + n, plus) != cells + n) {
        return "A plusz szám 1 és " + std::to_string(game.maxNumber) +
               " közötti, a számsoron nem szereplő szám.";
    }
    return {};
}

} // namespace

std::string LimitsHint(int minimum, int maximum) {
    return " A beállítható érték minimuma és maximuma = " + std::to_string(minimum) + " - " +
           std::to_string(maximum) + ".  ";
}

bool EntryHasSecondDrawing(const GameInfo& game, int row) {
    return game.drawsPerDate == 2 && (game.gameId != 4 || row > 412);
}

EntryLimits WithYear(DrawEdit mode, const GameInfo& /*game*/, const std::vector<DrawRecord>& draws,
                     int row, EntryLimits limits, int year) {
    limits.year = std::clamp(year, limits.yearMin, limits.yearMax);
    const DrawRecord* last = draws.empty() ? nullptr : &draws.back();
    switch (mode) {
    case DrawEdit::Append:
        if (last != nullptr) {
            const bool sameYear = limits.year == last->drawYear;
            limits.weekMin = sameYear ? last->drawWeek : 1;
            limits.weekMax = sameYear ? std::min(last->drawWeek + 1, 53) : 1;
        }
        break;
    case DrawEdit::Modify: {
        const DrawRecord* first = At(draws, 1);
        limits.weekMin = first != nullptr && limits.year == first->drawYear ? first->drawWeek : 1;
        limits.weekMax = 53;
        break;
    }
    case DrawEdit::Insert:
    case DrawEdit::Delete: {
        const DrawRecord* before = At(draws, row - 1);
        const DrawRecord* after = At(draws, row);
        limits.weekMin =
            before != nullptr && limits.year == before->drawYear ? before->drawWeek : 1;
        limits.weekMax = after != nullptr && limits.year == after->drawYear ? after->drawWeek : 53;
        limits.weekMax = std::max(limits.weekMax, limits.weekMin);
        break;
    }
    }
    limits.week = std::clamp(limits.week, limits.weekMin, limits.weekMax);
    return limits;
}

EntryLimits EntryLimitsFor(DrawEdit mode, const GameInfo& game,
                           const std::vector<DrawRecord>& draws, int row) {
    EntryLimits limits;
    const int count = static_cast<int>(draws.size());
    if (mode == DrawEdit::Append) {
        if (count == 0) {
            limits = {1950, 2100, 2000, 1, 53, 1};
            return limits;
        }
        const DrawRecord& last = draws.back();
        if (last.drawWeek < 52) {
            limits.yearMin = limits.yearMax = limits.year = last.drawYear;
            limits.week = last.drawWeek + 1;
            // A week of several drawing days is full only when the draw as many places back
            // lies in the week before.
            const int perWeek = game.drawsPerWeek;
            const DrawRecord* back = At(draws, count + 1 - perWeek);
            if (perWeek > 1 && (back == nullptr || back->drawYear != last.drawYear ||
                                back->drawWeek != last.drawWeek)) {
                limits.week = last.drawWeek;
            }
        } else {
            limits.yearMin = last.drawYear;
            limits.yearMax = limits.year = last.drawYear + 1;
            limits.week = 1;
        }
        return WithYear(mode, game, draws, row, limits, limits.year);
    }
    if (mode == DrawEdit::Modify) {
        const DrawRecord* draw = At(draws, row);
        if (draw != nullptr) {
            limits.yearMin = limits.yearMax = limits.year = draw->drawYear;
            limits.week = draw->drawWeek;
        }
        return WithYear(mode, game, draws, row, limits, limits.year);
    }
    // Insert before `row`: between the draw before it and the draw at it.
    const DrawRecord* before = At(draws, row - 1);
    const DrawRecord* after = At(draws, row);
    if (after == nullptr) {
        return EntryLimitsFor(DrawEdit::Append, game, draws, count + 1);
    }
    limits.yearMax = after->drawYear;
    limits.yearMin = before != nullptr ? before->drawYear : after->drawYear - 1;
    limits.year = after->drawWeek == 1 ? after->drawYear - 1 : after->drawYear;
    limits.year = std::clamp(limits.year, limits.yearMin, limits.yearMax);
    limits.week = limits.year == after->drawYear ? after->drawWeek : 53;
    return WithYear(mode, game, draws, row, limits, limits.year);
}

std::string CheckEntry(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                       int row, const DrawRecord& entry) {
    const EntryLimits limits = EntryLimitsFor(mode, game, draws, row);
    if (entry.drawYear < limits.yearMin || entry.drawYear > limits.yearMax) {
        return RangeText("Húzás éve", limits.yearMin, limits.yearMax);
    }
    const EntryLimits weeks = WithYear(mode, game, draws, row, limits, entry.drawYear);
    if (entry.drawWeek < weeks.weekMin || entry.drawWeek > weeks.weekMax) {
        return RangeText("Játékhét", weeks.weekMin, weeks.weekMax);
    }
    const bool extra = DrawHasExtra(game, entry);
    const std::string first = CheckDrawing(game, entry.numbers.data(), extra, " a számsoron");
    if (!first.empty()) {
        return first;
    }
    if (game.drawsPerDate == 2) {
        const std::uint8_t* second = entry.numbers.data() + kSecondDrawingCell;
        const int used = game.drawnCount + game.extraCount;
        const bool given = std::any_of(second, second + used, [](int n) { return n != 0; });
        if (given && !EntryHasSecondDrawing(game, row)) {
            return "Ennél a húzásnál nincs második számsor.";
        }
        if (given) {
            const std::string text = CheckDrawing(game, second, extra, " a második számsoron");
            if (!text.empty()) {
                return text;
            }
        }
    }
    // Nothing beyond the game's cells.
    const int cells = DrawColumns(game.gameId);
    if (game.extraCount == 0 && game.drawsPerDate == 1 && game.drawnCount < kMaxDrawColumns &&
        entry.numbers[static_cast<std::size_t>(game.drawnCount)] != 0) {
        return "Ennél a játéknál nincs plusz szám.";
    }
    if (std::any_of(entry.numbers.begin() + cells, entry.numbers.end(),
                    [](int n) { return n != 0; })) {
        return "Ennél a játéknál egy húzás " + std::to_string(cells) + " számot tartalmaz.";
    }
    return {};
}

} // namespace velmora
