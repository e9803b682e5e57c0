#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "common/file_io.h"
#include "support/fake_messages.h"
#include "settings/settings.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using velmora::testing::FakeMessages;

constexpr int kFavourite = kAppearanceSlots; // first index of the favourite scheme

std::int32_t& Favourite(Settings& settings, int kind, int slot) {
    return settings
        .appearance[static_cast<std::size_t>(kind)][static_cast<std::size_t>(kFavourite + slot)];
}

void ExpectSameSettings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.game, expected.game);
    EXPECT_EQ(actual.saveOnExit, expected.saveOnExit);
    EXPECT_EQ(actual.approve, expected.approve);
    EXPECT_EQ(actual.info, expected.info);
    EXPECT_EQ(actual.searchNewVersion, expected.searchNewVersion);
    EXPECT_EQ(actual.hints, expected.hints);
    EXPECT_EQ(actual.starts, expected.starts);
    EXPECT_EQ(actual.backupKind, expected.backupKind);
    EXPECT_EQ(actual.gameFolders, expected.gameFolders);
    EXPECT_EQ(actual.cacheLeftover, expected.cacheLeftover);
    EXPECT_EQ(actual.currency, expected.currency);
    EXPECT_EQ(actual.prices, expected.prices);
    EXPECT_EQ(actual.notices, expected.notices);
    EXPECT_EQ(actual.scheme, expected.scheme);
    EXPECT_EQ(actual.appearance, expected.appearance);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_home = fs::temp_directory_path() /
                 ("velmora_settings_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(m_home);
        fs::create_directories(m_home / "Dat" / "Cache");
        m_folders = MakeProgramFolders(m_home.string());
        m_defaults = DefaultSettings(m_folders);
    }
    void TearDown() override { fs::remove_all(m_home); }

    void WriteIni(const std::string& text) const {
        std::ofstream(m_folders.settingsFile, std::ios::binary) << text;
    }
    void Touch(const std::string& path) const { std::ofstream(path, std::ios::binary) << "x"; }

    // Every value differs from its default.
    Settings Unusual() const {
        Settings settings = m_defaults;
        settings.game = 17;
        settings.saveOnExit = false;
        settings.approve = false;
        settings.info = false;
        settings.searchNewVersion = false;
        settings.hints = false;
        settings.starts = 42;
        settings.backupKind = "tip";
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

    fs::path m_home;
    ProgramFolders m_folders;
    Settings m_defaults;
    FakeMessages m_messages;
};

TEST_F(SettingsFileTest, RoundTripKeepsEveryValue) {
    Settings written = Unusual();
    ASSERT_TRUE(WriteSettings(m_folders, written, m_messages));

    Settings read = m_defaults;
    ASSERT_TRUE(ReadSettings(m_folders, read, m_messages));
    EXPECT_EQ(m_messages.Count(), 0u);

    Settings expected = written;
    expected.starts = 43; // the start number written back counts this start too
    ExpectSameSettings(read, expected);
    EXPECT_EQ(AppearanceValue(read.appearance, 0, 1, kSlotBackground),
              static_cast<std::int32_t>(0xFF000018u));
}

TEST_F(SettingsFileTest, OnlyTheFavouriteSchemeIsStored) {
    Settings written = m_defaults;
    written.appearance[0][kSlotBackground] = 0x123456;
    Favourite(written, 4, kSlotBoxSize) = 44;
    ASSERT_TRUE(WriteSettings(m_folders, written, m_messages));

    Settings read = m_defaults;
    ASSERT_TRUE(ReadSettings(m_folders, read, m_messages));
    EXPECT_EQ(read.appearance[0][kSlotBackground], m_defaults.appearance[0][kSlotBackground]);
    EXPECT_EQ(Favourite(read, 4, kSlotBoxSize), 44);
}

TEST_F(SettingsFileTest, WrittenTextHasTheFixedSectionAndKeyOrder) {
    Settings settings = m_defaults;
    settings.cacheLeftover = "leftover.bin";
    const std::vector<std::string> lines = Lines(SettingsText(settings));

    std::vector<std::string> expected = {"[Velmora]",       "Game=0",   "Set=1",  "Approve=1",
                                         "Info=1",          "Search=1", "Hint=1", "Start=1",
                                         "Version=2.3.0.0", "Back=top"};
    for (int i = 0; i < kGameFolderCount; ++i) {
        expected.push_back("Dir" + std::to_string(i) + "=" + m_folders.GameFolder(i % kGameCount));
    }
    for (const char* line : {"", "[Currency]", "Currency=0", "0=225", "1=1", "2=2", "3=10", "4=10",
                             "5=10", "", "[HI]"}) {
        expected.push_back(line);
    }
    for (int i = 0; i < kNoticeCount; ++i) {
        expected.push_back("HI" + std::to_string(i) + "=1");
    }
    expected.push_back("");
    expected.push_back("[Ticket]");
    expected.push_back("SetColor=0");
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(expected.size())),
        expected);

    // Then kinds 0..5, slots 14..27, as whole numbers (system colours negative).
    const std::vector<std::string> ticket(lines.begin() + static_cast<long>(expected.size()),
                                          lines.end());
    ASSERT_EQ(ticket.size(), static_cast<std::size_t>(kTicketKindCount * kAppearanceSlots));
    EXPECT_EQ(ticket[0], "014=8388608");
    EXPECT_EQ(ticket[1], "015=30");
    EXPECT_EQ(ticket[3], "017=-16777201");
    EXPECT_EQ(ticket[13].substr(0, 4), "027=");
    EXPECT_EQ(ticket[14].substr(0, 4), "114=");
    EXPECT_EQ(ticket.back().substr(0, 4), "527=");
    EXPECT_EQ(SettingsText(settings).find("Cache"), std::string::npos);
}

TEST_F(SettingsFileTest, GameOutOfRangeIsReportedAsDamaged) {
    for (const char* game : {"24", "-1"}) {
        SCOPED_TRACE(game);
        m_messages.Clear();
        WriteIni(std::string("[Velmora]\nStart=5\nSet=0\nGame=") + game + "\n");
        Settings settings = m_defaults;
        EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
        ASSERT_EQ(m_messages.Count(), 1u);
        EXPECT_EQ(m_messages.Last().kind, MessageKind::Error);
        EXPECT_EQ(m_messages.LastText(), "Sérült a " + m_folders.settingsFile + " állománya.");
        EXPECT_FALSE(fs::exists(m_folders.settingsFile));
        ExpectSameSettings(settings, m_defaults);
    }
}

TEST_F(SettingsFileTest, OldFormatIsConvertedAndDeleted) {
    WriteIni("[Velmora]\r\n"
             "Jatek=6\r\n"
             "Beallitasok=0\r\n"
             "Jovahagyas=0\r\n"
             "Inform=0\r\n"
             "HintStatus=0\r\n"
             "IniDir3=/régi adatok/Hatos\r\n"
             "[Penznem]\r\n"
             "Forint=250\r\n"
             "Euro=0,65\r\n"
             "[Szelvenyek]\r\n"
             "Szinsema=1\r\n"
             "HSz20=-16777192\r\n"
             "FSz14=123\r\n"
             "HKSz27=456\r\n");
    Settings settings = m_defaults;
    EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(m_messages.Count(), 0u);
    EXPECT_FALSE(fs::exists(m_folders.settingsFile));

    Settings expected = m_defaults;
    expected.game = 1;
    expected.saveOnExit = false;
    expected.approve = false;
    expected.info = false;
    expected.hints = false;
    expected.gameFolders[3] = "/régi adatok/Hatos";
    expected.prices[0] = 250;
    expected.prices[1] = 0.65;
    expected.scheme = 1;
    Favourite(expected, kDrawsListTicket, 6) = SystemColour(kSysInfoBackground);
    Favourite(expected, kMainTicket, 0) = 123;
    Favourite(expected, kDrawSearchTicket, 13) = 456;
    ExpectSameSettings(settings, expected);
    EXPECT_TRUE(settings.IsFirstStart());
}

TEST_F(SettingsFileTest, OldFormatRulesOfItsOwn) {
    // The currency of the variation section marks the old format even beside "Start".
    WriteIni("[Velmora]\nStart=9\nGame=3\nJatek=12\n[Bontas]\nPenznem=2\n");
    Settings settings = m_defaults;
    EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(settings.game, 7);
    EXPECT_EQ(settings.currency, 2);
    EXPECT_EQ(settings.starts, 1);
    EXPECT_DOUBLE_EQ(settings.prices[1], 0.65); // the old default euro price, not the new one

    WriteIni("[Velmora]\nJatek=5\n[Bontas]\nPenznem=7\n[Szelvenyek]\nSzinsema=2\n");
    settings = Unusual();
    EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(settings.game, 0);
    EXPECT_EQ(settings.currency, 0);
    EXPECT_EQ(settings.scheme, 0);

    // A game the old numbering did not know stops the conversion.
    WriteIni("[Velmora]\nJatek=13\nBeallitasok=0\n");
    settings = m_defaults;
    EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
    ExpectSameSettings(settings, m_defaults);
    EXPECT_FALSE(fs::exists(m_folders.settingsFile));
    EXPECT_EQ(m_messages.Count(), 0u);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreNormalised) {
    WriteIni("[Velmora]\n"
             "this line is garbage\n"
             "Start=-4\n"
             "Game=2\n"
             "Back=\n"
             "[Currency]\n"
             "Currency=9\n"
             "[Ticket]\n"
             "SetColor=5\n"
             "016=4278190104\n"
             "015=99999999999\n");
    Settings settings = Unusual();
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(settings.starts, 1);
    EXPECT_EQ(settings.game, 2);
    EXPECT_EQ(settings.backupKind, "top");
    EXPECT_EQ(settings.currency, 0);
    EXPECT_EQ(settings.scheme, 0);
    // A colour written unsigned is the same colour; a value beyond 32 bits is ignored.
    EXPECT_EQ(Favourite(settings, 0, 2), SystemColour(kSysInfoBackground));
    EXPECT_EQ(Favourite(settings, 0, 1), AppearanceValue(Unusual().appearance, 0, 1, 1));

    WriteIni("[Velmora]\nStart=7\n[Currency]\nCurrency=5\n[Ticket]\nSetColor=1\n");
    settings = m_defaults;
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(settings.starts, 8);
    EXPECT_FALSE(settings.IsFirstStart());
    EXPECT_EQ(settings.currency, 5);
    EXPECT_EQ(settings.scheme, 1);

    WriteIni("[Velmora]\nStart=0\n[Currency]\nCurrency=-1\n[Ticket]\nSetColor=-1\n");
    settings = Unusual();
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_TRUE(settings.IsFirstStart());
    EXPECT_EQ(settings.currency, 0);
    EXPECT_EQ(settings.scheme, 0);
    EXPECT_EQ(m_messages.Count(), 0u);
}

TEST_F(SettingsFileTest, MissingKeysKeepTheValuesPassedIn) {
    WriteIni("[velmora]\nSTART=0\n");
    Settings settings = Unusual();
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    Settings expected = Unusual();
    expected.game = 0; // "Game" defaults to the first game, not to the value passed in
    expected.starts = 1;
    ExpectSameSettings(settings, expected);
}

TEST_F(SettingsFileTest, MissingFileIsNotAnError) {
    Settings settings = Unusual();
    EXPECT_FALSE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(m_messages.Count(), 0u);
    ExpectSameSettings(settings, Unusual());
}

TEST_F(SettingsFileTest, CacheLeftoversAreDeleted) {
    const std::string cache = m_folders.cache;
    for (const char* name : {"update.bin", "Velmora2012.exe", "Velmora2000.exe", "Velmora2029.exe",
                             "Velmora2030.exe", "other.txt"}) {
        Touch(cache + name);
    }
    Touch(m_folders.data + "keep.txt");
    WriteIni("[Velmora]\nStart=3\nCache=update.bin\n");
    Settings settings = m_defaults;
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_EQ(settings.cacheLeftover, "update.bin");
    for (const char* gone :
         {"update.bin", "Velmora2012.exe", "Velmora2000.exe", "Velmora2029.exe"}) {
        EXPECT_FALSE(fs::exists(cache + gone)) << gone;
    }
    EXPECT_TRUE(fs::exists(cache + "Velmora2030.exe"));
    EXPECT_TRUE(fs::exists(cache + "other.txt"));

    // The key names a file of the cache folder, never one elsewhere.
    WriteIni("[Velmora]\nStart=3\nCache=../keep.txt\n");
    ASSERT_TRUE(ReadSettings(m_folders, settings, m_messages));
    EXPECT_TRUE(fs::exists(m_folders.data + "keep.txt"));
}

TEST_F(SettingsFileTest, WriteFailureShowsTheFileError) {
    Touch((m_home / "plain").string());
    const ProgramFolders blocked = MakeProgramFolders((m_home / "plain" / "sub").string());
    EXPECT_FALSE(WriteSettings(blocked, m_defaults, m_messages));
    ASSERT_EQ(m_messages.Count(), 1u);
    EXPECT_EQ(m_messages.Last().kind, MessageKind::Error);
    EXPECT_EQ(m_messages.LastText(),
              "Hiba történt a " + blocked.settingsFile + " állományának mentése során.");
}

TEST(NoticeFlags, SetAllOrAskWhetherAllAreOn) {
    Settings settings;
    EXPECT_TRUE(UzenetekLogAllapot(settings, false, true));
    // Asking changes nothing.
    EXPECT_TRUE(settings.notices[kNoticeMarkingHelp]);

    EXPECT_TRUE(UzenetekLogAllapot(settings, false, false));
    for (bool flag : settings.notices) {
        EXPECT_FALSE(flag);
    }
    EXPECT_FALSE(UzenetekLogAllapot(settings, true, true));

    settings.notices.fill(true);
    settings.notices[kNoticeCount - 1] = false;
    EXPECT_FALSE(UzenetekLogAllapot(settings, true, true));

    EXPECT_TRUE(UzenetekLogAllapot(settings, true, false));
    EXPECT_TRUE(UzenetekLogAllapot(settings, false, true));
}

} // namespace
} // namespace velmora
