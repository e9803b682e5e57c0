#include "variation/variation_store.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace velmora {
namespace {

using Row = std::vector<std::uint8_t>;

std::vector<Row> Rows(const VariationStore& store) {
    std::vector<Row> rows;
    for (long long r = 0; r < store.Count(); ++r) {
        rows.emplace_back(store.Row(r), store.Row(r) + store.RowWidth());
    }
    return rows;
}

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
    const std::vector<Row> generated = Rows(store);
    store.Sort();
    std::vector<Row> sorted = generated;
    std::stable_sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Rows(store), sorted);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(generated[store.OrderTable()[i]], sorted[i]) << "entry " << i;
    }
    // Sorting again moves nothing and keeps the way back.
    store.Sort();
    EXPECT_EQ(Rows(store), sorted);
    store.RestoreOriginalOrder();
    EXPECT_EQ(Rows(store), generated);
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
    std::vector<std::int32_t> ends = {6, 10};
    long long base = 10;
    ImportCountRendezes(ends, 3, 5, 7, base);
    EXPECT_EQ(ends, (std::vector<std::int32_t>{3, 7}));
    EXPECT_EQ(base, 7);

    // A block that lies wholly inside the deleted rows disappears.
    ends = {2, 4, 9};
    base = 4;
    ImportCountRendezes(ends, 3, 4, 7, base);
    EXPECT_EQ(ends, (std::vector<std::int32_t>{2, 7}));
    EXPECT_EQ(base, 4);

    ends = {5};
    base = 5;
    ImportCountRendezes(ends, 1, 5, 0, base);
    EXPECT_TRUE(ends.empty());
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
    EXPECT_EQ(Rows(store),
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
    EXPECT_EQ(Rows(store).front(), replacement);
    EXPECT_EQ(store.Frequencies()[0], 1u); // only the added {0, 11} is left
}

} // namespace
} // namespace velmora
