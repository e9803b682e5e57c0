#pragma once

#include "cli/command_line.h"

namespace velmora::cli {

// "velmora-cli draws list": the draws of a game's database, one line each.
int DrawsList(Invocation& invocation);
// "velmora-cli draws add": appends a draw as the draw entry does, with its checks, and saves
// the database.
int DrawsAdd(Invocation& invocation);
// "velmora-cli draws search": the draws search of a row of numbers, as the search ticket sums
// it up.
int DrawsSearch(Invocation& invocation);

} // namespace velmora::cli
