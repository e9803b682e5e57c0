#include "reports/slips.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace velmora {

namespace {

struct Point {
    double x;
    double y;
};

// A form type's millimetres: its fields, the joker "Igen" box (the "Nem" box lies 8.5 mm to
// its right), the five-week and additional-joker boxes and the serial text.
struct FormGeometry {
    std::vector<Point> fields;
    Point joker;
    Point fiveWeeks;
    Point extraJoker;
    Point serial;
};

const FormGeometry& GeometryOf(const GameInfo& game) {
    static const FormGeometry otos{
        {{22, 15}, {68.5, 15}, {114.5, 15}, {22, 56}, {68.5, 56}, {114.5, 56}},
        {76.5, 97.5},
        {22, 97},
        {123, 97},
        {35, 98}};
    // The serial text of the 6/45 and the Keno forms is placed by this program.
    static const FormGeometry hatos{{{22, 15},
                                     {56, 15},
                                     {89.5, 15},
                                     {123, 15},
                                     {22, 49.5},
                                     {56, 49.5},
                                     {89.5, 49.5},
                                     {123, 49.5}},
                                    {34.5, 98},
                                    {22, 97.5},
                                    {89, 97.5},
                                    {35, 106}};
    static const FormGeometry skandi{{{27, 15.5},
                                      {52, 15.5},
                                      {77, 15.5},
                                      {102.5, 15.5},
                                      {127.5, 15.5},
                                      {27, 49},
                                      {52, 49},
                                      {77, 49},
                                      {102.5, 49},
                                      {127.5, 49}},
                                     {39.5, 97.7},
                                     {26.5, 97.5},
                                     {60.5, 97.5},
                                     {70, 95}};
    static const FormGeometry keno{{{32.5, 29.9}, {62, 29.5}}, {}, {}, {}, {100, 106}};
    if (game.isKeno) {
        return keno;
    }
    return game.gameId == 1 ? hatos : game.gameId == 2 ? skandi : otos;
}

// A PDF number: always with a point, whatever the C library's locale says.
std::string Number(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

// Text for a PDF string: backslashes and brackets escaped.
std::string PdfText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kMarkSize = 8; // points
// Helvetica's "x": half an em wide, its height about 0.52 em; the glyph is drawn so that its
// centre lies on the mark's point.
constexpr double kMarkHalfWidth = kMarkSize * 0.25;
constexpr double kMarkHalfHeight = kMarkSize * 0.26;

} // namespace

bool HasSlips(GameId game) {
    return game == 0 || game == 1 || game == 2 || IsKenoGame(game);
}

int RowsPerSlip(GameId game) {
    if (IsKenoGame(game)) {
        return 2;
    }
    return game == 1 ? 8 : game == 2 ? 10 : 6;
}

long long SlipCount(GameId game, long long rows) {
    const int per = RowsPerSlip(game);
    return (rows + per - 1) / per;
}

int CorrectedDrawCount(int draws) {
    if (draws == 13) {
        return 7;
    }
    if (draws >= 8 && draws <= 12) {
        return 14;
    }
    return draws == 14 ? 14 : std::clamp(draws, 1, 7);
}

SlipMark NumberMark(const GameInfo& game, int slot, int number) {
    const FormGeometry& g = GeometryOf(game);
    const Point field = g.fields[static_cast<std::size_t>(slot) % g.fields.size()];
    const int columns = std::max(game.ticketColumns, 1);
    const int column = (number - 1) % columns + 1;
    const int line = (number - 1) / columns + 1;
    return {field.x + (column - 1) * kSlipPitchMm, field.y + (line - 1) * kSlipPitchMm};
}

SlipPage SlipForm(const GameInfo& game, const std::vector<std::vector<int>>& rows, long long form,
                  const SlipOptions& options) {
    SlipPage page;
    const FormGeometry& g = GeometryOf(game);
    const long long per = RowsPerSlip(game.gameId);
    const long long first = (form - 1) * per;
    const long long last =
        std::min<long long>(first + per, static_cast<long long>(rows.size())) - 1;
    for (long long r = first; r <= last; ++r) {
        const int slot = static_cast<int>(r - first);
        for (int number : rows[static_cast<std::size_t>(r)]) {
            if (number >= 1 && number <= game.maxNumber) {
                page.marks.push_back(NumberMark(game, slot, number));
            }
        }
        if (game.isKeno) {
            // The field's own mark, and the stake below it in the same column.
            const double x = slot == 0 ? 24 : 87;
            page.marks.push_back({x, 29.5});
            page.marks.push_back({x, 29.5 + (std::clamp(options.stake, 1, 5) + 10) * kSlipPitchMm});
        }
    }
    if (game.isKeno) {
        const int draws = CorrectedDrawCount(options.draws);
        const int i = draws == 14 ? 7 : draws - 1;
        page.marks.push_back({28 + 8.5 * i, 101.5});
    } else {
        if (options.joker != Joker::Unmarked) {
            page.marks.push_back({g.joker.x + (options.joker == Joker::No ? 8.5 : 0), g.joker.y});
        }
        if (options.fiveWeeks) {
            page.marks.push_back({g.fiveWeeks.x, g.fiveWeeks.y});
        }
        if (options.extraJoker && options.joker == Joker::Yes) {
            page.marks.push_back({g.extraJoker.x, g.extraJoker.y});
        }
    }
    if (options.numbering && last >= first) {
        page.serial = std::to_string(form) + ". \\ " + std::to_string(first + 1) + ".  -  " +
                      std::to_string(last + 1) + ".";
        page.serialX = g.serial.x;
        page.serialY = g.serial.y;
    }
    return page;
}

std::string SlipsPdf(const std::vector<SlipPage>& pages) {
    const double width = kSlipWidthMm * kPointsPerMm;
    const double height = kSlipHeightMm * kPointsPerMm;
    std::vector<std::string> objects;
    // 1 catalog, 2 page tree, 3 font, then a page and its content for each form.
    std::string kids;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        kids += std::to_string(4 + 2 * p) + " 0 R ";
    }
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [ " + kids + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::string content = "BT /F1 " + Number(kMarkSize) + " Tf\n";
        for (const SlipMark& mark : pages[p].marks) {
            content += "1 0 0 1 " + Number(mark.x * kPointsPerMm - kMarkHalfWidth) + " " +
                       Number(height - mark.y * kPointsPerMm - kMarkHalfHeight) + " Tm (x) Tj\n";
        }
        if (!pages[p].serial.empty()) {
            content += "1 0 0 1 " + Number(pages[p].serialX * kPointsPerMm) + " " +
                       Number(height - pages[p].serialY * kPointsPerMm) + " Tm (" +
                       PdfText(pages[p].serial) + ") Tj\n";
        }
        content += "ET\n";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(width) + " " +
                          Number(height) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * p) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "endstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace velmora
