#include "settings/settings.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <utility>
#include <filesystem>
#include <vector>

#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/version.h"
#include "settings/ini_file.h"

namespace velmora {

namespace {

constexpr const char* kMain = "Velmora";
constexpr const char* kCurrencySection = "Currency";
constexpr const char* kNoticeSection = "HI";
constexpr const char* kTicketSection = "Ticket";

constexpr int kFavouriteScheme = 1;
// Slot s of the favourite scheme is kept under the number s + 14.
constexpr int kFirstSlotKey = kAppearanceSlots;

// The appearance keys of the older format, by ticket kind.
constexpr std::array<const char*, kTicketKindCount> kOldSlotPrefixes = {"FSz", "BSz",  "BESz",
                                                                        "HSz", "HBSz", "HKSz"};
// The older format numbered the games from 5 and knew the first eight of them.
constexpr int kOldGameOffset = 5;
constexpr int kOldGameCount = 8;
constexpr int kOldFolderCount = 8;

std::string FolderKey(int index) {
    return "Dir" + std::to_string(index);
}

std::string NoticeKey(int index) {
    return "HI" + std::to_string(index);
}

std::string SlotKey(int kind, int slot) {
    return std::to_string(kind) + std::to_string(slot + kFirstSlotKey);
}

std::int32_t& FavouriteSlot(Settings& settings, int kind, int slot) {
    return settings.appearance[static_cast<std::size_t>(kind)][static_cast<std::size_t>(
        kFavouriteScheme * kAppearanceSlots + slot)];
}

// Colours are kept as reals; a value written as unsigned (0xFF000018 = 4278190104) still names
// the same colour. Anything beyond 32 bits keeps the current value.
std::int32_t ReadSlot(const IniFile& ini, const std::string& section, const std::string& key,
                      std::int32_t current) {
    const double value = std::round(ini.ReadReal(section, key, current));
    if (value >= static_cast<double>(INT32_MIN) && value <= static_cast<double>(INT32_MAX)) {
        return static_cast<std::int32_t>(value);
    }
    if (value > 0 && value <= static_cast<double>(UINT32_MAX)) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return current;
}

int InRangeOrZero(int value, int last) {
    return value >= 0 && value <= last ? value : 0;
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// The "Cache" key may only name a file inside the cache folder.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

void ReadOldFormat(const IniFile& ini, Settings& settings) {
    const int game = ini.ReadInteger(kMain, "Jatek", kOldGameOffset);
    if (game < kOldGameOffset || game >= kOldGameOffset + kOldGameCount) {
        return;
    }
    settings.game = game - kOldGameOffset;
    settings.saveOnExit = ini.ReadBool(kMain, "Beallitasok", true);
    settings.prices[0] = ini.ReadReal("Penznem", "Forint", 225);
    settings.prices[1] = ini.ReadReal("Penznem", "Euro", 0.65);
    settings.currency = InRangeOrZero(ini.ReadInteger("Bontas", "Penznem", 0), kCurrencyCount - 1);
    settings.scheme = InRangeOrZero(ini.ReadInteger("Szelvenyek", "Szinsema", 0), 1);
    settings.approve = ini.ReadBool(kMain, "Jovahagyas", true);
    settings.info = ini.ReadBool(kMain, "Inform", true);
    settings.hints = ini.ReadBool(kMain, "HintStatus", true);
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        for (int slot = 0; slot < kAppearanceSlots; ++slot) {
            const std::string key = kOldSlotPrefixes[static_cast<std::size_t>(kind)] +
                                    std::to_string(slot + kFirstSlotKey);
            std::int32_t& value = FavouriteSlot(settings, kind, slot);
            value = ReadSlot(ini, "Szelvenyek", key, value);
        }
    }
    for (int i = 0; i < kOldFolderCount; ++i) {
        std::string& folder = settings.gameFolders[static_cast<std::size_t>(i)];
        folder = ini.ReadString(kMain, "IniDir" + std::to_string(i), folder);
    }
}

void ReadCurrentFormat(const IniFile& ini, int start, Settings& settings) {
    settings.saveOnExit = ini.ReadBool(kMain, "Set", settings.saveOnExit);
    settings.approve = ini.ReadBool(kMain, "Approve", settings.approve);
    settings.info = ini.ReadBool(kMain, "Info", settings.info);
    settings.searchNewVersion = ini.ReadBool(kMain, "Search", settings.searchNewVersion);
    settings.hints = ini.ReadBool(kMain, "Hint", settings.hints);
    // The largest value would overflow on the increment.
    settings.starts = start < 0 ? 1 : (start == INT_MAX ? INT_MAX : start + 1);
    settings.backupKind = ini.ReadString(kMain, "Back", settings.backupKind);
    if (settings.backupKind.empty()) {
        settings.backupKind = "top";
    }
    settings.webPage = ini.ReadString(kMain, "Web", settings.webPage);
    settings.variationsPage = ini.ReadString(kMain, "Variations", settings.variationsPage);
    settings.downloadHost = ini.ReadString(kMain, "Host", settings.downloadHost);
    settings.operatorAddress = ini.ReadString(kMain, "Operator", settings.operatorAddress);
    if (settings.operatorAddress.empty()) {
        settings.operatorAddress = kDefaultOperatorAddress;
    }
    settings.onlineCheckAddress = ini.ReadString(kMain, "Online", settings.onlineCheckAddress);
    long long timeout = 0;
    if (ParseInteger(ini.ReadString(kMain, "Timeout", ""), timeout) && timeout >= 1 &&
        timeout <= 3600) {
        settings.downloadTimeout = static_cast<int>(timeout);
    }
    // Written by later versions only: a missing or unusable value keeps the one passed in.
    long long largest = 0;
    if (ParseInteger(ini.ReadString(kMain, "MaxRows", ""), largest) &&
        largest >= kMinLargestVariation) {
        settings.largestVariation = largest;
    }
    for (int i = 0; i < kGameFolderCount; ++i) {
        std::string& folder = settings.gameFolders[static_cast<std::size_t>(i)];
        folder = ini.ReadString(kMain, FolderKey(i), folder);
    }
    settings.cacheLeftover = ini.ReadString(kMain, "Cache", settings.cacheLeftover);

    settings.currency = InRangeOrZero(
        ini.ReadInteger(kCurrencySection, "Currency", settings.currency), kCurrencyCount - 1);
    for (int i = 0; i < kCurrencyCount; ++i) {
        double& price = settings.prices[static_cast<std::size_t>(i)];
        price = ini.ReadReal(kCurrencySection, std::to_string(i), price);
    }

    for (int i = 0; i < kNoticeCount; ++i) {
        bool& flag = settings.notices[static_cast<std::size_t>(i)];
        flag = ini.ReadBool(kNoticeSection, NoticeKey(i), flag);
    }

    settings.scheme =
        InRangeOrZero(ini.ReadInteger(kTicketSection, "SetColor", settings.scheme), 1);
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        for (int slot = 0; slot < kAppearanceSlots; ++slot) {
            std::int32_t& value = FavouriteSlot(settings, kind, slot);
            value = ReadSlot(ini, kTicketSection, SlotKey(kind, slot), value);
        }
    }
}

// Leftovers of the new-version download: the file the last run noted, and the installers of
// older versions.
void CleanCache(const ProgramFolders& folders, const std::string& leftover) {
    if (IsPlainFileName(leftover) && FileExists(folders.cache + leftover)) {
        RemoveFile(folders.cache + leftover);
    }
    for (int a = 0; a <= 2; ++a) {
        for (int b = 0; b <= 9; ++b) {
            const std::string path = folders.cache + std::string(kProgramStem) + "20" +
                                     std::to_string(a) + std::to_string(b) + ".exe";
            if (FileExists(path)) {
                RemoveFile(path);
            }
        }
    }
}

} // namespace

Settings DefaultSettings(const ProgramFolders& folders) {
    Settings settings;
    for (int i = 0; i < kGameFolderCount; ++i) {
        settings.gameFolders[static_cast<std::size_t>(i)] = folders.GameFolder(i % kGameCount);
    }
    return settings;
}

bool ReadSettings(const ProgramFolders& folders, Settings& settings, Messages& messages) {
    const std::string& path = folders.settingsFile;
    if (!FileExists(path)) {
        return false;
    }
    try {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(path, kMaxSettingsFileSize, bytes)) {
            messages.FileError("a " + path, "betöltése");
            return false;
        }
        const IniFile ini = IniFile::Parse(std::string(bytes.begin(), bytes.end()));

        const int start = ini.ReadInteger(kMain, "Start", -1);
        if (start == -1 || ini.ReadInteger("Bontas", "Penznem", -1) != -1) {
            Settings converted = settings;
            ReadOldFormat(ini, converted);
            settings = std::move(converted);
            RemoveFile(path);
            return false;
        }

        const int game = ini.ReadInteger(kMain, "Game", 0);
        if (!IsValidGame(game)) {
            messages.Error("Sérült a " + path + " állománya.");
            RemoveFile(path);
            return false;
        }

        // Read into a copy so that a failure half way leaves the caller's values alone.
        Settings read = settings;
        read.game = game;
        ReadCurrentFormat(ini, start, read);
        CleanCache(folders, read.cacheLeftover);
        settings = std::move(read);
        return true;
    } catch (const std::exception&) {
        messages.FileError("a " + path, "betöltése");
        return false;
    }
}

long long OptimalVariationRows(std::uint64_t freeBytes, int rowLength) {
    const auto usable = static_cast<long double>(freeBytes) * 0.95L;
    return static_cast<long long>(std::llround(usable) / (std::max(rowLength, 1) * 4LL));
}

std::string SettingsText(const Settings& settings) {
    IniFile ini;
    ini.WriteInteger(kMain, "Game", settings.game);
    ini.WriteBool(kMain, "Set", settings.saveOnExit);
    ini.WriteBool(kMain, "Approve", settings.approve);
    ini.WriteBool(kMain, "Info", settings.info);
    ini.WriteBool(kMain, "Search", settings.searchNewVersion);
    ini.WriteBool(kMain, "Hint", settings.hints);
    ini.WriteInteger(kMain, "Start", settings.starts);
    ini.WriteString(kMain, "Version", kProgramVersion.Text());
    ini.WriteString(kMain, "Back", settings.backupKind);
    ini.WriteInteger(kMain, "MaxRows", settings.largestVariation);
    ini.WriteString(kMain, "Web", settings.webPage);
    ini.WriteString(kMain, "Variations", settings.variationsPage);
    ini.WriteString(kMain, "Host", settings.downloadHost);
    ini.WriteString(kMain, "Operator", settings.operatorAddress);
    ini.WriteInteger(kMain, "Timeout", settings.downloadTimeout);
    ini.WriteString(kMain, "Online", settings.onlineCheckAddress);
    for (int i = 0; i < kGameFolderCount; ++i) {
        ini.WriteString(kMain, FolderKey(i), settings.gameFolders[static_cast<std::size_t>(i)]);
    }

    ini.WriteInteger(kCurrencySection, "Currency", settings.currency);
    for (int i = 0; i < kCurrencyCount; ++i) {
        ini.WriteReal(kCurrencySection, std::to_string(i),
                      settings.prices[static_cast<std::size_t>(i)]);
    }

    for (int i = 0; i < kNoticeCount; ++i) {
        ini.WriteBool(kNoticeSection, NoticeKey(i), settings.notices[static_cast<std::size_t>(i)]);
    }

    ini.WriteInteger(kTicketSection, "SetColor", settings.scheme);
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        for (int slot = 0; slot < kAppearanceSlots; ++slot) {
            ini.WriteReal(kTicketSection, SlotKey(kind, slot),
                          AppearanceValue(settings.appearance, kind, kFavouriteScheme, slot));
        }
    }
    return ini.Text();
}

bool WriteSettings(const ProgramFolders& folders, const Settings& settings, Messages& messages) {
    bool written = false;
    try {
        written = ReplaceFile(folders.settingsFile, SettingsText(settings));
    } catch (const std::exception&) {
        written = false;
    }
    if (!written) {
        messages.FileError("a " + folders.settingsFile, "mentése");
    }
    return written;
}

bool UzenetekLogAllapot(Settings& settings, bool value, bool query) {
    if (query) {
        for (bool flag : settings.notices) {
            if (!flag) {
                return false;
            }
        }
        return true;
    }
    settings.notices.fill(value);
    return true;
}

} // namespace velmora
