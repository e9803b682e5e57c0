#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "variation/variation_store.h"

// Export of the variation to text files, and import of rows from csv and txt files.
namespace velmora {

enum class ExportFormat { Csv, Txt, Html, Tmb };

// What an exported row is made of and what the html header names.
struct ExportSource {
    std::vector<std::uint8_t> numbers; // V: a row's positions name these
    std::vector<std::uint8_t> fixed;   // follow every row
    bool drawsList = false;            // the rows hold the numbers themselves
    std::string gameName;
    std::string versionText; // "2.3.0.0"
    std::string dateText;    // the generation date, short form
};

// The numbers of row `r` as a ticket shows them: the variation numbers at its positions
// followed by the fixed numbers; a draws-list row is a whole draw and is taken as it is.
void RowNumbers(const VariationStore& store, const ExportSource& source, long long r,
                std::vector<int>& out);

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
