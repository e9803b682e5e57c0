#include "session/new_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "common/sha256.h"
#include "support/fake_messages.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using testing::FakeMessages;

// Serves the given bodies by address; anything else fails.
class StubFetcher : public Fetcher {
public:
    std::map<std::string, std::string> bodies;
    FetchStatus Fetch(const std::string& url, const std::string& path, std::uint64_t) override {
        const auto found = bodies.find(url);
        if (found == bodies.end()) {
            return FetchStatus::Failed;
        }
        std::ofstream(path, std::ios::binary) << found->second;
        return FetchStatus::Done;
    }
    bool IsOnline() override { return true; }
};

TEST(NewVersion, Sha256OfKnownTexts) {
    const auto hex = [](const std::string& text) {
        return Sha256Hex(std::vector<std::uint8_t>(text.begin(), text.end()));
    };
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(NewVersion, VersionFileRules) {
    const std::string sha(64, 'a');
    const struct {
        std::string text;
        bool valid;
        int number;
    } cases[] = {
        {"2401\nVelmora-2401.deb\n", true, 2401},
        {"2401 anything\r\nVelmora_2401_amd64.deb\r\n" + sha + "\n", true, 2401},
        {"2300\nVelmora-2300.AppImage", true, 2300},
        {"25a3\nVelmora-25a3.deb\n", false, 0},    // not four digits
        {"2401\n", false, 0},                      // one line
        {"2401\nVelmora-2401.exe\n", false, 0},    // not a Linux installer
        {"2401\nVelmora-2400.deb\n", false, 0},    // not its version's installer
        {"2401\nOther-2401.deb\n", false, 0},      // not the program's
        {"2401\n../Velmora-2401.deb\n", false, 0}, // not a plain name
        {"2401\nVelmora-2401.deb\nnot a digest\n", false, 0},
    };
    for (const auto& c : cases) {
        const VersionFile file = ParseVersionFile(c.text);
        EXPECT_EQ(file.valid, c.valid) << c.text;
        EXPECT_EQ(file.number, c.number) << c.text;
    }
    const VersionFile file = ParseVersionFile("2401\nVelmora-2401.deb\n" + sha);
    EXPECT_EQ(file.dotted, "2.4.0.1");
    EXPECT_EQ(file.sha256, sha);
    EXPECT_TRUE(IsNewer(file));
    EXPECT_FALSE(IsNewer(ParseVersionFile("2300\nVelmora-2300.deb")));
    EXPECT_EQ(NewVersionHint(file),
              " Megjelent a Velmora Personal 2.4.0.1 \r Kattintson, frissítse a programot... ");
}

// The interactive check: nothing newer, a bad file, a newer one declined, and a newer one
// whose installer arrives and matches its digest or does not (and is then deleted).
TEST(NewVersion, TheInteractiveCheck) {
    testing::TempHome home;
    const ProgramFolders folders = MakeProgramFolders(home.Path());
    Settings settings = DefaultSettings(folders);
    FakeMessages messages;
    StubFetcher fetcher;
    VersionFile file;
    EXPECT_FALSE(FetchVersionFile(fetcher, messages, folders, settings, file, true));
    EXPECT_EQ(messages.LastText(),
              "A program letöltési címe nincs megadva: a Velmora.ini Host kulcsa adja meg.");

    settings.downloadHost = "https://example.org";
    const std::string installer = "installer bytes";
    const std::string digest =
        Sha256Hex(std::vector<std::uint8_t>(installer.begin(), installer.end()));
    fetcher.bodies[VersionFileUrl(settings.downloadHost)] = "2300\nVelmora-2300.deb\n";
    ASSERT_TRUE(FetchVersionFile(fetcher, messages, folders, settings, file, true));
    EXPECT_FALSE(std::filesystem::exists(folders.cache + "version.txt"));
    std::string path;
    EXPECT_EQ(OfferNewVersion(fetcher, messages, folders, settings, file, path),
              InstallerResult::Declined);
    EXPECT_EQ(messages.LastText(),
              "Aktuális verzió: Velmora Personal 2.3.0.0\r\rNem jelent meg újabb verzió.");
    EXPECT_EQ(
        OfferNewVersion(fetcher, messages, folders, settings, ParseVersionFile("25a3\nx"), path),
        InstallerResult::Failed);
    EXPECT_EQ(messages.LastText(), "Ismeretlen hiba történt, a program nem frissíthető.");

    const VersionFile newer = ParseVersionFile("2401\nVelmora-2401.deb\n" + digest);
    EXPECT_EQ(OfferNewVersion(fetcher, messages, folders, settings, newer, path),
              InstallerResult::Declined);
    EXPECT_EQ(messages.LastText(),
              "Megjelent a Velmora Personal2.4.0.1\r\rTelepíti a program új verzióját?");
    fetcher.bodies[InstallerUrl(settings.downloadHost, "Velmora-2401.deb")] = installer;
    messages.QueueAnswer(Answer::Yes);
    ASSERT_EQ(OfferNewVersion(fetcher, messages, folders, settings, newer, path),
              InstallerResult::Ready);
    EXPECT_EQ(path, folders.cache + "Velmora-2401.deb");
    std::filesystem::remove(path);
    fetcher.bodies[InstallerUrl(settings.downloadHost, "Velmora-2401.deb")] = "tampered";
    messages.QueueAnswer(Answer::Yes);
    EXPECT_EQ(OfferNewVersion(fetcher, messages, folders, settings, newer, path),
              InstallerResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace velmora
