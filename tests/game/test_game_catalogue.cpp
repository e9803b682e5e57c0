#include "game/game_catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

// The catalogue as the ticket and the draws rely on it, written out once more by hand.
struct Row {
    const char* name;
    int n, k, d, perDate, perWeek, extra, span, columns, rows, blanks;
    const char* folder;
    const char* database;
};

TEST(GameCatalogue, EveryRow) {
    const std::vector<Row> rows = {
        {"Magyar 5/90 lottó", 90, 5, 5, 1, 1, 0, 3, 10, 9, 0, "Otos", "Huzas5.ldb"},
        {"Magyar 6/45 lottó", 45, 6, 6, 1, 1, 1, 3, 7, 7, 0, "Hatos", "Huzas6.ldb"},
        {"Magyar 7/35 lottó", 35, 7, 7, 2, 1, 0, 3, 5, 7, 0, "Skandinav", "Huzas7.ldb"},
        {"Szlovák 5/35 lottó", 35, 5, 5, 1, 1, 0, 2, 6, 6, 1, "Sk535", "Sk535.ldb"},
        {"Szlovák 6/49 lottó", 49, 6, 6, 2, 2, 1, 3, 6, 9, 1, "Sk649", "Sk649.ldb"},
        {"Osztrák 6/45 lottó", 45, 6, 6, 1, 2, 1, 3, 6, 8, 0, "At645", "At645.ldb"},
        {"Horvát 6/45 lottó", 45, 6, 6, 1, 1, 1, 3, 3, 15, 0, "Hk645", "Hk645.ldb"},
        {"Horvát 7/39 lottó", 39, 7, 7, 1, 2, 1, 3, 3, 13, 0, "Hk739", "Hk739.ldb"},
        {"Magyar Kenó - 10 számra", 80, 10, 20, 1, 7, 0, 5, 5, 16, 0, "Keno10", "Keno.ldb"},
        {"Magyar Kenó - 9 számra", 80, 9, 20, 1, 7, 0, 4, 5, 16, 0, "Keno9", "Keno.ldb"},
        {"Magyar Kenó - 8 számra", 80, 8, 20, 1, 7, 0, 3, 5, 16, 0, "Keno8", "Keno.ldb"},
        {"Magyar Kenó - 7 számra", 80, 7, 20, 1, 7, 0, 3, 5, 16, 0, "Keno7", "Keno.ldb"},
        {"Magyar Kenó - 6 számra", 80, 6, 20, 1, 7, 0, 3, 5, 16, 0, "Keno6", "Keno.ldb"},
        {"Magyar Kenó - 5 számra", 80, 5, 20, 1, 7, 0, 3, 5, 16, 0, "Keno5", "Keno.ldb"},
        {"Magyar Kenó - 4 számra", 80, 4, 20, 1, 7, 0, 2, 5, 16, 0, "Keno4", "Keno.ldb"},
        {"Magyar Kenó - 3 számra", 80, 3, 20, 1, 7, 0, 1, 5, 16, 0, "Keno3", "Keno.ldb"},
        {"Magyar Kenó - 2 számra", 80, 2, 20, 1, 7, 0, 1, 5, 16, 0, "Keno2", "Keno.ldb"},
        {"Román 5/40 lottó", 40, 5, 6, 1, 2, 0, 2, 10, 4, 0, "Ro540", "Ro540.ldb"},
        {"Román 6/49 lottó", 49, 6, 6, 1, 2, 0, 4, 10, 5, 0, "Ro649", "Ro649.ldb"},
        {"Szerb 7/39 lottó", 39, 7, 7, 1, 2, 0, 3, 3, 13, 0, "Sze739", "Sze739.ldb"},
        {"Szlovén 7/39 lottó", 39, 7, 7, 1, 2, 1, 3, 6, 7, 0, "Szlo739", "Szlo739.ldb"},
        {"Szlovén Plusz 7/39 lottó", 39, 7, 7, 1, 2, 1, 3, 6, 7, 0, "SzloP739", "SzloP739.ldb"},
        {"Ukrán 5/45 lottó", 45, 5, 5, 1, 3, 0, 3, 6, 8, 1, "Uk542", "Uk545.ldb"},
        {"Ukrán 6/52 lottó", 52, 6, 6, 1, 2, 0, 3, 6, 9, 1, "Uk652", "Uk652.ldb"},
    };
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kGameCount));
    for (GameId id = 0; id < kGameCount; ++id) {
        const Row& r = rows[static_cast<std::size_t>(id)];
        const GameInfo g = LoadGameInfo(id);
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GameName(id), r.name);
        EXPECT_EQ(g.maxNumber, r.n);
        EXPECT_EQ(g.rowLength, r.k);
        EXPECT_EQ(g.drawnCount, r.d);
        EXPECT_EQ(g.drawsPerDate, r.perDate);
        EXPECT_EQ(g.drawsPerWeek, r.perWeek);
        EXPECT_EQ(g.extraCount, r.extra);
        EXPECT_EQ(g.prizeSpan, r.span);
        EXPECT_EQ(g.ticketColumns, r.columns);
        EXPECT_EQ(g.ticketRows, r.rows);
        EXPECT_EQ(g.leadingBlanks, r.blanks);
        EXPECT_EQ(FolderName(id), r.folder);
        EXPECT_EQ(DatabaseFile(id), r.database);
    }
}

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
