#include "cli/draws_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/terminal_messages.h"
#include "common/hu_format.h"
#include "draws/draw_entry.h"
#include "draws/draw_ranges.h"
#include "draws/draws_editor.h"
#include "draws/draws_search.h"
#include "draws/draws_store.h"

namespace velmora::cli {

namespace {

bool Integer(const Invocation& invocation, const std::string& text, long long low, long long high,
             long long& value) {
    if (ParseInteger(text, value) && value >= low && value <= high) {
        return true;
    }
    *invocation.err << "not a number of " << low << ".." << high << ": " << text << "\n";
    return false;
}

// The game of the first argument and its loaded database; false after the message.
bool LoadGame(Invocation& invocation, GameInfo& game, DrawsStore& store, std::string& path) {
    long long id = 0;
    if (!Integer(invocation, invocation.arguments[0], 0, kGameCount - 1, id)) {
        return false;
    }
    game = LoadGameInfo(static_cast<GameId>(id));
    path = invocation.folders.data + DatabaseFile(game.gameId);
    if (!store.HuzasokBe(path, game, *invocation.messages)) {
        *invocation.err << "no draws database of " << GameName(game.gameId) << " in "
                        << invocation.folders.data << "\n";
        return false;
    }
    return true;
}

// "12 2025 34: 6 24 77 88 89 + 5 / ..." : number, year, week, each drawing with its extra.
std::string DrawLine(const GameInfo& game, const DrawRecord& draw) {
    std::string line = std::to_string(draw.drawNo) + " " + std::to_string(draw.drawYear) + " " +
                       std::to_string(draw.drawWeek) + ":";
    const int sets = game.drawsPerDate == 2 ? 2 : 1;
    for (int set = 0; set < sets; ++set) {
        const std::uint8_t* cells = draw.numbers.data() + set * kSecondDrawingCell;
        if (set == 1) {
            if (cells[0] == 0) {
                break;
            }
            line += " /";
        }
        for (int i = 0; i < game.drawnCount; ++i) {
            line += " " + std::to_string(cells[i]);
        }
        if (game.extraCount == 1 && cells[game.drawnCount] != 0) {
            line += " + " + std::to_string(cells[game.drawnCount]);
        }
    }
    return line;
}

// The first..last range of --first and --last over `count` draws; false after the message.
bool Range(const Invocation& invocation, int count, long long& first, long long& last) {
    first = 1;
    last = count;
    return (!invocation.Has("--first") ||
            Integer(invocation, invocation.Value("--first"), 1, std::max(count, 1), first)) &&
           (!invocation.Has("--last") ||
            Integer(invocation, invocation.Value("--last"), first, count, last));
}

// The numbers after the game (and, for draws add, the year and week).
bool Numbers(const Invocation& invocation, std::size_t from, int maxNumber,
             std::vector<std::uint8_t>& numbers) {
    for (std::size_t i = from; i < invocation.arguments.size(); ++i) {
        long long n = 0;
        if (!Integer(invocation, invocation.arguments[i], 1, maxNumber, n)) {
            return false;
        }
        numbers.push_back(static_cast<std::uint8_t>(n));
    }
    return true;
}

} // namespace

int DrawsList(Invocation& invocation) {
    GameInfo game;
    DrawsStore store;
    std::string path;
    if (!LoadGame(invocation, game, store, path)) {
        return kExitFailed;
    }
    long long first = 1;
    long long last = 0;
    if (!Range(invocation, store.Count(), first, last)) {
        return kExitUsage;
    }
    for (long long r = first; r <= last; ++r) {
        *invocation.out << DrawLine(game, store.At(static_cast<int>(r - 1))) << "\n";
    }
    return kExitOk;
}

int DrawsAdd(Invocation& invocation) {
    GameInfo game;
    DrawsStore store;
    std::string path;
    if (!LoadGame(invocation, game, store, path)) {
        return kExitFailed;
    }
    long long year = 0;
    long long week = 0;
    std::vector<std::uint8_t> numbers;
    if (invocation.arguments.size() < 3 ||
        !Integer(invocation, invocation.arguments[1], 1, 9999, year) ||
        !Integer(invocation, invocation.arguments[2], 1, 53, week) ||
        !Numbers(invocation, 3, 255, numbers)) {
        return kExitUsage;
    }
    const std::size_t drawn = static_cast<std::size_t>(game.drawnCount);
    const std::vector<std::string> extras = invocation.Values("--extra");
    if (numbers.size() > drawn * (game.drawsPerDate == 2 ? 2 : 1) ||
        extras.size() > (game.drawsPerDate == 2 ? 2U : 1U)) {
        *invocation.err << GameName(game.gameId) << " draws " << drawn << " numbers"
                        << (game.drawsPerDate == 2 ? " twice a date" : "") << "\n";
        return kExitUsage;
    }
    DrawRecord draw;
    draw.drawYear = static_cast<std::int32_t>(year);
    draw.drawWeek = static_cast<std::int32_t>(week);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t cell = i < drawn ? i : kSecondDrawingCell + (i - drawn);
        draw.numbers[cell] = numbers[i];
    }
    for (std::size_t e = 0; e < extras.size(); ++e) {
        long long extra = 0;
        if (!Integer(invocation, extras[e], 1, 255, extra)) {
            return kExitUsage;
        }
        draw.numbers[e * kSecondDrawingCell + drawn] = static_cast<std::uint8_t>(extra);
    }
    const int row = store.Count() + 1;
    const std::string refusal = CheckEntry(DrawEdit::Append, game, store.Draws(), row, draw);
    if (!refusal.empty()) {
        invocation.messages->Warning(refusal);
        return kExitFailed;
    }
    DrawRanges ranges;
    ranges.Reset(store.Count());
    DrawsEditor editor(store, ranges);
    editor.Append(draw);
    if (editor.DroppedOldest()) {
        invocation.messages->Information(kOldestDrawDroppedText);
    }
    if (!store.AdatbazisMentese(path, false, *invocation.messages)) {
        return kExitFailed;
    }
    *invocation.out << DrawLine(game, store.Draws().back()) << "\n";
    return kExitOk;
}

int DrawsSearch(Invocation& invocation) {
    GameInfo game;
    DrawsStore store;
    std::string path;
    if (!LoadGame(invocation, game, store, path)) {
        return kExitFailed;
    }
    DrawSearchRow row;
    long long first = 1;
    long long last = 0;
    if (!Numbers(invocation, 1, game.maxNumber, row.numbers) ||
        !Range(invocation, store.Count(), first, last)) {
        return kExitUsage;
    }
    std::vector<std::uint8_t> sorted = row.numbers;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty() || sorted.size() > static_cast<std::size_t>(game.drawnCount) ||
        std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        *invocation.err << "mark 1.." << game.drawnCount << " distinct numbers\n";
        return kExitUsage;
    }
    if (invocation.Has("--extra")) {
        long long extra = 0;
        if (game.extraCount != 1) {
            *invocation.err << GameName(game.gameId) << " has no extra number\n";
            return kExitUsage;
        }
        if (!Integer(invocation, invocation.Value("--extra"), 1, game.maxNumber, extra)) {
            return kExitUsage;
        }
        row.extra = static_cast<int>(extra);
    }
    const DrawSearchCounts counts =
        SearchDraws(game, store.Draws(), static_cast<int>(first), static_cast<int>(last), row);
    *invocation.out << TerminalText(
        SearchSummaryText(game, static_cast<int>(first), static_cast<int>(last), counts));
    return kExitOk;
}

} // namespace velmora::cli
