#include "game/game_catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

// What other parts of the program rely on; the catalogue itself is not copied here.
TEST(GameCatalogue, EveryGameAndTheMenu) {
    for (GameId id = 0; id < kGameCount; ++id) {
        const GameInfo g = LoadGameInfo(id);
        SCOPED_TRACE(GameName(id));
        const int capacity = g.ticketColumns * g.ticketRows - g.leadingBlanks;
        EXPECT_GE(capacity, g.maxNumber);
        EXPECT_LT(capacity - g.ticketColumns, g.maxNumber) << "the last grid row stays empty";
        EXPECT_GT(g.rowLength, g.prizeSpan) << "the lowest winning class needs a hit";
        EXPECT_LE(g.rowLength, g.drawnCount);
        EXPECT_EQ(g.lastRowIndex, g.rowLength - 1);
        EXPECT_EQ(g.gameId, id);
        EXPECT_EQ(g.isKeno, id >= kFirstKeno && id <= kLastKeno);
    }
    std::set<GameId> menu(LottoMenuOrder().begin(), LottoMenuOrder().end());
    for (GameId id = kFirstKeno; id <= kLastKeno; ++id) {
        EXPECT_TRUE(menu.insert(id).second) << "Keno game " << id << " in the lotto menu";
    }
    EXPECT_EQ(menu.size(), 24u) << "the menu holds every game once";
    EXPECT_FALSE(IsValidGame(kGameCount));
    EXPECT_FALSE(IsValidGame(-1));
    EXPECT_THROW(LoadGameInfo(kGameCount), std::out_of_range);
}

TEST(GameCatalogue, KenoGamesRunFromTenNumbersToTwo) {
    for (GameId id = kFirstKeno; id <= kLastKeno; ++id) {
        const GameInfo g = LoadGameInfo(id);
        const std::string k = std::to_string(18 - id);
        SCOPED_TRACE(k);
        EXPECT_EQ(g.rowLength, 18 - id);
        EXPECT_EQ(g.maxNumber, 80);
        EXPECT_EQ(g.drawnCount, 20);
        EXPECT_EQ(GameName(id), "Magyar Kenó - " + k + " számra");
        EXPECT_EQ(KenoMenuCaption(id), k + " számra");
        EXPECT_EQ(FolderName(id), "Keno" + k);
        EXPECT_EQ(DatabaseFile(id), "Keno.ldb") << "one draws file for every Keno game";
    }
}

TEST(GameCatalogue, FilesAndFactsOtherPartsRelyOn) {
    std::set<std::string> folders;
    std::set<std::string> databases;
    std::set<GameId> twoDrawings;
    for (GameId id = 0; id < kGameCount; ++id) {
        folders.insert(FolderName(id));
        databases.insert(DatabaseFile(id));
        if (LoadGameInfo(id).drawsPerDate == 2) {
            twoDrawings.insert(id);
        }
    }
    EXPECT_EQ(folders.size(), 24u);
    EXPECT_EQ(databases.size(), 24u - 8u);
    // The filter reads a second drawing from cell 7 for these two games.
    EXPECT_EQ(twoDrawings, (std::set<GameId>{2, 4}));
    // Romanian 5/40 draws six numbers for rows of five (the layout gives it one more line).
    EXPECT_EQ(LoadGameInfo(17).drawnCount, 6);
    EXPECT_EQ(LoadGameInfo(17).rowLength, 5);
    // Names existing folders and files already have, even where they disagree.
    EXPECT_EQ(FolderName(0), "Otos");
    EXPECT_EQ(DatabaseFile(0), "Huzas5.ldb");
    EXPECT_EQ(FolderName(22), "Uk542");
    EXPECT_EQ(DatabaseFile(22), "Uk545.ldb");
}

TEST(GameCatalogue, OperatorsAndTheirResultsFiles) {
    const char* const results[] = {"otos.csv", "hatos.csv", "skandi.csv"};
    std::set<int> groups;
    std::set<int> logos;
    for (GameId id = 0; id < kGameCount; ++id) {
        SCOPED_TRACE(id);
        const bool hungarian = id <= 2 || IsKenoGame(id);
        EXPECT_EQ(IsHungarianOperatorGame(id), hungarian);
        EXPECT_EQ(OperatorGroup(id) == OperatorGroup(0), hungarian);
        EXPECT_EQ(OperatorResultsFile(id), id <= 2          ? results[id]
                                           : IsKenoGame(id) ? "keno.csv"
                                                            : "");
        groups.insert(OperatorGroup(id));
        logos.insert(OperatorLogoIndex(id));
    }
    EXPECT_EQ(logos.size(), groups.size()) << "one logo for each operator";
    EXPECT_EQ(OperatorGroup(6), OperatorGroup(7));
    EXPECT_NE(OperatorGroup(19), OperatorGroup(7));
}

} // namespace
} // namespace velmora
