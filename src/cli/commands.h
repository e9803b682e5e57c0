#pragma once

#include <vector>

#include "cli/command_line.h"

namespace velmora::cli {

// Every command of velmora-cli, in the order the usage lists them.
const std::vector<Command>& CommandTable();

} // namespace velmora::cli
