#include "session/example_variation.h"

#include <gtest/gtest.h>

#include <functional>

#include "conditions/filter.h"

namespace velmora {
namespace {

std::vector<DrawRecord> Draws(const std::vector<std::vector<int>>& rows) {
    std::vector<DrawRecord> draws;
    for (const auto& row : rows) {
        DrawRecord d;
        d.drawNo = static_cast<int>(draws.size()) + 1;
        for (std::size_t i = 0; i < row.size(); ++i) {
            d.numbers[i] = static_cast<std::uint8_t>(row[i]);
        }
        draws.push_back(d);
    }
    return draws;
}

// Whether `row` passes `set` over every number of the game, as the example's run tests it.
bool Passes(const GameInfo& game, const ConditionSet& set, const std::vector<std::uint8_t>& row,
            const std::vector<DrawRecord>& draws) {
    std::vector<std::uint8_t> all;
    for (int n = 1; n <= game.maxNumber; ++n) {
        all.push_back(static_cast<std::uint8_t>(n));
    }
    ConditionFilter filter;
    filter.Prepare(set, SzamJelzoBeallitas(all, game.maxNumber), game, game.rowLength, &draws);
    std::vector<std::uint8_t> positions;
    for (const std::uint8_t n : row) {
        positions.push_back(static_cast<std::uint8_t>(n - 1));
    }
    WalkState walk;
    walk.positions = positions.data();
    walk.cursor = game.rowLength - 1;
    walk.drawCursor = set.hitRatio.firstDraw - 1;
    return filter.FeltVizsgalat(walk);
}

// Each derived condition, one step narrower: the example row must fail every one of them.
std::vector<std::pair<const char*, std::function<void(ConditionSet&)>>> Narrower(int k) {
    const auto exact = [k](std::int32_t& minimum, std::int32_t& maximum) {
        minimum = maximum = minimum < k - 1 ? minimum + 1 : minimum - 1;
    };
    return {
        {"favoured", [](ConditionSet& s) { ++s.favoured.first; }},
        {"mobile", [](ConditionSet& s) { ++s.mobile.groupSize; }},
        {"fixed", [](ConditionSet& s) { --s.fixed.maxPerGroup; }},
        {"decade parity",
         [exact](ConditionSet& s) { exact(s.decadeParity.minimum, s.decadeParity.maximum); }},
        {"decade repeat",
         [exact](ConditionSet& s) { exact(s.decadeRepeat.minimum, s.decadeRepeat.maximum); }},
        {"hit ratio",
         [](ConditionSet& s) {
             s.hitRatio.searched ? ++s.hitRatio.minHits : --s.hitRatio.minHits;
         }},
        {"ending parity",
         [exact](ConditionSet& s) { exact(s.endingParity.minimum, s.endingParity.maximum); }},
        {"ending repeat",
         [exact](ConditionSet& s) { exact(s.endingRepeat.minimum, s.endingRepeat.maximum); }},
        {"sum", [](ConditionSet& s) { s.sum.minimum = ++s.sum.maximum; }},
        {"twins", [exact](ConditionSet& s) { exact(s.twins.minimum, s.twins.maximum); }},
        {"mirrors", [exact](ConditionSet& s) { exact(s.mirrors.minimum, s.mirrors.maximum); }},
    };
}

bool Active(const ConditionSet& s, const char* name) {
    const std::string n = name;
    return n == "favoured"        ? s.favoured.active
           : n == "mobile"        ? s.mobile.active
           : n == "fixed"         ? s.fixed.active && s.fixed.maxPerGroup > 1
           : n == "decade parity" ? s.decadeParity.active
           : n == "decade repeat" ? s.decadeRepeat.active
           : n == "hit ratio"     ? s.hitRatio.active && (!s.hitRatio.searched ||
                                                      s.hitRatio.minHits == s.hitRatio.maxHits)
           : n == "ending parity" ? s.endingParity.active
           : n == "ending repeat" ? s.endingRepeat.active
                                  : true;
}

// The example row passes the conditions derived from it, and fails each of them narrowed by
// one step: they are the narrowest the row allows.
TEST(ExampleVariation, TheRowPassesItsConditionsAndNoNarrowerOnes) {
    const std::vector<DrawRecord> draws = Draws({{1, 2, 3, 4, 5},
                                                 {3, 17, 40, 50, 60},
                                                 {10, 20, 30, 40, 50},
                                                 {3, 17, 18, 70, 71},
                                                 {5, 6, 7, 8, 9}});
    const struct {
        GameId game;
        std::vector<std::uint8_t> row;
        int drawArgument;
    } cases[] = {
        {0, {3, 17, 18, 44, 86}, 6},
        {0, {11, 22, 29, 45, 90}, 6},
        {1, {2, 9, 10, 11, 30, 45}, 0},
        {2, {1, 5, 9, 14, 20, 27, 33}, 0},
        {8, {4, 9, 15, 22, 23, 38, 47, 61, 70, 80}, 0},
    };
    for (const auto& c : cases) {
        const GameInfo game = LoadGameInfo(c.game);
        SCOPED_TRACE(game.gameId);
        ExampleInput input;
        input.game = game;
        input.row = c.row;
        input.data = SzamJelzoBeallitas(c.row, game.maxNumber);
        input.draws = c.game == 0 ? &draws : nullptr;
        input.firstDraw = 1;
        input.lastDraw = 5;
        input.drawArgument = c.drawArgument;
        ConditionSet set;
        ExampleConditions(input, set);
        const std::vector<DrawRecord> used = c.game == 0 ? draws : std::vector<DrawRecord>{};
        ASSERT_TRUE(Passes(game, set, c.row, used));
        EXPECT_TRUE(set.sum.active && set.twins.active && set.mirrors.active);
        for (const auto& [name, narrow] : Narrower(game.rowLength)) {
            if (!Active(set, name)) {
                continue;
            }
            ConditionSet narrower = set;
            narrow(narrower);
            EXPECT_FALSE(Passes(game, narrower, c.row, used)) << name;
        }
    }
}

// The Part's own cases: three consecutive numbers leave the mobile groups off; an example from
// one of the first two draws has no hit ratio; the smallest Keno games get no group conditions.
TEST(ExampleVariation, ConditionsLeftOff) {
    const std::vector<DrawRecord> draws = Draws({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
    ExampleInput input;
    input.game = LoadGameInfo(0);
    input.row = {1, 2, 3, 4, 5};
    input.data = SzamJelzoBeallitas(input.row, 90);
    input.draws = &draws;
    input.lastDraw = 2;
    input.drawArgument = 2;
    ConditionSet set;
    ExampleConditions(input, set);
    EXPECT_FALSE(set.mobile.active);
    EXPECT_FALSE(set.hitRatio.active);
    input.drawArgument = 3;
    ExampleConditions(input, set);
    EXPECT_TRUE(set.hitRatio.active);
    EXPECT_TRUE(set.hitRatio.searched) << "draw 1 holds the whole row";
    EXPECT_EQ(std::pair(set.hitRatio.minHits, set.hitRatio.maxHits), std::pair(4, 5));

    for (const GameId keno : {15, 16}) {
        ConditionSet small;
        small.fixed.active = small.mobile.active = small.favoured.active = true;
        input.game = LoadGameInfo(keno);
        input.row = {10, 20, 30};
        input.row.resize(static_cast<std::size_t>(input.game.rowLength));
        input.data = SzamJelzoBeallitas(input.row, input.game.maxNumber);
        input.draws = nullptr;
        ExampleConditions(input, small);
        EXPECT_FALSE(small.fixed.active || small.mobile.active || small.favoured.active) << keno;
    }
}

TEST(ExampleVariation, KenoNoticesAndTitles) {
    const std::string draw10 = KenoExampleNotice(LoadGameInfo(8), ExampleSource::Draw);
    EXPECT_NE(draw10.find("20 számból: 184 756 darab egymástól eltérő, 10 számból álló"),
              std::string::npos);
    EXPECT_NE(draw10.find(" választható ki. \r\rTeljes variáció: 1 646 492 110 120 számsor."),
              std::string::npos);
    const GameInfo keno5 = LoadGameInfo(13);
    ASSERT_EQ(keno5.rowLength, 5);
    EXPECT_EQ(KenoExampleNotice(keno5, ExampleSource::Random), "");
    EXPECT_EQ(KenoExampleNotice(keno5, ExampleSource::OwnNumbers), "");
    const std::string draw5 = KenoExampleNotice(keno5, ExampleSource::Draw);
    EXPECT_TRUE(draw5.starts_with("A Kenó számok sorsolásán 20 számot sorsolnak ki.\r\rA "
                                  "választott játék 5 darab szám kijelölését"));
    EXPECT_EQ(draw5.find("Teljes variáció"), std::string::npos);
    EXPECT_EQ(KenoExampleNotice(LoadGameInfo(0), ExampleSource::Draw), "");
    EXPECT_EQ(ExampleTitle(ExampleSource::Draw, 1234),
              "  Példabontás készítése a(z) 1234. húzás számsora alapján");
    EXPECT_EQ(ExampleTitle(ExampleSource::Random, 0),
              "  Példabontás készítése véletlen számsor alapján");
    EXPECT_EQ(ExampleTitle(ExampleSource::OwnNumbers, 0),
              "  Példabontás készítése saját számok alapján");
}

} // namespace
} // namespace velmora
