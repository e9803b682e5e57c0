#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 24 games the program knows: ticket shape, what a draw holds, grid layout and the names
// of their folders and files.
namespace velmora {

using GameId = int;

inline constexpr int kGameCount = 24;
inline constexpr GameId kFirstKeno = 8;
inline constexpr GameId kLastKeno = 16;

// One row of the constant catalogue.
struct GameSpec {
    const char* gameName;
    int maxNumber;
    int rowLength;
    int drawnCount;
    int drawsPerDate;
    int drawsPerWeek;
    int extraCount;
    int prizeSpan;
    int ticketColumns;
    int ticketRows;
    int leadingBlanks;
    const char* folderName;
    const char* databaseFile;
};

// The parameters of the current game.
struct GameInfo {
    GameId gameId = 0;
    int maxNumber = 0;
    int rowLength = 0;
    int drawnCount = 0;
    int drawsPerDate = 0;
    int drawsPerWeek = 0;
    int extraCount = 0;
    int prizeSpan = 0;
    int lastRowIndex = 0; // RowLength - 1
    bool isKeno = false;
    int ticketColumns = 0;
    int ticketRows = 0;
    int leadingBlanks = 0;
};

bool IsValidGame(GameId id);
const GameSpec& GameSpecOf(GameId id);
GameInfo LoadGameInfo(GameId id);

std::string GameName(GameId id);
std::string FolderName(GameId id);
std::string DatabaseFile(GameId id);
// "otos.csv", "hatos.csv", "skandi.csv" or "keno.csv"; empty for the other games.
std::string OperatorResultsFile(GameId id);
// The operator's folder path on its web site for the results file.
inline constexpr const char* kOperatorResultsFolder = "xls/";
bool IsKenoGame(GameId id);
// Games of the Hungarian operator (0, 1, 2 and the Keno games).
bool IsHungarianOperatorGame(GameId id);

// Games that share an operator share a group number 0..7 and its logo.
int OperatorGroup(GameId id);
int OperatorLogoIndex(GameId id);
// The operator's home page, opened by the game's " honlapja" command.
std::string OperatorAddress(GameId id);

// The game menu: the Keno items run "10 számra" .. "2 számra" (tags 8..16); the lotto items in
// menu order with their tags.
std::string KenoMenuCaption(GameId id);
const std::vector<GameId>& LottoMenuOrder();

// One combination of the current game: RowLength numbers 1..MaxNumber without repeats.
using NumberRow = std::vector<std::uint8_t>;

} // namespace velmora
