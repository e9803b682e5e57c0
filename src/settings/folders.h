#pragma once

#include <string>

#include "common/program_location.h"
#include "game/game_catalogue.h"

// The folders beside the program. Every path ends with '/'.
namespace velmora {

struct ProgramFolders {
    std::string program;      // the program folder
    std::string games;        // program + "Lotto/"
    std::string data;         // program + "Dat/"
    std::string cache;        // data + "Cache/"
    std::string backup;       // program + "Back/"
    std::string list;         // program + "List/"
    std::string help;         // program + "Help/"; an installed program's share/velmora/help/
    std::string settingsFile; // program + "Velmora.ini"

    // games + FolderName(id), without a trailing '/', as the settings file keeps it.
    std::string GameFolder(GameId id) const;
};

// Forms every path from the program folder (a trailing '/' is added when missing).
ProgramFolders MakeProgramFolders(const std::string& programFolder);
// The same for a located program: its program folder, and the manual where it was installed.
ProgramFolders MakeProgramFolders(const ProgramLocation& location);

} // namespace velmora
