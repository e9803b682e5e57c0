#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draws/draws_store.h"
#include "variation/variation_store.h"

// Export of the variation to text files, and import of rows from csv and txt files.
namespace velmora {

enum class ExportFormat { Csv, Txt, Html, Tmb };

// What an exported row is made of and what the html header names.
struct ExportSource {
    std::vector<std::uint8_t> numbers; // V: a row's positions name these
    std::vector<std::uint8_t> fixed;   // follow every row
    bool drawsList = false;            // the rows hold the numbers themselves
    // A draws-list variation: the number of the draw each row was taken from (0: not known).
    std::vector<std::int32_t> rowDraws;
    std::string gameName;
    std::string versionText; // "2.3.0.0"
    std::string dateText;    // the generation date, short form
};

// The numbers of row `r` as a ticket shows them: the variation numbers at its positions
// followed by the fixed numbers; a draws-list row is a whole draw and is taken as it is.
void RowNumbers(const VariationStore& store, const ExportSource& source, long long r,
                std::vector<int>& out);

// The draw each row of a draws-list variation was taken from, by row: the stored draws are
// the rows in their order, except the second drawings of a date, which are found among the
// draws by their numbers. 0 for a row no stored draw holds (the draws were changed since).
std::vector<std::int32_t> RowDraws(const VariationStore& store,
                                   const std::vector<DrawRecord>& draws);

// The file's text, CR LF line ends.
std::string ExportText(const VariationStore& store, const ExportSource& source,
                       ExportFormat format);

// "2026. 12. 06." for a day number counted from 30 December 1899; empty for a day number that
// names no day.
std::string ShortDateText(double dayNumber);

// What an import file holds, or why it cannot be imported.
struct ImportedRows {
    bool ok = false;
    // The error box text; with `lineError` set it is empty and the line number tells.
    std::string error;
    int lineError = 0;
    std::vector<std::uint8_t> numbers;           // in the order first met
    std::vector<std::vector<std::uint8_t>> rows; // numbers, in the order of their lines
};

inline constexpr std::size_t kMaxImportLines = 1000000;
// A million lines of up to ten numbers fit in this; a larger file is refused unread.
inline constexpr std::size_t kMaxImportFileSize = 64 * 1024 * 1024;

// Reads the rows of `rowLength` numbers of an import file. `fileName` is what the messages
// name.
ImportedRows ParseImport(const std::string& text, int rowLength, int maxNumber,
                         const std::string& fileName);

// "A kijelölt állomány " + line + ". sora érvénytelen formátumú, vagy nem az aktuális játékhoz
// tartozik."
std::string ImportLineErrorText(int line);

} // namespace velmora
