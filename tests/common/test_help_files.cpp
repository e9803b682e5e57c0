#include "common/help_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "support/temp_home.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "<html></html>";
}

// The build puts the manual beside the executable, an installation under ../share; the one
// beside the executable wins, and a folder of the same name is no manual.
TEST(HelpFiles, ManualIsFoundBesideTheExecutableOrInTheInstalledTree) {
    const struct {
        const char* name;
        std::vector<const char*> files;   // created under the temporary root
        std::vector<const char*> folders; // likewise
        const char* expected;             // under the root; "" for none
    } cases[] = {
        {"build", {"bin/help/index.html"}, {}, "bin/help/index.html"},
        {"installed", {"share/velmora/help/index.html"}, {}, "share/velmora/help/index.html"},
        {"both",
         {"bin/help/index.html", "share/velmora/help/index.html"},
         {},
         "bin/help/index.html"},
        {"none", {}, {"bin/help"}, ""},
        {"other page only", {"bin/help/foablak.html"}, {}, ""},
        {"folder named like the page", {}, {"bin/help/index.html"}, ""},
    };
    for (const auto& c : cases) {
        testing::TempHome root;
        const fs::path base(root.Path());
        fs::create_directories(base / "bin");
        for (const char* file : c.files) {
            Touch(base / file);
        }
        for (const char* folder : c.folders) {
            fs::create_directories(base / folder);
        }
        const std::string expected =
            *c.expected == '\0' ? std::string() : (base / c.expected).lexically_normal().string();
        EXPECT_EQ(FindHelpIndex((base / "bin").string()), expected) << c.name;
        EXPECT_EQ(FindHelpIndex((base / "bin").string() + "/"), expected) << c.name << " (slash)";
    }
}

// The manual's files and their links, read from the source folder.
class Manual : public ::testing::Test {
protected:
    static const fs::path& Folder() {
        static const fs::path folder(VELMORA_TEST_HELP);
        return folder;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every href and src of a page, in order.
    static std::vector<std::string> Targets(const std::string& html) {
        static const std::regex attribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re");
        std::vector<std::string> targets;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), attribute);
             it != std::sregex_iterator(); ++it) {
            targets.push_back((*it)[1]);
        }
        return targets;
    }
    static bool External(const std::string& target) {
        return target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0 ||
               target.rfind("mailto:", 0) == 0;
    }
    static std::set<std::string> Files(const char* extension) {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Folder())) {
            if (entry.is_regular_file() && entry.path().extension() == extension) {
                files.insert(fs::relative(entry.path(), Folder()).generic_string());
            }
        }
        return files;
    }
};

TEST_F(Manual, EveryLinkAndPictureLeadsToAFileOfTheManual) {
    const std::set<std::string> pages = Files(".html");
    ASSERT_TRUE(pages.count(kHelpIndexPage));
    std::set<std::string> used;
    for (const std::string& page : pages) {
        const std::string html = Read(Folder() / page);
        EXPECT_NE(html.find("<title>"), std::string::npos) << page << " has no title";
        EXPECT_NE(html.find("charset=\"utf-8\""), std::string::npos) << page;
        for (std::string target : Targets(html)) {
            if (External(target)) {
                continue;
            }
            const auto hash = target.find('#');
            const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
            target = target.substr(0, hash);
            const fs::path file = target.empty() ? Folder() / page : Folder() / target;
            EXPECT_TRUE(fs::is_regular_file(file)) << page << ": broken link " << target;
            EXPECT_EQ(target.find(".."), std::string::npos) << page << ": leaves the manual";
            if (!anchor.empty() && fs::is_regular_file(file)) {
                const std::string linked = Read(file);
                EXPECT_TRUE(linked.find("id=\"" + anchor + "\"") != std::string::npos ||
                            linked.find("name=\"" + anchor + "\"") != std::string::npos)
                    << page << ": no anchor " << anchor << " in " << target;
            }
            used.insert(fs::path(target).lexically_normal().generic_string());
        }
    }
    // A picture no page shows is left over from an older manual.
    for (const std::string& picture : Files(".png")) {
        EXPECT_TRUE(used.count(picture)) << picture << " is shown by no page";
    }
}

TEST_F(Manual, EveryPageIsReachedFromTheIndex) {
    std::set<std::string> reached{kHelpIndexPage};
    std::vector<std::string> queue{kHelpIndexPage};
    while (!queue.empty()) {
        const std::string page = queue.back();
        queue.pop_back();
        for (std::string target : Targets(Read(Folder() / page))) {
            target = target.substr(0, target.find('#'));
            if (External(target) || fs::path(target).extension() != ".html") {
                continue;
            }
            if (reached.insert(target).second && fs::is_regular_file(Folder() / target)) {
                queue.push_back(target);
            }
        }
    }
    for (const std::string& page : Files(".html")) {
        EXPECT_TRUE(reached.count(page)) << page << " is not reached from the index";
    }
}

TEST_F(Manual, EveryWindowHasItsPage) {
    std::set<std::string> windows;
    for (const HelpTopic& topic : HelpTopics()) {
        EXPECT_TRUE(windows.insert(topic.window).second) << topic.window << " twice";
        EXPECT_TRUE(fs::is_regular_file(Folder() / topic.page))
            << topic.window << ": no page " << topic.page;
        EXPECT_EQ(HelpPage(topic.window), topic.page);
    }
    EXPECT_EQ(HelpPage("NoSuchWindow"), "");
    EXPECT_EQ(HelpPage(""), "");
}

} // namespace
} // namespace velmora
