#include "cli/online_commands.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/terminal_messages.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "draws/draws_store.h"
#include "session/draws_update.h"
#include "settings/ini_file.h"

extern char** environ;

namespace velmora::cli {

namespace {

// curl's exit status for a file larger than --max-filesize.
constexpr int kCurlTooLarge = 63;

// Runs curl with `arguments` (after the program name), its output thrown away; its exit
// status, or -1 when it could not be run.
int RunCurl(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::string program = "curl";
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "curl", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint64_t SizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// The settings of the program folder: defaults where there is no file, or where the file is
// of an older format, which only the program converts (and rewrites).
Settings ProgramSettings(Invocation& invocation) {
    Settings settings = DefaultSettings(invocation.folders);
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(invocation.folders.settingsFile, kMaxSettingsFileSize, bytes) &&
        IniFile::Parse(std::string(bytes.begin(), bytes.end()))
                .ReadInteger("Velmora", "Start", -1) != -1) {
        ReadSettings(invocation.folders, settings, *invocation.messages);
    }
    return settings;
}

bool GameArgument(Invocation& invocation, GameId& game) {
    long long id = 0;
    if (!ParseInteger(invocation.arguments[0], id) || id < 0 || id >= kGameCount) {
        *invocation.err << "GAME is a game number 0.." << kGameCount - 1 << "\n";
        return false;
    }
    game = static_cast<GameId>(id);
    return true;
}

// "draws: N  first: Y/W  last: Y/W  file: PATH" of a game's database; false when it does not
// load.
bool PrintDatabase(Invocation& invocation, GameId game) {
    const std::string path = invocation.folders.data + DatabaseFile(game);
    DrawsStore store;
    if (!store.HuzasokBe(path, LoadGameInfo(game), *invocation.messages)) {
        return false;
    }
    const DrawRecord& first = store.At(0);
    const DrawRecord& last = store.At(store.Count() - 1);
    *invocation.out << GameName(game) << ": draws: " << store.Count()
                    << "  first: " << first.drawYear << "/" << first.drawWeek
                    << "  last: " << last.drawYear << "/" << last.drawWeek << "  file: " << path
                    << "\n";
    return true;
}

// Whether the data folder can take the database of `game`; false after the message.
bool CanWriteDatabase(Invocation& invocation, GameId game) {
    std::error_code error;
    std::filesystem::create_directories(invocation.folders.data, error);
    const std::string path = invocation.folders.data + DatabaseFile(game);
    if (error || !CanReplaceFile(path)) {
        *invocation.err << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

CurlFetcher::CurlFetcher(int timeoutSeconds, std::string onlineAddress)
    : m_timeout(std::max(1, timeoutSeconds)), m_onlineAddress(std::move(onlineAddress)) {}

FetchStatus CurlFetcher::Fetch(const std::string& url, const std::string& path,
                               std::uint64_t maxBytes) {
    const int status =
        RunCurl({"--silent", "--fail", "--location", "--max-redirs", "10", "--proto", "=http,https",
                 "--proto-redir", "=http,https", "--max-time", std::to_string(m_timeout),
                 "--max-filesize", std::to_string(maxBytes), "--output", path, "--", url});
    if (status == 0 && SizeOf(path) <= maxBytes) {
        return FetchStatus::Done;
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return status == kCurlTooLarge || status == 0 ? FetchStatus::TooLarge : FetchStatus::Failed;
}

bool CurlFetcher::IsOnline() {
    return !m_onlineAddress.empty() &&
           RunCurl({"--silent", "--head", "--max-time", "10", "--output", "/dev/null", "--",
                    m_onlineAddress}) == 0;
}

int DrawsUpdate(Invocation& invocation) {
    GameId game = 0;
    if (!GameArgument(invocation, game)) {
        return kExitUsage;
    }
    if (OperatorResultsFile(game).empty()) {
        *invocation.err << GameName(game) << " has no results file to update from.\n";
        return kExitUsage;
    }
    if (!CanWriteDatabase(invocation, game)) {
        return kExitFailed;
    }
    const Settings settings = ProgramSettings(invocation);
    DrawsStore current;
    current.HuzasokBe(invocation.folders.data + DatabaseFile(game), LoadGameInfo(game),
                      *invocation.messages);
    CurlFetcher fetcher(settings.downloadTimeout, settings.onlineCheckAddress);
    const UpdateResult result =
        UpdateFromOperator(fetcher, *invocation.messages, invocation.folders, settings, game,
                           current.Count(), invocation.Value("--from"));
    if (result != UpdateResult::Changed) {
        return kExitFailed;
    }
    return PrintDatabase(invocation, game) ? kExitOk : kExitFailed;
}

int DrawsDownload(Invocation& invocation) {
    const bool all = invocation.arguments[0] == "all";
    GameId game = 0;
    if (!all && !GameArgument(invocation, game)) {
        return kExitUsage;
    }
    Settings settings = ProgramSettings(invocation);
    if (invocation.Has("--host")) {
        settings.downloadHost = invocation.Value("--host");
    }
    if (settings.downloadHost.empty()) {
        *invocation.err << kNoHostText << "\n";
        return kExitFailed;
    }
    const std::vector<GameId> games = all ? DownloadedDatabaseGames() : std::vector<GameId>{game};
    for (const GameId each : games) {
        if (!CanWriteDatabase(invocation, each)) {
            return kExitFailed;
        }
    }
    CurlFetcher fetcher(settings.downloadTimeout, settings.onlineCheckAddress);
    if (all) {
        if (!DownloadAllDatabases(fetcher, *invocation.messages, invocation.folders, settings)) {
            return kExitFailed;
        }
    } else if (DownloadDatabase(fetcher, *invocation.messages, invocation.folders, settings, game,
                                true) != UpdateResult::Changed) {
        return kExitFailed;
    }
    for (const GameId each : games) {
        PrintDatabase(invocation, each);
    }
    return kExitOk;
}

} // namespace velmora::cli
