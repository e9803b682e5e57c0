#include "draws/results_import.h"

#include <algorithm>

#include "common/file_io.h"

namespace velmora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// A data line starts (after blanks) with the digits of the year.
bool IsDataLine(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first != std::string::npos && IsDigit(line[first]);
}

// Reads the digits at `pos` (at most nine, so the value cannot overflow); false when none.
bool ReadDigits(const std::string& line, std::size_t& pos, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < line.size() && IsDigit(line[pos])) {
        if (pos - start >= 9) {
            return false;
        }
        value = value * 10 + (line[pos] - '0');
        ++pos;
    }
    return pos > start;
}

// Moves `pos` just past the next separator; false when the line ends first.
bool SkipPastSeparator(const std::string& line, std::size_t& pos, char separator) {
    const std::size_t found = line.find(separator, pos);
    if (found == std::string::npos) {
        return false;
    }
    pos = found + 1;
    return true;
}

void SortCells(DrawRecord& draw, int from, int count) {
    std::sort(draw.numbers.begin() + from, draw.numbers.begin() + from + count);
}

bool ParseLine(const std::string& line, const GameInfo& game, DrawRecord& draw) {
    std::size_t pos = 0;
    while (pos < line.size() && !IsDigit(line[pos])) {
        ++pos;
    }
    int year = 0;
    if (!ReadDigits(line, pos, year)) {
        return false;
    }
    if (year == 1900) {
        year = 1995;
    }
    if (year < 1901 || year > 2050 || pos >= line.size()) {
        return false;
    }
    ++pos; // one separator
    int week = 0;
    if (!ReadDigits(line, pos, week) || week < 1 || week > 53 || pos >= line.size()) {
        return false;
    }
    const char separator = line[pos++];
    int skipped = SkippedFields(game.gameId);
    // Newer files put the weekday's name after the week: one more field to skip.
    if (pos < line.size() && line[pos] != separator && !IsDigit(line[pos])) {
        ++skipped;
    }
    for (int i = 0; i < skipped; ++i) {
        if (!SkipPastSeparator(line, pos, separator)) {
            return false;
        }
    }

    draw = DrawRecord{};
    draw.drawYear = year;
    draw.drawWeek = week;
    const int fields = game.drawnCount * game.drawsPerDate + game.extraCount;
    // Only the trailing extra number may be missing (6/45 lines since 2016 end without it).
    const int required = game.drawnCount * game.drawsPerDate;
    bool lineEnded = false;
    for (int f = 0; f < fields; ++f) {
        int value = 0;
        if (lineEnded && f < required) {
            return false;
        }
        if (!lineEnded) {
            while (pos < line.size() && line[pos] != separator && !IsDigit(line[pos])) {
                ++pos;
            }
            if (pos < line.size() && IsDigit(line[pos]) && !ReadDigits(line, pos, value)) {
                return false;
            }
            lineEnded = !SkipPastSeparator(line, pos, separator);
        }
        if (value > game.maxNumber) {
            return false;
        }
        draw.numbers[static_cast<std::size_t>(f)] = static_cast<std::uint8_t>(value);
    }
    SortCells(draw, 0, game.drawnCount);
    if (game.drawsPerDate == 2) {
        SortCells(draw, game.drawnCount + game.extraCount, game.drawnCount);
    }
    return true;
}

// The data lines of the file with their line numbers: from the first data line to the last
// line that is not blank.
struct DataLines {
    std::vector<std::string> lines;
    int firstLineNumber = 0;
};

DataLines FindDataLines(const std::string& text) {
    std::vector<std::string> lines = SplitLines(WithoutByteOrderMark(text));
    while (!lines.empty() && IsBlank(lines.back())) {
        lines.pop_back();
    }
    DataLines data;
    std::size_t first = 0;
    while (first < lines.size() && !IsDataLine(lines[first])) {
        ++first;
    }
    data.firstLineNumber = static_cast<int>(first) + 1;
    data.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
    return data;
}

} // namespace

int SkippedFields(GameId id) {
    if (IsKenoGame(id)) {
        return 2;
    }
    switch (id) {
    case 0:
    case 2:
        return 9;
    case 1:
        return 11;
    default:
        return 0;
    }
}

ResultsParse ParseResultsFile(const std::string& text, const GameInfo& game) {
    ResultsParse result;
    const DataLines data = FindDataLines(text);
    result.draws.reserve(data.lines.size());
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        DrawRecord draw;
        if (!ParseLine(data.lines[i], game, draw)) {
            result.draws.clear();
            result.badLine = data.firstLineNumber + static_cast<int>(i);
            return result;
        }
        draw.drawNo = static_cast<int>(i) + 1;
        result.draws.push_back(draw);
    }
    result.ok = !result.draws.empty();
    if (!result.ok) {
        result.badLine = data.firstLineNumber;
    }
    return result;
}

std::vector<DrawRecord> Chronological(const std::vector<DrawRecord>& newestFirst) {
    const std::size_t kept = std::min(newestFirst.size(), static_cast<std::size_t>(kMaxDrawNo));
    std::vector<DrawRecord> draws(newestFirst.rend() - static_cast<std::ptrdiff_t>(kept),
                                  newestFirst.rend());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        draws[i].drawNo = static_cast<int>(i) + 1;
    }
    return draws;
}

std::string ResultsFormatErrorText(const std::string& fileName) {
    return "A Szerencsejáték Zrt. honlapján elérhető " + fileName +
           " állomány formátuma megváltozott és/vagy érvénytelen adatokat tartalmaz.\r\r"
           "Használja az \"Adatbázis frissítése\" menüpontot.";
}

ImportOutcome HuzasokFrissitesKenoHU(const std::string& resultsText, const std::string& fileName,
                                     const GameInfo& game, int currentDrawCount,
                                     const std::string& databasePath, Messages& messages,
                                     int* importedCount) {
    const int lineCount = static_cast<int>(FindDataLines(resultsText).lines.size());
    if (currentDrawCount > lineCount) {
        const bool overwrite = messages.WarningQuestion(
            "A " + fileName +
            " állomány kevesebb húzás adatait tartalmazza, mint a húzások jelenleg aktuális "
            "listája.\r\rMégis felülírja a húzások jelenleg aktuális listáját?");
        if (!overwrite) {
            return ImportOutcome::Declined;
        }
    }
    const ResultsParse parse = ParseResultsFile(resultsText, game);
    if (importedCount != nullptr) {
        *importedCount =
            static_cast<int>(std::min(parse.draws.size(), static_cast<std::size_t>(kMaxDrawNo)));
    }
    // The new list must load as a database before it replaces the old one: a list that loading
    // would reject, or count as missing, never overwrites a database.
    DrawsLoad load = DrawsLoad::Invalid;
    std::vector<std::uint8_t> bytes;
    if (parse.ok) {
        bytes = SerializeDraws(Chronological(parse.draws), game.gameId);
        std::vector<DrawRecord> check;
        load = ParseDrawsFile(bytes, game, check);
    }
    if (load != DrawsLoad::Loaded) {
        messages.Error(ResultsFormatErrorText(fileName));
        return load == DrawsLoad::Missing ? ImportOutcome::TooFewDraws : ImportOutcome::BadFormat;
    }
    if (!ReplaceFile(databasePath, bytes)) {
        messages.FileError("az adatbázis", "mentése");
        AskToDownloadDamagedList(messages);
        return ImportOutcome::SaveFailed;
    }
    return ImportOutcome::Imported;
}

} // namespace velmora
