#include "conditions/condition_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>

#include "common/binary_io.h"
#include "common/hu_format.h"
#include "support/fake_messages.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using Limit = std::pair<int, int>;

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

std::string RangeText(const std::string& name, const std::string& min, const std::string& max) {
    return "Érvénytelen paraméter.\r\r" + name + " értékhatárok:\r    - minimum : " + min +
           "\r    - maximum: " + max;
}

class EditorTest : public ::testing::Test {
protected:
    // A ticket of 90 numbers (rows of `rowLength`) with `fixedCount` fixed numbers besides V and
    // a database of 120 draws.
    void Use(std::vector<std::uint8_t> v, int fixedCount = 0, int rowLength = 5) {
        context.variationNumbers = std::move(v);
        context.maxNumber = 90;
        context.rowLength = rowLength;
        context.variationRowLength = rowLength - fixedCount;
        context.hasDatabase = true;
        context.drawCount = 120;
        context.hitRatioFirst = 1;
        context.hitRatioLast = 120;
        editor.Prepare(context);
    }
    Limit Limits(Field field) const {
        const IntRange range = editor.Limits(field);
        return {range.minimum, range.maximum};
    }
    // The kind and text of the last message shown.
    void ExpectLast(MessageKind kind, const std::string& text) const {
        ASSERT_GT(messages.Count(), 0u);
        EXPECT_EQ(messages.Last().kind, kind);
        EXPECT_EQ(messages.LastText(), text);
    }

    ConditionSet set;
    FakeMessages messages;
    std::array<bool, kNoticeCount> notices{};
    ConditionEditor editor{set, messages, notices};
    ConditionContext context;
};

// --- Activation refusals ---------------------------------------------------------------------

TEST_F(EditorTest, ConditionsMeaninglessForTheTicketAreRefused) {
    const std::pair<std::vector<std::uint8_t>, Condition> cases[] = {
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
    for (const auto& [v, condition] : cases) {
        SCOPED_TRACE(static_cast<int>(condition));
        Use(v);
        messages.Clear();
        set.primes.minimum = 3; // a refusal leaves the record as it was
        EXPECT_FALSE(editor.SetActive(condition, true));
        EXPECT_FALSE(set.AnyActive());
        EXPECT_EQ(messages.Count(), 1u);
        ExpectLast(MessageKind::Error, "A kijelölt számsorral nem értelmezhető a feltétel.");
        EXPECT_EQ(set.primes.minimum, 3);
    }
}

TEST_F(EditorTest, TwinsAndMirrorPairsRefuseEachOtherAtTheEdge) {
    Use(Numbers({11, 22, 33, 44, 12, 21, 13, 31, 5}), 1); // n = 4
    ASSERT_TRUE(editor.SetActive(Condition::Mirrors, true));
    editor.SetValue(Field::MirrorsMin, 2);
    EXPECT_FALSE(editor.SetActive(Condition::Twins, true));
    ExpectLast(MessageKind::Error, "A Tükör számpár feltétel kijelölése miatt, nem értelmezhető "
                                   "az Ikerszám feltétel.");
    editor.SetValue(Field::MirrorsMin, 1);
    EXPECT_TRUE(editor.SetActive(Condition::Twins, true));

    editor.SetActive(Condition::Mirrors, false);
    editor.SetValue(Field::TwinsMin, 3);
    EXPECT_FALSE(editor.SetActive(Condition::Mirrors, true));
    ExpectLast(MessageKind::Error, "Az Ikerszám feltétel kijelölése miatt, nem értelmezhető a "
                                   "Tükör számpár feltétel.");
    editor.SetValue(Field::TwinsMin, 2);
    EXPECT_TRUE(editor.SetActive(Condition::Mirrors, true));
}

TEST_F(EditorTest, SumOnScatteredNumbersAsksForApproval) {
    Use(Numbers({1, 2, 3, 4, 5, 7}));
    EXPECT_FALSE(editor.SetActive(Condition::Sum, true));
    EXPECT_EQ(messages.Count(), 1u);
    ExpectLast(MessageKind::Confirmation,
               "A kijelölt számok nem szomszédosak (...9,10,11,12...) egymással.\rCsak a kijelölt "
               "számokból álló számsorokhoz tartozhat összeg.\r\rMégis kijelöli a feltételt?");
    EXPECT_FALSE(set.sum.active);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.SetActive(Condition::Sum, true));
    // The default 3 fitted to the smallest sum.
    EXPECT_EQ(Limit(set.sum.minimum, set.sum.maximum), Limit(15, 15));
}

TEST_F(EditorTest, SpanAndNumberGroupNoticesFollowTheirRemindFlags) {
    const std::string notice = "A kijelölt feltétel esetében, a program nem vizsgálja a többi "
                               "feltétellel történő ütközés lehetőségét.\r\rErre legközelebb is "
                               "emlékeztesse a program?";
    Use(Range(1, 20));
    notices[kNoticeSpan] = notices[kNoticeNumberGroups] = true;
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.SetActive(Condition::Span, true));
    ExpectLast(MessageKind::Notice, notice);
    EXPECT_TRUE(notices[kNoticeSpan]);
    editor.SetActive(Condition::Span, true); // answered No this time
    EXPECT_FALSE(notices[kNoticeSpan]);
    messages.Clear();
    editor.SetActive(Condition::Span, true);
    EXPECT_EQ(messages.Count(), 0u);

    EXPECT_TRUE(editor.SetActive(Condition::NumberGroups, true));
    ExpectLast(MessageKind::Notice, notice);
    EXPECT_FALSE(notices[kNoticeNumberGroups]);
}

// --- Defaults and limits ---------------------------------------------------------------------

TEST_F(EditorTest, LimitsForOneToTwenty) {
    Use(Range(1, 20));
    for (int c = 0; c < kConditionCount; ++c) {
        if (static_cast<Condition>(c) != Condition::Mobile) {
            editor.SetActive(static_cast<Condition>(c), true);
        }
    }
    const std::pair<Field, Limit> expected[] = {
        {Field::FixedSize, {2, 10}},       {Field::DecadeParityMin, {1, 5}},
        {Field::SumMin, {15, 90}},         {Field::TwinsMax, {0, 1}},
        {Field::PrimesMax, {0, 5}},        {Field::SpanFirst, {1, 15}}, // eight primes, rows of 5
        {Field::SpanLast, {6, 20}},        {Field::NumberGroupCount, {1, 5}},
        {Field::ErrorPoints, {0, 4}},      {Field::DecadeRepeatMax, {0, 4}}, // at most n - 1
        {Field::OverwriteHits, {1, 4}},    {Field::HitRatioMax, {1, 5}},
        {Field::ItemisedFrom, {1, 30000}},
    };
    for (const auto& [field, limit] : expected) {
        EXPECT_EQ(Limits(field), limit) << "field " << static_cast<int>(field);
    }
    EXPECT_EQ(Limit(set.span.first, set.span.last), Limit(1, 20));
    EXPECT_EQ(Limit(set.hitRatio.minHits, set.hitRatio.maxHits), Limit(5, 5));

    // The favoured group 3..4 holds at most two hits, a wide one at most a row.
    editor.SetValue(Field::FavouredLast, 4);
    editor.SetValue(Field::FavouredFirst, 3);
    EXPECT_EQ(Limits(Field::FavouredFirst), Limit(1, 4));
    EXPECT_EQ(Limits(Field::FavouredMaxHits), Limit(0, 2));
    EXPECT_EQ(editor.SetValue(Field::FavouredMaxHits, 9), 2);
    EXPECT_EQ(Limits(Field::FavouredMinHits), Limit(0, 2));
    editor.SetValue(Field::FavouredFirst, 4);
    EXPECT_EQ(Limits(Field::FavouredMaxHits), Limit(0, 1));
    editor.SetValue(Field::FavouredLast, 20);
    EXPECT_EQ(Limits(Field::FavouredMaxHits), Limit(0, 5));
}

TEST_F(EditorTest, ParityAndGroupLimits) {
    Use(Numbers({2, 4, 6, 1, 3, 5, 7, 9, 11, 13})); // 3 even, 7 odd numbers
    editor.SetActive(Condition::EndingParity, true);
    EXPECT_EQ(Limits(Field::EndingParityMin), Limit(1, 3));
    editor.SetValue(Field::EndingParityMax, 3);
    editor.SetParityKind(Condition::EndingParity, false);
    EXPECT_EQ(Limits(Field::EndingParityMin), Limit(2, 5)); // at most 3 even ones leave 2 odd
    EXPECT_EQ(Limit(set.endingParity.minimum, set.endingParity.maximum), Limit(2, 3));

    // The group maximum's lower limit lets the whole groups of V still hold a row.
    Use(Range(1, 20));
    editor.SetActive(Condition::Mobile, true);
    EXPECT_EQ(Limits(Field::MobileSize), Limit(2, 16));
    EXPECT_EQ(Limits(Field::MobileMax), Limit(1, 1));
    editor.SetValue(Field::MobileSize, 3);
    EXPECT_EQ(Limits(Field::MobileMax), Limit(1, 2));
    editor.SetValue(Field::MobileSize, 6); // 3 groups of 6 need 2 each to reach 5
    EXPECT_EQ(Limits(Field::MobileMax), Limit(2, 4));
    EXPECT_EQ(set.mobile.maxPerGroup, 2);
    editor.SetValue(Field::MobileSize, 16); // one group: capped at the upper limit
    EXPECT_EQ(Limits(Field::MobileMax), Limit(4, 4));
    editor.SetValue(Field::MobileSize, 3);
    EXPECT_EQ(set.mobile.maxPerGroup, 2);
    editor.SetActive(Condition::Fixed, true);
    editor.SetValue(Field::FixedSize, 10);
    EXPECT_EQ(Limits(Field::FixedMax), Limit(3, 4));
    EXPECT_EQ(set.fixed.maxPerGroup, 3);
}

// --- Values --------------------------------------------------------------------------------

constexpr int kFieldCount = static_cast<int>(Field::ItemisedTo) + 1;
// The minimum fields; in Field each is followed by its maximum.
constexpr Field kMinimums[] = {
    Field::FavouredFirst, Field::FavouredMinHits, Field::DecadeParityMin, Field::DecadeRepeatMin,
    Field::HitRatioMin,   Field::EndingParityMin, Field::EndingRepeatMin, Field::SumMin,
    Field::TwinsMin,      Field::MirrorsMin,      Field::PrimesMin,       Field::ItemisedFrom};

bool Within(int value, IntRange range) {
    return value >= range.minimum && value <= range.maximum;
}

// What the editor keeps true whatever is typed while every condition is active.
void ExpectConsistent(const ConditionEditor& editor, const ConditionSet& set) {
    const int n = editor.Context().variationRowLength;
    for (int f = 0; f < kFieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        EXPECT_TRUE(Within(editor.Value(field), editor.Limits(field))) << "field " << f;
    }
    for (Field min : kMinimums) {
        const auto max = static_cast<Field>(static_cast<int>(min) + 1);
        EXPECT_LE(editor.Value(min), editor.Value(max)) << "field " << static_cast<int>(min);
    }
    EXPECT_GE(set.span.last - set.span.first + 1, n);
    EXPECT_TRUE(!set.sum.fixedSum || set.sum.minimum == set.sum.maximum);
    EXPECT_LE(set.twins.maximum + 2 * set.mirrors.maximum, n);
    for (int i = 0; i < kMaxNumberGroups; ++i) {
        const NumberGroupSlot& g = set.numberGroups.groups[static_cast<std::size_t>(i)];
        const int values[] = {g.first, g.last, g.minHits, g.maxHits};
        for (int f = 0; f < 4; ++f) {
            const IntRange limits = editor.SlotLimits(i, static_cast<SlotField>(f));
            EXPECT_TRUE(Within(values[f], limits)) << "group " << i;
        }
        EXPECT_LE(g.first, g.last);
        EXPECT_LE(g.minHits, g.maxHits);
    }
}

TEST_F(EditorTest, AnySequenceOfEditsKeepsEveryFieldConsistent) {
    std::mt19937 random(31415);
    const auto pick = [&random](int count) {
        return static_cast<int>(random() % static_cast<unsigned>(count));
    };
    // {first, last, fixed numbers, row length}: runs of neighbours, where every condition makes
    // sense and the sum asks nothing.
    for (const auto& [first, last, fixed, rowLength] :
         {std::array{10, 34, 0, 5}, {40, 70, 1, 5}, {1, 45, 3, 6}, {8, 40, 0, 7}}) {
        set = ConditionSet{};
        Use(Range(first, last), fixed, rowLength);
        messages.Clear();
        for (int c = 0; c < kConditionCount; ++c) {
            ASSERT_TRUE(editor.SetActive(static_cast<Condition>(c), true)) << c;
        }
        EXPECT_EQ(messages.Count(), 0u);
        for (int step = 0; step < 3000 && !HasFailure(); ++step) {
            SCOPED_TRACE("V from " + std::to_string(first) + ", step " + std::to_string(step));
            const int kind = pick(10);
            const int value = kind == 0  ? (pick(2) ? INT_MIN : INT_MAX)
                              : kind < 4 ? pick(600)
                                         : pick(last - first + 8) - 3;
            if (kind == 9) {
                const Condition parity =
                    pick(2) ? Condition::DecadeParity : Condition::EndingParity;
                editor.SetParityKind(parity, pick(2) == 0);
                editor.SetParityRatio(parity, pick(2) == 0);
                editor.SetRepeatChoice(pick(2) ? Condition::DecadeRepeat : Condition::EndingRepeat,
                                       pick(2) == 0);
                editor.SetSumFixed(pick(2) == 0);
            } else if (kind == 8) {
                editor.SetSlotValue(pick(kMaxNumberGroups), static_cast<SlotField>(pick(4)), value);
            } else {
                editor.SetValue(static_cast<Field>(pick(kFieldCount)), value);
            }
            ExpectConsistent(editor, set);
        }
    }
}

// What the consistency above leaves open: which of two fields gives way.
TEST_F(EditorTest, TypedFieldMovesItsPartner) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Primes, true);
    EXPECT_EQ(editor.SetValue(Field::PrimesMin, 4), 4);
    EXPECT_EQ(set.primes.maximum, 4);
    EXPECT_EQ(editor.SetValue(Field::PrimesMax, 2), 2);
    EXPECT_EQ(set.primes.minimum, 2);

    editor.SetActive(Condition::Span, true); // n = 5: a span keeps five positions
    editor.SetValue(Field::SpanFirst, 12);
    editor.SetValue(Field::SpanLast, 8);
    EXPECT_EQ(set.span.first, 4);
    editor.SetValue(Field::SpanFirst, 6);
    EXPECT_EQ(set.span.last, 10);
    EXPECT_EQ(editor.SpanLabel(), "-dik számig, 5 szám variációja.");
    editor.SetActive(Condition::Span, false);
    EXPECT_EQ(editor.SpanLabel(), "-dik számig, 20 szám variációja.");

    // Twins and mirror pairs share the row: the field typed into gives way, not the other.
    Use(Numbers({11, 22, 33, 12, 21, 13, 31, 5, 6})); // 3 twins, 2 mirror pairs
    editor.SetActive(Condition::Mirrors, true);
    editor.SetValue(Field::MirrorsMax, 2);
    editor.SetActive(Condition::Twins, true);
    EXPECT_EQ(editor.SetValue(Field::TwinsMax, 3), 1);
    EXPECT_EQ(set.mirrors.maximum, 2);
}

TEST_F(EditorTest, TypedFieldsReportValuesOutsideTheirRange) {
    Use(Range(1, 20));
    editor.SetActive(Condition::Sum, true);
    EXPECT_EQ(editor.SetValue(Field::SumMin, 10), 15);
    ExpectLast(MessageKind::RangeError, RangeText("Fix összeg", "15", "90"));
    EXPECT_EQ(editor.SumFieldHint(), " Minimum : 15\r Maximum : 90 ");
    editor.SetValue(Field::SumMin, 51);
    editor.SetSumFixed(false); // the maximum must stay above the minimum
    EXPECT_EQ(editor.SetValue(Field::SumMax, 40), 52);
    ExpectLast(MessageKind::RangeError, RangeText("Összeg maximuma", "52", "90"));
    EXPECT_EQ(editor.SetValue(Field::ItemisedFrom, 0), 1);
    ExpectLast(MessageKind::RangeError, RangeText("Tételes felülírás", "1", "30000"));
    EXPECT_EQ(messages.Count(), 3u);
}

// --- Standard deviation ----------------------------------------------------------------------

TEST_F(EditorTest, DeviationLimitsCoverEveryRow) {
    for (const auto& v : {Numbers({40, 3, 7, 8, 15, 22, 23, 31, 41, 57, 58, 88}), Range(1, 14),
                          Numbers({1, 2, 3, 50, 51, 52, 88, 89, 90, 44})}) {
        for (int fixed : {0, 1, 3}) {
            Use(v, fixed);
            // The smallest and largest sample deviation of the rows, by trying them all.
            const int n = 5 - fixed;
            double low = 1e9;
            double high = 0;
            for (unsigned mask = 0; mask < (1u << v.size()); ++mask) {
                double sum = 0, squares = 0;
                for (std::size_t i = 0; i < v.size(); ++i) {
                    const double x = (mask >> i) & 1u ? v[i] : 0;
                    sum += x;
                    squares += x * x;
                }
                if (__builtin_popcount(mask) == n) {
                    const double s = std::sqrt((squares - sum * sum / n) / (n - 1));
                    low = std::min(low, s);
                    high = std::max(high, s);
                }
            }
            const RealRange limits = editor.DeviationLimits();
            EXPECT_TRUE(limits.minimum <= low && limits.minimum > low - 0.01) << limits.minimum;
            EXPECT_TRUE(limits.maximum >= high && limits.maximum < high + 0.01) << limits.maximum;
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
    ExpectLast(MessageKind::RangeError, RangeText("Szórás minimuma", "1,58", max));
    EXPECT_FLOAT_EQ(set.deviation.minimum, 1.58f);
    editor.SetDeviationMaximum(99);
    ExpectLast(MessageKind::RangeError, RangeText("Szórás maximuma", "1,58", max));
    EXPECT_FLOAT_EQ(set.deviation.maximum, static_cast<float>(limits.maximum));

    // The minimum does not push the maximum: the check before generation stops.
    messages.Clear();
    editor.SetDeviationMaximum(3);
    editor.SetDeviationMinimum(5);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(editor.CheckBeforeGeneration());
    ExpectLast(MessageKind::RangeError, RangeText("Szórás minimuma", "1,58", "3,00"));
    editor.SetDeviationMinimum(3);
    EXPECT_TRUE(editor.CheckBeforeGeneration());
    EXPECT_EQ(messages.Count(), 1u);
}

// --- Choice checks ---------------------------------------------------------------------------

TEST_F(EditorTest, SeveralOfAKindNeedsMoreThanHalfTheRow) {
    struct Case {
        std::vector<std::uint8_t> v; // two numbers of the scarce kind, six of the other
        Condition condition;
        bool even;
        const char* text;
    };
    const Case cases[] = {
        {Numbers({1, 2, 11, 12, 13, 14, 15, 31}), Condition::DecadeParity, true,
         "A kijelölt páros számcsoportok mennyisége, nem teszi lehetővé a feltétel "
         "alkalmazását."},
        {Numbers({1, 2, 3, 4, 5, 6, 11, 12}), Condition::DecadeParity, false,
         "A kijelölt páratlan számcsoportok mennyisége, nem teszi lehetővé a feltétel "
         "alkalmazását."},
        {Numbers({1, 3, 5, 7, 2, 4, 11, 13}), Condition::EndingParity, true,
         "A kijelölt páros számok mennyisége, nem teszi lehetővé a feltétel alkalmazását."},
        {Numbers({2, 4, 6, 8, 10, 12, 1, 3}), Condition::EndingParity, false,
         "A kijelölt páratlan számok mennyisége, nem teszi lehetővé a feltétel alkalmazását."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Use(c.v);
        const ParityCondition& parity =
            c.condition == Condition::DecadeParity ? set.decadeParity : set.endingParity;
        editor.SetActive(c.condition, true);
        editor.SetParityKind(c.condition, c.even);
        messages.Clear();
        EXPECT_FALSE(editor.SetParityRatio(c.condition, false)); // 2 is not above 5 / 2
        ExpectLast(MessageKind::Warning, c.text);
        EXPECT_TRUE(parity.fixedRatio);

        editor.SetParityKind(c.condition, !c.even);
        EXPECT_TRUE(editor.SetParityRatio(c.condition, false));
        // "Több" pins both fields to n div 2.
        EXPECT_EQ(Limit(parity.minimum, parity.maximum), Limit(2, 2));
        // Turning to the scarce kind under "Több" is checked again and returns to "Fix".
        EXPECT_FALSE(editor.SetParityKind(c.condition, c.even));
        ExpectLast(MessageKind::Warning, c.text);
        EXPECT_EQ(messages.Count(), 2u);
        EXPECT_TRUE(parity.fixedRatio);
        EXPECT_EQ(parity.even, c.even);
    }
}

TEST_F(EditorTest, DecadeRepetitionChoiceSetsTheLimitsAndMayBeForced) {
    const std::string onlyOne = "A kijelölt számsor alapján, csak egy számcsoport ismétlődhet.";
    const std::string onlySeveral =
        "A kijelölt számsor alapján, csak több számcsoport ismétlődhet.";
    Use(Numbers({1, 2, 3, 11, 12, 25, 37, 45})); // decades 0:3, 1:2, 2, 3, 4
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(set.decadeRepeat.oneGroup);
    EXPECT_EQ(Limits(Field::DecadeRepeatMax), Limit(0, 2));
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    EXPECT_EQ(Limits(Field::DecadeRepeatMax), Limit(0, 3));
    editor.SetValue(Field::DecadeRepeatMin, 3);
    EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    EXPECT_EQ(Limit(set.decadeRepeat.minimum, set.decadeRepeat.maximum), Limit(2, 2));
    EXPECT_EQ(messages.Count(), 0u);

    Use(Numbers({1, 2, 3, 15, 25, 35, 45, 55})); // only decade 0 can repeat
    editor.SetActive(Condition::DecadeRepeat, true);
    EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
    ExpectLast(MessageKind::Warning, onlyOne);
    EXPECT_TRUE(set.decadeRepeat.oneGroup);

    // Three pairs of decades: any five of the six numbers repeat two decades.
    messages.Clear();
    Use(Numbers({1, 2, 11, 12, 21, 22}));
    EXPECT_TRUE(editor.SetActive(Condition::DecadeRepeat, true));
    ExpectLast(MessageKind::Warning, onlySeveral);
    EXPECT_FALSE(set.decadeRepeat.oneGroup);
    EXPECT_EQ(Limits(Field::DecadeRepeatMax), Limit(0, 3));
    EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    EXPECT_EQ(messages.Count(), 2u);

    // With a fourth decade the row 1, 2, 11, 21, 31 keeps to one repeating decade; few decades
    // but a large one: 1, 2, 3, 4, 11 repeats decade 0 only.
    messages.Clear();
    for (const auto& v : {Numbers({1, 2, 11, 12, 21, 22, 31}), Numbers({1, 2, 3, 4, 11, 12})}) {
        Use(v);
        editor.SetActive(Condition::DecadeRepeat, true);
        EXPECT_TRUE(set.decadeRepeat.oneGroup);
        EXPECT_FALSE(editor.SetRepeatChoice(Condition::DecadeRepeat, false));
        EXPECT_TRUE(editor.SetRepeatChoice(Condition::DecadeRepeat, true));
    }
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(EditorTest, HitRatioNeedsTheDrawsAndRefusesSomeSources) {
    Use(Range(1, 20));
    context.hasDatabase = false;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetActive(Condition::HitRatio, true));
    EXPECT_FALSE(set.hitRatio.active);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(editor.HitRatioPageText(), " Hiányzik a húzások listája. ");

    context.hasDatabase = true;
    context.hitRatioFirst = 5;
    context.hitRatioLast = 300;
    editor.Prepare(context);
    editor.SetActive(Condition::HitRatio, true);
    EXPECT_EQ(Limit(set.hitRatio.firstDraw, set.hitRatio.lastDraw), Limit(5, 120));
    EXPECT_EQ(editor.HitRatioPageText(), "5 - 120. húzásokkal összehasonlítva.");
    editor.SetHitRatioDraws(120, 120);
    EXPECT_EQ(set.hitRatio.firstDraw, 1);

    EXPECT_TRUE(editor.SetHitRatioFromDraws(true));
    editor.SetHitRatioSearched(false);
    EXPECT_FALSE(set.hitRatio.fromDraws);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    ExpectLast(MessageKind::Warning,
               "Kizárt találati arány. Nem értelmezett a húzások listájából készített lista.");
    editor.SetHitRatioSearched(true);
    context.extensionMode = true;
    context.isKeno = true;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    ExpectLast(MessageKind::Warning, "Ha aktív a \"Variáció bővítése\" opció, nem készíthető "
                                     "variáció a húzások listája alapján.");
    context.extensionMode = false;
    editor.Prepare(context);
    EXPECT_FALSE(editor.SetHitRatioFromDraws(true));
    ExpectLast(MessageKind::Warning, "Kenóra nem készíthető variáció a húzások listája alapján."
                                     "\r\r(Egy sorsolás alkalmával 20 számot húznak.)");
    EXPECT_FALSE(set.hitRatio.fromDraws);
    EXPECT_EQ(messages.Count(), 3u);
}

// --- Error points and options ----------------------------------------------------------------

TEST_F(EditorTest, OptionsFollowTheErrorPoints) {
    Use(Range(1, 20));
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

// --- Checks before generation ----------------------------------------------------------------

TEST_F(EditorTest, FixedSumMustMatchTheOddCountOfTheEndings) {
    // Sum fixed at `sum`; ending ratio "Fix" with exactly `count` numbers of the kind.
    const auto check = [this](int sum, bool even, int count) {
        Use(Range(1, 20));
        editor.SetActive(Condition::Sum, true);
        editor.SetValue(Field::SumMin, sum);
        editor.SetActive(Condition::EndingParity, true);
        editor.SetParityKind(Condition::EndingParity, even);
        editor.SetValue(Field::EndingParityMin, count);
        editor.SetValue(Field::EndingParityMax, count);
        messages.Clear();
        return editor.OsszegEll();
    };
    const std::string onlyOdd = "A számvégződések páros-páratlan találati aránya szerint, csak "
                                "páratlan összegű számsor szerepelhet a variációban.";
    EXPECT_TRUE(check(51, true, 2)); // three odd numbers: odd sums only
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(check(50, true, 2));
    ExpectLast(MessageKind::Warning, onlyOdd);
    EXPECT_FALSE(check(51, false, 2)); // two odd numbers: even sums only
    ExpectLast(MessageKind::Warning, "A számvégződések páros-páratlan találati aránya szerint, "
                                     "csak páros összegű számsor szerepelhet a variációban.\r\rA "
                                     "Számsor összege feltétel fix értéke páratlan.");
    EXPECT_TRUE(check(50, false, 2));

    // An open ratio or a sum range decides nothing.
    check(51, false, 2);
    messages.Clear();
    editor.SetValue(Field::EndingParityMax, 3);
    EXPECT_TRUE(editor.OsszegEll());
    editor.SetValue(Field::EndingParityMax, 2);
    editor.SetSumFixed(false);
    EXPECT_TRUE(editor.OsszegEll());
    EXPECT_EQ(messages.Count(), 0u);

    // Returning to "Fix" from "Több" tells the parity the fixed sum allows.
    check(51, true, 2);
    EXPECT_TRUE(editor.SetParityRatio(Condition::EndingParity, true)); // no change, no message
    ASSERT_TRUE(editor.SetParityRatio(Condition::EndingParity, false));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_TRUE(editor.SetParityRatio(Condition::EndingParity, true));
    ExpectLast(MessageKind::Information, "A számsor összege feltétel beállítása szerint, csak "
                                         "páratlan összegű számsor szerepelhet a variációban.");
}

// V = 1..40, n = 5, favoured positions 3..12 and groups of five with one hit each: the fixed
// groups (blocks 1-5, 6-10, 11-15) lend the range three positions, the mobile ones two.
TEST_F(EditorTest, FavouredHitsTheGroupsCannotHoldAreQuestioned) {
    int pageTurns = 0;
    ConditionEditor::Hooks hooks;
    hooks.showDistributionPage = [&pageTurns] { ++pageTurns; };
    editor.SetHooks(hooks);
    struct Case {
        Condition groups;
        Field size;
        const char* word;
        int capacity;
    };
    for (const Case& c : {Case{Condition::Fixed, Field::FixedSize, "fix", 3},
                          Case{Condition::Mobile, Field::MobileSize, "mobil", 2}}) {
        // A minimum above the capacity is an error, a maximum above it a warning.
        for (int minHits : {c.capacity + 1, c.capacity}) {
            set = ConditionSet{};
            Use(Range(1, 40));
            editor.SetActive(Condition::Favoured, true);
            editor.SetValue(Field::FavouredLast, 12);
            editor.SetValue(Field::FavouredFirst, 3);
            editor.SetValue(Field::FavouredMaxHits, c.capacity + 1);
            editor.SetValue(Field::FavouredMinHits, minHits);
            editor.SetActive(c.groups, true);
            editor.SetValue(c.size, 5);
            messages.Clear();
            pageTurns = 0;
            EXPECT_FALSE(editor.CheckBeforeGeneration());
            const bool error = minHits > c.capacity;
            ExpectLast(error ? MessageKind::ErrorQuestion : MessageKind::WarningQuestion,
                       std::string("A jelenlegi beállítások mellett, nem teljesülhet") +
                           (error ? "" : " maradéktalanul") +
                           "\ra favorizált számok feltétel.\r\rAlacsony a " + c.word +
                           " számcsoportok találati aránya, vagy magas\ra favorizált "
                           "számcsoportból várt találatok száma.\r\rMégis készít variációt?");
            EXPECT_EQ(pageTurns, 1);
            messages.QueueAnswer(Answer::Yes);
            EXPECT_TRUE(editor.CheckBeforeGeneration());
        }
        editor.SetValue(Field::FavouredMaxHits, c.capacity);
        messages.Clear();
        EXPECT_TRUE(editor.CheckBeforeGeneration());
        EXPECT_EQ(messages.Count(), 0u);
    }
}

// The largest set of positions in first..last that the group rule allows, by trying them all.
int BruteCapacity(bool mobile, int size, int perGroup, int first, int last) {
    int best = 0;
    for (unsigned mask = 0; mask < (1u << (last - first + 1)); ++mask) {
        bool ok = true;
        for (int start = 1; start <= last && ok; start += mobile ? 1 : size) {
            int count = 0;
            for (int p = std::max(start, first); p < start + size && p <= last; ++p) {
                count += (mask >> (p - first)) & 1u;
            }
            ok = count <= perGroup;
        }
        best = ok ? std::max(best, __builtin_popcount(mask)) : best;
    }
    return best;
}

TEST_F(EditorTest, GroupCapacitiesAreTheLargestPossible) {
    Use(Range(1, 20));
    for (int size = 2; size <= 5; ++size) {
        for (int perGroup = 1; perGroup < size; ++perGroup) {
            for (int first = 1; first <= 6; ++first) {
                for (int last = first; last <= first + 9; ++last) {
                    set.fixed = set.mobile = {true, size, perGroup};
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

// Hooks that log their calls in order, and the states of the condition-list command apart.
struct HookLog {
    std::vector<std::string> calls;
    std::vector<bool> listCommand;
};

ConditionEditor::Hooks Recording(HookLog& log, bool confirmDelete = true) {
    ConditionEditor::Hooks hooks;
    hooks.backupLastVariation = [&log] { log.calls.push_back("backup"); };
    hooks.closeDialog = [&log] { log.calls.push_back("close"); };
    hooks.deleteVariation = [&log] { log.calls.push_back("delete"); };
    hooks.conditionListCommand = [&log](bool on) { log.listCommand.push_back(on); };
    hooks.confirmVariationDelete = [confirmDelete] { return confirmDelete; };
    hooks.afterClear = [&log] { log.calls.push_back("after"); };
    return hooks;
}

using Calls = std::vector<std::string>;

TEST_F(EditorTest, ClearButtonAsksThenClearsEverythingButTheParameters) {
    HookLog log;
    editor.SetHooks(Recording(log));
    Use(Range(1, 20));
    EXPECT_FALSE(editor.ClearButtonClick()); // nothing to clear
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(editor.ClearButtonHint(), " Nincs kijelölt feltétel. ");

    editor.SetActive(Condition::HitRatio, true);
    editor.SetHitRatioFromDraws(true);
    editor.SetActive(Condition::Primes, true);
    editor.SetValue(Field::PrimesMax, 3);
    editor.SetValue(Field::ErrorPoints, 2);
    editor.SetOptimised(true);
    EXPECT_EQ(editor.ClearButtonHint(), " Minden kijelölt feltétel törlése. ");
    EXPECT_FALSE(log.listCommand.front());
    EXPECT_TRUE(log.listCommand.back());
    EXPECT_FALSE(editor.ClearButtonClick());
    ExpectLast(MessageKind::Confirmation, "Biztos törli a kijelölt feltételeket?");
    EXPECT_TRUE(set.primes.active);

    ConditionSet expected = set;
    expected.hitRatio.active = expected.hitRatio.fromDraws = expected.primes.active = false;
    expected.errorPoints = 0;
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(editor.ClearButtonClick());
    EXPECT_EQ(Block(set), Block(expected));
    EXPECT_FALSE(set.options.optimised);
    EXPECT_FALSE(log.listCommand.back());
    EXPECT_EQ(editor.ConditionListHint(), " Nics kijelölt feltétel. ");
    EXPECT_EQ(log.calls, (Calls{"close", "after"})) << "no variation to back up or delete";

    context.extensionMode = true; // an extension keeps its error points
    editor.Prepare(context);
    editor.SetValue(Field::ErrorPoints, 2);
    editor.FeltetelekTorlese();
    EXPECT_EQ(set.errorPoints, 2);
}

TEST_F(EditorTest, ClearingBacksUpAndDeletesTheVariation) {
    HookLog log;
    editor.SetHooks(Recording(log));
    context.variationExists = true;
    // No backup while a test runs, neither backup nor delete for a special variation.
    for (const auto& [testRunning, special, expected] :
         {std::tuple{false, false, Calls{"backup", "close", "delete"}},
          std::tuple{true, false, Calls{"close", "delete"}},
          std::tuple{true, true, Calls{"close"}}}) {
        context.testRunning = testRunning;
        context.specialVariationMode = special;
        Use(Range(1, 20));
        log.calls.clear();
        editor.FeltetelekTorlese();
        EXPECT_EQ(log.calls, expected);
    }

    // The clear button asks nothing: the variation's own delete confirmation decides.
    context.testRunning = context.specialVariationMode = false;
    editor.Prepare(context);
    editor.SetActive(Condition::Primes, true);
    messages.Clear();
    log.calls.clear();
    EXPECT_TRUE(editor.ClearButtonClick());
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(log.calls, (Calls{"backup", "close", "delete", "after"}));
    editor.SetHooks(Recording(log, false));
    editor.Prepare(context);
    editor.SetActive(Condition::Primes, true);
    EXPECT_FALSE(editor.ClearButtonClick());
    EXPECT_TRUE(set.primes.active);
}

} // namespace
} // namespace velmora
