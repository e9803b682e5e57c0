#include "variation/variation_store.h"

#include <gtest/gtest.h>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

TEST(VariationStore, SortAndOriginalOrderRoundTrip) {
    std::mt19937 random(5);
    VariationStore store;
    store.Reset(3, 12);
    ASSERT_TRUE(store.Reserve(200));
    for (int r = 0; r < 200; ++r) {
        Row row = {static_cast<std::uint8_t>(random() % 4),
                   static_cast<std::uint8_t>(4 + random() % 4),
                   static_cast<std::uint8_t>(8 + random() % 4)};
        store.Append(row.data());
    }
    const std::vector<Row> generated = StoredRows(store);
    std::vector<Row> sorted = generated;
    std::stable_sort(sorted.begin(), sorted.end());
    // Sorting again moves nothing and keeps the way back.
    for (int twice = 0; twice < 2; ++twice) {
        store.Sort();
        EXPECT_EQ(StoredRows(store), sorted);
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            EXPECT_EQ(generated[store.OrderTable()[i]], sorted[i]) << "entry " << i;
        }
    }
    store.RestoreOriginalOrder();
    EXPECT_EQ(StoredRows(store), generated);
    EXPECT_FALSE(store.IsSorted());
}

TEST(VariationStore, FrequenciesFollowEveryChange) {
    VariationStore store;
    store.Reset(2, 4);
    ASSERT_TRUE(store.Reserve(3));
    for (Row row : {Row{0, 1}, Row{1, 2}, Row{1, 3}}) {
        store.Append(row.data());
    }
    EXPECT_EQ(store.Frequencies(), (std::vector<std::uint32_t>{1, 3, 1, 1}));
    store.Truncate(1);
    EXPECT_EQ(store.Frequencies(), (std::vector<std::uint32_t>{1, 1, 0, 0}));
    store.CloseBlock();
    store.CloseBlock();
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{1}));
}

TEST(VariationStore, BlockEndsAfterDeletingRows) {
    struct Case {
        std::vector<std::int32_t> ends;
        long long first, last, rows, base;
        std::vector<std::int32_t> expectedEnds;
        long long expectedBase;
    };
    const Case cases[] = {
        {{6, 10}, 3, 5, 7, 10, {3, 7}, 7},
        {{3, 10}, 3, 5, 7, 10, {2, 7}, 7},  // a block ending on the first deleted row
        {{2, 4, 9}, 3, 4, 7, 4, {2, 7}, 4}, // a block wholly deleted disappears
        {{5}, 1, 5, 0, 5, {}, 5},
    };
    for (Case c : cases) {
        ImportCountRendezes(c.ends, c.first, c.last, c.rows, c.base);
        EXPECT_EQ(c.ends, c.expectedEnds) << "deleting " << c.first << ".." << c.last;
        EXPECT_EQ(c.base, c.expectedBase) << "deleting " << c.first << ".." << c.last;
    }
}

TEST(VariationStore, DeletingAndAddingRowsKeepTheBlocks) {
    VariationStore store;
    store.Reset(2, 12);
    ASSERT_TRUE(store.Reserve(10));
    for (std::uint8_t r = 0; r < 10; ++r) {
        const Row row = {r, static_cast<std::uint8_t>(r + 1)};
        store.Append(row.data());
        if (r == 5 || r == 9) {
            store.CloseBlock();
        }
    }
    store.baseCount = 10;
    store.DeleteRows(3, 5);
    EXPECT_EQ(StoredRows(store),
              (std::vector<Row>{{0, 1}, {1, 2}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}}));
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{3, 7}));
    EXPECT_EQ(store.savedBaseCount, 7);
    EXPECT_EQ(store.baseCount, 7);
    EXPECT_EQ(store.Frequencies()[2], 1u);
    EXPECT_EQ(store.Frequencies()[3], 0u);

    // The tail goes by cutting the table.
    store.DeleteRows(6, 7);
    EXPECT_EQ(store.Count(), 5);
    EXPECT_EQ(store.savedBaseCount, 5);
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{3, 5}));

    // Added rows form a block of their own; the rows before them become the body.
    ASSERT_TRUE(store.AppendBlock({{10, 11}, {0, 11}}));
    EXPECT_EQ(store.Count(), 7);
    EXPECT_EQ(store.baseCount, 5);
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{3, 5, 7}));
    EXPECT_EQ(store.Frequencies()[11], 2u);

    const Row replacement = {2, 3};
    store.ReplaceRow(0, replacement.data());
    EXPECT_EQ(StoredRows(store).front(), replacement);
    EXPECT_EQ(store.Frequencies()[0], 1u); // only the added {0, 11} is left
}

} // namespace
} // namespace velmora
