#pragma once

#include <string>
#include <vector>

#include "game/game_catalogue.h"

// Filling the operator's betting slips: which rows go on which form, and where on the form each
// mark lies, in millimetres from the top-left corner of the sheet.
namespace velmora {

// A form is this large at least (the sheet the printer must take).
inline constexpr double kSlipWidthMm = 170;
inline constexpr double kSlipHeightMm = 115;
inline constexpr double kSlipPitchMm = 4.2;
// At most this many rows are filled, at most so many forms in one print.
inline constexpr long long kMaxSlipRows = 1000;
inline constexpr int kMaxSlipForms = 100;
inline constexpr int kSlipFormsWarning = 30;

enum class Joker { Yes = 0, No = 1, Unmarked = 2 };

struct SlipOptions {
    Joker joker = Joker::No;
    bool numbering = true;   // "Segédsorsjegyek sorszámozása"
    int stake = 1;           // Keno "Tét ", 1..5
    int draws = 1;           // Keno "Sorsolások száma ", 1..7 or 14
    bool fiveWeeks = false;  // " 5 hetes szelvény"
    bool extraJoker = false; // " További Joker játék"
};

// Whether the game has slips to fill (5/90, 6/45, 7/35 and Keno).
bool HasSlips(GameId game);
// Rows a form holds: 6, 8, 10, or 2 for Keno.
int RowsPerSlip(GameId game);
// Forms for `rows` rows.
long long SlipCount(GameId game, long long rows);
// "Sorsolások száma ": 13 becomes 7 and 8..12 become 14; the valid values are 1..7 and 14.
int CorrectedDrawCount(int draws);

// One mark: an "x" whose centre lies at x, y (mm).
struct SlipMark {
    double x = 0;
    double y = 0;
};

struct SlipPage {
    std::vector<SlipMark> marks;
    std::string serial; // "3. \ 13.  -  13." when numbered
    double serialX = 0;
    double serialY = 0;
};

// Form `form` (1-based) of rows given as their numbers (each row the variation numbers and the
// fixed numbers); `rows` holds every row of the variation.
SlipPage SlipForm(const GameInfo& game, const std::vector<std::vector<int>>& rows, long long form,
                  const SlipOptions& options);

// The centre of number `number`'s box in field `slot` of the game's form.
SlipMark NumberMark(const GameInfo& game, int slot, int number);

// A PDF of the forms, one page each at the form's size, the marks as "x" characters.
std::string SlipsPdf(const std::vector<SlipPage>& pages);

} // namespace velmora
