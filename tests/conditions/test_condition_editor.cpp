#include "conditions/condition_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/binary_io.h"
#include "common/hu_format.h"
#include "fakes/fake_messages.h"

namespace velmora {
namespace {

using testing::FakeMessages;

const std::string kNotInterpretable = "A kijelölt számsorral nem értelmezhető a feltétel.";

std::vector<std::uint8_t> Numbers(std::initializer_list<int> list) {
    return {list.begin(), list.end()};
}

std::vector<std::uint8_t> Range(int first, int last) {
    std::vector<std::uint8_t> v;
    for (int x = first; x <= last; ++x) {
        v.push_back(static_cast<std::uint8_t>(x));
    }
    return v;
}

// The kind of the last message; the editor never asks three-way questions, so that stands for
// "nothing shown".
MessageKind LastKind(const FakeMessages& messages) {
    return messages.Count() > 0 ? messages.Last().kind : MessageKind::ThreeWayQuestion;
}

std::string RangeText(const std::string& name, const std::string& min, const std::string& max) {
    return "Érvénytelen paraméter.\r\r" + name + " értékhatárok:\r    - minimum : " + min +
           "\r    - maximum: " + max;
}

class EditorTest : public ::testing::Test {
protected:
    // A 5/90 ticket with `fixedCount` fixed numbers besides V and a database of 120 draws.
    void Use(std::vector<std::uint8_t> v, int fixedCount = 0) {
        context.variationNumbers = std::move(v);
        context.maxNumber = 90;
        context.rowLength = 5;
        context.variationRowLength = 5 - fixedCount;
        context.hasDatabase = true;
        context.drawCount = 120;
        context.hitRatioFirst = 1;
        context.hitRatioLast = 120;
        editor.Prepare(context);
    }
    IntRange Limits(Field field) const { return editor.Limits(field); }

    ConditionSet set;
    FakeMessages messages;
    std::array<bool, kNoticeCount> notices{};
    ConditionEditor editor{set, messages, notices};
    ConditionContext context;
};

void ExpectRange(IntRange range, int min, int max) {
    EXPECT_EQ(range.minimum, min);
    EXPECT_EQ(range.maximum, max);
}

// --- Activation refusals ---------------------------------------------------------------------

TEST_F(EditorTest, ConditionsMeaninglessForTheTicketAreRefused) {
    struct Case {
        std::vector<std::uint8_t> v;
        Condition condition;
    };
    const Case cases[] = {
        {Numbers({2, 4, 6, 8, 12, 14, 16, 18}), Condition::EndingParity}, // all even
        {Numbers({1, 3, 5, 7, 9, 2, 4, 6}), Condition::DecadeParity},     // one decade
        {Numbers({1, 4, 6, 8, 9, 10, 12, 14}), Condition::Primes},        // no prime
        {Numbers({1, 2, 3, 4, 5, 6, 7, 8}), Condition::Twins},
        {Numbers({11, 22, 33, 1, 2, 3, 4, 5}), Condition::Mirrors}, // twins pair with nobody
        {Numbers({5, 15, 25, 35, 45, 55, 65, 75}), Condition::DecadeRepeat}, // nothing repeats
        {Numbers({1, 2, 3, 4, 5, 6, 7, 8}), Condition::DecadeRepeat}, // nothing outside the class
        {Numbers({1, 11, 21, 31, 41, 51, 61, 71}), Condition::EndingRepeat},
        {Range(1, 8), Condition::Mobile}, // |V| = k + 3
    };
    for (const Case& c : cases) {
        Use(c.v);
        messages.Clear();
        set.primes.minimum = 3; // a refusal leaves the record as it was
        EXPECT_FALSE(editor.SetActive(c.condition, true)) << static_cast<int>(c.condition);
        EXPECT_FALSE(set.AnyActive());
        ASSERT_EQ(messages.Count(), 1u);
        EXPECT_EQ(LastKind(messages), MessageKind::Error);
        EXPECT_EQ(messages.LastText(), kNotInterpretable);
        EXPECT_EQ(set.primes.minimum, 3);
    }
}

TEST_F(EditorTest, MeaningfulConditionsAreAcceptedSilently) {
    Use(Numbers({12, 21, 13, 31, 22, 44, 7, 8, 9})); // |V| = k + 4
    for (Condition c :
         {Condition::Mobile, Condition::Mirrors, Condition::Twins, Condition::Primes,
          Condition::DecadeParity, Condition::EndingParity, Condition::EndingRepeat}) {
        EXPECT_TRUE(editor.SetActive(c, true)) << static_cast<int>(c);
    }
    EXPECT_EQ(messages.Count(), 0u);
    ExpectRange(Limits(Field::MirrorsMax), 0, 2); // 12-21 and 13-31
}

TEST_F(EditorTest, HitRatioNeedsTheDrawsDatabase) {
    context.hasDatabase = false;
    context.variationNumbers = Range(1, 20);
    context.maxNumber = 90;
    context.rowLength = context.variationRowLength = 5;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetActive(Condition::HitRatio, true));
    EXPECT_FALSE(set.hitRatio.active);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(editor.HitRatioPageText(), " Hiányzik a húzások listája. ");
}

TEST_F(EditorTest, TwinsAndMirrorPairsRefuseEachOtherAtTheEdge) {
    Use(Numbers({11, 22, 33, 44, 12, 21, 13, 31, 5}), 1); // n = 4
    ASSERT_TRUE(editor.SetActive(Condition::Mirrors, true));
    editor.SetValue(Field::MirrorsMin, 2);
    EXPECT_FALSE(editor.SetActive(Condition::Twins, true));
    EXPECT_EQ(LastKind(messages), MessageKind::Error);
    EXPECT_EQ(messages.LastText(), "A Tükör számpár feltétel kijelölése miatt, nem értelmezhető "
                                   "az Ikerszám feltétel.");
    editor.SetValue(Field::MirrorsMin, 1);
    EXPECT_TRUE(editor.SetActive(Condition::Twins, true));

    editor.SetActive(Condition::Mirrors, false);
    editor.SetValue(Field::TwinsMin, 3);
    messages.Clear();
    EXPECT_FALSE(editor.SetActive(Condition::Mirrors, true));
    EXPECT_EQ(messages.LastText(), "Az Ikerszám feltétel kijelölése miatt, nem értelmezhető a "
                                   "Tükör számpár feltétel.");
    editor.SetValue(Field::TwinsMin, 2);
    EXPECT_TRUE(editor.SetActive(Condition::Mirrors, true));
}

TEST_F(EditorTest, SumOnScatteredNumbersAsksForApproval) {
    Use(Numbers({1, 2, 3, 4, 5, 7}));
    EXPECT_FALSE(editor.SetActive(Condition::Sum, true));
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(LastKind(messages), MessageKind::Confirmation);
    EXPECT_EQ(messages.LastText(),
              "A kijelölt számok nem szomszédosak (...9,10,11,12...) egymással.\rCsak a kijelölt "
              "számokból álló számsorokhoz tartozhat összeg.\r\rMégis kijelöli a feltételt?");
    EXPECT_FALSE(set.sum.active);

    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.SetActive(Condition::Sum, true));
    EXPECT_EQ(set.sum.minimum, 15); // the default 3 fitted to the smallest sum
    EXPECT_EQ(set.sum.maximum, 15);

    Use(Range(10, 16));
    messages.Clear();
    EXPECT_TRUE(editor.SetActive(Condition::Sum, true));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(EditorTest, SpanAndNumberGroupNoticesFollowTheirRemindFlags) {
    const std::string notice = "A kijelölt feltétel esetében, a program nem vizsgálja a többi "
                               "feltétellel történő ütközés lehetőségét.\r\rErre legközelebb is "
                               "emlékeztesse a program?";
    Use(Range(1, 20));
    notices[kNoticeSpan] = true;
    notices[kNoticeNumberGroups] = true;
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.SetActive(Condition::Span, true));
    EXPECT_EQ(LastKind(messages), MessageKind::Notice);
    EXPECT_EQ(messages.LastText(), notice);
    EXPECT_TRUE(notices[kNoticeSpan]);

    editor.SetActive(Condition::Span, true); // answered No this time
    EXPECT_FALSE(notices[kNoticeSpan]);
    messages.Clear();
    editor.SetActive(Condition::Span, true);
    EXPECT_EQ(messages.Count(), 0u);

    EXPECT_TRUE(editor.SetActive(Condition::NumberGroups, true));
    EXPECT_EQ(messages.LastText(), notice);
    EXPECT_FALSE(notices[kNoticeNumberGroups]);
    EXPECT_FALSE(notices[kNoticeSpan]);
}

// --- Defaults and limits ---------------------------------------------------------------------

TEST_F(EditorTest, LimitsForOneToTwenty) {
    Use(Range(1, 20));
    for (int c = 0; c < kConditionCount; ++c) {
        if (static_cast<Condition>(c) != Condition::Mobile) {
            editor.SetActive(static_cast<Condition>(c), true);
        }
    }
    ExpectRange(Limits(Field::FavouredLast), 1, 20);
    ExpectRange(Limits(Field::FavouredFirst), 1, 1);
    ExpectRange(Limits(Field::FixedSize), 2, 10);
    ExpectRange(Limits(Field::DecadeParityMin), 1, 5);
    ExpectRange(Limits(Field::EndingParityMax), 1, 5);
    ExpectRange(Limits(Field::HitRatioMin), 1, 5);
    ExpectRange(Limits(Field::SumMin), 15, 90);
    ExpectRange(Limits(Field::TwinsMax), 0, 1);
    ExpectRange(Limits(Field::PrimesMax), 0, 5); // eight primes, five numbers a row
    ExpectRange(Limits(Field::SpanFirst), 1, 15);
    ExpectRange(Limits(Field::SpanLast), 6, 20);
    ExpectRange(Limits(Field::NumberGroupCount), 1, 5);
    ExpectRange(Limits(Field::ErrorPoints), 0, 4);
    ExpectRange(Limits(Field::DecadeRepeatMax), 0, 4); // a row repeats at most n - 1 times
    EXPECT_EQ(set.span.first, 1);
    EXPECT_EQ(set.span.last, 20);
    EXPECT_EQ(set.hitRatio.minHits, 5);
    EXPECT_EQ(set.hitRatio.maxHits, 5);

    Use(Range(1, 20), 2); // n = 3
    ExpectRange(Limits(Field::ErrorPoints), 0, 2);
    ExpectRange(Limits(Field::SpanLast), 4, 20);
    ExpectRange(Limits(Field::OverwriteHits), 1, 2);
}

TEST_F(EditorTest, ParityLimitsFollowTheKindChosen) {
    Use(Numbers({2, 4, 6, 1, 3, 5, 7, 9, 11, 13})); // 3 even, 7 odd numbers
    editor.SetActive(Condition::EndingParity, true);
    ExpectRange(Limits(Field::EndingParityMin), 1, 3);
    editor.SetValue(Field::EndingParityMax, 3);
    editor.SetParityKind(Condition::EndingParity, false);
    ExpectRange(Limits(Field::EndingParityMin), 2, 5); // at most 3 even ones leave 2 odd
    EXPECT_EQ(set.endingParity.minimum, 2);
    EXPECT_EQ(set.endingParity.maximum, 3);
}

TEST_F(EditorTest, RepetitionLimitsDependOnTheChoice) {
    Use(Numbers({1, 2, 3, 11, 12, 25, 37, 45})); // decades 0:3, 1:2, 2, 3, 4
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(set.decadeRepeat.oneGroup);
    ExpectRange(Limits(Field::DecadeRepeatMax), 0, 2);
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    ExpectRange(Limits(Field::DecadeRepeatMax), 0, 3);
    editor.SetValue(Field::DecadeRepeatMin, 3);
    EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    EXPECT_EQ(set.decadeRepeat.minimum, 2);
    EXPECT_EQ(set.decadeRepeat.maximum, 2);
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(EditorTest, GroupMaximumHasARaisedLowerLimit) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Mobile, true);
    ExpectRange(Limits(Field::MobileSize), 2, 16);
    ExpectRange(Limits(Field::MobileMax), 1, 1);
    editor.SetValue(Field::MobileSize, 3);
    ExpectRange(Limits(Field::MobileMax), 1, 2);
    editor.SetValue(Field::MobileSize, 6); // 3 groups of 6 need 2 each to reach 5
    ExpectRange(Limits(Field::MobileMax), 2, 4);
    EXPECT_EQ(set.mobile.maxPerGroup, 2);
    editor.SetValue(Field::MobileSize, 16); // one group: capped at the upper limit
    ExpectRange(Limits(Field::MobileMax), 4, 4);
    editor.SetValue(Field::MobileSize, 3);
    EXPECT_EQ(set.mobile.maxPerGroup, 2);

    editor.SetActive(Condition::Fixed, true);
    editor.SetValue(Field::FixedSize, 10);
    ExpectRange(Limits(Field::FixedMax), 3, 4);
    EXPECT_EQ(set.fixed.maxPerGroup, 3);
}

// --- Push rules ------------------------------------------------------------------------------

TEST_F(EditorTest, MinimumAndMaximumPushEachOther) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Primes, true);
    EXPECT_EQ(editor.SetValue(Field::PrimesMin, 4), 4);
    EXPECT_EQ(set.primes.maximum, 4);
    EXPECT_EQ(editor.SetValue(Field::PrimesMax, 2), 2);
    EXPECT_EQ(set.primes.minimum, 2);
    EXPECT_EQ(editor.SetValue(Field::PrimesMax, 9), 5);

    editor.SetActive(Condition::Span, true); // n = 5: a span keeps five positions
    editor.SetValue(Field::SpanFirst, 12);
    EXPECT_EQ(set.span.last, 20);
    editor.SetValue(Field::SpanLast, 8);
    EXPECT_EQ(set.span.first, 4);
    editor.SetValue(Field::SpanFirst, 6);
    EXPECT_EQ(set.span.last, 10);
    EXPECT_EQ(editor.SpanLabel(), "-dik számig, 5 szám variációja.");
    editor.SetActive(Condition::Span, false);
    EXPECT_EQ(editor.SpanLabel(), "-dik számig, 20 szám variációja.");
}

TEST_F(EditorTest, FavouredRangeBoundsItsHits) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Favoured, true);
    EXPECT_EQ(editor.SetValue(Field::FavouredFirst, 5), 1); // first cannot pass last
    editor.SetValue(Field::FavouredLast, 12);
    editor.SetValue(Field::FavouredFirst, 3);
    ExpectRange(Limits(Field::FavouredMaxHits), 0, 5);
    editor.SetValue(Field::FavouredMaxHits, 5);
    editor.SetValue(Field::FavouredMinHits, 4);
    editor.SetValue(Field::FavouredLast, 4); // two positions left
    EXPECT_EQ(set.favoured.first, 3);
    EXPECT_EQ(set.favoured.maxHits, 2);
    EXPECT_EQ(set.favoured.minHits, 2);
    editor.SetValue(Field::FavouredLast, 2);
    EXPECT_EQ(set.favoured.first, 2);
    EXPECT_EQ(set.favoured.maxHits, 1);
    EXPECT_FALSE(editor.SetActive(Condition::Favoured, false)); // unchecking writes the defaults
    EXPECT_EQ(set.favoured.first, 1);
    EXPECT_EQ(set.favoured.last, 1);
}

TEST_F(EditorTest, TwinsAndMirrorPairsShareTheRow) {
    Use(Numbers({11, 22, 33, 12, 21, 13, 31, 5, 6})); // 3 twins, 2 mirror pairs, n = 5
    editor.SetActive(Condition::Mirrors, true);
    editor.SetValue(Field::MirrorsMax, 2);
    editor.SetActive(Condition::Twins, true);
    ExpectRange(Limits(Field::TwinsMax), 0, 1);
    EXPECT_EQ(editor.SetValue(Field::TwinsMax, 3), 1);
    editor.SetValue(Field::MirrorsMax, 1);
    EXPECT_EQ(editor.SetValue(Field::TwinsMax, 3), 3);
    ExpectRange(Limits(Field::MirrorsMax), 0, 1);
    // Unchecking the twins frees the mirror pairs again.
    editor.SetActive(Condition::Twins, false);
    ExpectRange(Limits(Field::MirrorsMax), 0, 2);
}

TEST_F(EditorTest, NumberGroupSlotsKeepTheirOrder) {
    Use(Range(1, 20));
    editor.SetActive(Condition::NumberGroups, true);
    EXPECT_EQ(editor.SetValue(Field::NumberGroupCount, 9), 5);
    EXPECT_EQ(editor.SetSlotValue(0, SlotField::First, 7), 7);
    EXPECT_EQ(set.numberGroups.groups[0].last, 7);
    EXPECT_EQ(editor.SetSlotValue(0, SlotField::MaxHits, 3), 1); // one position
    editor.SetSlotValue(0, SlotField::Last, 10);
    EXPECT_EQ(editor.SetSlotValue(0, SlotField::MinHits, 3), 3);
    EXPECT_EQ(set.numberGroups.groups[0].maxHits, 3);
    editor.SetSlotValue(0, SlotField::Last, 8);
    EXPECT_EQ(set.numberGroups.groups[0].maxHits, 2);
    EXPECT_EQ(set.numberGroups.groups[0].minHits, 2);
    editor.SetSlotValue(0, SlotField::Last, 5);
    EXPECT_EQ(set.numberGroups.groups[0].first, 5);
    EXPECT_EQ(set.numberGroups.groups[1].first, 1); // the other slots are untouched
}

TEST_F(EditorTest, TypedSumOutOfRangeIsReportedAndReset) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Sum, true);
    EXPECT_EQ(editor.SetValue(Field::SumMin, 10), 15);
    EXPECT_EQ(LastKind(messages), MessageKind::RangeError);
    EXPECT_EQ(messages.LastText(), RangeText("Fix összeg", "15", "90"));
    EXPECT_EQ(editor.SetValue(Field::SumMin, 51), 51);
    EXPECT_EQ(set.sum.maximum, 51);
    EXPECT_EQ(editor.SumFieldHint(), " Minimum : 15\r Maximum : 90 ");

    messages.Clear();
    editor.SetSumFixed(false);
    EXPECT_EQ(set.sum.maximum, 52);
    EXPECT_EQ(editor.SetValue(Field::SumMax, 40), 52);
    EXPECT_EQ(messages.LastText(), RangeText("Összeg maximuma", "52", "90"));
    editor.SetValue(Field::SumMin, 70);
    EXPECT_EQ(set.sum.maximum, 71);
    EXPECT_EQ(messages.Count(), 1u);
    editor.SetSumFixed(true);
    EXPECT_EQ(set.sum.maximum, 70);
}

// --- Standard deviation ----------------------------------------------------------------------

RealRange BruteDeviation(const std::vector<std::uint8_t>& v, int n) {
    RealRange range{1e9, 0};
    const int size = static_cast<int>(v.size());
    for (unsigned mask = 0; mask < (1u << size); ++mask) {
        if (__builtin_popcount(mask) != n) {
            continue;
        }
        double sum = 0, squares = 0;
        for (int i = 0; i < size; ++i) {
            if (mask & (1u << i)) {
                sum += v[static_cast<std::size_t>(i)];
            }
        }
        const double mean = sum / n;
        for (int i = 0; i < size; ++i) {
            if (mask & (1u << i)) {
                squares += (v[static_cast<std::size_t>(i)] - mean) *
                           (v[static_cast<std::size_t>(i)] - mean);
            }
        }
        const double s = std::sqrt(squares / (n - 1));
        range.minimum = std::min(range.minimum, s);
        range.maximum = std::max(range.maximum, s);
    }
    return range;
}

TEST_F(EditorTest, DeviationLimitsCoverEveryRow) {
    for (const auto& v : {Numbers({40, 3, 7, 8, 15, 22, 23, 31, 41, 57, 58, 88}), Range(1, 14),
                          Numbers({1, 2, 3, 50, 51, 52, 88, 89, 90, 44})}) {
        for (int fixed : {0, 1, 3}) {
            Use(v, fixed);
            const RealRange exact = BruteDeviation(v, 5 - fixed);
            const RealRange limits = editor.DeviationLimits();
            EXPECT_LE(limits.minimum, exact.minimum);
            EXPECT_GT(limits.minimum, exact.minimum - 0.01);
            EXPECT_GE(limits.maximum, exact.maximum);
            EXPECT_LT(limits.maximum, exact.maximum + 0.01);
        }
    }
}

TEST_F(EditorTest, DeviationFieldsReportTypedValuesOutsideTheLimits) {
    Use(Range(1, 20));
    const RealRange limits = editor.DeviationLimits();
    EXPECT_DOUBLE_EQ(limits.minimum, 1.58); // 1, 2, 3, 4, 5: sqrt(2.5)
    const std::string max = FormatDecimal(limits.maximum, 2);
    EXPECT_EQ(editor.DeviationHint(), " Szórás értékhatárok: \r  - minimum : 1,58\r  - maximum : " +
                                          max + " +- 0,01 tűrés a kerekítések okán ");
    editor.SetActive(Condition::Deviation, true);
    editor.SetDeviationMinimum(0.5);
    EXPECT_EQ(messages.LastText(), RangeText("Szórás minimuma", "1,58", max));
    EXPECT_FLOAT_EQ(set.deviation.minimum, 1.58f);
    editor.SetDeviationMaximum(99);
    EXPECT_EQ(messages.LastText(), RangeText("Szórás maximuma", "1,58", max));
    EXPECT_FLOAT_EQ(set.deviation.maximum, static_cast<float>(limits.maximum));
    messages.Clear();
    editor.SetDeviationMinimum(4.25);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FLOAT_EQ(set.deviation.minimum, 4.25f);
}

// --- Choice checks ---------------------------------------------------------------------------

TEST_F(EditorTest, SeveralOfAKindNeedsMoreThanHalfTheRow) {
    // decades: 0 (even) three times, 1 (odd) five times
    const auto v = Numbers({1, 2, 3, 11, 12, 13, 14, 15});
    context.variationNumbers = v;
    context.maxNumber = 90;
    context.rowLength = context.variationRowLength = 6;
    editor.Prepare(context);
    editor.SetActive(Condition::DecadeParity, true);
    EXPECT_FALSE(editor.SetParityRatio(Condition::DecadeParity, false)); // 3 is not above 6/2
    EXPECT_EQ(LastKind(messages), MessageKind::Warning);
    EXPECT_EQ(messages.LastText(), "A kijelölt páros számcsoportok mennyisége, nem teszi "
                                   "lehetővé a feltétel alkalmazását.");
    EXPECT_TRUE(set.decadeParity.fixedRatio);

    editor.SetParityKind(Condition::DecadeParity, false);
    EXPECT_TRUE(editor.SetParityRatio(Condition::DecadeParity, false));
    EXPECT_FALSE(set.decadeParity.fixedRatio);
    EXPECT_EQ(set.decadeParity.minimum, 3); // n div 2
    messages.Clear();
    EXPECT_FALSE(editor.SetParityKind(Condition::DecadeParity, true));
    EXPECT_EQ(messages.Count(), 1u);
    EXPECT_TRUE(set.decadeParity.fixedRatio);
    EXPECT_TRUE(set.decadeParity.even);

    context.rowLength = context.variationRowLength = 5; // 3 is above 5/2
    editor.Prepare(context);
    EXPECT_TRUE(editor.SetParityRatio(Condition::DecadeParity, false));
    EXPECT_EQ(set.decadeParity.minimum, 2);
}

TEST_F(EditorTest, EachParityRefusalHasItsText) {
    struct Case {
        std::vector<std::uint8_t> v;
        Condition condition;
        bool even;
        const char* text;
    };
    const Case cases[] = {
        {Numbers({1, 2, 3, 4, 5, 6, 11, 12}), Condition::DecadeParity, false,
         "A kijelölt páratlan számcsoportok mennyisége, nem teszi lehetővé a feltétel "
         "alkalmazását."},
        {Numbers({1, 3, 5, 7, 2, 4, 11, 13}), Condition::EndingParity, true,
         "A kijelölt páros számok mennyisége, nem teszi lehetővé a feltétel alkalmazását."},
        {Numbers({2, 4, 6, 8, 10, 12, 1, 3}), Condition::EndingParity, false,
         "A kijelölt páratlan számok mennyisége, nem teszi lehetővé a feltétel alkalmazását."},
    };
    for (const Case& c : cases) {
        Use(c.v);
        editor.SetActive(c.condition, true);
        editor.SetParityKind(c.condition, c.even);
        messages.Clear();
        EXPECT_FALSE(editor.SetParityRatio(c.condition, false));
        EXPECT_EQ(messages.LastText(), c.text);
        // The other kind is plentiful.
        editor.SetParityKind(c.condition, !c.even);
        EXPECT_TRUE(editor.SetParityRatio(c.condition, false));
        EXPECT_EQ(messages.Count(), 1u);
    }
}

TEST_F(EditorTest, DecadeRepetitionChoiceIsForcedByTheTicket) {
    Use(Numbers({1, 2, 3, 15, 25, 35, 45, 55})); // only decade 0 can repeat
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    EXPECT_EQ(LastKind(messages), MessageKind::Warning);
    EXPECT_EQ(messages.LastText(), "A kijelölt számsor alapján, csak egy számcsoport ismétlődhet.");
    EXPECT_TRUE(set.decadeRepeat.oneGroup);

    // Three pairs of decades: any five of the six numbers repeat two decades.
    messages.Clear();
    Use(Numbers({1, 2, 11, 12, 21, 22}));
    EXPECT_TRUE(editor.SetActive(Condition::DecadeRepeat, true));
    EXPECT_EQ(messages.LastText(),
              "A kijelölt számsor alapján, csak több számcsoport ismétlődhet.");
    EXPECT_FALSE(set.decadeRepeat.oneGroup);
    ExpectRange(Limits(Field::DecadeRepeatMax), 0, 3);
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    EXPECT_EQ(messages.Count(), 2u);

    // With a fourth decade the row 1, 2, 11, 21, 31 keeps to one repeating decade.
    messages.Clear();
    Use(Numbers({1, 2, 11, 12, 21, 22, 31}));
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(set.decadeRepeat.oneGroup);
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    // Few decades but a large one: 1, 2, 3, 4, 11 repeats decade 0 only.
    Use(Numbers({1, 2, 3, 4, 11, 12}));
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(set.decadeRepeat.oneGroup);
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(EditorTest, HitRatioSourceRefusals) {
    Use(Range(1, 20));
    context.hitRatioFirst = 5;
    context.hitRatioLast = 300;
    editor.Prepare(context);
    editor.SetActive(Condition::HitRatio, true);
    EXPECT_EQ(set.hitRatio.firstDraw, 5);
    EXPECT_EQ(set.hitRatio.lastDraw, 120);
    EXPECT_EQ(editor.HitRatioPageText(), "5 - 120. húzásokkal összehasonlítva.");
    editor.SetHitRatioDraws(120, 120);
    EXPECT_EQ(set.hitRatio.firstDraw, 1);

    EXPECT_TRUE(editor.SetHitRatioFromDraws(true));
    editor.SetHitRatioSearched(false);
    EXPECT_FALSE(set.hitRatio.fromDraws);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    EXPECT_EQ(messages.LastText(),
              "Kizárt találati arány. Nem értelmezett a húzások listájából készített lista.");

    editor.SetHitRatioSearched(true);
    context.extensionMode = true;
    context.isKeno = true;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    EXPECT_EQ(messages.LastText(), "Ha aktív a \"Variáció bővítése\" opció, nem készíthető "
                                   "variáció a húzások listája alapján.");
    context.extensionMode = false;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    EXPECT_EQ(messages.LastText(), "Kenóra nem készíthető variáció a húzások listája alapján.\r\r"
                                   "(Egy sorsolás alkalmával 20 számot húznak.)");
    EXPECT_FALSE(set.hitRatio.fromDraws);
    EXPECT_EQ(messages.Count(), 3u);
}

// --- Error points and options ----------------------------------------------------------------

TEST_F(EditorTest, OptionsFollowTheErrorPoints) {
    Use(Range(1, 20));
    EXPECT_EQ(editor.SetValue(Field::ErrorPoints, 9), 4);
    editor.SetValue(Field::ErrorPoints, 0);
    EXPECT_FALSE(editor.SetFrequencyDistribution(true));
    EXPECT_FALSE(editor.SetOptimised(true));
    editor.SetValue(Field::ErrorPoints, 1);
    EXPECT_TRUE(editor.SetFrequencyDistribution(true));
    EXPECT_FALSE(editor.SetOptimised(true));
    EXPECT_FALSE(editor.SetOverwrite(true)); // not extending
    editor.SetValue(Field::ErrorPoints, 0);
    EXPECT_FALSE(set.options.frequencyDistribution);

    editor.SetValue(Field::ErrorPoints, 3);
    EXPECT_TRUE(editor.SetOptimised(true));
    EXPECT_EQ(editor.OptimisedHint(),
              " 3 hibapontos variáció számsorainak optimalizált "
              "kiválasztása. \r Az így kapott variáció 2 hibapontos lesz. ");
    editor.SetValue(Field::ErrorPoints, 1);
    EXPECT_FALSE(set.options.optimised);

    context.extensionMode = true;
    editor.Prepare(context);
    editor.SetValue(Field::ErrorPoints, 2);
    editor.SetOptimised(true);
    set.options.itemised = false;
    EXPECT_TRUE(editor.SetOverwrite(true));
    EXPECT_FALSE(set.options.optimised);
    EXPECT_EQ(set.options.overwriteHits, 3); // n minus the error points
    EXPECT_TRUE(set.options.itemised);
    EXPECT_TRUE(set.options.overwriteWithErrorPoints);
    EXPECT_TRUE(editor.SetOptimised(true));
    EXPECT_FALSE(set.options.overwrite);
}

TEST_F(EditorTest, ItemisedRangeIsTypedAndPushed) {
    Use(Range(1, 20));
    EXPECT_EQ(editor.SetValue(Field::ItemisedFrom, 0), 1);
    EXPECT_EQ(messages.LastText(), RangeText("Tételes felülírás", "1", "30000"));
    editor.SetValue(Field::ItemisedFrom, 500);
    EXPECT_EQ(set.options.itemisedTo, 500);
    EXPECT_EQ(editor.SetValue(Field::ItemisedTo, 40000), 30000);
    EXPECT_EQ(messages.Count(), 2u);
}

// --- Checks before generation ----------------------------------------------------------------

class SumParityTest : public EditorTest {
protected:
    // Sum fixed at `sum`; ending ratio "Fix" with exactly `count` numbers of the kind.
    bool Check(int sum, bool even, int count) {
        Use(Range(1, 20));
        editor.SetActive(Condition::Sum, true);
        editor.SetValue(Field::SumMin, sum);
        editor.SetActive(Condition::EndingParity, true);
        editor.SetParityKind(Condition::EndingParity, even);
        editor.SetValue(Field::EndingParityMin, count);
        editor.SetValue(Field::EndingParityMax, count);
        messages.Clear();
        return editor.OsszegEll();
    }
};

TEST_F(SumParityTest, FixedSumMustMatchTheOddCount) {
    EXPECT_TRUE(Check(51, true, 2)); // three odd numbers: odd sums only
    EXPECT_EQ(messages.Count(), 0u);

    EXPECT_FALSE(Check(50, true, 2));
    EXPECT_EQ(LastKind(messages), MessageKind::Warning);
    EXPECT_EQ(messages.LastText(), "A számvégződések páros-páratlan találati aránya szerint, csak "
                                   "páratlan összegű számsor szerepelhet a variációban.");

    EXPECT_FALSE(Check(51, false, 2)); // two odd numbers: even sums only
    EXPECT_EQ(messages.LastText(), "A számvégződések páros-páratlan találati aránya szerint, csak "
                                   "páros összegű számsor szerepelhet a variációban.\r\rA Számsor "
                                   "összege feltétel fix értéke páratlan.");
    EXPECT_TRUE(Check(50, false, 2));

    // An open ratio or a sum range decides nothing.
    Check(51, false, 2);
    messages.Clear();
    editor.SetValue(Field::EndingParityMax, 3);
    EXPECT_TRUE(editor.OsszegEll());
    editor.SetValue(Field::EndingParityMax, 2);
    editor.SetSumFixed(false);
    EXPECT_TRUE(editor.OsszegEll());
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(SumParityTest, ReturningToFixedRatioTellsTheSumParity) {
    Check(51, true, 2);
    EXPECT_TRUE(editor.SetParityRatio(Condition::EndingParity, true)); // no change, no message
    ASSERT_TRUE(editor.SetParityRatio(Condition::EndingParity, false));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_TRUE(editor.SetParityRatio(Condition::EndingParity, true));
    EXPECT_EQ(LastKind(messages), MessageKind::Information);
    EXPECT_EQ(messages.LastText(), "A számsor összege feltétel beállítása szerint, csak "
                                   "páratlan összegű számsor szerepelhet a variációban.");
}

TEST_F(EditorTest, DeviationMinimumAboveMaximumStopsGeneration) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Deviation, true);
    editor.SetDeviationMaximum(3);
    editor.SetDeviationMinimum(5);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(editor.CheckBeforeGeneration());
    EXPECT_EQ(LastKind(messages), MessageKind::RangeError);
    EXPECT_EQ(messages.LastText(), RangeText("Szórás minimuma", "1,58", "3,00"));
    EXPECT_EQ(messages.Count(), 1u);
    editor.SetDeviationMinimum(3);
    EXPECT_TRUE(editor.CheckBeforeGeneration());
}

std::string FavouredText(bool completely, const char* groups) {
    return std::string("A jelenlegi beállítások mellett, nem teljesülhet") +
           (completely ? " maradéktalanul" : "") +
           "\ra favorizált számok feltétel.\r\rAlacsony a " + groups +
           " számcsoportok találati aránya, vagy magas\ra favorizált számcsoportból várt "
           "találatok száma.\r\rMégis készít variációt?";
}

class GroupFavouredTest : public EditorTest {
protected:
    // V = 1..40, n = 5, favoured positions 3..12, groups of 5 with one hit each.
    void Setup(Condition groups, int minHits, int maxHits) {
        Use(Range(1, 40));
        ConditionEditor::Hooks hooks;
        hooks.showDistributionPage = [this] { ++pageTurns; };
        editor.SetHooks(hooks);
        editor.SetActive(Condition::Favoured, true);
        editor.SetValue(Field::FavouredLast, 12);
        editor.SetValue(Field::FavouredFirst, 3);
        editor.SetValue(Field::FavouredMaxHits, maxHits);
        editor.SetValue(Field::FavouredMinHits, minHits);
        editor.SetActive(groups, true);
        editor.SetValue(groups == Condition::Fixed ? Field::FixedSize : Field::MobileSize, 5);
        messages.Clear();
    }
    int pageTurns = 0;
};

TEST_F(GroupFavouredTest, FixedGroupsAskBelowTheMinimumAndWarnBelowTheMaximum) {
    Setup(Condition::Fixed, 4, 5);
    EXPECT_EQ(editor.FixedGroupsCapacity(), 3); // blocks 1-5, 6-10, 11-15
    EXPECT_FALSE(editor.FixFavEll());
    EXPECT_EQ(LastKind(messages), MessageKind::ErrorQuestion);
    EXPECT_EQ(messages.LastText(), FavouredText(false, "fix"));
    EXPECT_EQ(pageTurns, 1);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.CheckBeforeGeneration());
    EXPECT_TRUE(editor.MobFavEll()); // no mobile groups

    Setup(Condition::Fixed, 3, 4);
    EXPECT_FALSE(editor.FixFavEll());
    EXPECT_EQ(LastKind(messages), MessageKind::WarningQuestion);
    EXPECT_EQ(messages.LastText(), FavouredText(true, "fix"));
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.FixFavEll());
    editor.SetValue(Field::FavouredMaxHits, 3);
    messages.Clear();
    EXPECT_TRUE(editor.FixFavEll());
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(GroupFavouredTest, MobileGroupsAskTheSameWay) {
    Setup(Condition::Mobile, 3, 4);
    EXPECT_EQ(editor.MobileGroupsCapacity(), 2); // two windows of five in ten positions
    EXPECT_FALSE(editor.CheckBeforeGeneration());
    EXPECT_EQ(LastKind(messages), MessageKind::ErrorQuestion);
    EXPECT_EQ(messages.LastText(), FavouredText(false, "mobil"));
    editor.SetValue(Field::FavouredMinHits, 2);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.MobFavEll());
    EXPECT_EQ(LastKind(messages), MessageKind::WarningQuestion);
    EXPECT_EQ(messages.LastText(), FavouredText(true, "mobil"));
}

// The largest set of positions in first..last that the group rule allows, by trying them all.
int BruteCapacity(bool mobile, int size, int perGroup, int first, int last) {
    const int width = last - first + 1;
    int best = 0;
    for (unsigned mask = 0; mask < (1u << width); ++mask) {
        bool ok = true;
        for (int start = 1; start <= last && ok; start += mobile ? 1 : size) {
            int count = 0;
            for (int p = start; p < start + size; ++p) {
                count += (p >= first && p <= last && (mask & (1u << (p - first)))) ? 1 : 0;
            }
            ok = count <= perGroup;
        }
        if (ok) {
            best = std::max(best, __builtin_popcount(mask));
        }
    }
    return best;
}

TEST_F(EditorTest, GroupCapacitiesAreTheLargestPossible) {
    Use(Range(1, 20));
    for (int size = 2; size <= 5; ++size) {
        for (int perGroup = 1; perGroup < size; ++perGroup) {
            for (int first = 1; first <= 6; ++first) {
                for (int last = first; last <= first + 9; ++last) {
                    set.fixed = {true, size, perGroup};
                    set.mobile = {true, size, perGroup};
                    set.favoured.first = first;
                    set.favoured.last = last;
                    EXPECT_EQ(editor.FixedGroupsCapacity(),
                              BruteCapacity(false, size, perGroup, first, last));
                    EXPECT_EQ(editor.MobileGroupsCapacity(),
                              BruteCapacity(true, size, perGroup, first, last));
                }
            }
        }
    }
}

// --- Clearing --------------------------------------------------------------------------------

std::vector<std::uint8_t> Block(const ConditionSet& set) {
    BinaryWriter writer;
    WriteConditionBlock(set, writer);
    return writer.Bytes();
}

struct HookCalls {
    int backups = 0;
    int closes = 0;
    int deletes = 0;
    int afterClears = 0;
    std::vector<bool> commandStates;
};

ConditionEditor::Hooks Recording(HookCalls& calls, bool confirmDelete = true) {
    ConditionEditor::Hooks hooks;
    hooks.backupLastVariation = [&calls] { ++calls.backups; };
    hooks.closeDialog = [&calls] { ++calls.closes; };
    hooks.deleteVariation = [&calls] { ++calls.deletes; };
    hooks.conditionListCommand = [&calls](bool on) { calls.commandStates.push_back(on); };
    hooks.confirmVariationDelete = [confirmDelete] { return confirmDelete; };
    hooks.afterClear = [&calls] { ++calls.afterClears; };
    return hooks;
}

TEST_F(EditorTest, ClearingWithNothingActiveChangesOnlyTheErrorPoints) {
    HookCalls calls;
    editor.SetHooks(Recording(calls));
    Use(Range(1, 20));
    calls.commandStates.clear();
    set.favoured.first = 4;
    set.sum.minimum = 77;
    set.errorPoints = 3;
    ConditionSet expected = set;
    expected.errorPoints = 0;
    editor.FeltetelekTorlese();
    EXPECT_EQ(Block(set), Block(expected));
    EXPECT_EQ(calls.backups + calls.deletes, 0);
    EXPECT_TRUE(calls.commandStates.empty());
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(EditorTest, ClearingDeactivatesEverything) {
    HookCalls calls;
    editor.SetHooks(Recording(calls));
    Use(Range(1, 20));
    editor.SetActive(Condition::HitRatio, true);
    editor.SetHitRatioFromDraws(true);
    editor.SetActive(Condition::Primes, true);
    editor.SetValue(Field::ErrorPoints, 2);
    editor.SetOptimised(true);
    calls.commandStates.clear();
    editor.FeltetelekTorlese();
    EXPECT_FALSE(set.AnyActive());
    EXPECT_FALSE(set.hitRatio.fromDraws);
    EXPECT_EQ(set.errorPoints, 0);
    EXPECT_FALSE(set.options.optimised);
    EXPECT_EQ(calls.commandStates, std::vector<bool>{false});
    EXPECT_EQ(editor.ConditionListHint(), " Nics kijelölt feltétel. ");
    EXPECT_EQ(calls.closes, 1);

    context.extensionMode = true; // an extension keeps its error points
    editor.Prepare(context);
    editor.SetValue(Field::ErrorPoints, 2);
    editor.FeltetelekTorlese();
    EXPECT_EQ(set.errorPoints, 2);
}

TEST_F(EditorTest, ClearingBacksUpAndDeletesTheVariation) {
    HookCalls calls;
    editor.SetHooks(Recording(calls));
    context.variationExists = true;
    Use(Range(1, 20));
    editor.FeltetelekTorlese();
    EXPECT_EQ(calls.backups, 1);
    EXPECT_EQ(calls.deletes, 1);

    context.testRunning = true;
    editor.Prepare(context);
    editor.FeltetelekTorlese();
    EXPECT_EQ(calls.backups, 1);
    EXPECT_EQ(calls.deletes, 2);

    context.specialVariationMode = true;
    editor.Prepare(context);
    editor.FeltetelekTorlese();
    EXPECT_EQ(calls.backups, 1);
    EXPECT_EQ(calls.deletes, 2);
}

TEST_F(EditorTest, ClearButtonAsksFirst) {
    HookCalls calls;
    editor.SetHooks(Recording(calls));
    Use(Range(1, 20));
    EXPECT_FALSE(editor.ClearButtonClick()); // nothing to clear
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(editor.ClearButtonHint(), " Nincs kijelölt feltétel. ");

    editor.SetActive(Condition::Primes, true);
    EXPECT_EQ(editor.ClearButtonHint(), " Minden kijelölt feltétel törlése. ");
    EXPECT_EQ(calls.commandStates, (std::vector<bool>{false, true}));
    EXPECT_FALSE(editor.ClearButtonClick());
    EXPECT_EQ(LastKind(messages), MessageKind::Confirmation);
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt feltételeket?");
    EXPECT_TRUE(set.primes.active);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.ClearButtonClick());
    EXPECT_FALSE(set.primes.active);
    EXPECT_EQ(calls.afterClears, 1);

    // With a variation, its own delete confirmation decides.
    context.variationExists = true;
    editor.Prepare(context);
    editor.SetActive(Condition::Primes, true);
    messages.Clear();
    EXPECT_TRUE(editor.ClearButtonClick());
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(calls.deletes, 1);
    editor.SetHooks(Recording(calls, false));
    editor.Prepare(context);
    editor.SetActive(Condition::Primes, true);
    EXPECT_FALSE(editor.ClearButtonClick());
    EXPECT_TRUE(set.primes.active);
}

} // namespace
} // namespace velmora
