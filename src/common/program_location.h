#pragma once

#include <functional>
#include <string>

// Where the program's files are: beside a portable program's executable, or, for a program
// installed under a prefix, the user's data folder for the user's files and the prefix's
// share/velmora/ for what ships with it. One rule for both executables.
namespace velmora {

struct ProgramLocation {
    bool installed = false;   // the executable is <prefix>/bin/ and <prefix>/share/velmora/ exists
    std::string program;      // the program folder: the user's files (settings, Dat/, Lotto/, ...)
    std::string shared;       // installed: <prefix>/share/velmora/ (read-only); portable: ""
    std::string bundledDraws; // the results files shipped with the program
    std::string help;         // the manual (help/ beside the shipped draws)
};

// The rule. `home` is --home or VELMORA_HOME (empty when neither is given) and wins over both
// layouts for the program folder; the shipped files always follow the executable. Every path
// given may lack its trailing '/'; every path returned ends with one.
ProgramLocation LocateProgram(const std::string& executableFolder, const std::string& home,
                              const std::string& userDataFolder,
                              const std::function<bool(const std::string&)>& folderExists);

// The user's data folder of the program, the one Qt's AppDataLocation names for the desktop
// program: $XDG_DATA_HOME when set (taken as it is, as Qt takes it), else <home>/.local/share;
// then the program's title.
std::string UserDataFolder(const std::string& xdgDataHome, const std::string& userHome);

// The running program's location: `home` as above, else VELMORA_HOME; the user's data folder
// from the environment.
ProgramLocation CurrentProgramLocation(const std::string& home = "");

} // namespace velmora
