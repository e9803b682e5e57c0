#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "support/fake_messages.h"
#include "support/temp_home.h"
#include "settings/settings.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using velmora::testing::FakeMessages;

std::int32_t& Favourite(Settings& settings, int kind, int slot) {
    return settings.appearance[static_cast<std::size_t>(kind)]
                              [static_cast<std::size_t>(kAppearanceSlots + slot)];
}

// Every field, to compare two settings whole.
auto Fields(const Settings& s) {
    return std::tie(s.game, s.saveOnExit, s.approve, s.info, s.searchNewVersion, s.hints, s.starts,
                    s.backupKind, s.largestVariation, s.gameFolders, s.cacheLeftover, s.currency,
                    s.prices, s.notices, s.scheme, s.appearance);
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() { fs::create_directories(folders.cache); }

    void WriteIni(const std::string& text) const {
        std::ofstream(folders.settingsFile, std::ios::binary) << text;
    }
    static void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

    // Every value differs from its default.
    Settings Unusual() const {
        Settings settings = defaults;
        settings.game = 17;
        settings.saveOnExit = settings.approve = settings.info = settings.searchNewVersion =
            settings.hints = false;
        settings.starts = 42;
        settings.backupKind = "tip";
        settings.largestVariation = 1646492110120; // every 10-number Keno row: beyond 32 bits
        for (int i = 0; i < kGameFolderCount; ++i) {
            settings.gameFolders[static_cast<std::size_t>(i)] =
                "/adatok/Lottó játékok " + std::to_string(i) + "/Ötös és hatos";
        }
        settings.currency = 3;
        settings.prices = {225.5, 0.65, 7.25, 10.125, 0, 1234567.89};
        for (int i = 0; i < kNoticeCount; ++i) {
            settings.notices[static_cast<std::size_t>(i)] = i % 3 == 1;
        }
        settings.scheme = 1;
        for (int kind = 0; kind < kTicketKindCount; ++kind) {
            for (int slot = 0; slot < kAppearanceSlots; ++slot) {
                Favourite(settings, kind, slot) = kind * 100000 + slot * 37 + 1;
            }
        }
        Favourite(settings, 0, kSlotBackground) = SystemColour(kSysInfoBackground);
        Favourite(settings, 5, kSlotRandomNumber) = SystemColour(kSysWindowText);
        Favourite(settings, 2, kSlotMarkedBox) = 0xFFFFFF;
        Favourite(settings, 3, kSlotNumber) = 0;
        return settings;
    }

    testing::TempHome home;
    ProgramFolders folders = MakeProgramFolders(home.Path());
    Settings defaults = DefaultSettings(folders);
    FakeMessages messages;
};

TEST_F(SettingsFileTest, RoundTripKeepsEveryValueOfTheFavouriteScheme) {
    Settings written = Unusual();
    written.appearance[0][kSlotBackground] = 0x123456; // the default scheme is not stored
    ASSERT_TRUE(WriteSettings(folders, written, messages));

    Settings read = defaults;
    ASSERT_TRUE(ReadSettings(folders, read, messages));
    EXPECT_EQ(messages.Count(), 0u);
    Settings expected = Unusual();
    expected.starts = 43; // the start number written back counts this start too
    EXPECT_EQ(Fields(read), Fields(expected));
}

TEST_F(SettingsFileTest, WrittenTextHasTheFixedSectionAndKeyOrder) {
    Settings settings = defaults;
    settings.cacheLeftover = "leftover.bin";
    const std::string text = SettingsText(settings);
    std::string expected =
        "[Velmora]\nGame=0\nSet=1\nApprove=1\nInfo=1\nSearch=1\nHint=1\n"
        "Start=1\nVersion=2.3.0.0\nBack=top\nMaxRows=100000\nWeb=\nVariations=\nHost=\n"
        "Operator=https://bet.szerencsejatek.hu/cmsfiles/\nTimeout=60\n"
        "Online=https://bet.szerencsejatek.hu/cmsfiles/\n";
    for (int i = 0; i < kGameFolderCount; ++i) {
        expected += "Dir" + std::to_string(i) + "=" + folders.GameFolder(i % kGameCount) + "\n";
    }
    expected += "\n[Currency]\nCurrency=0\n0=225\n1=1\n2=2\n3=10\n4=10\n5=10\n\n[HI]\n";
    for (int i = 0; i < kNoticeCount; ++i) {
        expected += "HI" + std::to_string(i) + "=1\n";
    }
    expected += "\n[Ticket]\nSetColor=0\n";
    ASSERT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_EQ(text.find("Cache"), std::string::npos);

    // Then kinds 0..5, slots 14..27, as whole numbers (system colours negative).
    std::vector<std::string> ticket;
    std::istringstream rest(text.substr(expected.size()));
    for (std::string line; std::getline(rest, line);) {
        ticket.push_back(line);
    }
    ASSERT_EQ(ticket.size(), static_cast<std::size_t>(kTicketKindCount * kAppearanceSlots));
    EXPECT_EQ(ticket[0], "014=8388608");
    EXPECT_EQ(ticket[1], "015=30");
    EXPECT_EQ(ticket[3], "017=-16777201");
    EXPECT_EQ(ticket[13].substr(0, 4), "027=");
    EXPECT_EQ(ticket[14].substr(0, 4), "114=");
    EXPECT_EQ(ticket.back().substr(0, 4), "527=");
}

TEST_F(SettingsFileTest, GameOutOfRangeIsReportedAsDamaged) {
    for (const char* game : {"24", "-1"}) {
        SCOPED_TRACE(game);
        messages.Clear();
        WriteIni(std::string("[Velmora]\nStart=5\nSet=0\nGame=") + game + "\n");
        Settings settings = defaults;
        EXPECT_FALSE(ReadSettings(folders, settings, messages));
        ASSERT_EQ(messages.Count(), 1u);
        EXPECT_EQ(messages.Last().kind, MessageKind::Error);
        EXPECT_EQ(messages.LastText(), "Sérült a " + folders.settingsFile + " állománya.");
        EXPECT_FALSE(fs::exists(folders.settingsFile));
        EXPECT_EQ(Fields(settings), Fields(defaults));
    }
}

TEST_F(SettingsFileTest, OldFormatIsConvertedAndDeleted) {
    WriteIni("[Velmora]\r\nJatek=6\r\nBeallitasok=0\r\nJovahagyas=0\r\nInform=0\r\n"
             "HintStatus=0\r\nIniDir3=/régi adatok/Hatos\r\n"
             "[Penznem]\r\nForint=250\r\nEuro=0,65\r\n"
             "[Szelvenyek]\r\nSzinsema=1\r\nHSz20=-16777192\r\nFSz14=123\r\nHKSz27=456\r\n");
    Settings settings = defaults;
    EXPECT_FALSE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(fs::exists(folders.settingsFile));

    Settings expected = defaults;
    expected.game = 1;
    expected.saveOnExit = expected.approve = expected.info = expected.hints = false;
    expected.gameFolders[3] = "/régi adatok/Hatos";
    expected.prices[0] = 250;
    expected.prices[1] = 0.65;
    expected.scheme = 1;
    Favourite(expected, kDrawsListTicket, 6) = SystemColour(kSysInfoBackground);
    Favourite(expected, kMainTicket, 0) = 123;
    Favourite(expected, kDrawSearchTicket, 13) = 456;
    EXPECT_EQ(Fields(settings), Fields(expected));
}

TEST_F(SettingsFileTest, OldFormatRulesOfItsOwn) {
    // The currency of the variation section marks the old format even beside "Start".
    WriteIni("[Velmora]\nStart=9\nGame=3\nJatek=12\n[Bontas]\nPenznem=2\n");
    Settings settings = defaults;
    EXPECT_FALSE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(settings.game, 7);
    EXPECT_EQ(settings.currency, 2);
    EXPECT_EQ(settings.starts, 1);
    EXPECT_DOUBLE_EQ(settings.prices[1], 0.65); // the old default euro price, not the new one

    WriteIni("[Velmora]\nJatek=5\n[Bontas]\nPenznem=7\n[Szelvenyek]\nSzinsema=2\n");
    settings = Unusual();
    EXPECT_FALSE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(std::tie(settings.game, settings.currency, settings.scheme), std::tuple(0, 0, 0));

    // A game the old numbering did not know stops the conversion.
    WriteIni("[Velmora]\nJatek=13\nBeallitasok=0\n");
    settings = defaults;
    EXPECT_FALSE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(Fields(settings), Fields(defaults));
    EXPECT_FALSE(fs::exists(folders.settingsFile));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreNormalised) {
    struct Case {
        std::string start, currency, scheme;
        int starts, currencyRead, schemeRead;
    };
    const Case cases[] = {
        {"-4", "9", "5", 1, 0, 0},
        {"0", "-1", "-1", 1, 0, 0},
        {"7", "5", "1", 8, 5, 1},
        {"3", "6", "2", 4, 0, 0}, // one past the last currency
        {"2147483647", "0", "0", INT_MAX, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Start=" + c.start + " Currency=" + c.currency + " SetColor=" + c.scheme);
        WriteIni("[Velmora]\nStart=" + c.start + "\n[Currency]\nCurrency=" + c.currency +
                 "\n[Ticket]\nSetColor=" + c.scheme + "\n");
        Settings settings = Unusual();
        ASSERT_TRUE(ReadSettings(folders, settings, messages));
        EXPECT_EQ(settings.starts, c.starts);
        EXPECT_EQ(settings.currency, c.currencyRead);
        EXPECT_EQ(settings.scheme, c.schemeRead);
    }

    // A largest variation below the least one, or not a number, keeps the value passed in.
    for (const char* rows : {"99999", "-5", "1e6", "sok"}) {
        SCOPED_TRACE(rows);
        WriteIni(std::string("[Velmora]\nStart=1\nMaxRows=") + rows + "\n");
        Settings settings = Unusual();
        ASSERT_TRUE(ReadSettings(folders, settings, messages));
        EXPECT_EQ(settings.largestVariation, Unusual().largestVariation);
    }

    WriteIni("[Velmora]\nthis line is garbage\nStart=1\nGame=2\nBack=\n"
             "[Ticket]\n016=4278190104\n015=99999999999\n");
    Settings settings = Unusual();
    ASSERT_TRUE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(settings.game, 2);
    EXPECT_EQ(settings.backupKind, "top");
    // A colour written unsigned is the same colour; a value beyond 32 bits is ignored.
    EXPECT_EQ(Favourite(settings, 0, 2), SystemColour(kSysInfoBackground));
    EXPECT_EQ(Favourite(settings, 0, 1), AppearanceValue(Unusual().appearance, 0, 1, 1));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(SettingsFileTest, MissingKeysOrFileKeepTheValuesPassedIn) {
    Settings settings = Unusual();
    EXPECT_FALSE(ReadSettings(folders, settings, messages)) << "no file";
    EXPECT_EQ(Fields(settings), Fields(Unusual()));

    WriteIni("[velmora]\nSTART=0\n");
    ASSERT_TRUE(ReadSettings(folders, settings, messages));
    Settings expected = Unusual();
    expected.game = 0; // "Game" defaults to the first game, not to the value passed in
    expected.starts = 1;
    EXPECT_EQ(Fields(settings), Fields(expected));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(SettingsFileTest, CacheLeftoversAreDeleted) {
    const std::string& cache = folders.cache;
    for (const char* name : {"update.bin", "Velmora2012.exe", "Velmora2000.exe", "Velmora2029.exe",
                             "Velmora2030.exe", "other.txt"}) {
        Touch(cache + name);
    }
    Touch(folders.data + "keep.txt");
    WriteIni("[Velmora]\nStart=3\nCache=update.bin\n");
    Settings settings = defaults;
    ASSERT_TRUE(ReadSettings(folders, settings, messages));
    EXPECT_EQ(settings.cacheLeftover, "update.bin");
    for (const char* gone :
         {"update.bin", "Velmora2012.exe", "Velmora2000.exe", "Velmora2029.exe"}) {
        EXPECT_FALSE(fs::exists(cache + gone)) << gone;
    }
    EXPECT_TRUE(fs::exists(cache + "Velmora2030.exe"));
    EXPECT_TRUE(fs::exists(cache + "other.txt"));

    // The key names a file of the cache folder, never one elsewhere.
    WriteIni("[Velmora]\nStart=3\nCache=../keep.txt\n");
    ASSERT_TRUE(ReadSettings(folders, settings, messages));
    EXPECT_TRUE(fs::exists(folders.data + "keep.txt"));
}

TEST_F(SettingsFileTest, WriteFailureShowsTheFileError) {
    Touch(home.Path() + "plain");
    const ProgramFolders blocked = MakeProgramFolders(home.Path() + "plain/sub");
    EXPECT_FALSE(WriteSettings(blocked, defaults, messages));
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().kind, MessageKind::Error);
    EXPECT_EQ(messages.LastText(),
              "Hiba történt a " + blocked.settingsFile + " állományának mentése során.");
}

TEST(NoticeFlags, SetAllOrAskWhetherAllAreOn) {
    Settings settings;
    EXPECT_TRUE(UzenetekLogAllapot(settings, false, true));
    EXPECT_TRUE(settings.notices[kNoticeMarkingHelp]) << "asking changes nothing";
    EXPECT_TRUE(UzenetekLogAllapot(settings, false, false));
    EXPECT_EQ(settings.notices, (std::array<bool, kNoticeCount>{}));
    EXPECT_FALSE(UzenetekLogAllapot(settings, true, true));

    settings.notices.fill(true);
    settings.notices[kNoticeCount - 1] = false;
    EXPECT_FALSE(UzenetekLogAllapot(settings, true, true)) << "the last flag counts too";
    EXPECT_TRUE(UzenetekLogAllapot(settings, true, false));
    EXPECT_TRUE(UzenetekLogAllapot(settings, false, true));
}

} // namespace
} // namespace velmora
