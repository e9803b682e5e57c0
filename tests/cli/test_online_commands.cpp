// The download commands against a real HTTP server on the loopback interface: the operator's
// results file, the maker's databases, and every way a download can fail.

#include "cli/online_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "common/file_io.h"
#include "support/http_test_server.h"
#include "support/temp_home.h"

namespace velmora::cli {
namespace {

struct Result {
    int status = 0;
    std::string out;
    std::string err;
};

Result Cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCommandLine(CommandTable(), args, out, err);
    return {status, out.str(), err.str()};
}

std::string Bytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ReadFileBytes(path, 1 << 24, bytes);
    return std::string(bytes.begin(), bytes.end());
}

void Write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string otos = Bytes(std::string(VELMORA_TEST_DRAWS) + "otos.csv");
        ASSERT_FALSE(otos.empty());
        Write(site.Path() + "otos.csv", otos);
        // A line cut in the middle, and a layout with a number column more after the week.
        Write(site.Path() + "truncated/otos.csv", otos.substr(0, otos.size() * 2 / 5));
        std::string changed;
        std::istringstream lines(otos);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t week = line.find(';', line.find(';') + 1);
            changed += (week == std::string::npos ? line : line.insert(week, ";0")) + "\n";
        }
        Write(site.Path() + "changed/otos.csv", changed);
        // The program's database of the 5/90, as the maker's host publishes it.
        ASSERT_EQ(Cli({"--home", maker.Path(), "draws", "import", "0",
                       std::string(VELMORA_TEST_DRAWS) + "otos.csv"})
                      .status,
                  0);
        database = Bytes(maker.Path() + "Dat/Huzas5.ldb");
        Write(site.Path() + "hu/download/Database/Huzas5.ldb", database);
        Write(site.Path() + "hu/download/Database/DBError0.txt", "Karbantartás\nhétfőn");
        Write(site.Path() + "garbage/hu/download/Database/Huzas5.ldb", std::string(9000, 'x'));
    }
    // The settings of the home: downloads give up after two seconds, and the internet counts
    // as reachable when the loopback server answers.
    void Settings(const testing::HttpTestServer& server, const std::string& more = "") {
        Write(home.Path() + "Velmora.ini",
              "[Velmora]\nStart=1\nTimeout=2\nOnline=" + server.Url("/otos.csv") + "\n" + more);
    }
    std::string Home() const { return home.Path(); }
    std::string DatabasePath() const { return home.Path() + "Dat/Huzas5.ldb"; }
    bool CacheEmpty() const {
        const std::string cache = home.Path() + "Dat/Cache";
        return !std::filesystem::exists(cache) || std::filesystem::is_empty(cache);
    }

    testing::TempHome site;
    testing::TempHome maker;
    testing::TempHome home;
    std::string database;
};

// The operator's results file, downloaded (also through a redirect) and imported whole.
TEST_F(OnlineTest, ResultsFileIsDownloadedAndImported) {
    testing::HttpTestServer server(site.Path());
    ASSERT_TRUE(server.Running());
    Settings(server);
    Result result =
        Cli({"--home", Home(), "--yes", "draws", "update", "0", "--from", server.Url("/otos.csv")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Magyar 5/90 lottó: draws: 3573  first: 1957/10"), std::string::npos)
        << result.out;
    EXPECT_EQ(Bytes(DatabasePath()), database);
    EXPECT_TRUE(CacheEmpty());

    // Without --yes the question is answered No: nothing is downloaded.
    std::filesystem::remove(DatabasePath());
    result = Cli({"--home", Home(), "draws", "update", "0", "--from", server.Url("/otos.csv")});
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));

    // With the maker's host set, its notice for the game is part of the question.
    Settings(server, "Host=" + server.Url() + "\n");
    result = Cli({"--home", Home(), "--yes", "draws", "update", "0", "--from",
                  server.Url("/moved/otos.csv")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("\nKarbantartás\nhétfőn\n"), std::string::npos) << result.err;
    EXPECT_EQ(Bytes(DatabasePath()), database);
    EXPECT_TRUE(CacheEmpty());
}

// Every failure leaves the database byte for byte as it was, says why, and leaves nothing in
// the cache.
TEST_F(OnlineTest, FailuresLeaveTheDatabaseAsItWas) {
    testing::HttpTestServer server(site.Path());
    ASSERT_TRUE(server.Running());
    Settings(server);
    ASSERT_EQ(Cli({"--home", Home(), "draws", "import", "0",
                   std::string(VELMORA_TEST_DRAWS) + "otos.csv"})
                  .status,
              0);
    const std::string before = Bytes(DatabasePath());
    const std::string failed = "Sikertelen az állomány letöltése.";
    const std::string format = "A Szerencsejáték Zrt. honlapján elérhető otos.csv állomány "
                               "formátuma megváltozott";
    const struct {
        const char* path;
        std::string message;
    } cases[] = {
        {"/missing.csv", failed},
        {"/reset/otos.csv", failed},
        {"/huge", failed},
        {"/slow", failed},
        {"/loop", failed},
        {"/truncated/otos.csv", format},
        {"/changed/otos.csv", format},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Result result =
            Cli({"--home", Home(), "--yes", "draws", "update", "0", "--from", server.Url(c.path)});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(Bytes(DatabasePath()), before);
        EXPECT_TRUE(CacheEmpty());
    }
    // When the internet itself does not answer, the failure says so.
    Write(Home() + "Velmora.ini",
          std::string("[Velmora]\nStart=1\nTimeout=2\nOnline=http://127.0.0.1:1/\n"));
    const Result offline = Cli(
        {"--home", Home(), "--yes", "draws", "update", "0", "--from", server.Url("/missing.csv")});
    EXPECT_NE(offline.err.find("Nincs Internet-kapcsolat."), std::string::npos) << offline.err;
    EXPECT_EQ(Bytes(DatabasePath()), before);
}

// The maker's databases: one game, every game (stopping at the first that is missing), a
// smaller list kept unless the user agrees, and a file that is no database refused.
TEST_F(OnlineTest, DatabasesComeFromTheMakersHost) {
    testing::HttpTestServer server(site.Path());
    ASSERT_TRUE(server.Running());
    Settings(server);
    Result result = Cli({"--home", Home(), "draws", "download", "0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Host kulcsa"), std::string::npos) << result.err;

    result = Cli({"--home", Home(), "draws", "download", "0", "--host", server.Url()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("Magyar 5/90 lottó - húzások listája sikeresen letöltve."),
              std::string::npos);
    EXPECT_EQ(Bytes(DatabasePath()), database);

    // Every game: the 6/45 is not there, so the run stops after the 5/90 without its message.
    result = Cli({"--home", Home(), "draws", "download", "all", "--host", server.Url()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.find("Adatbázis sikeresen letöltve."), std::string::npos);
    EXPECT_NE(result.err.find("Sikertelen az állomány letöltése."), std::string::npos);

    // A longer list at home: kept when the question is answered No.
    const std::string longer = database + std::string(28, '\0');
    Write(DatabasePath(), longer);
    result = Cli({"--home", Home(), "draws", "download", "0", "--host", server.Url()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("kevesebb húzás adatait tartalmazza"), std::string::npos);
    EXPECT_EQ(Bytes(DatabasePath()), longer);

    result = Cli(
        {"--home", Home(), "--yes", "draws", "download", "0", "--host", server.Url("/garbage")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(Bytes(DatabasePath()), longer);
    EXPECT_TRUE(CacheEmpty());
}

} // namespace
} // namespace velmora::cli
