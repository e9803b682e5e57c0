#include "session/example_variation.h"

#include <algorithm>

#include "common/hu_format.h"
#include "common/numbers.h"

namespace velmora {

namespace {

// The smallest Keno games (3 and 2 numbers) get no group conditions.
bool HasGroupConditions(GameId game) {
    return game != 15 && game != 16;
}

// Fixed groups: the widest block size per allowed hit, such that the blocks 1..w, w+1..2w, ...
// hold at most m example numbers each and no m + 1 consecutive example numbers share a block.
void FixedGroups(const ExampleInput& in, GroupCondition& fixed) {
    const std::vector<std::uint8_t>& e = in.row;
    const int n = in.game.maxNumber;
    const int c = static_cast<int>(e.size());
    fixed = {false, 1, 1};
    for (int w = 5; w <= n / 2; ++w) {
        int m = 0;
        int t = 0;
        for (int top = w; top <= n; top += w) {
            const int inside = static_cast<int>(
                std::count_if(e.begin(), e.end(), [&](int x) { return x > top - w && x <= top; }));
            m = std::max(m, inside);
            t = inside;
        }
        for (int i = 0; i + m < c; ++i) {
            if (e[static_cast<std::size_t>(m + i)] / w == e[static_cast<std::size_t>(i)] / w) {
                t = 0;
            }
        }
        if (t > 0 &&
            static_cast<double>(w) / m > static_cast<double>(fixed.groupSize) / fixed.maxPerGroup) {
            fixed = {true, w, m};
        }
    }
    if (fixed.groupSize == 1) {
        fixed.active = false;
    }
}

// Mobile groups: the narrowest window that s + 1 example numbers need (form B), or the
// smallest gap with one number a window (form A) where that says more.
void MobileGroups(const ExampleInput& in, int s, GroupCondition& mobile) {
    const std::vector<std::uint8_t>& e = in.row;
    const int k = static_cast<int>(e.size());
    int gap = in.game.maxNumber / 2;
    for (int i = 0; i + 1 < k; ++i) {
        gap = std::min(gap, e[static_cast<std::size_t>(i) + 1] - e[static_cast<std::size_t>(i)]);
    }
    mobile = {true, in.game.maxNumber, s};
    int narrowest = in.game.maxNumber;
    for (int j = 0; j + s < k; ++j) {
        narrowest = std::min(narrowest,
                             e[static_cast<std::size_t>(s + j)] - e[static_cast<std::size_t>(j)]);
    }
    if (narrowest <= mobile.groupSize && s < k) {
        mobile.groupSize = narrowest;
        mobile.maxPerGroup = s;
        mobile.active = mobile.maxPerGroup != mobile.groupSize;
    }
    if (!mobile.active) {
        mobile = {false, gap, 1};
        return;
    }
    const bool keepB = static_cast<unsigned long long>(mobile.groupSize) >=
                           Binomial(mobile.groupSize, mobile.maxPerGroup) ||
                       s * gap < mobile.groupSize;
    if (!keepB) {
        mobile = {true, gap, 1};
    }
}

// Favoured numbers: the s + 1 example numbers that lie closest together, among the first
// start positions.
void Favoured(const ExampleInput& in, int s, FavCondition& favoured) {
    const std::vector<std::uint8_t>& e = in.row;
    const int k = static_cast<int>(e.size());
    favoured = {false, 1, 3, 1, 2};
    double best = 100.0;
    const int lastStart = in.game.prizeSpan >= 3 ? 5 - in.game.prizeSpan : 1;
    for (int j = 0; j <= lastStart && s + j < k; ++j) {
        const int d = e[static_cast<std::size_t>(s + j)] - e[static_cast<std::size_t>(j)];
        const double density = static_cast<double>(d) / (s + 1);
        if (d > s && density < best) {
            best = density;
            favoured = {true, e[static_cast<std::size_t>(j)], e[static_cast<std::size_t>(s + j)],
                        s + 1, s + 1};
        }
    }
}

// Parity: the row's count of the kind; a row without one counts the other kind.
void Parity(int evenCount, int c, ParityCondition& parity) {
    parity.active = true;
    parity.fixedRatio = true;
    parity.even = evenCount != 0;
    parity.minimum = parity.maximum = evenCount == 0 ? c : evenCount;
}

// Repetition: one repeating class or several, with the row's own count.
void Repetition(const ClassCounts& counts, int c, RepeatCondition& repeat) {
    repeat.active = true;
    repeat.oneGroup = counts.classesWithTwoOrMore < 2;
    const int count = repeat.oneGroup ? counts.largestMinusOne : counts.repetitions;
    repeat.minimum = repeat.maximum = std::clamp(count, 0, std::max(0, c - 1));
}

// How many of `row` a drawing of `width` numbers starting at `cells` holds.
int Hits(const std::vector<std::uint8_t>& row, const std::uint8_t* cells, int width) {
    int hits = 0;
    for (int i = 0; i < width; ++i) {
        hits += std::binary_search(row.begin(), row.end(), cells[i]) ? 1 : 0;
    }
    return hits;
}

// Hit ratio: rows that hit a past draw of the range better than the example are left out.
void HitRatio(const ExampleInput& in, HitRatioCondition& ratio) {
    const int k = in.game.rowLength;
    ratio.active = false;
    if (in.draws == nullptr || in.draws->empty() || in.drawArgument <= 2) {
        return;
    }
    const int count = static_cast<int>(in.draws->size());
    const int first = std::clamp(in.firstDraw, 1, count);
    const int last = std::clamp(in.lastDraw, first, count);
    int best = 0;
    for (int d = first; d <= last; ++d) {
        const DrawRecord& draw = (*in.draws)[static_cast<std::size_t>(d - 1)];
        best = std::max(best, Hits(in.row, draw.numbers.data(), std::min(k, kMaxDrawColumns)));
        if (in.game.drawsPerDate == 2 && kSecondDrawingCell + k <= kMaxDrawColumns) {
            best = std::max(best, Hits(in.row, draw.numbers.data() + kSecondDrawingCell, k));
        }
    }
    ratio.active = true;
    ratio.fromDraws = false;
    ratio.firstDraw = first;
    ratio.lastDraw = last;
    if (best < k - 1) {
        ratio.searched = false;
        ratio.minHits = best + 1;
        ratio.maxHits = k;
    } else {
        ratio.searched = true;
        ratio.minHits = best == k ? k - 1 : best;
        ratio.maxHits = best == k ? k : best;
    }
}

} // namespace

void ExampleConditions(const ExampleInput& in, ConditionSet& set) {
    const int k = static_cast<int>(in.row.size());
    const int s = in.game.rowLength - in.game.prizeSpan;
    if (HasGroupConditions(in.game.gameId)) {
        FixedGroups(in, set.fixed);
        MobileGroups(in, s, set.mobile);
        Favoured(in, s, set.favoured);
    } else {
        set.fixed.active = set.mobile.active = set.favoured.active = false;
    }
    Parity(in.data.evenDecadeCount, k, set.decadeParity);
    Repetition(in.data.decades, k, set.decadeRepeat);
    HitRatio(in, set.hitRatio);
    Parity(in.data.evenCount, k, set.endingParity);
    Repetition(in.data.endings, k, set.endingRepeat);
    int sum = 0;
    for (const std::uint8_t number : in.row) {
        sum += number;
    }
    set.sum = {true, true, sum, sum};
    set.twins = {true, in.data.twinCount, in.data.twinCount};
    set.mirrors = {true, in.data.mirrorPairs, in.data.mirrorPairs};
}

std::string KenoExampleNotice(const GameInfo& game, ExampleSource source) {
    if (!game.isKeno) {
        return {};
    }
    const int k = game.rowLength;
    const std::string kText = std::to_string(k);
    std::string text;
    if (source == ExampleSource::Draw) {
        text = "A Kenó számok sorsolásán 20 számot sorsolnak ki.\r\rA választott játék " + kText +
               " darab szám kijelölését teszi lehetővé egy szelvényen. Az aktuális sorsolás "
               "(rendezett számsorának) első " +
               kText + " számából készül példabontás.\r\rAmennyiben a 20 számból másik " + kText +
               " szám példabontására is kíváncsi, használja a Példabontás | Saját számokkal "
               "menüpont kínálta lehetőséget - lásd: Súgó. \r20 számból: " +
               FormatThousands(static_cast<long long>(Binomial(game.drawnCount, k))) +
               " darab egymástól eltérő, " + kText + " számból álló számsor választható ki. ";
    }
    if (game.gameId < 12) {
        if (!text.empty()) {
            text += "\r\r";
        }
        text += "Teljes variáció: " +
                FormatThousands(static_cast<long long>(Binomial(game.maxNumber, k))) +
                " számsor.\r\rA példabontás (variáció) generálása a megszokottnál jóval hosszabb "
                "ideig (a számítógép teljesítményétől függően), akár órákig is tarthat.";
    }
    return text;
}

std::string ExampleTitle(ExampleSource source, int drawIndex) {
    switch (source) {
    case ExampleSource::Draw:
        return "  Példabontás készítése a(z) " + std::to_string(drawIndex) +
               ". húzás számsora alapján";
    case ExampleSource::Random:
        return "  Példabontás készítése véletlen számsor alapján";
    case ExampleSource::OwnNumbers:
        break;
    }
    return "  Példabontás készítése saját számok alapján";
}

} // namespace velmora
