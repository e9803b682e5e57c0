#include "draws/draws_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "common/file_io.h"
#include "common/version.h"
#include "support/draws_files.h"
#include "support/fake_messages.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using namespace testing;

constexpr std::size_t Record(int index) {
    return kDrawsHeaderSize + static_cast<std::size_t>(index) * kDrawRecordSize;
}

DrawsLoad Parse(const std::vector<std::uint8_t>& bytes, GameId game) {
    std::vector<DrawRecord> draws;
    return ParseDrawsFile(bytes, LoadGameInfo(game), draws);
}

// Fewer than 250 draws count as no database at all. The record count is the size divided by 28,
// so a file that lost up to 16 bytes still counts its last record and fails as a read error; a
// few stray bytes at the end do not count.
TEST(DrawsFile, SizeBoundaries) {
    const GameInfo game = LoadGameInfo(0);
    EXPECT_EQ(SerializeDraws(SampleDraws(game, 249), 0).size(), 6988u);
    EXPECT_EQ(SerializeDraws(SampleDraws(game, 250), 0).size(), 7016u);
    for (const auto& [written, change, expected, count] :
         {std::tuple{249, 0, DrawsLoad::Missing, 0},
          {250, 0, DrawsLoad::Loaded, 250},
          {300, -16, DrawsLoad::ReadError, 0},
          {300, -17, DrawsLoad::Loaded, 299},
          {300, 5, DrawsLoad::Loaded, 300}}) {
        const std::vector<DrawRecord> sample = SampleDraws(game, written);
        std::vector<std::uint8_t> bytes = SerializeDraws(sample, 0);
        bytes.resize(static_cast<std::size_t>(static_cast<int>(bytes.size()) + change), 0);
        std::vector<DrawRecord> draws;
        EXPECT_EQ(ParseDrawsFile(bytes, game, draws), expected) << written << " " << change;
        EXPECT_EQ(draws, std::vector(sample.begin(), sample.begin() + count)) << change;
    }
}

TEST(DrawsFile, WrittenLayoutIsByteExact) {
    DrawRecord d;
    d.drawNo = 258;
    d.drawYear = 2007;
    d.drawWeek = 29;
    d.numbers = {3, 9, 14, 20, 33, 45, 7};
    const std::vector<std::uint8_t> bytes = SerializeDraws({d}, 1);
    const std::vector<std::uint8_t> expected = {
        2, 0, 0, 0, 3,    0,    0,  0, 0, 0,  0,  0,  0,  0, 0, 0, // version 2.3.0.0
        2, 1, 0, 0, 0xD7, 0x07, 29, 3, 9, 14, 20, 33, 45, 7, 0, 0, // number, year, week, cells
        0, 0, 0, 0, 0,    0,    0,  0, 0, 0,  0,  0};
    EXPECT_EQ(bytes, expected);
}

TEST(DrawsFile, Layout1IsReadFromItsOffsetsAndWrittenAsLayout2) {
    const GameInfo game = LoadGameInfo(1);
    const auto original = SampleDraws(game, 300);
    std::vector<DrawRecord> draws;
    ASSERT_EQ(ParseDrawsFile(Layout1File(original, 7), game, draws), DrawsLoad::Loaded);
    EXPECT_EQ(draws, original);
    EXPECT_EQ(SerializeDraws(draws, 1), SerializeDraws(original, 1));
    // Keno draws do not fit the old record.
    EXPECT_EQ(Parse(Layout1File(SampleDraws(LoadGameInfo(8), 300), 17), 8), DrawsLoad::Invalid);
}

TEST(DrawsFile, EveryFieldHasItsRange) {
    struct Case {
        const char* what;
        GameId game;
        std::size_t at; // within record 100
        std::vector<std::uint8_t> bytes;
        DrawsLoad expected;
    };
    const DrawsLoad ok = DrawsLoad::Loaded;
    const DrawsLoad bad = DrawsLoad::Invalid;
    const Case cases[] = {
        {"draw number 0", 0, 0, {0, 0, 0, 0}, bad},
        {"draw number 10001", 0, 0, {0x11, 0x27, 0, 0}, bad},
        {"draw number 10000", 0, 0, {0x10, 0x27, 0, 0}, ok},
        {"year 1900", 0, 4, {0x6C, 0x07}, bad},
        {"year 1901", 0, 4, {0x6D, 0x07}, ok},
        {"year 2050", 0, 4, {0x02, 0x08}, ok},
        {"year 2051", 0, 4, {0x03, 0x08}, bad},
        {"week 0", 0, 6, {0}, bad},
        {"week 53", 0, 6, {53}, ok},
        {"week 54", 0, 6, {54}, bad},
        {"number 0", 0, 7, {0}, bad},
        {"number 90", 0, 11, {90}, ok},
        {"number 91", 0, 11, {91}, bad},
        {"neither distinct nor ordered numbers are asked for", 0, 7, {5, 5, 5, 1, 1}, ok},
        // With an extra number only the last cell is strict.
        {"no extra number", 1, 13, {0}, ok},
        {"extra number 46", 1, 13, {46}, bad},
        {"first cell 0", 1, 7, {0}, ok},
        {"third cell 200", 1, 9, {200}, ok},
        // Game 7: a bad seventh cell fails only when the byte at record offset 16 is set.
        {"seventh cell 0", 7, 13, {0}, ok},
        {"seventh cell 0, offset 16 set", 7, 13, {0, 0, 0, 1}, bad},
    };
    for (const Case& c : cases) {
        auto bytes = SerializeDraws(SampleDraws(LoadGameInfo(c.game), 260), c.game);
        std::copy(c.bytes.begin(), c.bytes.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(Record(100) + c.at));
        EXPECT_EQ(Parse(bytes, c.game), c.expected) << c.what;
    }
}

TEST(DrawsFile, WhichDrawsCarryAnExtraNumber) {
    struct Case {
        GameId game;
        int year, week;
        bool extra;
    };
    const Case cases[] = {{1, 2007, 29, true},  {1, 2007, 30, false}, {1, 2006, 50, true},
                          {1, 2008, 1, false},  {4, 1976, 40, false}, {4, 1977, 1, true},
                          {6, 1995, 10, false}, {7, 1995, 11, true},  {20, 1990, 1, true},
                          {0, 1990, 1, false}};
    for (const Case& c : cases) {
        DrawRecord d;
        d.drawYear = c.year;
        d.drawWeek = c.week;
        EXPECT_EQ(DrawHasExtra(LoadGameInfo(c.game), d), c.extra)
            << "game " << c.game << " " << c.year << "/" << c.week;
        EXPECT_EQ(LastDrawHasExtra(LoadGameInfo(c.game), {d}), c.extra);
    }
    EXPECT_TRUE(LastDrawHasExtra(LoadGameInfo(1), {})) << "no draws: the game's rule";
}

class DrawsStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return home.Path() + "Huzas6.ldb"; }

    TempHome home;
    FakeMessages messages;
    GameInfo game = LoadGameInfo(1);
    DrawsStore store;
};

TEST_F(DrawsStoreTest, LoadReportsEachFailureInItsOwnWords) {
    const std::string damaged =
        "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + Path();
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.Count(), 0u) << "a missing file is not reported";

    ASSERT_TRUE(ReplaceFile(Path(), SerializeDraws(SampleDraws(game, 100), 1)));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.Count(), 0u) << "a small file counts as missing";

    auto bytes = SerializeDraws(SampleDraws(game, 300), 1);
    bytes[Record(299) + 6] = 60;
    ASSERT_TRUE(ReplaceFile(Path(), bytes));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.LastText(), damaged);
    EXPECT_FALSE(store.HasDatabase());
    EXPECT_EQ(store.Count(), 0) << "records before the bad one are not used";

    bytes.resize(bytes.size() - 1);
    ASSERT_TRUE(ReplaceFile(Path(), bytes));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.LastText(), "Hiba történt az adatbázis állományának betöltése során.");

    // Draw numbers end at 10000: a file with more records, or one larger than memory, is
    // damaged and is refused before it is read.
    bytes = SerializeDraws(FullDatabase(game), 1);
    std::vector<DrawRecord> loaded;
    ASSERT_EQ(ParseDrawsFile(bytes, game, loaded), DrawsLoad::Loaded);
    // Each record valid, but one more than a database can hold.
    const std::vector<std::uint8_t> last(bytes.end() - kDrawRecordSize, bytes.end());
    bytes.insert(bytes.end(), last.begin(), last.end());
    for (const std::uintmax_t size : {std::uintmax_t{bytes.size()}, std::uintmax_t{1} << 36}) {
        messages.Clear();
        ASSERT_TRUE(ReplaceFile(Path(), bytes));
        std::filesystem::resize_file(Path(), size);
        EXPECT_FALSE(store.HuzasokBe(Path(), game, messages)) << size;
        EXPECT_EQ(messages.LastText(), damaged) << size;
    }
}

TEST_F(DrawsStoreTest, SaveRoundTripAndUnsavedQuestion) {
    ASSERT_TRUE(ReplaceFile(Path(), Layout1File(SampleDraws(game, 300), 7)));
    ASSERT_TRUE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(store.Count(), 300);

    store.HuzTorlesEng(Path(), messages);
    EXPECT_EQ(messages.Count(), 0u) << "nothing unsaved";
    store.MutableDraws()[0].drawWeek = 40;
    store.SetModified(true);
    messages.QueueAnswer(Answer::Yes);
    store.HuzTorlesEng(Path(), messages);
    ASSERT_EQ(messages.Count(), 2u);
    EXPECT_EQ(messages.Log()[0].kind, MessageKind::WarningQuestion);
    EXPECT_EQ(messages.Log()[0].text, "Módosította, de nem mentette a húzások listáját.\r\r"
                                      "Menti a módosított adatbázist?");
    EXPECT_EQ(messages.Log()[1].text, "Adatbázis elmentve.");
    EXPECT_FALSE(store.DatabaseModified());

    DrawsStore again;
    ASSERT_TRUE(again.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(again.Draws(), store.Draws());
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(Path(), kMaxDatabaseSize, bytes));
    EXPECT_EQ(bytes[0], kProgramVersion.major) << "saved in the current layout";
}

TEST_F(DrawsStoreTest, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(ReplaceFile(Path(), SerializeDraws(SampleDraws(game, 300), 1)));
    ASSERT_TRUE(store.HuzasokBe(Path(), game, messages));
    store.SetModified(true);
    // The disk is full: the write fails, the database stays.
    {
        const testing::FileSizeLimit full(1000);
        EXPECT_FALSE(store.AdatbazisMentese(Path(), true, messages));
    }
    ASSERT_GE(messages.Count(), 2u);
    EXPECT_EQ(messages.Log()[0].text, "Hiba történt a(z) " + Path() + " mentése során.");
    EXPECT_EQ(messages.Log()[1].kind, MessageKind::ErrorQuestion);
    EXPECT_TRUE(store.DatabaseModified());
    DrawsStore again;
    EXPECT_TRUE(again.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(again.Count(), 300);
}

} // namespace
} // namespace velmora
