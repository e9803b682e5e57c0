#pragma once

#include <string>

#include "game/game_catalogue.h"

namespace velmora {

// The description of one number row shown in the report panel of a secondary ticket: sum,
// spread, range, twins, mirror pairs, primes, even endings and groups, repetitions. Lines are
// separated by "\r"; fewer than two numbers give an empty text. `row` is sorted in place.
std::string SegedszelvenyInfo(NumberRow& row);

} // namespace velmora
