#include "reports/list_report.h"

#include <algorithm>

#include "common/hu_format.h"
#include "common/version.h"

namespace velmora {

namespace {

struct DrawsLayout {
    const char* between; // between two draws (or the two drawings of a date) on a line
    const char* separator;
    const char* extraGap; // before the extra number
    const char* header;
};

DrawsLayout LayoutOf(GameId game) {
    switch (game) {
    case 1:
    case 5:
    case 6:
        return {"    ", "-", "  ",
                " Húzás   Év   Hét    1. 2. 3. 4. 5. 6.  +       Húzás   Év   Hét    1. 2. 3. "
                "4. 5. 6.  +"};
    case 2:
        return {"    ", " - ", " - ",
                " Húzás   Év   Hét    1.   2.   3.   4.   5.   6.   7.    1.   2.   3.   4.   "
                "5.   6.   7."};
    case 4:
        return {"    ", " - ", " - ",
                " Húzás   Év   Hét    1.   2.   3.   4.   5.   6.   +     1.   2.   3.   4.   "
                "5.   6.   +"};
    case 7:
        return {" ", "-", "-",
                " Húzás   Év   Hét    1. 2. 3. 4. 5. 6. 7. +   Húzás   Év   Hét    1. 2. 3. 4. "
                "5. 6. 7. +"};
    case 17:
    case 18:
    case 23:
        return {game == 17 ? "" : " ", " -", " -",
                " Húzás   Év   Hét    1.  2.  3.  4.  5.  6.    Húzás   Év   Hét    1.  2.  3.  "
                "4.  5.  6."};
    case 19:
        return {"     ", "-", "-",
                " Húzás   Év   Hét    1. 2. 3. 4. 5. 6. 7.      Húzás   Év   Hét    1. 2. 3. 4. "
                "5. 6. 7.  "};
    case 20:
    case 21:
        return {" ", "-", "-",
                " Húzás   Év   Hét    1. 2. 3. 4. 5. 6. 7. +   Húzás   Év   Hét    1. 2. 3. 4. "
                "5. 6. 7. + "};
    default:
        if (IsKenoGame(game)) {
            return {"  ", "-", "-",
                    " Húzás   Év   Hét    1. 2. 3. 4. 5. 6. 7. 8. 9.10.11.12.13.14.15.16.17.18."
                    "19.20.         "};
        }
        return {" ", " - ", " - ",
                " Húzás   Év   Hét    1.   2.   3.   4.   5.    Húzás   Év   Hét    1.   2.   "
                "3.   4.   5."};
    }
}

// One drawing's numbers, its extra number after them.
std::string Drawing(const GameInfo& game, const DrawsLayout& layout, const std::uint8_t* cells) {
    std::string text;
    for (int i = 0; i < game.drawnCount; ++i) {
        text += (i == 0 ? "" : layout.separator) + PadLeft(std::to_string(cells[i]), 2);
    }
    if (game.extraCount == 1 && cells[game.drawnCount] != 0) {
        text += layout.extraGap + PadLeft(std::to_string(cells[game.drawnCount]), 2);
    }
    return text;
}

std::string Draw(const GameInfo& game, const DrawsLayout& layout, const DrawRecord& draw) {
    std::string text = PadLeft(std::to_string(draw.drawNo), 7) + "." +
                       PadLeft(std::to_string(draw.drawYear), 6) + "." +
                       PadLeft(std::to_string(draw.drawWeek), 3) + ".   " +
                       Drawing(game, layout, draw.numbers.data());
    if (game.drawsPerDate == 2 && draw.numbers[kSecondDrawingCell] != 0) {
        text += layout.between + Drawing(game, layout, draw.numbers.data() + kSecondDrawingCell);
    }
    return text;
}

// The page header line of a list report.
std::string PageHeader(const std::tm& now, long long page, long long pages) {
    const std::string version = kProgramVersion.Text();
    return " " + std::string(kProgramTitle) + " " + version +
           PadLeft("Készült: " + FormatDate(now) + " " + std::to_string(now.tm_hour) + ":" +
                       FormatWidthZero(now.tm_min, 2),
                   30) +
           PadLeft(std::to_string(page) + "/" + std::to_string(pages) + " oldal",
                   40 - static_cast<int>(version.size()));
}

// Blanks up to `width` characters (UTF-8 characters counted).
std::string PadRight(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (unsigned char c : text) {
        characters += (c & 0xC0) != 0x80;
    }
    return characters >= width ? text : text + std::string(width - characters, ' ');
}

} // namespace

std::string VariationListTitle(int numbers, int errorPoints, bool optimised, bool example,
                               long long rows) {
    std::string title = std::to_string(numbers) + " szám ";
    if (errorPoints > 0) {
        title += std::to_string(errorPoints) +
                 (optimised ? " hibapontra optimalizált " : " hibapontos ");
    }
    return title + (example ? "példabontása " : "variációja ") + FormatThousands(rows) +
           " számsorra";
}

namespace {

// The column header of a variation list: by row length, and with the draw column of a
// draws-list variation.
std::string VariationListHeader(const GameInfo& game, bool draws) {
    const int k = game.rowLength;
    if (!game.isKeno && k == 5) {
        return draws ? " Szelvény   Húzás    1.   2.   3.   4.   5.     Szelvény   Húzás    1.   "
                       "2.   3.   4.   5."
                     : " Szelvény    1.   2.   3.   4.   5.                    Szelvény    1.   "
                       "2.   3.   4.   5.";
    }
    if (!game.isKeno && k == 6) {
        return draws ? " Szelvény   Húzás    1. 2. 3. 4. 5. 6.               Szelvény   Húzás    "
                       "1. 2. 3. 4. 5. 6."
                     : " Szelvény   1.   2.   3.   4.   5.   6.            Szelvény   1.   2.   "
                       "3.   4.   5.   6.";
    }
    if (!game.isKeno && k == 7) {
        return draws ? " Szelvény   Húzás    1. 2. 3. 4. 5. 6. 7.         Szelvény   Húzás    "
                       "1. 2. 3. 4. 5. 6. 7."
                     : " Szelvény   1.   2.   3.   4.   5.   6.   7.  Szelvény   1.   2.   3.   "
                       "4.   5.   6.   7.";
    }
    // Keno rows and the shortest rows: one row a line.
    if (game.isKeno) {
        std::string header = draws ? " Szelvény   Húzás   " : " Szelvény   ";
        for (int i = 1; i <= k; ++i) {
            header += PadLeft(std::to_string(i) + ".", 3);
        }
        return header;
    }
    std::string header = draws ? " Szelvény   Húzás    1." : " Szelvény   1.";
    for (int i = 2; i <= k; ++i) {
        header += "   " + std::to_string(i) + ".";
    }
    return header;
}

// Characters (not bytes) of `text` before byte `at`.
std::size_t Column(const std::string& text, std::size_t at) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.begin() + at, [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Where a row's parts stand, read off the column header: the numbers under "1.", "2.", ...,
// a second row under the header's second group.
struct RowLayout {
    std::size_t numbersAt = 0;                // the first number's column in its group
    std::string separator;                    // between two numbers
    std::size_t secondAt = std::string::npos; // the second group's column; npos: one a line
};

RowLayout RowLayoutOf(const std::string& header) {
    RowLayout layout;
    const std::size_t first = header.find("1.");
    const std::size_t next = header.find("2.", first);
    layout.numbersAt = Column(header, first);
    layout.separator = next != std::string::npos && next - first == 3 ? "-" : " - ";
    const std::size_t second = header.find(" Szelvény", 1);
    if (second != std::string::npos) {
        layout.secondAt = Column(header, second);
    }
    return layout;
}

} // namespace

std::vector<std::string> VariationListReport(const GameInfo& game, const VariationStore& store,
                                             const ExportSource& source, const std::string& title,
                                             const std::tm& now, int linesPerPage) {
    const bool draws = source.drawsList;
    const std::string header = VariationListHeader(game, draws);
    const RowLayout layout = RowLayoutOf(header);
    const bool pairs = layout.secondAt != std::string::npos;
    const long long perPage = static_cast<long long>(linesPerPage) * (pairs ? 2 : 1);
    const long long count = store.Count();
    const long long pages = std::max(1LL, (count + perPage - 1) / perPage);
    const std::string rule(90, '-');
    std::vector<std::string> lines;
    const auto block = [&](long long page) {
        lines.push_back(PageHeader(now, page, pages));
        lines.push_back(rule);
        lines.push_back(" " + title);
        lines.push_back(header);
        lines.push_back(rule);
    };
    std::vector<int> numbers;
    const auto row = [&](long long r) {
        RowNumbers(store, source, r, numbers);
        std::string text = PadLeft(std::to_string(r + 1), 10) + ".";
        if (draws) {
            const auto at = static_cast<std::size_t>(r);
            const std::int32_t draw = at < source.rowDraws.size() ? source.rowDraws[at] : 0;
            text += PadLeft(draw > 0 ? std::to_string(draw) : std::string(), 6);
        }
        text = PadRight(text, layout.numbersAt);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            text += (i == 0 ? "" : layout.separator) + PadLeft(std::to_string(numbers[i]), 2);
        }
        return text;
    };
    block(1);
    long long page = 1;
    int onPage = 0;
    for (long long r = 0; r < count; r += pairs ? 2 : 1) {
        if (onPage == linesPerPage) {
            lines.push_back(rule + "\f\r");
            block(++page);
            onPage = 0;
        }
        std::string line = row(r);
        if (pairs && r + 1 < count) {
            line = PadRight(line, layout.secondAt) + row(r + 1);
        }
        lines.push_back(line);
        ++onPage;
    }
    return lines;
}

std::vector<std::string> DrawsListReport(const GameInfo& game, const std::vector<DrawRecord>& draws,
                                         const std::tm& now, int linesPerPage) {
    const DrawsLayout layout = LayoutOf(game.gameId);
    const bool pairs = game.drawsPerDate == 1 && !game.isKeno;
    const long long perPage = static_cast<long long>(linesPerPage) * (pairs ? 2 : 1);
    const long long count = static_cast<long long>(draws.size());
    const long long pages = std::max(1LL, (count + perPage - 1) / perPage);
    const std::string title = game.isKeno ? std::string("A Magyar Kenó nyerőszámai")
                                          : GameName(game.gameId) + " nyerőszámai";
    std::vector<std::string> lines;
    const std::string separator(90, '-');
    const auto header = [&](long long page) {
        lines.push_back(PageHeader(now, page, pages));
        lines.push_back(separator);
        lines.push_back(" " + title);
        lines.push_back(layout.header);
        lines.push_back(separator);
    };
    header(1);
    int onPage = 0;
    long long page = 1;
    for (long long i = 0; i < count; i += pairs ? 2 : 1) {
        if (onPage == linesPerPage) {
            lines.push_back(separator + "\f\r");
            header(++page);
            onPage = 0;
        }
        std::string line = Draw(game, layout, draws[static_cast<std::size_t>(i)]);
        if (pairs && i + 1 < count) {
            line += layout.between + Draw(game, layout, draws[static_cast<std::size_t>(i + 1)]);
        }
        lines.push_back(line);
        ++onPage;
    }
    return lines;
}

} // namespace velmora
