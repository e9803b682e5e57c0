#pragma once

#include <vector>

#include "reports/slips.h"

namespace velmora::testing {

// One form of each slip, every field of it filled with a row that marks the corners of the
// number grid (the first and the last column of the first and the last line), with the joker
// box, or Keno's field, stake and draws marks.
inline std::vector<SlipPage> CornerForms() {
    const struct {
        GameId game;
        std::vector<int> row;
    } forms[] = {
        {0, {1, 10, 81, 90, 45}},
        {1, {1, 7, 42, 43, 45, 20}}, // seven columns: 43..45 on the last line
        {2, {1, 5, 31, 35, 18, 22, 10}},
        {8, {1, 5, 76, 80}},
    };
    std::vector<SlipPage> pages;
    for (const auto& form : forms) {
        const std::vector<std::vector<int>> rows(static_cast<std::size_t>(RowsPerSlip(form.game)),
                                                 form.row);
        pages.push_back(SlipForm(LoadGameInfo(form.game), rows, 1, SlipOptions{}));
    }
    return pages;
}

} // namespace velmora::testing
