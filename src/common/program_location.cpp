#include "common/program_location.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "common/file_io.h"
#include "common/platform.h"
#include "common/version.h"

namespace velmora {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// $HOME, else the password database's home of this user.
std::string UserHome() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
            home = entry->pw_dir;
        }
    }
    return home;
}

} // namespace

ProgramLocation LocateProgram(const std::string& executableFolder, const std::string& home,
                              const std::string& userDataFolder,
                              const std::function<bool(const std::string&)>& folderExists) {
    const std::string exe = WithSlash(executableFolder);
    ProgramLocation location;
    // <prefix>/bin/ alone is not enough: a build tree's bin/ has no share/velmora/ beside it.
    constexpr std::string_view kBin = "/bin/";
    if (exe.size() > kBin.size() && exe.ends_with(kBin)) {
        const std::string shared = exe.substr(0, exe.size() - kBin.size()) + "/share/velmora/";
        if (folderExists(shared)) {
            location.installed = true;
            location.shared = shared;
        }
    }
    if (!home.empty()) {
        location.program = WithSlash(home);
    } else {
        location.program = location.installed ? WithSlash(userDataFolder) : exe;
    }
    location.bundledDraws = (location.installed ? location.shared : exe) + "draws/";
    // The manual ships with the program, as the draws do.
    location.help = (location.installed ? location.shared : exe) + "help/";
    return location;
}

std::string UserDataFolder(const std::string& xdgDataHome, const std::string& userHome) {
    const std::string dataHome =
        xdgDataHome.empty() ? WithSlash(userHome) + ".local/share" : xdgDataHome;
    return WithSlash(dataHome) + kProgramTitle + "/";
}

ProgramLocation CurrentProgramLocation(const std::string& home) {
    return LocateProgram(ExecutableFolderPath(), home.empty() ? Environment("VELMORA_HOME") : home,
                         UserDataFolder(Environment("XDG_DATA_HOME"), UserHome()), FolderExists);
}

} // namespace velmora
