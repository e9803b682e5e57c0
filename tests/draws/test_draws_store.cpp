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

using testing::FakeMessages;
using testing::Layout1File;
using testing::SampleDraws;
using testing::TempHome;

constexpr std::size_t Record(int index) {
    return kDrawsHeaderSize + static_cast<std::size_t>(index) * kDrawRecordSize;
}

DrawsLoad Parse(const std::vector<std::uint8_t>& bytes, GameId game) {
    std::vector<DrawRecord> draws;
    return ParseDrawsFile(bytes, LoadGameInfo(game), draws);
}

TEST(DrawsFile, SizeBoundaryAt250Draws) {
    const GameInfo game = LoadGameInfo(0);
    auto bytes = SerializeDraws(SampleDraws(game, 249), 0);
    EXPECT_EQ(bytes.size(), 6988u);
    EXPECT_EQ(Parse(bytes, 0), DrawsLoad::Missing);

    bytes = SerializeDraws(SampleDraws(game, 250), 0);
    EXPECT_EQ(bytes.size(), 7016u);
    std::vector<DrawRecord> draws;
    ASSERT_EQ(ParseDrawsFile(bytes, game, draws), DrawsLoad::Loaded);
    EXPECT_EQ(draws, SampleDraws(game, 250));

    // A file cut inside its last record fails as a read error; a few stray bytes do not count.
    bytes = SerializeDraws(SampleDraws(game, 300), 0);
    // The record count is the size divided by 28, so the header's 16 bytes let a file that
    // lost up to 16 bytes still count its last record.
    auto cut = bytes;
    cut.resize(cut.size() - 16);
    EXPECT_EQ(Parse(cut, 0), DrawsLoad::ReadError);
    cut.resize(cut.size() - 1);
    std::vector<DrawRecord> shorter;
    EXPECT_EQ(ParseDrawsFile(cut, game, shorter), DrawsLoad::Loaded);
    EXPECT_EQ(shorter.size(), 299u);
    auto longer = bytes;
    longer.resize(longer.size() + 5, 0);
    EXPECT_EQ(Parse(longer, 0), DrawsLoad::Loaded);
}

TEST(DrawsFile, WrittenLayoutIsByteExact) {
    const GameInfo game = LoadGameInfo(1);
    DrawRecord d;
    d.drawNo = 258;
    d.drawYear = 2007;
    d.drawWeek = 29;
    d.numbers = {3, 9, 14, 20, 33, 45, 7};
    const auto bytes = SerializeDraws({d}, game.gameId);
    ASSERT_EQ(bytes.size(), 16u + 28u);
    const std::vector<std::uint8_t> header = {2, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16), header);
    const std::vector<std::uint8_t> record = {2, 1, 0, 0, 0xD7, 0x07, 29, 3, 9, 14, 20, 33, 45, 7,
                                              0, 0, 0, 0, 0,    0,    0,  0, 0, 0,  0,  0,  0,  0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 16, bytes.end()), record);
}

TEST(DrawsFile, Layout1IsReadFromItsOffsetsAndWrittenAsLayout2) {
    const GameInfo game = LoadGameInfo(1);
    const auto original = SampleDraws(game, 300);
    std::vector<DrawRecord> draws;
    ASSERT_EQ(ParseDrawsFile(Layout1File(original, 7), game, draws), DrawsLoad::Loaded);
    EXPECT_EQ(draws, original);
    EXPECT_EQ(SerializeDraws(draws, 1), SerializeDraws(original, 1));

    // Keno draws do not fit the old record.
    const GameInfo keno = LoadGameInfo(8);
    EXPECT_EQ(Parse(Layout1File(SampleDraws(keno, 300), 17), 8), DrawsLoad::Invalid);
}

TEST(DrawsFile, FieldRanges) {
    const GameInfo game = LoadGameInfo(0);
    const auto good = SerializeDraws(SampleDraws(game, 260), 0);
    auto with = [&good](std::size_t offset, std::vector<std::uint8_t> value) {
        auto bytes = good;
        std::copy(value.begin(), value.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return bytes;
    };
    const std::size_t r = Record(100);
    EXPECT_EQ(Parse(with(r, {0, 0, 0, 0}), 0), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(r, {0x11, 0x27, 0, 0}), 0), DrawsLoad::Invalid); // 10001
    EXPECT_EQ(Parse(with(r, {0x10, 0x27, 0, 0}), 0), DrawsLoad::Loaded);  // 10000
    EXPECT_EQ(Parse(with(r + 4, {0x6C, 0x07}), 0), DrawsLoad::Invalid);   // 1900
    EXPECT_EQ(Parse(with(r + 4, {0x03, 0x08}), 0), DrawsLoad::Invalid);   // 2051
    EXPECT_EQ(Parse(with(r + 4, {0x6D, 0x07}), 0), DrawsLoad::Loaded);    // 1901
    EXPECT_EQ(Parse(with(r + 6, {0}), 0), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(r + 6, {54}), 0), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(r + 6, {53}), 0), DrawsLoad::Loaded);
    EXPECT_EQ(Parse(with(r + 7, {0}), 0), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(r + 11, {91}), 0), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(r + 11, {90}), 0), DrawsLoad::Loaded);
    // Neither distinct nor ordered numbers are asked for.
    EXPECT_EQ(Parse(with(r + 7, {5, 5, 5, 1, 1}), 0), DrawsLoad::Loaded);
}

TEST(DrawsFile, ExtraNumberTolerance) {
    const GameInfo game = LoadGameInfo(1);
    const auto good = SerializeDraws(SampleDraws(game, 260), 1);
    auto with = [&good](std::size_t offset, std::uint8_t value) {
        auto bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    const std::size_t cells = Record(10) + 7;
    EXPECT_EQ(Parse(with(cells + 6, 0), 1), DrawsLoad::Loaded) << "no extra number";
    EXPECT_EQ(Parse(with(cells + 6, 46), 1), DrawsLoad::Invalid);
    EXPECT_EQ(Parse(with(cells, 0), 1), DrawsLoad::Loaded);
    EXPECT_EQ(Parse(with(cells + 2, 200), 1), DrawsLoad::Loaded) << "only the last cell is strict";

    // Game 7: a bad seventh cell fails only when the byte at record offset 16 is set.
    const auto croatian = SerializeDraws(SampleDraws(LoadGameInfo(7), 260), 7);
    auto bad = croatian;
    bad[Record(3) + 7 + 6] = 0;
    EXPECT_EQ(Parse(bad, 7), DrawsLoad::Loaded);
    bad[Record(3) + 16] = 1;
    EXPECT_EQ(Parse(bad, 7), DrawsLoad::Invalid);
}

TEST(DrawsFile, WhichDrawsCarryAnExtraNumber) {
    auto draw = [](int year, int week) {
        DrawRecord d;
        d.drawYear = year;
        d.drawWeek = week;
        return d;
    };
    const GameInfo hatos = LoadGameInfo(1);
    EXPECT_TRUE(DrawHasExtra(hatos, draw(2007, 29)));
    EXPECT_FALSE(DrawHasExtra(hatos, draw(2007, 30)));
    EXPECT_TRUE(DrawHasExtra(hatos, draw(2006, 50)));
    EXPECT_FALSE(DrawHasExtra(hatos, draw(2008, 1)));
    EXPECT_FALSE(DrawHasExtra(LoadGameInfo(4), draw(1976, 40)));
    EXPECT_TRUE(DrawHasExtra(LoadGameInfo(4), draw(1977, 1)));
    EXPECT_FALSE(DrawHasExtra(LoadGameInfo(6), draw(1995, 10)));
    EXPECT_TRUE(DrawHasExtra(LoadGameInfo(7), draw(1995, 11)));
    EXPECT_TRUE(DrawHasExtra(LoadGameInfo(20), draw(1990, 1)));
    EXPECT_FALSE(DrawHasExtra(LoadGameInfo(0), draw(1990, 1)));
    EXPECT_TRUE(LastDrawHasExtra(hatos, {}));
    EXPECT_FALSE(LastDrawHasExtra(hatos, {draw(2020, 1)}));
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
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.Count(), 0u) << "a missing file is not reported";

    ASSERT_TRUE(ReplaceFile(Path(), SerializeDraws(SampleDraws(game, 100), 1)));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.Count(), 0u) << "a small file counts as missing";

    auto bytes = SerializeDraws(SampleDraws(game, 300), 1);
    bytes[Record(299) + 6] = 60;
    ASSERT_TRUE(ReplaceFile(Path(), bytes));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.LastText(), "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem "
                                   "lehetséges.\r\r" +
                                       Path());
    EXPECT_FALSE(store.HasDatabase());
    EXPECT_EQ(store.Count(), 0) << "records before the bad one are not used";

    bytes.resize(bytes.size() - 1);
    ASSERT_TRUE(ReplaceFile(Path(), bytes));
    EXPECT_FALSE(store.HuzasokBe(Path(), game, messages));
    EXPECT_EQ(messages.LastText(), "Hiba történt az adatbázis állományának betöltése során.");
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
    ASSERT_TRUE(ReadFileBytes(Path(), bytes));
    EXPECT_EQ(bytes[0], kProgramVersion.major) << "saved in the current layout";
}

TEST_F(DrawsStoreTest, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(ReplaceFile(Path(), SerializeDraws(SampleDraws(game, 300), 1)));
    ASSERT_TRUE(store.HuzasokBe(Path(), game, messages));
    store.SetModified(true);
    // A folder where the temporary file should go: the write fails, the database stays.
    std::filesystem::create_directories(Path() + ".tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(store.AdatbazisMentese(Path(), true, messages));
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
