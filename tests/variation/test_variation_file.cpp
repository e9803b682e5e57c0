#include "variation/variation_file.h"

#include <gtest/gtest.h>

#include <random>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// 5/90 with nine variation numbers and one fixed number: rows of four positions.
VariationShape Shape() {
    return VariationShape{5, 90, 9, 1, false};
}

// A variation of three rows in two blocks, paused, with overwrite settings.
struct Saved {
    Saved() {
        store.Reset(4, 9);
        store.Reserve(3);
        for (Row row : {Row{0, 1, 2, 3}, Row{4, 5, 6, 7}, Row{1, 3, 5, 8}}) {
            store.Append(row.data());
        }
        store.BlockEnds() = {2, 3};
        store.savedBaseCount = 2;
        record.version = {2, 2, 1, 5};
        record.generationDate = 46000;
        record.resume = {true, {2, 3, 4, 6}, 1};
        options.overwrite = true;
        options.itemised = false;
        options.overwriteHits = 3;
        options.itemisedFrom = 7;
        options.itemisedTo = 12;
        WriteVariationBlock(Shape(), store, record, options, writer);
    }
    VariationStore store;
    VariationRecord record;
    EngineOptions options;
    BinaryWriter writer;
};

VariationRead Read(const std::vector<std::uint8_t>& bytes, VariationStore& store,
                   VariationRecord& record, EngineOptions& options,
                   const VariationShape& shape = Shape()) {
    BinaryReader reader(bytes);
    return ReadVariationBlock(reader, shape, store, record, options);
}

TEST(VariationFile, PausedVariationRoundTripsByteForByte) {
    Saved saved;
    const std::vector<std::uint8_t>& bytes = saved.writer.Bytes();
    // 16 version, 4 count, 8 date, 12 rows, 36 frequencies, 31 signature, 4 base, 4 + 8 ends,
    // 3 flags, 12 overwrite values, 1 paused, 4 resume, 4 pass counter.
    EXPECT_EQ(bytes.size(), 147u);
    VariationStore store;
    VariationRecord record;
    EngineOptions options;
    ASSERT_EQ(Read(bytes, store, record, options), VariationRead::Loaded);
    EXPECT_EQ(StoredRows(store), StoredRows(saved.store));
    EXPECT_EQ(store.Frequencies(), saved.store.Frequencies());
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(store.savedBaseCount, 2);
    EXPECT_EQ(record.version.Text(), "2.2.1.5");
    EXPECT_EQ(record.generationDate, 46000);
    EXPECT_TRUE(record.resume.paused);
    EXPECT_EQ(record.resume.position, (Row{2, 3, 4, 6}));
    EXPECT_EQ(record.resume.passCounter, 1);
    EXPECT_TRUE(options.overwrite);
    EXPECT_FALSE(options.itemised);
    EXPECT_EQ(options.overwriteHits, 3);
    EXPECT_EQ(options.itemisedFrom, 7);
    EXPECT_EQ(options.itemisedTo, 12);

    BinaryWriter again;
    WriteVariationBlock(Shape(), store, record, options, again);
    EXPECT_EQ(again.Bytes(), bytes);
}

TEST(VariationFile, SizesAndOlderLayouts) {
    Saved saved;
    std::vector<std::uint8_t> bytes = saved.writer.Bytes();
    VariationStore store;
    VariationRecord record;
    EngineOptions options;
    // Nothing, or less than a version, after the record: a number-row file.
    EXPECT_EQ(Read({}, store, record, options), VariationRead::NoVariation);
    EXPECT_EQ(Read(Row(15, 0), store, record, options), VariationRead::NoVariation);
    EXPECT_EQ(Read(Row(16, 0), store, record, options), VariationRead::Invalid);

    auto withCount = [&bytes](std::int32_t count) {
        std::vector<std::uint8_t> changed = bytes;
        for (int i = 0; i < 4; ++i) {
            changed[static_cast<std::size_t>(16 + i)] = static_cast<std::uint8_t>(count >> (8 * i));
        }
        return changed;
    };
    EXPECT_EQ(Read(withCount(1000001), store, record, options), VariationRead::TooLarge);
    EXPECT_EQ(Read(withCount(0), store, record, options), VariationRead::Invalid);
    EXPECT_EQ(Read(withCount(1000000), store, record, options), VariationRead::Invalid); // short

    // A million rows is the most a file may hold.
    VariationStore million;
    million.Reset(4, 9);
    ASSERT_TRUE(million.Reserve(1000000));
    const Row row = {0, 1, 2, 3};
    for (int r = 0; r < 1000000; ++r) {
        million.Append(row.data());
    }
    million.BlockEnds() = {1000000};
    BinaryWriter large;
    WriteVariationBlock(Shape(), million, VariationRecord{}, EngineOptions{}, large);
    ASSERT_EQ(Read(large.Bytes(), store, record, options), VariationRead::Loaded);
    EXPECT_EQ(store.Count(), 1000000);

    // Major 1: rows and frequencies only; 1.7 adds the legacy table (4 + 8 x (1 + 4 + 1)).
    std::vector<std::uint8_t> old(bytes.begin(), bytes.begin() + 16 + 4 + 8 + 12 + 36);
    old[0] = 1;
    old[4] = 6;
    ASSERT_EQ(Read(old, store, record, options), VariationRead::Loaded);
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{3}));
    EXPECT_FALSE(record.resume.paused);
    old[4] = 7;
    EXPECT_EQ(Read(old, store, record, options), VariationRead::Invalid);
    old.resize(old.size() + 52, 0);
    EXPECT_EQ(Read(old, store, record, options), VariationRead::Loaded);
}

TEST(VariationFile, EveryFieldIsChecked) {
    Saved saved;
    const std::vector<std::uint8_t> bytes = saved.writer.Bytes();
    VariationStore store;
    VariationRecord record;
    EngineOptions options;
    auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> values) {
        std::vector<std::uint8_t> changed = bytes;
        std::size_t i = at;
        for (std::uint8_t v : values) {
            changed[i++] = v;
        }
        return Read(changed, store, record, options);
    };
    const std::size_t rows = 28;
    const std::size_t ends = rows + 12 + 36 + 31 + 4; // the block-end count
    EXPECT_EQ(with(rows, {9}), VariationRead::Invalid) << "a position beyond the numbers";
    EXPECT_EQ(with(ends + 4, {3}), VariationRead::Invalid) << "block ends [3, 3]";
    EXPECT_EQ(with(ends + 4, {0}), VariationRead::Invalid) << "a block end of 0";
    EXPECT_EQ(with(ends + 8, {4}), VariationRead::Invalid) << "a block end beyond the rows";
    EXPECT_EQ(with(ends - 4, {4}), VariationRead::Invalid) << "a base count beyond the rows";
    EXPECT_EQ(with(ends, {0xFF, 0xFF, 0xFF, 0x7F}), VariationRead::Invalid) << "a huge count";
    const std::size_t resume = ends + 12 + 3 + 12 + 1;
    EXPECT_EQ(with(resume, {90}), VariationRead::Invalid) << "a resume position beyond 89";
    ASSERT_EQ(with(resume + 4, {0xFF, 0xFF, 0xFF, 0xFF}), VariationRead::Loaded);
    EXPECT_EQ(record.resume.passCounter, 0) << "-1 is read as 0";
    ASSERT_EQ(with(resume + 4, {5}), VariationRead::Loaded);
    EXPECT_EQ(record.resume.passCounter, 0) << "RowLength is read as 0";
}

TEST(VariationFile, DrawsListCarriesItsDrawIdentifiers) {
    VariationShape shape{5, 90, 7, 0, true};
    VariationStore store;
    store.Reset(5, 7);
    store.Reserve(2);
    for (Row row : {Row{1, 2, 3, 4, 90}, Row{3, 4, 5, 6, 7}}) {
        store.AppendRaw(row.data());
    }
    store.drawIds = {12, 40, -1};
    store.BlockEnds() = {2};
    BinaryWriter writer;
    WriteVariationBlock(shape, store, VariationRecord{}, EngineOptions{}, writer);
    VariationStore loaded;
    VariationRecord record;
    EngineOptions options;
    ASSERT_EQ(Read(writer.Bytes(), loaded, record, options, shape), VariationRead::Loaded);
    EXPECT_EQ(StoredRows(loaded), StoredRows(store));
    EXPECT_EQ(loaded.drawIds, store.drawIds);

    std::vector<std::uint8_t> bytes = writer.Bytes();
    bytes[16 + 4 + 8 + 10 + 4] = 0; // the first identifier below 1
    EXPECT_EQ(Read(bytes, loaded, record, options, shape), VariationRead::Invalid);
}

// Truncations and byte flips of a valid block never read past the end or crash, and what loads
// stays within the shape.
TEST(VariationFile, DamagedBlocksAreRefusedOrStayInRange) {
    Saved saved;
    const std::vector<std::uint8_t> bytes = saved.writer.Bytes();
    std::mt19937 random(11);
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> damaged = bytes;
        if (round % 2 == 0) {
            damaged.resize(random() % bytes.size());
        } else {
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
                damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
            }
        }
        VariationStore store;
        VariationRecord record;
        EngineOptions options;
        if (Read(damaged, store, record, options) != VariationRead::Loaded) {
            continue;
        }
        for (long long r = 0; r < store.Count(); ++r) {
            for (int i = 0; i < store.RowWidth(); ++i) {
                ASSERT_LT(store.Row(r)[i], 9);
            }
        }
        ASSERT_EQ(store.Frequencies().size(), 9u);
        ASSERT_LE(record.resume.passCounter, 4);
    }
}

} // namespace
} // namespace velmora
