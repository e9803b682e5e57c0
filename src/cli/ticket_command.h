#pragma once

#include "cli/command_line.h"

namespace velmora::cli {

// "velmora-cli ticket": marks a ticket, sets its conditions through the conditions dialog's
// rules and saves it as a number-row file; with --fields, lists every condition field with its
// limits for the marked numbers instead.
int Ticket(Invocation& invocation);

} // namespace velmora::cli
