#include "cli/man_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "cli/commands.h"

namespace velmora::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// How the page names an option in its list.
std::string Entry(const Option& option) {
    return "\\fB" + RoffText(option.name) + "\\fR" +
           (option.value != nullptr ? " \\fI" + RoffText(option.value) + "\\fR" : "");
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

TEST(ManPage, EscapesWhatRoffWouldReadAsMarkup) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"--home DIR", "\\-\\-home DIR"},
        {"C:\\path", "C:\\epath"},
        {".tip and .top files", "\\&.tip and .top files"},
        {"'quoted' word", "\\&'quoted' word"},
        {"a file.tip's rows", "a file.tip's rows"},
        {"Húzások naprakész listája...", "Húzások naprakész listája..."},
        {"", ""},
    };
    for (const auto& [text, roff] : cases) {
        EXPECT_EQ(RoffText(text), roff) << text;
    }
}

// The page follows the table: a section for every command with its usage line and summary, an
// entry for every option; a new command or option cannot be left out.
TEST(ManPage, ListsEveryCommandAndOptionOfTheTable) {
    const std::vector<Command>& table = CommandTable();
    const std::vector<std::string> lines = Lines(ManPage(table));
    for (const Command& command : table) {
        SCOPED_TRACE(command.name);
        EXPECT_TRUE(HasLine(lines, ".SS " + RoffText(command.name)));
        EXPECT_TRUE(HasLine(lines, RoffText(Synopsis(command))));
        EXPECT_TRUE(HasLine(lines, RoffText(command.summary) + "."));
        for (const Option& option : command.options) {
            EXPECT_TRUE(HasLine(lines, Entry(option))) << option.name;
        }
    }
    for (const Option& option : kGlobalOptions) {
        EXPECT_TRUE(HasLine(lines, Entry(option))) << option.name;
    }
    std::size_t sections = 0;
    for (const std::string& line : lines) {
        sections += line.rfind(".SS ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(sections, table.size());
}

// Only the page's own requests start a line with a control character: a text line that did
// would vanish or break the page.
TEST(ManPage, EveryControlLineIsARequest) {
    const std::set<std::string> requests = {".TH", ".SH", ".SS", ".TP", ".PP", ".B", ".br"};
    const std::vector<std::string> lines = Lines(ManPage(CommandTable()));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind(".TH VELMORA\\-CLI 1 ", 0), 0u);
    for (const std::string& line : lines) {
        if (line.empty() || (line.front() != '.' && line.front() != '\'')) {
            continue;
        }
        EXPECT_TRUE(requests.count(line.substr(0, line.find(' ')))) << line;
    }
}

} // namespace
} // namespace velmora::cli
