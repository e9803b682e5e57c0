#include "common/program_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "common/platform.h"

namespace velmora {
namespace {

// The folders that exist, as the rule sees them.
auto Existing(std::set<std::string> folders) {
    return
        [folders = std::move(folders)](const std::string& path) { return folders.count(path) > 0; };
}

TEST(ProgramLocation, PortableInstalledAndHomeLayouts) {
    const std::string user = "/home/anna/.local/share/Velmora Personal/";
    const std::set<std::string> shares = {"/usr/share/velmora/", "/usr/local/share/velmora/",
                                          "/home/anna/.local/share/velmora/"};
    struct Case {
        const char* what;
        std::string exe;
        std::string home;
        bool installed;
        std::string program;
        std::string draws;
        std::string help;
    };
    const Case cases[] = {
        {"a build tree's bin/ has no share/velmora beside it", "/src/velmora/build/bin/", "", false,
         "/src/velmora/build/bin/", "/src/velmora/build/bin/draws/",
         "/src/velmora/build/bin/help/"},
        {"an unpacked folder, given without its slash", "/opt/Velmora", "", false, "/opt/Velmora/",
         "/opt/Velmora/draws/", "/opt/Velmora/help/"},
        {"the system prefix", "/usr/bin/", "", true, user, "/usr/share/velmora/draws/",
         "/usr/share/velmora/help/"},
        {"a local prefix", "/usr/local/bin", "", true, user, "/usr/local/share/velmora/draws/",
         "/usr/local/share/velmora/help/"},
        {"the user's own prefix", "/home/anna/.local/bin/", "", true, user,
         "/home/anna/.local/share/velmora/draws/", "/home/anna/.local/share/velmora/help/"},
        {"a bin/ without the shared folder stays portable", "/opt/tools/bin/", "", false,
         "/opt/tools/bin/", "/opt/tools/bin/draws/", "/opt/tools/bin/help/"},
        {"a folder that only ends in bin", "/usr/sbin/", "", false, "/usr/sbin/",
         "/usr/sbin/draws/", "/usr/sbin/help/"},
        {"the home replaces the portable folder", "/opt/Velmora/", "/tmp/h", false, "/tmp/h/",
         "/opt/Velmora/draws/", "/opt/Velmora/help/"},
        {"the home replaces the user's folder; the shipped files stay", "/usr/bin/", "/tmp/h/",
         true, "/tmp/h/", "/usr/share/velmora/draws/", "/usr/share/velmora/help/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramLocation location = LocateProgram(c.exe, c.home, user, Existing(shares));
        EXPECT_EQ(location.installed, c.installed);
        EXPECT_EQ(location.program, c.program);
        EXPECT_EQ(location.bundledDraws, c.draws);
        EXPECT_EQ(location.help, c.help);
        EXPECT_EQ(location.shared.empty(), !c.installed);
    }
}

// The desktop program's folder is checked against Qt's in the program frame's test.
TEST(ProgramLocation, UserDataFolderFollowsTheDesktopRule) {
    struct Case {
        std::string xdgDataHome;
        std::string userHome;
        std::string expected;
    };
    const Case cases[] = {
        {"", "/home/anna", "/home/anna/.local/share/Velmora Personal/"},
        {"", "/home/anna/", "/home/anna/.local/share/Velmora Personal/"},
        {"/data/anna", "/home/anna", "/data/anna/Velmora Personal/"},
        {"/data/anna/", "/home/anna", "/data/anna/Velmora Personal/"},
        {"relative/data", "/home/anna", "relative/data/Velmora Personal/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserDataFolder(c.xdgDataHome, c.userHome), c.expected)
            << "XDG_DATA_HOME=" << c.xdgDataHome;
    }
}

// The running test program is a portable one (a build tree's bin/); the home given to the
// command line wins over VELMORA_HOME, which wins over the executable's folder.
TEST(ProgramLocation, CurrentProgramTakesTheHomeFromTheCommandLineThenTheEnvironment) {
    ::unsetenv("VELMORA_HOME");
    const ProgramLocation own = CurrentProgramLocation();
    EXPECT_FALSE(own.installed);
    EXPECT_EQ(own.program, ExecutableFolderPath());

    ::setenv("VELMORA_HOME", "/tmp/velmora-home", 1);
    EXPECT_EQ(CurrentProgramLocation().program, "/tmp/velmora-home/");
    EXPECT_EQ(CurrentProgramLocation("/tmp/given").program, "/tmp/given/");
    EXPECT_EQ(CurrentProgramLocation().bundledDraws, ExecutableFolderPath() + "draws/");
    ::unsetenv("VELMORA_HOME");
}

} // namespace
} // namespace velmora
