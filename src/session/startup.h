#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "session/session.h"

// What happens between the program's start and a ready main window, apart from the windows.
namespace velmora {

inline constexpr std::uint64_t kMinimumFreeMemory = 10485760;

struct StartEnvironment {
    std::optional<std::uint64_t> freeMemory; // unknown: no check
    bool mousePresent = true;
    // The user manual's index page; empty when it is missing. Unset: not looked for.
    std::optional<std::string> helpIndex;
};

inline constexpr const char* kHelpMissingText = "Hiányzik a Súgó állománya.";

// The checks and preparations made while the main window is created: memory, pointing
// device, write test, folders, settings read and rewritten. False when the program must end.
bool PrepareStart(Session& session, const StartEnvironment& environment);

// The game to start with when a number-row or variation file is named on the command line:
// read from the file's header (older files number the games from 5). `resetOrder` is set when
// the header was read.
GameId GameForCommandLineFile(const std::string& path, GameId settingsGame, Messages& messages,
                              bool& resetOrder);

// Deletes the work files older versions left in the program folder (report files are first
// copied into the list folder). True when any file was removed.
bool CleanUpOldWorkFiles(const ProgramFolders& folders);

// On the first start, or when the games folder is missing: creates it, resets the default
// folders of every game and moves game folders found in the program folder into it. Returns
// the part of the start message that tells about it; empty when nothing was done.
std::string ArrangeGameFolders(Session& session, bool firstStart);

// The loading step after every window exists: clean-up and folders on the first start, the
// start message and the marking help.
void RunLoadingStep(Session& session);

// The marking help shown at start while its notice flag is on.
extern const char* const kMarkingHelpText;

} // namespace velmora
