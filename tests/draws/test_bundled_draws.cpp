#include "draws/bundled_draws.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/random_source.h"
#include "session/startup.h"
#include "support/fake_messages.h"
#include "support/fixed_clock.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::TempHome;

std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(entry.path().string());
    }
    return names;
}

// An installed program's first start: the user's folder is made and its databases are built
// from the shared results files, which stay as they were.
TEST(BundledDraws, InstalledFirstStartBuildsTheUsersDatabasesFromTheSharedFiles) {
    TempHome root;
    const std::string prefix = root.Path() + "usr/";
    fs::create_directories(prefix + "bin");
    fs::create_directories(prefix + "share/velmora");
    fs::copy(VELMORA_TEST_DRAWS, prefix + "share/velmora/draws");
    const std::string user = root.Path() + "home/.local/share/Velmora Personal/";
    const ProgramLocation location = LocateProgram(prefix + "bin", "", user, FolderExists);
    ASSERT_TRUE(location.installed);
    ASSERT_EQ(BundledDrawsFolder(location), prefix + "share/velmora/draws/");
    const std::set<std::string> shipped = Listing(prefix);

    testing::FakeMessages messages;
    SeededRandom random(1);
    testing::FixedClock clock;
    Session session(MakeProgramFolders(location), messages, random, clock);
    ASSERT_TRUE(PrepareStart(session, {}));
    RunLoadingStep(session);
    EXPECT_EQ(BuildMissingDatabases(session.Folders(), BundledDrawsFolder(location), messages), 4);

    EXPECT_TRUE(FileExists(user + "Velmora.ini"));
    for (const char* database : {"Huzas5.ldb", "Keno.ldb"}) {
        EXPECT_TRUE(FileExists(user + "Dat/" + database)) << database;
    }
    EXPECT_TRUE(fs::is_directory(user + "Lotto"));
    EXPECT_EQ(session.Folders().help, prefix + "share/velmora/help/");
    EXPECT_EQ(Listing(prefix), shipped) << "nothing is written under the prefix";
}

// Where the results files are read from when the expected folder is missing: only a portable
// program (a test or benchmark executable) falls back to the source tree's copy.
TEST(BundledDraws, FolderOfEachLayout) {
    TempHome root;
    fs::create_directories(root.Path() + "with/draws");
    fs::create_directories(root.Path() + "usr/bin");
    fs::create_directories(root.Path() + "usr/share/velmora");
    const auto folder = [&root](const std::string& exe) {
        return BundledDrawsFolder(LocateProgram(root.Path() + exe, "", "/u/", FolderExists));
    };
    EXPECT_EQ(folder("with"), root.Path() + "with/draws/");
    EXPECT_EQ(folder("without"), std::string(VELMORA_TEST_DRAWS));
    EXPECT_EQ(folder("usr/bin"), root.Path() + "usr/share/velmora/draws/");
}

} // namespace
} // namespace velmora
