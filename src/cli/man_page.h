#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"

// The manual page of velmora-cli, made from its command table so it lists what the program
// takes.
namespace velmora::cli {

// The page in roff (man macros), UTF-8.
std::string ManPage(const std::vector<Command>& table);

// `text` made safe as roff text: backslashes and hyphens escaped, a leading '.' or '\'' kept
// from being read as a request.
std::string RoffText(const std::string& text);

} // namespace velmora::cli
