#include "conditions/condition_editor.h"

#include <algorithm>
#include <cmath>

#include "common/hu_format.h"

namespace velmora {

namespace {

const char* const kNotInterpretable = "A kijelölt számsorral nem értelmezhető a feltétel.";
const char* const kTwinsRefused =
    "A Tükör számpár feltétel kijelölése miatt, nem értelmezhető az Ikerszám feltétel.";
const char* const kMirrorsRefused =
    "Az Ikerszám feltétel kijelölése miatt, nem értelmezhető a Tükör számpár feltétel.";
const char* const kNoCollisionCheck = "A kijelölt feltétel esetében, a program nem vizsgálja a "
                                      "többi feltétellel történő ütközés lehetőségét.";

const char* const kOnlyOneDecade = "A kijelölt számsor alapján, csak egy számcsoport ismétlődhet.";
const char* const kOnlySeveralDecades =
    "A kijelölt számsor alapján, csak több számcsoport ismétlődhet.";

const char* const kTooFewEvenDecades =
    "A kijelölt páros számcsoportok mennyisége, nem teszi lehetővé a feltétel alkalmazását.";
const char* const kTooFewOddDecades =
    "A kijelölt páratlan számcsoportok mennyisége, nem teszi lehetővé a feltétel alkalmazását.";
const char* const kTooFewEvenNumbers =
    "A kijelölt páros számok mennyisége, nem teszi lehetővé a feltétel alkalmazását.";
const char* const kTooFewOddNumbers =
    "A kijelölt páratlan számok mennyisége, nem teszi lehetővé a feltétel alkalmazását.";

const char* const kExcludedFromDraws =
    "Kizárt találati arány. Nem értelmezett a húzások listájából készített lista.";
const char* const kExtensionFromDraws = "Ha aktív a \"Variáció bővítése\" opció, nem készíthető "
                                        "variáció a húzások listája alapján.";
const char* const kKenoFromDraws = "Kenóra nem készíthető variáció a húzások listája alapján."
                                   "\r\r(Egy sorsolás alkalmával 20 számot húznak.)";

const char* const kClearAll = " Minden kijelölt feltétel törlése. ";
const char* const kNothingToClear = " Nincs kijelölt feltétel. ";

const char* ParityWord(bool odd) {
    return odd ? "páratlan" : "páros";
}

int Clamp(int value, IntRange range) {
    // A range whose limits crossed (too few numbers marked) keeps its lower limit.
    return std::max(range.minimum, std::min(value, range.maximum));
}

double SampleDeviation(const std::vector<double>& values) {
    const double count = static_cast<double>(values.size());
    double mean = 0;
    for (double v : values) {
        mean += v;
    }
    mean /= count;
    double squares = 0;
    for (double v : values) {
        squares += (v - mean) * (v - mean);
    }
    return std::sqrt(squares / (count - 1));
}

// Minimum and maximum fields that push each other when one passes the other.
struct PushPair {
    Field minimum;
    Field maximum;
    bool spanGap; // the span keeps at least k' positions
};

constexpr PushPair kPushPairs[] = {
    {Field::DecadeParityMin, Field::DecadeParityMax, false},
    {Field::DecadeRepeatMin, Field::DecadeRepeatMax, false},
    {Field::HitRatioMin, Field::HitRatioMax, false},
    {Field::EndingParityMin, Field::EndingParityMax, false},
    {Field::EndingRepeatMin, Field::EndingRepeatMax, false},
    {Field::TwinsMin, Field::TwinsMax, false},
    {Field::MirrorsMin, Field::MirrorsMax, false},
    {Field::PrimesMin, Field::PrimesMax, false},
    {Field::SpanFirst, Field::SpanLast, true},
    {Field::ItemisedFrom, Field::ItemisedTo, false},
};

} // namespace

ConditionEditor::ConditionEditor(ConditionSet& set, Messages& messages,
                                 std::array<bool, kNoticeCount>& notices)
    : m_set(set), m_messages(messages), m_notices(notices),
      m_clearHint(set.AnyActive() ? kClearAll : kNothingToClear) {}

void ConditionEditor::Prepare(const ConditionContext& context) {
    m_context = context;
    // A loaded file may carry any count; the dialog shows at most ten groups.
    m_set.numberGroups.count = std::clamp(m_set.numberGroups.count, 1, kMaxNumberGroups);
    m_data = SzamJelzoBeallitas(m_context.variationNumbers, m_context.maxNumber);
    ApplyErrorPointRules();
    FeltJelzoBeallitas();
}

void ConditionEditor::FitActiveConditions() {
    for (const ConditionInfo& info : ConditionTable()) {
        if (IsActive(m_set, info.id)) {
            Normalise(info.id);
        }
    }
}

// --- Activation -------------------------------------------------------------------------------

bool ConditionEditor::IsInterpretable(Condition condition) const {
    const NumberData& d = m_data;
    switch (condition) {
    case Condition::DecadeParity:
        return d.evenDecadeCount > 0 && d.oddDecadeCount > 0;
    case Condition::EndingParity:
        return d.evenCount > 0 && d.oddCount > 0;
    case Condition::DecadeRepeat:
        return d.decades.classesWithTwoOrMore > 0 && d.Size() > d.decades.largest;
    case Condition::EndingRepeat:
        return d.endings.classesWithTwoOrMore > 0 && d.Size() > d.endings.largest;
    case Condition::Twins:
        return d.twinCount > 0;
    case Condition::Mirrors:
        return d.mirrorPairs > 0;
    case Condition::Primes:
        return d.primeCount > 0;
    case Condition::Mobile:
        return d.Size() >= m_context.rowLength + 4;
    default:
        return true;
    }
}

bool ConditionEditor::SetActive(Condition condition, bool checked) {
    bool& active = ActiveFlag(m_set, condition);
    if (checked) {
        bool refused = false;
        if (condition == Condition::HitRatio && !HitRatioAvailable()) {
            // The box is disabled without draws; nothing to say.
            refused = true;
        } else if (!IsInterpretable(condition)) {
            NemErtFelt();
            refused = true;
        } else if (condition == Condition::Twins && m_set.mirrors.active &&
                   2 * m_set.mirrors.minimum >= K()) {
            m_messages.Error(kTwinsRefused);
            refused = true;
        } else if (condition == Condition::Mirrors && m_set.twins.active &&
                   K() - m_set.twins.minimum < 2) {
            m_messages.Error(kMirrorsRefused);
            refused = true;
        } else if (condition == Condition::Sum && N() > 0) {
            const auto [low, high] =
                std::minmax_element(m_data.numbers.begin(), m_data.numbers.end());
            if (*high - *low + 1 > N()) {
                refused = !m_messages.Confirm(
                    std::string("A kijelölt számok nem szomszédosak (...9,10,11,12...) "
                                "egymással.\rCsak a kijelölt számokból álló számsorokhoz "
                                "tartozhat ") +
                    "összeg." + "\r\r" + "Mégis kijelöli a feltételt?");
            }
        }
        if (refused) {
            active = false;
            FeltJelzoBeallitas();
            return false;
        }
    }

    WriteDefaults(condition);
    active = checked;
    if (checked) {
        Normalise(condition);
        if (condition == Condition::DecadeRepeat && DecadeRepeatForcedSeveral()) {
            m_messages.Warning(kOnlySeveralDecades);
            m_set.decadeRepeat.oneGroup = false;
            Normalise(condition);
        }
        if (condition == Condition::Span && m_notices[kNoticeSpan]) {
            m_messages.Notice(kNoCollisionCheck, m_notices[kNoticeSpan]);
        }
        if (condition == Condition::NumberGroups && m_notices[kNoticeNumberGroups]) {
            m_messages.Notice(kNoCollisionCheck, m_notices[kNoticeNumberGroups]);
        }
    }
    FeltJelzoBeallitas();
    return checked;
}

void ConditionEditor::WriteDefaults(Condition condition) {
    switch (condition) {
    case Condition::HitRatio: {
        HitRatioCondition& h = m_set.hitRatio;
        h = HitRatioCondition{};
        h.minHits = h.maxHits = m_context.rowLength;
        const IntRange range = FittedDrawRange(m_context.hitRatioFirst, m_context.hitRatioLast);
        h.firstDraw = range.minimum;
        h.lastDraw = range.maximum;
        break;
    }
    case Condition::Deviation:
        // The deviation has no defaults: the user types both limits.
        break;
    case Condition::Span:
        m_set.span = SpanCondition{};
        m_set.span.last = N();
        break;
    default:
        InfoOf(condition).reset(m_set);
        break;
    }
}

void ConditionEditor::NemErtFelt() {
    m_messages.Error(kNotInterpretable);
}

void ConditionEditor::FeltJelzoBeallitas() {
    const bool any = m_set.AnyActive();
    m_clearHint = any ? kClearAll : kNothingToClear;
    if (m_hooks.conditionListCommand) {
        m_hooks.conditionListCommand(any);
    }
}

// --- Limits and values ------------------------------------------------------------------------

IntRange ConditionEditor::GroupMaxLimits(int groupSize) const {
    const int n = K();
    const int upper = groupSize > n ? n - 1 : groupSize - 1;
    // The smallest M with which the whole groups of V can still hold a row of k' numbers.
    const int groups = groupSize > 0 ? N() / groupSize : 0;
    int lower = groups > 0 ? (n + groups - 1) / groups : upper;
    lower = std::min(std::max(lower, 1), upper);
    return {lower, upper};
}

IntRange ConditionEditor::ParityLimits(const ParityCondition& parity, int evenKind,
                                       int oddKind) const {
    const int n = K();
    if (!parity.fixedRatio) {
        return {n / 2, n / 2};
    }
    const int chosen = parity.even ? evenKind : oddKind;
    const int other = parity.even ? oddKind : evenKind;
    return {std::max(1, n - other), std::min(n, chosen)};
}

int ConditionEditor::RepeatLimit(const RepeatCondition& repeat, const ClassCounts& counts) const {
    // A row of k' numbers cannot repeat classes more than k' - 1 times, whatever V allows.
    const int allowed = repeat.oneGroup ? counts.largestMinusOne : counts.repetitions;
    return std::max(0, std::min(allowed, K() - 1));
}

int ConditionEditor::TwinLimit() const {
    int limit = std::min(m_data.twinCount, K());
    if (m_set.mirrors.active) {
        limit = std::min(limit, K() - 2 * m_set.mirrors.maximum);
    }
    return std::max(limit, 0);
}

int ConditionEditor::MirrorLimit() const {
    int limit = std::min(m_data.mirrorPairs, K() / 2);
    if (m_set.twins.active) {
        limit = std::min(limit, (K() - m_set.twins.maximum) / 2);
    }
    return std::max(limit, 0);
}

IntRange ConditionEditor::Limits(Field field) const {
    const int v = N();
    const int n = K();
    const int k = m_context.rowLength;
    const NumberData& d = m_data;
    switch (field) {
    case Field::FavouredLast:
        return {1, v};
    case Field::FavouredFirst:
        return {1, m_set.favoured.last};
    case Field::FavouredMaxHits:
        return {0, std::min(n, m_set.favoured.last - m_set.favoured.first + 1)};
    case Field::FavouredMinHits:
        return {0, m_set.favoured.maxHits};
    case Field::MobileSize:
        return {2, v - (k - 1)};
    case Field::MobileMax:
        return GroupMaxLimits(m_set.mobile.groupSize);
    case Field::FixedSize:
        return {2, v / 2};
    case Field::FixedMax:
        return GroupMaxLimits(m_set.fixed.groupSize);
    case Field::DecadeParityMin:
    case Field::DecadeParityMax:
        return ParityLimits(m_set.decadeParity, d.evenDecadeCount, d.oddDecadeCount);
    case Field::EndingParityMin:
    case Field::EndingParityMax:
        return ParityLimits(m_set.endingParity, d.evenCount, d.oddCount);
    case Field::DecadeRepeatMin:
    case Field::DecadeRepeatMax:
        return {0, RepeatLimit(m_set.decadeRepeat, d.decades)};
    case Field::EndingRepeatMin:
    case Field::EndingRepeatMax:
        return {0, RepeatLimit(m_set.endingRepeat, d.endings)};
    case Field::HitRatioMin:
    case Field::HitRatioMax:
        return {1, k};
    case Field::SumMin:
        return {SmallestSum(), m_set.sum.fixedSum ? LargestSum() : LargestSum() - 1};
    case Field::SumMax:
        return {m_set.sum.fixedSum ? SmallestSum() : m_set.sum.minimum + 1, LargestSum()};
    case Field::TwinsMin:
    case Field::TwinsMax:
        return {0, TwinLimit()};
    case Field::MirrorsMin:
    case Field::MirrorsMax:
        return {0, MirrorLimit()};
    case Field::PrimesMin:
    case Field::PrimesMax:
        return {0, std::min(d.primeCount, n)};
    case Field::SpanFirst:
        return {1, v - n};
    case Field::SpanLast:
        return {n + 1, v};
    case Field::NumberGroupCount:
        return {1, std::min(n, kMaxNumberGroups)};
    case Field::ErrorPoints:
        return {0, n - 1};
    case Field::OverwriteHits:
        return {1, n - 1};
    case Field::ItemisedFrom:
    case Field::ItemisedTo:
        return {1, kMaxItemised};
    case Field::None:
        break;
    }
    return {0, 0};
}

int& ConditionEditor::Ref(Field field) {
    return FieldRef(m_set, field);
}

int ConditionEditor::Value(Field field) const {
    return const_cast<ConditionEditor*>(this)->Ref(field);
}

void ConditionEditor::Fit(Field field) {
    int& value = Ref(field);
    value = Clamp(value, Limits(field));
}

void ConditionEditor::FitPair(Field minimum, Field maximum) {
    Fit(minimum);
    Fit(maximum);
    // A limit that shrank pulls the minimum down rather than lifting the maximum past it.
    if (Ref(minimum) > Ref(maximum)) {
        Ref(minimum) = Ref(maximum);
    }
}

void ConditionEditor::NormaliseSlot(NumberGroupSlot& slot) {
    const int v = N();
    slot.first = Clamp(slot.first, {1, v});
    slot.last = Clamp(slot.last, {slot.first, v});
    const IntRange hits{0, std::min(K(), slot.last - slot.first + 1)};
    slot.maxHits = Clamp(slot.maxHits, hits);
    slot.minHits = Clamp(slot.minHits, {0, slot.maxHits});
}

void ConditionEditor::Normalise(Condition condition) {
    switch (condition) {
    case Condition::Favoured:
        Fit(Field::FavouredLast);
        Fit(Field::FavouredFirst);
        Fit(Field::FavouredMaxHits);
        Fit(Field::FavouredMinHits);
        break;
    case Condition::Mobile:
        Fit(Field::MobileSize);
        Fit(Field::MobileMax);
        break;
    case Condition::Fixed:
        Fit(Field::FixedSize);
        Fit(Field::FixedMax);
        break;
    case Condition::DecadeParity:
        FitPair(Field::DecadeParityMin, Field::DecadeParityMax);
        break;
    case Condition::DecadeRepeat:
        FitPair(Field::DecadeRepeatMin, Field::DecadeRepeatMax);
        break;
    case Condition::HitRatio:
        FitPair(Field::HitRatioMin, Field::HitRatioMax);
        break;
    case Condition::EndingParity:
        FitPair(Field::EndingParityMin, Field::EndingParityMax);
        break;
    case Condition::EndingRepeat:
        FitPair(Field::EndingRepeatMin, Field::EndingRepeatMax);
        break;
    case Condition::Sum:
        Fit(Field::SumMin);
        if (m_set.sum.fixedSum) {
            m_set.sum.maximum = m_set.sum.minimum;
        } else {
            Fit(Field::SumMax);
        }
        break;
    case Condition::Twins:
        // Each of the two narrows the other; fitting the changed one first only loosens it.
        FitPair(Field::TwinsMin, Field::TwinsMax);
        FitPair(Field::MirrorsMin, Field::MirrorsMax);
        break;
    case Condition::Mirrors:
        FitPair(Field::MirrorsMin, Field::MirrorsMax);
        FitPair(Field::TwinsMin, Field::TwinsMax);
        break;
    case Condition::Deviation: {
        // No defaults: the values stay, brought within what a row can reach.
        const RealRange limits = DeviationLimits();
        DeviationCondition& d = m_set.deviation;
        d.minimum =
            static_cast<float>(std::clamp<double>(d.minimum, limits.minimum, limits.maximum));
        d.maximum =
            static_cast<float>(std::clamp<double>(d.maximum, limits.minimum, limits.maximum));
        break;
    }
    case Condition::Span:
        Fit(Field::SpanFirst);
        Fit(Field::SpanLast);
        break;
    case Condition::Primes:
        FitPair(Field::PrimesMin, Field::PrimesMax);
        break;
    case Condition::NumberGroups:
        Fit(Field::NumberGroupCount);
        for (NumberGroupSlot& slot : m_set.numberGroups.groups) {
            NormaliseSlot(slot);
        }
        break;
    }
}

int ConditionEditor::SetValue(Field field, int value) {
    const IntRange limits = Limits(field);
    const std::string title = RangeTitle(field);
    if (!title.empty() && (value < limits.minimum || value > limits.maximum)) {
        m_messages.RangeError(title, limits.minimum, limits.maximum);
    }
    value = Clamp(value, limits);

    if ((field == Field::SumMin || field == Field::SumMax) && m_set.sum.fixedSum) {
        m_set.sum.minimum = m_set.sum.maximum = value;
    } else {
        Ref(field) = value;
    }
    for (const PushPair& pair : kPushPairs) {
        const int gap = pair.spanGap ? K() - 1 : 0;
        if (field == pair.minimum && Ref(pair.maximum) < value + gap) {
            Ref(pair.maximum) = value + gap;
        } else if (field == pair.maximum && Ref(pair.minimum) > value - gap) {
            Ref(pair.minimum) = value - gap;
        }
    }

    Condition condition = Condition::Favoured;
    if (ConditionOfField(field, condition)) {
        Normalise(condition);
    } else if (field == Field::ErrorPoints) {
        ApplyErrorPointRules();
        FeltJelzoBeallitas();
    }
    return Value(field);
}

IntRange ConditionEditor::SlotLimits(int slot, SlotField field) const {
    if (slot < 0 || slot >= kMaxNumberGroups) {
        return {0, 0};
    }
    const NumberGroupSlot& s = m_set.numberGroups.groups[static_cast<std::size_t>(slot)];
    switch (field) {
    case SlotField::First:
    case SlotField::Last:
        return {1, N()};
    case SlotField::MinHits:
    case SlotField::MaxHits:
        break;
    }
    return {0, std::min(K(), s.last - s.first + 1)};
}

int ConditionEditor::SetSlotValue(int slot, SlotField field, int value) {
    if (slot < 0 || slot >= kMaxNumberGroups) {
        return 0;
    }
    NumberGroupSlot& s = m_set.numberGroups.groups[static_cast<std::size_t>(slot)];
    value = Clamp(value, SlotLimits(slot, field));
    switch (field) {
    case SlotField::First:
        s.first = value;
        s.last = std::max(s.last, value);
        break;
    case SlotField::Last:
        s.last = value;
        s.first = std::min(s.first, value);
        break;
    case SlotField::MinHits:
        s.minHits = value;
        s.maxHits = std::max(s.maxHits, value);
        break;
    case SlotField::MaxHits:
        s.maxHits = value;
        s.minHits = std::min(s.minHits, value);
        break;
    }
    NormaliseSlot(s);
    switch (field) {
    case SlotField::First:
        return s.first;
    case SlotField::Last:
        return s.last;
    case SlotField::MinHits:
        return s.minHits;
    case SlotField::MaxHits:
        break;
    }
    return s.maxHits;
}

int ConditionEditor::SmallestSum() const {
    std::vector<std::uint8_t> sorted = m_data.numbers;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t count = std::min(sorted.size(), static_cast<std::size_t>(std::max(K(), 0)));
    int sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += sorted[i];
    }
    return sum;
}

int ConditionEditor::LargestSum() const {
    std::vector<std::uint8_t> sorted = m_data.numbers;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    const std::size_t count = std::min(sorted.size(), static_cast<std::size_t>(std::max(K(), 0)));
    int sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += sorted[i];
    }
    return sum;
}

std::string ConditionEditor::SumFieldHint() const {
    return " Minimum : " + std::to_string(SmallestSum()) + "\r" +
           " Maximum : " + std::to_string(LargestSum()) + " ";
}

// The least spread subset of a sorted list is a run of neighbours, and the most spread one is
// some of the smallest values with the rest of the largest ones (moving a value between two
// unchosen ones to either of them never lowers the spread), so both limits need only O(N)
// candidates.
RealRange ConditionEditor::AchievableDeviation() const {
    const int n = K();
    const int v = N();
    if (n < 2 || v < n) {
        return {0, 0};
    }
    std::vector<double> sorted(m_data.numbers.begin(), m_data.numbers.end());
    std::sort(sorted.begin(), sorted.end());
    const auto count = static_cast<std::size_t>(n);
    RealRange range{SampleDeviation({sorted.begin(), sorted.begin() + n}), 0};
    for (std::size_t start = 1; start + count <= sorted.size(); ++start) {
        const auto first = sorted.begin() + static_cast<std::ptrdiff_t>(start);
        range.minimum = std::min(range.minimum, SampleDeviation({first, first + n}));
    }
    for (int low = 0; low <= n; ++low) {
        std::vector<double> chosen(sorted.begin(), sorted.begin() + low);
        chosen.insert(chosen.end(), sorted.end() - (n - low), sorted.end());
        range.maximum = std::max(range.maximum, SampleDeviation(chosen));
    }
    return range;
}

RealRange ConditionEditor::DeviationLimits() const {
    const RealRange exact = AchievableDeviation();
    // Widened outwards so that the two-decimal limits still admit every achievable value.
    return {std::floor(exact.minimum * 100 + 1e-6) / 100,
            std::ceil(exact.maximum * 100 - 1e-6) / 100};
}

void ConditionEditor::SetDeviationMinimum(double value) {
    const RealRange limits = DeviationLimits();
    if (value < limits.minimum - 1e-9 || value > limits.maximum + 1e-9) {
        m_messages.RangeError("Szórás minimuma", FormatDecimal(limits.minimum, 2),
                              FormatDecimal(limits.maximum, 2));
        value = std::clamp(value, limits.minimum, limits.maximum);
    }
    m_set.deviation.minimum = static_cast<float>(value);
}

void ConditionEditor::SetDeviationMaximum(double value) {
    const RealRange limits = DeviationLimits();
    if (value < limits.minimum - 1e-9 || value > limits.maximum + 1e-9) {
        m_messages.RangeError("Szórás maximuma", FormatDecimal(limits.minimum, 2),
                              FormatDecimal(limits.maximum, 2));
        value = std::clamp(value, limits.minimum, limits.maximum);
    }
    m_set.deviation.maximum = static_cast<float>(value);
}

std::string ConditionEditor::DeviationHint() const {
    const RealRange limits = DeviationLimits();
    return " Szórás értékhatárok: \r  - minimum : " + FormatDecimal(limits.minimum, 2) + "\r" +
           "  - maximum : " + FormatDecimal(limits.maximum, 2) + " +- 0" + "," +
           "01 tűrés a kerekítések okán ";
}

// --- Choices ----------------------------------------------------------------------------------

ParityCondition& ConditionEditor::ParityOf(Condition condition) {
    return condition == Condition::EndingParity ? m_set.endingParity : m_set.decadeParity;
}

RepeatCondition& ConditionEditor::RepeatOf(Condition condition) {
    return condition == Condition::EndingRepeat ? m_set.endingRepeat : m_set.decadeRepeat;
}

bool ConditionEditor::ParityCheck(const ParityCondition& parity, int evenKind, int oddKind,
                                  const char* evenText, const char* oddText) {
    const int chosen = parity.even ? evenKind : oddKind;
    if (2 * chosen > K()) {
        return true;
    }
    m_messages.Warning(parity.even ? evenText : oddText);
    return false;
}

bool ConditionEditor::SzcsParosEll() {
    return ParityCheck(m_set.decadeParity, m_data.evenDecadeCount, m_data.oddDecadeCount,
                       kTooFewEvenDecades, kTooFewOddDecades);
}

bool ConditionEditor::SzvParosEll() {
    return ParityCheck(m_set.endingParity, m_data.evenCount, m_data.oddCount, kTooFewEvenNumbers,
                       kTooFewOddNumbers);
}

bool ConditionEditor::SetParityRatio(Condition condition, bool fixedRatio) {
    ParityCondition& parity = ParityOf(condition);
    const bool wasFixed = parity.fixedRatio;
    if (!fixedRatio) {
        const bool allowed = condition == Condition::EndingParity ? SzvParosEll() : SzcsParosEll();
        parity.fixedRatio = !allowed;
        Normalise(condition);
        return allowed;
    }
    parity.fixedRatio = true;
    Normalise(condition);
    const SumCondition& sum = m_set.sum;
    if (condition == Condition::EndingParity && !wasFixed && sum.active &&
        sum.minimum == sum.maximum) {
        m_messages.Information(std::string("A számsor összege feltétel beállítása szerint, csak ") +
                               ParityWord(sum.minimum % 2 != 0) +
                               " összegű számsor szerepelhet a variációban.");
    }
    return true;
}

bool ConditionEditor::SetParityKind(Condition condition, bool even) {
    ParityCondition& parity = ParityOf(condition);
    parity.even = even;
    bool allowed = true;
    if (!parity.fixedRatio) {
        allowed = condition == Condition::EndingParity ? SzvParosEll() : SzcsParosEll();
        parity.fixedRatio = !allowed;
    }
    Normalise(condition);
    return allowed;
}

bool ConditionEditor::DecadeRepeatForcedOne() const {
    return m_data.decades.classesWithTwoOrMore <= 1;
}

// A row keeps its repetitions within one class at best by taking the whole largest class and
// one number of every other class; when even that row is shorter than k', every row repeats in
// at least two classes.
bool ConditionEditor::DecadeRepeatForcedSeveral() const {
    const ClassCounts& d = m_data.decades;
    const int occupied = d.classesWithTwoOrMore + d.classesWithOne;
    return d.largest + occupied - 1 < K();
}

bool ConditionEditor::SetRepeatChoice(Condition condition, bool oneGroup) {
    // Only the decades have their forced choices; any ending choice is kept.
    if (condition == Condition::DecadeRepeat) {
        if (!oneGroup && DecadeRepeatForcedOne()) {
            m_messages.Warning(kOnlyOneDecade);
            oneGroup = true;
        } else if (oneGroup && DecadeRepeatForcedSeveral()) {
            m_messages.Warning(kOnlySeveralDecades);
            oneGroup = false;
        }
    }
    RepeatOf(condition).oneGroup = oneGroup;
    Normalise(condition);
    return oneGroup;
}

void ConditionEditor::SetHitRatioSearched(bool searched) {
    m_set.hitRatio.searched = searched;
    if (!searched) {
        m_set.hitRatio.fromDraws = false;
    }
}

bool ConditionEditor::SetHitRatioFromDraws(bool fromDraws) {
    HitRatioCondition& h = m_set.hitRatio;
    if (fromDraws) {
        if (!h.searched) {
            m_messages.Warning(kExcludedFromDraws);
        } else if (m_context.extensionMode) {
            m_messages.Warning(kExtensionFromDraws);
        } else if (m_context.isKeno) {
            m_messages.Warning(kKenoFromDraws);
        } else {
            h.fromDraws = true;
            return true;
        }
    }
    h.fromDraws = false;
    return !fromDraws;
}

IntRange ConditionEditor::FittedDrawRange(int first, int last) const {
    last = std::min(last, m_context.drawCount);
    last = std::max(last, 1);
    if (first < 1 || first >= last) {
        first = 1;
    }
    return {first, last};
}

void ConditionEditor::SetHitRatioDraws(int first, int last) {
    const IntRange range = FittedDrawRange(first, last);
    m_set.hitRatio.firstDraw = range.minimum;
    m_set.hitRatio.lastDraw = range.maximum;
}

std::string ConditionEditor::HitRatioPageText() const {
    if (!m_context.hasDatabase) {
        return " Hiányzik a húzások listája. ";
    }
    const HitRatioCondition& h = m_set.hitRatio;
    const IntRange range = h.active
                               ? IntRange{h.firstDraw, h.lastDraw}
                               : FittedDrawRange(m_context.hitRatioFirst, m_context.hitRatioLast);
    return std::to_string(range.minimum) + " - " + std::to_string(range.maximum) +
           ". húzásokkal összehasonlítva.";
}

void ConditionEditor::SetSumFixed(bool fixedSum) {
    m_set.sum.fixedSum = fixedSum;
    Normalise(Condition::Sum);
}

// --- Error points and engine options ----------------------------------------------------------

void ConditionEditor::ApplyErrorPointRules() {
    Fit(Field::ErrorPoints);
    EngineOptions& o = m_set.options;
    // An option whose box gets disabled is cleared with it, so the engine never sees it.
    if (!FrequencyDistributionEnabled()) {
        o.frequencyDistribution = false;
    }
    if (!OverwriteEnabled()) {
        o.overwrite = false;
    }
    if (!OptimisedEnabled()) {
        o.optimised = false;
    }
}

bool ConditionEditor::SetFrequencyDistribution(bool on) {
    m_set.options.frequencyDistribution = on && FrequencyDistributionEnabled();
    return m_set.options.frequencyDistribution;
}

bool ConditionEditor::SetOverwrite(bool on) {
    EngineOptions& o = m_set.options;
    o.overwrite = on && OverwriteEnabled();
    if (o.overwrite) {
        o.optimised = false;
        o.overwriteHits = K() - m_set.errorPoints;
        o.itemised = true;
        o.overwriteWithErrorPoints = true;
    }
    return o.overwrite;
}

bool ConditionEditor::SetOptimised(bool on) {
    EngineOptions& o = m_set.options;
    o.optimised = on && OptimisedEnabled();
    if (o.optimised) {
        o.overwrite = false;
    }
    return o.optimised;
}

std::string ConditionEditor::OptimisedHint() const {
    const int h = m_set.errorPoints;
    if (h < 2) {
        return " Legtöbb esetben csökkenti a variáció számsorainak számát, és\r optimalizálja a "
               "variáció listájába került számok előfordulásának \r gyakoriságát - "
               "eloszlását.\r A kijelölt számsortól, a feltételektől és azok párosításától,\r "
               "valamint a hibapont értékétől függően, hatásfoka változó.";
    }
    return " " + std::to_string(h) +
           " hibapontos variáció számsorainak optimalizált kiválasztása. " + "\r" +
           " Az így kapott variáció " + std::to_string(h - 1) + " hibapontos lesz. ";
}

// --- Checks before generation -----------------------------------------------------------------

bool ConditionEditor::OsszegEll() {
    const DeviationCondition& deviation = m_set.deviation;
    if (deviation.active && deviation.minimum > deviation.maximum) {
        // The minimum may lie between the lowest achievable value and the maximum set.
        m_messages.RangeError("Szórás minimuma", FormatDecimal(DeviationLimits().minimum, 2),
                              FormatDecimal(deviation.maximum, 2));
        return false;
    }
    const SumCondition& sum = m_set.sum;
    const ParityCondition& endings = m_set.endingParity;
    if (sum.active && sum.minimum == sum.maximum && endings.active && endings.fixedRatio &&
        endings.minimum == endings.maximum) {
        // 64 bits: a damaged file may hold any count.
        const long long oddInRow = endings.even ? static_cast<long long>(K()) - endings.minimum
                                                : static_cast<long long>(endings.minimum);
        const bool rowSumOdd = oddInRow % 2 != 0;
        const bool fixedSumOdd = sum.minimum % 2 != 0;
        if (rowSumOdd != fixedSumOdd) {
            std::string text =
                std::string("A számvégződések páros-páratlan találati aránya szerint, csak ") +
                ParityWord(rowSumOdd) + " összegű számsor szerepelhet a variációban.";
            if (fixedSumOdd) {
                text += "\r\rA Számsor összege feltétel fix értéke páratlan.";
            }
            m_messages.Warning(text);
            return false;
        }
    }
    return true;
}

// Fixed groups are the blocks of G positions from position 1; each lends the favoured range at
// most M of the positions it shares with it.
int ConditionEditor::FixedGroupsCapacity() const {
    // A damaged file may hold any values: positions are bounded by V, sums kept in 64 bits.
    const long long size = m_set.fixed.groupSize;
    const long long perGroup = std::max(m_set.fixed.maxPerGroup, 0);
    const long long first = std::clamp(m_set.favoured.first, 1, std::max(m_data.Size(), 1));
    const long long last =
        std::clamp(m_set.favoured.last, static_cast<int>(first), std::max(m_data.Size(), 1));
    if (size < 1) {
        return 0;
    }
    long long capacity = 0;
    for (long long start = 1; start <= last; start += size) {
        const long long overlap = std::min(start + size - 1, last) - std::max(start, first) + 1;
        capacity += std::min(perGroup, std::max(overlap, 0LL));
    }
    return static_cast<int>(std::min(capacity, 1000000LL));
}

// Any G consecutive positions hold at most M numbers, so each whole G-wide window of the
// favoured range gives M positions and the remainder at most M more: the first M positions of
// every window realise it.
int ConditionEditor::MobileGroupsCapacity() const {
    const long long size = m_set.mobile.groupSize;
    const long long perGroup = std::max(m_set.mobile.maxPerGroup, 0);
    const long long first = std::clamp(m_set.favoured.first, 1, std::max(m_data.Size(), 1));
    const long long last =
        std::clamp(m_set.favoured.last, static_cast<int>(first), std::max(m_data.Size(), 1));
    const long long width = last - first + 1;
    if (size < 1 || width < 1) {
        return 0;
    }
    return static_cast<int>(
        std::min(width / size * perGroup + std::min(perGroup, width % size), 1000000LL));
}

bool ConditionEditor::GroupFavouredCheck(int capacity, const char* groupLine) {
    const FavCondition& favoured = m_set.favoured;
    if (capacity >= favoured.maxHits) {
        return true;
    }
    const bool belowMinimum = capacity < favoured.minHits;
    const std::string text = std::string("A jelenlegi beállítások mellett, nem teljesülhet") +
                             (belowMinimum ? "" : " maradéktalanul") + "\r" +
                             "a favorizált számok feltétel." + "\r\r" + groupLine + "\r" +
                             "a favorizált számcsoportból várt találatok száma." + "\r\r" +
                             "Mégis készít variációt?";
    if (m_hooks.showDistributionPage) {
        m_hooks.showDistributionPage();
    }
    return belowMinimum ? m_messages.ErrorQuestion(text) : m_messages.WarningQuestion(text);
}

bool ConditionEditor::FixFavEll() {
    if (!m_set.favoured.active || !m_set.fixed.active) {
        return true;
    }
    return GroupFavouredCheck(FixedGroupsCapacity(),
                              "Alacsony a fix számcsoportok találati aránya, vagy magas");
}

bool ConditionEditor::MobFavEll() {
    if (!m_set.favoured.active || !m_set.mobile.active) {
        return true;
    }
    return GroupFavouredCheck(MobileGroupsCapacity(),
                              "Alacsony a mobil számcsoportok találati aránya, vagy magas");
}

bool ConditionEditor::CheckBeforeGeneration() {
    return OsszegEll() && FixFavEll() && MobFavEll();
}

// --- Clearing ---------------------------------------------------------------------------------

void ConditionEditor::FeltetelekTorlese() {
    const ConditionContext& c = m_context;
    if (c.variationExists && !c.specialVariationMode && !c.testRunning &&
        m_hooks.backupLastVariation) {
        m_hooks.backupLastVariation();
    }
    if (m_hooks.closeDialog) {
        m_hooks.closeDialog();
    }
    if (m_set.AnyActive()) {
        m_set.DeactivateAll();
        m_set.hitRatio.fromDraws = false;
        if (m_hooks.conditionListCommand) {
            m_hooks.conditionListCommand(false);
        }
        m_listHint = " Nics kijelölt feltétel. ";
    }
    if (!c.extensionMode) {
        m_set.errorPoints = 0;
        ApplyErrorPointRules();
    }
    m_data = NumberData{};
    if (c.variationExists && !c.specialVariationMode && m_hooks.deleteVariation) {
        m_hooks.deleteVariation();
    }
    FeltJelzoBeallitas();
}

bool ConditionEditor::ClearButtonClick() {
    if (m_context.variationExists && !m_context.extensionMode) {
        if (!m_hooks.confirmVariationDelete || !m_hooks.confirmVariationDelete()) {
            return false;
        }
    } else if (!m_set.AnyActive() || !m_messages.Confirm("Biztos törli a kijelölt feltételeket?")) {
        return false;
    }
    FeltetelekTorlese();
    if (m_hooks.afterClear) {
        m_hooks.afterClear();
    }
    return true;
}

void ConditionEditor::Close() {
    if (!m_set.hitRatio.active) {
        m_set.hitRatio.fromDraws = false;
    }
}

std::string ConditionEditor::SpanLabel() const {
    const int count = m_set.span.active ? m_set.span.last - m_set.span.first + 1 : N();
    return "-dik számig, " + std::to_string(count) + " szám variációja.";
}

} // namespace velmora
