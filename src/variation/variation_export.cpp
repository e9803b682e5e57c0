#include "variation/variation_export.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "common/clock.h"
#include "common/file_io.h"
#include "common/hu_format.h"

namespace velmora {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kDaysBeforeUnixEpoch = 25569;

std::string Joined(const std::vector<int>& numbers, const char* separator, bool padded) {
    std::string line;
    char cell[8];
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            line += separator;
        }
        std::snprintf(cell, sizeof cell, padded ? "%2d" : "%d", numbers[i]);
        line += cell;
    }
    return line;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

void RowNumbers(const VariationStore& store, const ExportSource& source, long long r,
                std::vector<int>& out) {
    out.clear();
    const std::uint8_t* row = store.Row(r);
    for (int i = 0; i < store.RowWidth(); ++i) {
        if (source.drawsList) {
            out.push_back(row[i]);
        } else {
            out.push_back(row[i] < source.numbers.size() ? source.numbers[row[i]] : 0);
        }
    }
    // A row taken from the draws list is a whole draw already.
    if (!source.drawsList) {
        out.insert(out.end(), source.fixed.begin(), source.fixed.end());
    }
}

namespace {

// Whether one of the drawings of `draw` holds the `width` numbers of `row`.
bool DrawHolds(const DrawRecord& draw, const std::uint8_t* row, int width) {
    for (const int first : {0, kSecondDrawingCell}) {
        if (first + width <= kMaxDrawColumns &&
            std::equal(row, row + width, draw.numbers.begin() + first)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<std::int32_t> RowDraws(const VariationStore& store,
                                   const std::vector<DrawRecord>& draws) {
    const std::vector<std::int32_t> ids(store.drawIds.begin(), store.drawIds.end() - 1);
    if (static_cast<long long>(ids.size()) == store.Count()) {
        return ids; // one drawing of each stored draw
    }
    std::vector<const DrawRecord*> records(ids.size(), nullptr);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto found = std::find_if(draws.begin(), draws.end(),
                                        [&](const DrawRecord& d) { return d.drawNo == ids[i]; });
        records[i] = found == draws.end() ? nullptr : &*found;
    }
    const auto holds = [&](std::size_t i, const std::uint8_t* row) {
        return records[i] != nullptr && DrawHolds(*records[i], row, store.RowWidth());
    };
    // A row is the next stored draw, or the other drawing of a draw stored before it.
    std::vector<std::int32_t> result(static_cast<std::size_t>(store.Count()), 0);
    std::size_t next = 0;
    for (long long r = 0; r < store.Count(); ++r) {
        const std::uint8_t* row = store.Row(r);
        if (next < ids.size() && holds(next, row)) {
            result[static_cast<std::size_t>(r)] = ids[next++];
            continue;
        }
        for (std::size_t i = next; i-- > 0;) {
            if (holds(i, row)) {
                result[static_cast<std::size_t>(r)] = ids[i];
                break;
            }
        }
    }
    return result;
}

std::string ShortDateText(double dayNumber) {
    using namespace std::chrono;
    if (!IsValidDayNumber(dayNumber)) {
        return {};
    }
    const year_month_day date{
        sys_days{days{static_cast<long long>(dayNumber) - kDaysBeforeUnixEpoch}}};
    std::tm time{};
    time.tm_year = static_cast<int>(date.year()) - 1900;
    time.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    time.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    return FormatDate(time);
}

std::string ExportText(const VariationStore& store, const ExportSource& source,
                       ExportFormat format) {
    std::string text;
    std::vector<int> numbers;
    if (format == ExportFormat::Tmb) {
        text = "Array(";
        for (long long r = 0; r < store.Count(); ++r) {
            RowNumbers(store, source, r, numbers);
            for (int n : numbers) {
                text += std::to_string(n) + ",";
            }
        }
        if (text.back() == ',') {
            text.pop_back();
        }
        return text + ");" + kLineEnd;
    }
    if (format == ExportFormat::Html) {
        for (const std::string& line :
             {std::string("<!DOCTYPE HTML>"), std::string("<html>"), std::string("<head>"),
              "<meta name=\"generator\" content=\"Velmora Personal " + source.versionText + " - " +
                  source.dateText + "\" />",
              std::string("<meta charset=\"utf-8\">"), "<title>" + source.gameName + "</title>",
              std::string("<style type=\"text/css\"> ol li {font-family:\"Courier New\", Courier, "
                          "monospace; white-space:pre; font-size:14px; margin-left:30px;}</style>"),
              std::string("</head>"), std::string("<body>"), std::string("<ol>")}) {
            text += line + kLineEnd;
        }
    }
    for (long long r = 0; r < store.Count(); ++r) {
        RowNumbers(store, source, r, numbers);
        switch (format) {
        case ExportFormat::Csv:
            text += Joined(numbers, ";", false);
            break;
        case ExportFormat::Txt:
            text += Joined(numbers, " - ", true);
            break;
        default:
            text += "<li>  " + Joined(numbers, " - ", true) + "</li>";
            break;
        }
        text += kLineEnd;
    }
    if (format == ExportFormat::Html) {
        text += std::string("</ol>") + kLineEnd + "</body>" + kLineEnd + "</html>" + kLineEnd;
    }
    return text;
}

std::string ImportLineErrorText(int line) {
    return "A kijelölt állomány " + std::to_string(line) +
           ". sora érvénytelen formátumú, vagy nem az aktuális játékhoz tartozik.";
}

ImportedRows ParseImport(const std::string& text, int rowLength, int maxNumber,
                         const std::string& fileName) {
    ImportedRows result;
    const std::vector<std::string> lines = SplitLines(WithoutByteOrderMark(text));
    if (lines.size() > kMaxImportLines) {
        result.error = " 1 millió számsort meghaladó import állomány betöltése.\r\rAz aktuális "
                       "verzió ezt nem teszi lehetővé.";
        return result;
    }
    const int k = rowLength;
    std::vector<bool> marked(static_cast<std::size_t>(maxNumber) + 1, false);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        const int lineNumber = static_cast<int>(index) + 1;
        int digits = 0;
        int others = 0;
        for (char c : line) {
            digits += IsDigit(c) ? 1 : 0;
            others += !IsDigit(c) && !IsBlank(c) ? 1 : 0;
        }
        // Short lines and lines without digits (headers, blank lines) are passed over.
        if (static_cast<int>(line.size()) <= k || digits == 0) {
            continue;
        }
        const bool lastLine = index + 1 == lines.size();
        if (digits < k || digits > 2 * k || others != k - 1 ||
            (!lastLine && static_cast<int>(line.size()) < 2 * k - 1)) {
            result.lineError = lineNumber;
            return result;
        }
        std::vector<std::uint8_t> row;
        std::size_t at = 0;
        for (int position = 1; position <= k; ++position) {
            while (at < line.size() && !IsDigit(line[at])) {
                ++at;
            }
            if (at == line.size()) {
                result.lineError = lineNumber;
                return result;
            }
            int value = 0;
            for (int taken = 0; taken < 3 && at < line.size() && IsDigit(line[at]); ++taken) {
                value = value * 10 + (line[at++] - '0');
            }
            if (at < line.size()) {
                ++at; // the separator
            }
            const std::string prefix = std::to_string(lineNumber) + ". sor " +
                                       std::to_string(position) + ". száma (" +
                                       std::to_string(value) + ") ";
            if (value < 1 || value > maxNumber) {
                result.error = prefix + "érvénytelen tartományba esik.";
                return result;
            }
            if (std::find(row.begin(), row.end(), value) != row.end()) {
                result.error = prefix + "ismétlődik.";
                return result;
            }
            row.push_back(static_cast<std::uint8_t>(value));
            if (!marked[static_cast<std::size_t>(value)]) {
                marked[static_cast<std::size_t>(value)] = true;
                result.numbers.push_back(static_cast<std::uint8_t>(value));
            }
        }
        for (; at < line.size(); ++at) {
            if (!IsBlank(line[at])) {
                result.error = "Nem az aktuális játékhoz tartozó állomány.\r\r" + fileName;
                return result;
            }
        }
        result.rows.push_back(std::move(row));
    }
    if (result.rows.empty() || static_cast<int>(result.numbers.size()) <= rowLength) {
        result.error = "Érvénytelen formátumú állomány.\r\r" + fileName;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace velmora
