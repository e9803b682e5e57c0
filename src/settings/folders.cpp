#include "settings/folders.h"

#include "common/version.h"

namespace velmora {

std::string ProgramFolders::GameFolder(GameId id) const {
    return games + FolderName(id);
}

ProgramFolders MakeProgramFolders(const std::string& programFolder) {
    ProgramFolders folders;
    folders.program = programFolder;
    if (folders.program.empty() || folders.program.back() != '/') {
        folders.program += '/';
    }
    folders.games = folders.program + "Lotto/";
    folders.data = folders.program + "Dat/";
    folders.cache = folders.data + "Cache/";
    folders.backup = folders.program + "Back/";
    folders.list = folders.program + "List/";
    folders.help = folders.program + "Help/";
    folders.settingsFile = folders.program + kProgramStem + ".ini";
    return folders;
}

ProgramFolders MakeProgramFolders(const ProgramLocation& location) {
    ProgramFolders folders = MakeProgramFolders(location.program);
    folders.help = location.help;
    return folders;
}

} // namespace velmora
