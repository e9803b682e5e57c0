#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conditions/condition_set.h"
#include "conditions/number_data.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"

// Example variations ("példabontás"): from one example row of a game's row length, the
// narrowest conditions that the row itself satisfies, over every number of the game.
namespace velmora {

// Which command an example comes from, for the Keno notice.
enum class ExampleSource { Draw = 0, Random = 1, OwnNumbers = 2 };

struct ExampleInput {
    GameInfo game;
    std::vector<std::uint8_t> row; // E: the example numbers, ascending
    NumberData data;               // the conditions' data of E alone
    // The draws of the game (empty without a database), and the hit-ratio range over them
    // (1-based, inclusive); the draw argument D: the chosen draw's index or the last draw.
    const std::vector<DrawRecord>* draws = nullptr;
    int firstDraw = 1;
    int lastDraw = 1;
    int drawArgument = 0;
};

// Fills condition records 1..11 of `set` (favoured, mobile and fixed groups, decade and
// ending parity and repetition, hit ratio, sum, twins, mirror pairs) for the example row;
// the others stay as they are.
void ExampleConditions(const ExampleInput& input, ConditionSet& set);

// The notice shown before an example of a Keno game; empty when there is nothing to say
// (not Keno, or the example of a short Keno row that is not from a draw).
std::string KenoExampleNotice(const GameInfo& game, ExampleSource source);

// The engine window's caption of an example.
std::string ExampleTitle(ExampleSource source, int drawIndex);

} // namespace velmora
