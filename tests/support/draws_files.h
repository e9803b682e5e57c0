#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/binary_io.h"
#include "draws/draws_store.h"

namespace velmora::testing {

// `count` plausible draws of `game`, oldest first, numbered from 1.
inline std::vector<DrawRecord> SampleDraws(const GameInfo& game, int count) {
    std::vector<DrawRecord> draws;
    const int columns = DrawColumns(game.gameId);
    for (int i = 0; i < count; ++i) {
        DrawRecord d;
        d.drawNo = i + 1;
        d.drawYear = 1990 + i / 52;
        d.drawWeek = 1 + i % 52;
        for (int c = 0; c < columns; ++c) {
            d.numbers[static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(1 + (i * 7 + c * 3) % game.maxNumber);
        }
        draws.push_back(d);
    }
    return draws;
}

// The most draws a database holds, all of one year (a daily game has many draws a week).
inline std::vector<DrawRecord> FullDatabase(const GameInfo& game) {
    std::vector<DrawRecord> draws = SampleDraws(game, kMaxDrawNo);
    for (DrawRecord& d : draws) {
        d.drawYear = 2000;
    }
    return draws;
}

// A layout-1 file (major version 1) holding `draws`.
inline std::vector<std::uint8_t> Layout1File(const std::vector<DrawRecord>& draws, int columns) {
    BinaryWriter w;
    for (std::int32_t v : {1, 9, 0, 0}) {
        w.WriteI32(v);
    }
    for (const DrawRecord& d : draws) {
        w.WriteI32(0);
        w.WriteI32(d.drawNo);
        w.WriteU8(static_cast<std::uint8_t>(d.drawYear & 0xFF));
        w.WriteU8(static_cast<std::uint8_t>(d.drawYear >> 8));
        w.WriteU8(static_cast<std::uint8_t>(d.drawWeek));
        for (int c = 0; c < 17; ++c) {
            w.WriteU8(c < columns ? d.numbers[static_cast<std::size_t>(c)] : 0);
        }
    }
    return w.Bytes();
}

// A 5/90 results line with the nine fields between the week and the numbers.
inline std::string OtosLine(int year, int week, const std::string& numbers) {
    return std::to_string(year) + ";" + std::to_string(week) +
           ";2020.01.01.;0;0 Ft;12;1 234 Ft;5;6 Ft;7;8 Ft;" + numbers;
}

} // namespace velmora::testing
