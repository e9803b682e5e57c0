#include "game/game_catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

TEST(GameCatalogue, EveryGridHoldsItsNumbersWithoutAnEmptyRow) {
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
    }
}

TEST(GameCatalogue, BindingNotes) {
    std::set<GameId> withExtra;
    for (GameId id = 0; id < kGameCount; ++id) {
        if (LoadGameInfo(id).extraCount == 1) {
            withExtra.insert(id);
        }
    }
    EXPECT_EQ(withExtra, (std::set<GameId>{1, 4, 5, 6, 7, 20, 21}));

    for (GameId id = kFirstKeno; id <= kLastKeno; ++id) {
        const GameInfo g = LoadGameInfo(id);
        EXPECT_TRUE(g.isKeno);
        EXPECT_EQ(g.rowLength, 18 - id);
        EXPECT_EQ(g.maxNumber, 80);
        EXPECT_EQ(g.drawnCount, 20);
        EXPECT_EQ(DatabaseFile(id), "Keno.ldb");
        EXPECT_EQ(OperatorResultsFile(id), "keno.csv");
        EXPECT_EQ(FolderName(id), "Keno" + std::to_string(18 - id));
    }
    EXPECT_FALSE(LoadGameInfo(7).isKeno);
    EXPECT_FALSE(LoadGameInfo(17).isKeno);

    const GameInfo keno2 = LoadGameInfo(16);
    EXPECT_EQ(keno2.rowLength, 2);
    EXPECT_EQ(keno2.prizeSpan, 1);
    EXPECT_EQ(GameName(16), "Magyar Kenó - 2 számra");

    EXPECT_EQ(LoadGameInfo(17).drawnCount, 6);
    EXPECT_EQ(LoadGameInfo(17).rowLength, 5);
    EXPECT_EQ(FolderName(22), "Uk542");
    EXPECT_EQ(DatabaseFile(22), "Uk545.ldb");
    EXPECT_EQ(GameName(21), "Szlovén Plusz 7/39 lottó");
    EXPECT_EQ(LoadGameInfo(2).drawsPerDate, 2);
    EXPECT_EQ(LoadGameInfo(4).drawsPerDate, 2);
}

TEST(GameCatalogue, FileNamesAreUniqueExceptTheSharedKenoDatabase) {
    std::set<std::string> folders;
    std::set<std::string> databases;
    for (GameId id = 0; id < kGameCount; ++id) {
        folders.insert(FolderName(id));
        databases.insert(DatabaseFile(id));
    }
    EXPECT_EQ(folders.size(), 24u);
    EXPECT_EQ(databases.size(), 24u - 8u);
}

TEST(GameCatalogue, OperatorsAndTheirResultsFiles) {
    EXPECT_EQ(OperatorResultsFile(0), "otos.csv");
    EXPECT_EQ(OperatorResultsFile(1), "hatos.csv");
    EXPECT_EQ(OperatorResultsFile(2), "skandi.csv");
    for (GameId id : {3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) {
        EXPECT_EQ(OperatorResultsFile(id), "") << id;
        EXPECT_FALSE(IsHungarianOperatorGame(id)) << id;
    }
    EXPECT_TRUE(IsHungarianOperatorGame(12));
    EXPECT_EQ(OperatorLogoIndex(0), 38);
    EXPECT_EQ(OperatorLogoIndex(14), 38);
    EXPECT_EQ(OperatorLogoIndex(3), 44);
    EXPECT_EQ(OperatorLogoIndex(5), 45);
    EXPECT_EQ(OperatorLogoIndex(7), 46);
    EXPECT_EQ(OperatorLogoIndex(18), 55);
    EXPECT_EQ(OperatorLogoIndex(19), 53);
    EXPECT_EQ(OperatorLogoIndex(21), 56);
    EXPECT_EQ(OperatorLogoIndex(23), 54);
    EXPECT_EQ(OperatorGroup(6), OperatorGroup(7));
    EXPECT_NE(OperatorGroup(19), OperatorGroup(7));
}

TEST(GameCatalogue, MenuCoversEveryGameOnce) {
    std::set<GameId> seen(LottoMenuOrder().begin(), LottoMenuOrder().end());
    for (GameId id = kFirstKeno; id <= kLastKeno; ++id) {
        EXPECT_TRUE(seen.insert(id).second);
    }
    EXPECT_EQ(seen.size(), 24u);
    EXPECT_EQ(KenoMenuCaption(8), "10 számra");
    EXPECT_EQ(KenoMenuCaption(16), "2 számra");
}

TEST(GameCatalogue, InvalidGameIsRefused) {
    EXPECT_FALSE(IsValidGame(24));
    EXPECT_FALSE(IsValidGame(-1));
    EXPECT_THROW(LoadGameInfo(24), std::out_of_range);
}

} // namespace
} // namespace velmora
