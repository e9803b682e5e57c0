#include "game/game_catalogue.h"

#include <array>
#include <stdexcept>

namespace velmora {

namespace {

// clang-format off
constexpr std::array<GameSpec, kGameCount> kCatalogue = {{
    //  name                              N   k   d  Dd Dw  X  P  cols rows B  folder       database
    {"Magyar 5/90 lottó",                90,  5,  5, 1, 1, 0, 3, 10,  9, 0, "Otos",      "Huzas5.ldb"},
    {"Magyar 6/45 lottó",                45,  6,  6, 1, 1, 1, 3,  7,  7, 0, "Hatos",     "Huzas6.ldb"},
    {"Magyar 7/35 lottó",                35,  7,  7, 2, 1, 0, 3,  5,  7, 0, "Skandinav", "Huzas7.ldb"},
    {"Szlovák 5/35 lottó",               35,  5,  5, 1, 1, 0, 2,  6,  6, 1, "Sk535",     "Sk535.ldb"},
    {"Szlovák 6/49 lottó",               49,  6,  6, 2, 2, 1, 3,  6,  9, 1, "Sk649",     "Sk649.ldb"},
    {"Osztrák 6/45 lottó",               45,  6,  6, 1, 2, 1, 3,  6,  8, 0, "At645",     "At645.ldb"},
    {"Horvát 6/45 lottó",                45,  6,  6, 1, 1, 1, 3,  3, 15, 0, "Hk645",     "Hk645.ldb"},
    {"Horvát 7/39 lottó",                39,  7,  7, 1, 2, 1, 3,  3, 13, 0, "Hk739",     "Hk739.ldb"},
    {"Magyar Kenó - 10 számra",          80, 10, 20, 1, 7, 0, 5,  5, 16, 0, "Keno10",    "Keno.ldb"},
    {"Magyar Kenó - 9 számra",           80,  9, 20, 1, 7, 0, 4,  5, 16, 0, "Keno9",     "Keno.ldb"},
    {"Magyar Kenó - 8 számra",           80,  8, 20, 1, 7, 0, 3,  5, 16, 0, "Keno8",     "Keno.ldb"},
    {"Magyar Kenó - 7 számra",           80,  7, 20, 1, 7, 0, 3,  5, 16, 0, "Keno7",     "Keno.ldb"},
    {"Magyar Kenó - 6 számra",           80,  6, 20, 1, 7, 0, 3,  5, 16, 0, "Keno6",     "Keno.ldb"},
    {"Magyar Kenó - 5 számra",           80,  5, 20, 1, 7, 0, 3,  5, 16, 0, "Keno5",     "Keno.ldb"},
    {"Magyar Kenó - 4 számra",           80,  4, 20, 1, 7, 0, 2,  5, 16, 0, "Keno4",     "Keno.ldb"},
    {"Magyar Kenó - 3 számra",           80,  3, 20, 1, 7, 0, 1,  5, 16, 0, "Keno3",     "Keno.ldb"},
    {"Magyar Kenó - 2 számra",           80,  2, 20, 1, 7, 0, 1,  5, 16, 0, "Keno2",     "Keno.ldb"},
    {"Román 5/40 lottó",                 40,  5,  6, 1, 2, 0, 2, 10,  4, 0, "Ro540",     "Ro540.ldb"},
    {"Román 6/49 lottó",                 49,  6,  6, 1, 2, 0, 4, 10,  5, 0, "Ro649",     "Ro649.ldb"},
    {"Szerb 7/39 lottó",                 39,  7,  7, 1, 2, 0, 3,  3, 13, 0, "Sze739",    "Sze739.ldb"},
    {"Szlovén 7/39 lottó",               39,  7,  7, 1, 2, 1, 3,  6,  7, 0, "Szlo739",   "Szlo739.ldb"},
    {"Szlovén Plusz 7/39 lottó",         39,  7,  7, 1, 2, 1, 3,  6,  7, 0, "SzloP739",  "SzloP739.ldb"},
    {"Ukrán 5/45 lottó",                 45,  5,  5, 1, 3, 0, 3,  6,  8, 1, "Uk542",     "Uk545.ldb"},
    {"Ukrán 6/52 lottó",                 52,  6,  6, 1, 2, 0, 3,  6,  9, 1, "Uk652",     "Uk652.ldb"},
}};

// Operator group of each game and the logo of each group.
constexpr std::array<int, kGameCount> kOperatorGroup = {
    0, 0, 0, 1, 1, 2, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 5, 6, 6, 7, 7};
constexpr std::array<int, 8> kGroupLogo = {38, 44, 45, 46, 55, 53, 56, 54};
// The operators' home pages, by group: Hungarian, Slovak, Austrian, Croatian, Romanian,
// Serbian, Slovenian, Ukrainian.
constexpr std::array<const char*, 8> kGroupAddress = {
    "https://www.szerencsejatek.hu", "https://www.tipos.sk",  "https://www.win2day.at",
    "https://www.lutrija.hr",        "https://www.loto.ro",   "https://www.lutrija.rs",
    "https://www.loterija.si",       "https://www.msl.ua"};
// clang-format on

} // namespace

bool IsValidGame(GameId id) {
    return id >= 0 && id < kGameCount;
}

const GameSpec& GameSpecOf(GameId id) {
    if (!IsValidGame(id)) {
        throw std::out_of_range("game number out of range: " + std::to_string(id));
    }
    return kCatalogue[static_cast<std::size_t>(id)];
}

GameInfo LoadGameInfo(GameId id) {
    const GameSpec& entry = GameSpecOf(id);
    GameInfo info;
    info.gameId = id;
    info.maxNumber = entry.maxNumber;
    info.rowLength = entry.rowLength;
    info.drawnCount = entry.drawnCount;
    info.drawsPerDate = entry.drawsPerDate;
    info.drawsPerWeek = entry.drawsPerWeek;
    info.extraCount = entry.extraCount;
    info.prizeSpan = entry.prizeSpan;
    info.lastRowIndex = entry.rowLength - 1;
    info.isKeno = IsKenoGame(id);
    info.ticketColumns = entry.ticketColumns;
    info.ticketRows = entry.ticketRows;
    info.leadingBlanks = entry.leadingBlanks;
    return info;
}

std::string GameName(GameId id) {
    return GameSpecOf(id).gameName;
}

std::string FolderName(GameId id) {
    return GameSpecOf(id).folderName;
}

std::string DatabaseFile(GameId id) {
    return GameSpecOf(id).databaseFile;
}

std::string OperatorResultsFile(GameId id) {
    if (IsKenoGame(id)) {
        return "keno.csv";
    }
    switch (id) {
    case 0:
        return "otos.csv";
    case 1:
        return "hatos.csv";
    case 2:
        return "skandi.csv";
    default:
        return {};
    }
}

bool IsKenoGame(GameId id) {
    return id >= kFirstKeno && id <= kLastKeno;
}

bool IsHungarianOperatorGame(GameId id) {
    return (id >= 0 && id <= 2) || IsKenoGame(id);
}

int OperatorGroup(GameId id) {
    GameSpecOf(id);
    return kOperatorGroup[static_cast<std::size_t>(id)];
}

int OperatorLogoIndex(GameId id) {
    return kGroupLogo[static_cast<std::size_t>(OperatorGroup(id))];
}

std::string OperatorAddress(GameId id) {
    return kGroupAddress[static_cast<std::size_t>(OperatorGroup(id))];
}

std::string KenoMenuCaption(GameId id) {
    return std::to_string(GameSpecOf(id).rowLength) + " számra";
}

const std::vector<GameId>& LottoMenuOrder() {
    static const std::vector<GameId> order = {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23};
    return order;
}

} // namespace velmora
