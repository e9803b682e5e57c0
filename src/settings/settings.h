#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/messages.h"
#include "settings/folders.h"
#include "game/ticket_appearance.h"

// Every setting of the program and the settings file "Velmora.ini" that keeps them.
namespace velmora {

// A settings file is a few kilobytes; a larger one is not read.
inline constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;
inline constexpr int kCurrencyCount = 6;
inline constexpr int kNoticeCount = 12;
inline constexpr int kGameFolderCount = 2 * kGameCount;
// The rows a variation may reach before the engine asks for more memory; never below this.
inline constexpr long long kMinLargestVariation = 100000;
// Where the Hungarian operator publishes its results files (otos.csv, hatos.csv, ...).
inline constexpr const char* kDefaultOperatorAddress = "https://bet.szerencsejatek.hu/cmsfiles/";
inline constexpr int kDefaultDownloadTimeout = 60;

// The rows a variation's store may take of `freeBytes` of memory: 95 per cent of it, four bytes
// a number of a row. A larger allowed size is lowered to this.
long long OptimalVariationRows(std::uint64_t freeBytes, int rowLength);

// Notice flags with a meaning of their own elsewhere in the program.
inline constexpr int kNoticeFixedNumbersReminder = 0; // the fixed numbers at a new variation
inline constexpr int kNoticeConditionsFixed = 1;
inline constexpr int kNoticeSpan = 2;
inline constexpr int kNoticeNumberGroups = 3;
inline constexpr int kNoticeExampleKeno = 4;
inline constexpr int kNoticeMarkingHelp = 6;
inline constexpr int kNoticeWinHelp = 9;

struct Settings {
    // Section "Velmora"
    GameId game = 0;              // "Game"
    bool saveOnExit = true;       // "Set"
    bool approve = true;          // "Approve"
    bool info = true;             // "Info"
    bool searchNewVersion = true; // "Search"
    bool hints = true;            // "Hint"
    int starts = 1;               // "Start": this start's number (the value read, at least 0, + 1)
    std::string backupKind = "top";                    // "Back"
    long long largestVariation = kMinLargestVariation; // "MaxRows"
    // "Dir0".."Dir23": first default folder of each game; "Dir24".."Dir47": second one.
    std::array<std::string, kGameFolderCount> gameFolders;
    std::string cacheLeftover; // "Cache", read only
    // The program's web page ("Web") and the page of variations to download ("Variations"),
    // opened by the help menu; empty until an address is set.
    std::string webPage;
    std::string variationsPage;
    // The maker's download host of the databases and the version file ("Host"; empty until
    // set), the folder of the operator's results files ("Operator"), and how long a download
    // may take, in seconds ("Timeout").
    std::string downloadHost;
    std::string operatorAddress = kDefaultOperatorAddress;
    int downloadTimeout = kDefaultDownloadTimeout;
    // A public address whose answer tells that the internet is reachable ("Online").
    std::string onlineCheckAddress = kDefaultOperatorAddress;

    // Section "Currency"
    int currency = 0;                                                    // "Currency", 0..5
    std::array<double, kCurrencyCount> prices = {225, 1, 2, 10, 10, 10}; // "0".."5"

    // Section "HI": the show-this-notice-again flags "HI0".."HI11"
    std::array<bool, kNoticeCount> notices = {true, true, true, true, true, true,
                                              true, true, true, true, true, true};

    // Section "Ticket"
    int scheme = 0; // "SetColor": 0 default, 1 favourite
    TicketAppearance appearance = DefaultTicketAppearance();

    bool IsFirstStart() const { return starts == 1; }
};

// The built-in defaults, with every game folder set to folders.GameFolder(game).
Settings DefaultSettings(const ProgramFolders& folders);

// Reads the settings file into `settings` (whose values serve as defaults). True only when
// the file was read in the current format without error. On a damaged file the message is
// shown and the file deleted; an old-format file is converted into `settings` and false is
// returned, so the caller rewrites it. Also deletes the leftover cache files.
bool ReadSettings(const ProgramFolders& folders, Settings& settings, Messages& messages);

// Writes every key (not "Cache") through a temporary file; shows the error message on failure.
bool WriteSettings(const ProgramFolders& folders, const Settings& settings, Messages& messages);

// The settings file text as WriteSettings writes it.
std::string SettingsText(const Settings& settings);

// With `query` set: whether all twelve notice flags are on. Otherwise sets all twelve to
// `value` and returns true.
bool UzenetekLogAllapot(Settings& settings, bool value, bool query);

} // namespace velmora
