#include "reports/list_report.h"

#include <algorithm>

#include "common/hu_format.h"
#include "common/version.h"

namespace velmora {

namespace {

// The second drawing of a date starts this many cells after the first.
constexpr int kSecondDrawingCell = 7;

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

std::vector<std::string> VariationListReport(const GameInfo& game, const VariationStore& store,
                                             const ExportSource& source, const std::string& title,
                                             const std::tm& now, int linesPerPage) {
    const int k = game.rowLength;
    std::string header;
    std::string separator = " - ";
    if (game.isKeno) {
        separator = "-";
        header = " Szelvény   ";
        for (int i = 1; i <= k; ++i) {
            header += PadLeft(std::to_string(i) + ".", 3);
        }
    } else if (k == 5) {
        header =
            " Szelvény    1.   2.   3.   4.   5.                    Szelvény    1.   2.   3.   "
            "4.   5.";
    } else if (k == 6) {
        header =
            " Szelvény   1.   2.   3.   4.   5.   6.            Szelvény   1.   2.   3.   4.   "
            "5.   6.";
    } else if (k == 7) {
        header =
            " Szelvény   1.   2.   3.   4.   5.   6.   7.  Szelvény   1.   2.   3.   4.   5.   "
            "6.   7.";
    } else {
        header = " Szelvény   1.   2.";
        for (int i = 3; i <= k; ++i) {
            header += "   " + std::to_string(i) + ".";
        }
    }
    // A second group in the header: two rows a line, the second where its group starts.
    const std::size_t second = header.find(" Szelvény", 1);
    const bool pairs = second != std::string::npos;
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
        std::string text = PadLeft(std::to_string(r + 1), 10) + ".  ";
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            text += (i == 0 ? "" : separator) + PadLeft(std::to_string(numbers[i]), 2);
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
            line = PadRight(line, second) + row(r + 1);
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
