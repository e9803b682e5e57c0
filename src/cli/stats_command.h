#pragma once

#include "cli/command_line.h"

namespace velmora::cli {

// "velmora-cli stats": one statistic of a game's draws or of a variation file, as the
// statistics window computes it, printed as one JSON object (or, with --csv, as a table).
int Stats(Invocation& invocation);

} // namespace velmora::cli
