#include "variation/variation_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// 5/90 with nine variation numbers and one fixed number: rows of four positions.
constexpr VariationShape kShape{5, 90, 9, 1, false};

// A variation of three rows in two blocks, paused, with overwrite settings, and what is read.
class VariationFile : public ::testing::Test {
protected:
    VariationFile() {
        saved.Reset(4, 9);
        saved.Reserve(3);
        for (Row row : {Row{0, 1, 2, 3}, Row{4, 5, 6, 7}, Row{1, 3, 5, 8}}) {
            saved.Append(row.data());
        }
        saved.BlockEnds() = {2, 3};
        saved.savedBaseCount = 2;
        record.version = {2, 2, 1, 5};
        record.generationDate = 46000;
        record.resume = {true, {2, 3, 4, 6}, 1};
        options.overwrite = true;
        options.itemised = false;
        options.overwriteHits = 3;
        options.itemisedFrom = 7;
        options.itemisedTo = 12;
        BinaryWriter writer;
        WriteVariationBlock(kShape, saved, record, options, writer);
        bytes = writer.Bytes();
        record = {};
        options = {};
    }
    VariationRead Read(const std::vector<std::uint8_t>& file,
                       const VariationShape& shape = kShape) {
        BinaryReader reader(file);
        return ReadVariationBlock(reader, shape, store, record, options);
    }
    // The saved block with `values` written from `at` on.
    VariationRead ReadWith(std::size_t at, const std::vector<std::uint8_t>& values) {
        std::vector<std::uint8_t> changed = bytes;
        std::copy(values.begin(), values.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
        return Read(changed);
    }

    VariationStore saved;
    std::vector<std::uint8_t> bytes;
    VariationStore store;
    VariationRecord record;
    EngineOptions options;
};

TEST_F(VariationFile, PausedVariationRoundTripsByteForByte) {
    // 16 version, 4 count, 8 date, 12 rows, 36 frequencies, 31 signature, 4 base, 4 + 8 ends,
    // 3 flags, 12 overwrite values, 1 paused, 4 resume, 4 pass counter.
    EXPECT_EQ(bytes.size(), 147u);
    ASSERT_EQ(Read(bytes), VariationRead::Loaded);
    EXPECT_EQ(StoredRows(store), StoredRows(saved));
    EXPECT_EQ(store.Frequencies(), saved.Frequencies());
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(store.savedBaseCount, 2);
    EXPECT_EQ(record.version.Text(), "2.2.1.5");
    EXPECT_EQ(record.generationDate, 46000);
    EXPECT_EQ(std::tie(record.resume.paused, record.resume.position, record.resume.passCounter),
              std::make_tuple(true, Row{2, 3, 4, 6}, 1));
    EXPECT_EQ(std::tie(options.overwrite, options.itemised, options.overwriteHits,
                       options.itemisedFrom, options.itemisedTo),
              std::make_tuple(true, false, 3, 7, 12));
    BinaryWriter again;
    WriteVariationBlock(kShape, store, record, options, again);
    EXPECT_EQ(again.Bytes(), bytes);
}

TEST_F(VariationFile, SizesAndOlderLayouts) {
    // Nothing, or less than a version, after the record: a number-row file.
    EXPECT_EQ(Read({}), VariationRead::NoVariation);
    EXPECT_EQ(Read(Row(15, 0)), VariationRead::NoVariation);
    EXPECT_EQ(Read(Row(16, 0)), VariationRead::Invalid);
    EXPECT_EQ(ReadWith(16, {0x41, 0x42, 0x0F, 0}), VariationRead::TooLarge); // 1000001 rows
    EXPECT_EQ(ReadWith(16, {0, 0, 0, 0}), VariationRead::Invalid);
    EXPECT_EQ(ReadWith(16, {0x40, 0x42, 0x0F, 0}), VariationRead::Invalid); // short

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
    WriteVariationBlock(kShape, million, VariationRecord{}, EngineOptions{}, large);
    ASSERT_EQ(Read(large.Bytes()), VariationRead::Loaded);
    EXPECT_EQ(store.Count(), 1000000);

    // Major 1: rows and frequencies only; 1.7 adds the legacy table (4 + 8 x (1 + 4 + 1)).
    std::vector<std::uint8_t> old(bytes.begin(), bytes.begin() + 16 + 4 + 8 + 12 + 36);
    old[0] = 1;
    old[4] = 6;
    ASSERT_EQ(Read(old), VariationRead::Loaded);
    EXPECT_EQ(store.BlockEnds(), (std::vector<std::int32_t>{3}));
    EXPECT_FALSE(record.resume.paused);
    old[4] = 7;
    EXPECT_EQ(Read(old), VariationRead::Invalid);
    old.resize(old.size() + 52, 0);
    EXPECT_EQ(Read(old), VariationRead::Loaded);
}

TEST_F(VariationFile, EveryFieldIsChecked) {
    const std::size_t rows = 28;
    const std::size_t ends = rows + 12 + 36 + 31 + 4; // the block-end count
    const std::size_t resume = ends + 12 + 3 + 12 + 1;
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<std::uint8_t> values;
    };
    const Case invalid[] = {
        {"a position beyond the numbers", rows, {9}},
        {"block ends [3, 3]", ends + 4, {3}},
        {"a block end of 0", ends + 4, {0}},
        {"a block end beyond the rows", ends + 8, {4}},
        {"a base count beyond the rows", ends - 4, {4}},
        {"a huge block-end count", ends, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"a resume position beyond 89", resume, {90}},
    };
    for (const Case& c : invalid) {
        EXPECT_EQ(ReadWith(c.at, c.values), VariationRead::Invalid) << c.what;
    }
    // A generation date that names no day.
    for (double date : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300}) {
        std::vector<std::uint8_t> value(8);
        std::memcpy(value.data(), &date, 8);
        EXPECT_EQ(ReadWith(20, value), VariationRead::Invalid) << date;
    }
    // A pass counter of -1 or of RowLength is read as 0.
    ASSERT_EQ(ReadWith(resume + 4, {0xFF, 0xFF, 0xFF, 0xFF}), VariationRead::Loaded);
    EXPECT_EQ(record.resume.passCounter, 0);
    ASSERT_EQ(ReadWith(resume + 4, {5}), VariationRead::Loaded);
    EXPECT_EQ(record.resume.passCounter, 0);
}

TEST_F(VariationFile, DrawsListCarriesItsDrawIdentifiers) {
    const VariationShape shape{5, 90, 7, 0, true};
    VariationStore list;
    list.Reset(5, 7);
    list.Reserve(2);
    for (Row row : {Row{1, 2, 3, 4, 90}, Row{3, 4, 5, 6, 7}}) {
        list.AppendRaw(row.data());
    }
    list.drawIds = {12, 40, -1};
    list.BlockEnds() = {2};
    BinaryWriter writer;
    WriteVariationBlock(shape, list, VariationRecord{}, EngineOptions{}, writer);
    ASSERT_EQ(Read(writer.Bytes(), shape), VariationRead::Loaded);
    EXPECT_EQ(StoredRows(store), StoredRows(list));
    EXPECT_EQ(store.drawIds, list.drawIds);

    std::vector<std::uint8_t> changed = writer.Bytes();
    changed[16 + 4 + 8 + 10 + 4] = 0; // the first identifier below 1
    EXPECT_EQ(Read(changed, shape), VariationRead::Invalid);
}

} // namespace
} // namespace velmora
