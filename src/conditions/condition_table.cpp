#include "conditions/condition_table.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace velmora {

namespace {

// The value `Member` of the record `Record` of a set, as a plain function pointer.
template <auto Record, auto Member>
auto& At(ConditionSet& set) {
    return (set.*Record).*Member;
}

constexpr ConditionField Flag(const char* name, std::uint8_t offset, bool& (*at)(ConditionSet&)) {
    return {FieldType::Flag, name, offset, Field::None, at, nullptr, nullptr};
}
constexpr ConditionField Integer(const char* name, std::uint8_t offset, Field id,
                                 std::int32_t& (*at)(ConditionSet&)) {
    return {FieldType::Integer, name, offset, id, nullptr, at, nullptr};
}
constexpr ConditionField Real(const char* name, std::uint8_t offset, float& (*at)(ConditionSet&)) {
    return {FieldType::Real, name, offset, Field::None, nullptr, nullptr, at};
}

using S = ConditionSet;

constexpr ConditionField kFavouredFields[] = {
    Integer("first", 4, Field::FavouredFirst, At<&S::favoured, &FavCondition::first>),
    Integer("last", 8, Field::FavouredLast, At<&S::favoured, &FavCondition::last>),
    Integer("min", 12, Field::FavouredMinHits, At<&S::favoured, &FavCondition::minHits>),
    Integer("max", 16, Field::FavouredMaxHits, At<&S::favoured, &FavCondition::maxHits>),
};
constexpr ConditionField kMobileFields[] = {
    Integer("size", 4, Field::MobileSize, At<&S::mobile, &GroupCondition::groupSize>),
    Integer("max", 8, Field::MobileMax, At<&S::mobile, &GroupCondition::maxPerGroup>),
};
constexpr ConditionField kFixedFields[] = {
    Integer("size", 4, Field::FixedSize, At<&S::fixed, &GroupCondition::groupSize>),
    Integer("max", 8, Field::FixedMax, At<&S::fixed, &GroupCondition::maxPerGroup>),
};
constexpr ConditionField kDecadeParityFields[] = {
    Flag("fixed", 1, At<&S::decadeParity, &ParityCondition::fixedRatio>),
    Integer("min", 4, Field::DecadeParityMin, At<&S::decadeParity, &ParityCondition::minimum>),
    Integer("max", 8, Field::DecadeParityMax, At<&S::decadeParity, &ParityCondition::maximum>),
    Flag("even", 12, At<&S::decadeParity, &ParityCondition::even>),
};
constexpr ConditionField kDecadeRepeatFields[] = {
    Flag("one-group", 1, At<&S::decadeRepeat, &RepeatCondition::oneGroup>),
    Integer("min", 4, Field::DecadeRepeatMin, At<&S::decadeRepeat, &RepeatCondition::minimum>),
    Integer("max", 8, Field::DecadeRepeatMax, At<&S::decadeRepeat, &RepeatCondition::maximum>),
};
constexpr ConditionField kHitRatioFields[] = {
    Flag("searched", 1, At<&S::hitRatio, &HitRatioCondition::searched>),
    Integer("min", 4, Field::HitRatioMin, At<&S::hitRatio, &HitRatioCondition::minHits>),
    Integer("max", 8, Field::HitRatioMax, At<&S::hitRatio, &HitRatioCondition::maxHits>),
    Flag("from-draws", 12, At<&S::hitRatio, &HitRatioCondition::fromDraws>),
    Integer("first-draw", 16, Field::None, At<&S::hitRatio, &HitRatioCondition::firstDraw>),
    Integer("last-draw", 20, Field::None, At<&S::hitRatio, &HitRatioCondition::lastDraw>),
};
constexpr ConditionField kEndingParityFields[] = {
    Flag("fixed", 1, At<&S::endingParity, &ParityCondition::fixedRatio>),
    Integer("min", 4, Field::EndingParityMin, At<&S::endingParity, &ParityCondition::minimum>),
    Integer("max", 8, Field::EndingParityMax, At<&S::endingParity, &ParityCondition::maximum>),
    Flag("even", 12, At<&S::endingParity, &ParityCondition::even>),
};
constexpr ConditionField kEndingRepeatFields[] = {
    Flag("one-group", 1, At<&S::endingRepeat, &RepeatCondition::oneGroup>),
    Integer("min", 4, Field::EndingRepeatMin, At<&S::endingRepeat, &RepeatCondition::minimum>),
    Integer("max", 8, Field::EndingRepeatMax, At<&S::endingRepeat, &RepeatCondition::maximum>),
};
constexpr ConditionField kSumFields[] = {
    Flag("fixed", 1, At<&S::sum, &SumCondition::fixedSum>),
    Integer("min", 4, Field::SumMin, At<&S::sum, &SumCondition::minimum>),
    Integer("max", 8, Field::SumMax, At<&S::sum, &SumCondition::maximum>),
};
constexpr ConditionField kTwinsFields[] = {
    Integer("min", 4, Field::TwinsMin, At<&S::twins, &CountCondition::minimum>),
    Integer("max", 8, Field::TwinsMax, At<&S::twins, &CountCondition::maximum>),
};
constexpr ConditionField kMirrorsFields[] = {
    Integer("min", 4, Field::MirrorsMin, At<&S::mirrors, &CountCondition::minimum>),
    Integer("max", 8, Field::MirrorsMax, At<&S::mirrors, &CountCondition::maximum>),
};
constexpr ConditionField kDeviationFields[] = {
    Real("min", 4, At<&S::deviation, &DeviationCondition::minimum>),
    Real("max", 8, At<&S::deviation, &DeviationCondition::maximum>),
};
constexpr ConditionField kSpanFields[] = {
    Integer("first", 4, Field::SpanFirst, At<&S::span, &SpanCondition::first>),
    Integer("last", 8, Field::SpanLast, At<&S::span, &SpanCondition::last>),
};
constexpr ConditionField kPrimesFields[] = {
    Integer("min", 4, Field::PrimesMin, At<&S::primes, &CountCondition::minimum>),
    Integer("max", 8, Field::PrimesMax, At<&S::primes, &CountCondition::maximum>),
};
// The slots follow from kFirstSlotOffset.
constexpr ConditionField kNumberGroupsFields[] = {
    Integer("count", 4, Field::NumberGroupCount,
            At<&S::numberGroups, &NumberGroupsCondition::count>),
};

std::string Range(long long low, long long high) {
    return std::to_string(low) + "-" + std::to_string(high);
}

std::string DescribeParity(const ParityCondition& p) {
    return std::string(p.fixedRatio ? "fixed" : "several") + ", " + (p.even ? "even" : "odd") +
           " " + Range(p.minimum, p.maximum);
}

std::string DescribeRepeat(const RepeatCondition& r) {
    return std::string(r.oneGroup ? "one group" : "several groups") + ", " +
           Range(r.minimum, r.maximum);
}

std::string DescribeGroup(const GroupCondition& g) {
    return "size " + std::to_string(g.groupSize) + ", at most " + std::to_string(g.maxPerGroup) +
           " per group";
}

constexpr std::array<ConditionInfo, kConditionCount> kTable = {{
    {Condition::Favoured, " Favorizált számok", "Eloszlás ", "Favorizált számok", "favoured", 1, 20,
     2, 0, 0x0001, At<&S::favoured, &FavCondition::active>, kFavouredFields,
     [](S& s) { s.favoured = {}; },
     [](const S& s) {
         return "positions " + Range(s.favoured.first, s.favoured.last) + ", hits " +
                Range(s.favoured.minHits, s.favoured.maxHits);
     }},
    {Condition::Mobile, " Mobil számcsoportok", "Eloszlás ", "Mobil számcsoportok", "mobile groups",
     21, 12, 0, 1, 0x0002, At<&S::mobile, &GroupCondition::active>, kMobileFields,
     [](S& s) { s.mobile = {}; }, [](const S& s) { return DescribeGroup(s.mobile); }},
    {Condition::Fixed, " Fix számcsoportok", "Eloszlás ", "Fix számcsoportok", "fixed groups", 33,
     12, 1, 2, 0x0004, At<&S::fixed, &GroupCondition::active>, kFixedFields,
     [](S& s) { s.fixed = {}; }, [](const S& s) { return DescribeGroup(s.fixed); }},
    {Condition::DecadeParity, " Páros-páratlan", "Számcsoport", "Számcsoport páros/páratlan aránya",
     "decade even/odd", 45, 16, 3, 3, 0x0008, At<&S::decadeParity, &ParityCondition::active>,
     kDecadeParityFields, [](S& s) { s.decadeParity = {}; },
     [](const S& s) { return DescribeParity(s.decadeParity); }},
    {Condition::DecadeRepeat, " Ismétlődés", "Számcsoport", "Számcsoport ismétlődés",
     "decade repetition", 61, 12, 4, 4, 0x0010, At<&S::decadeRepeat, &RepeatCondition::active>,
     kDecadeRepeatFields, [](S& s) { s.decadeRepeat = {}; },
     [](const S& s) { return DescribeRepeat(s.decadeRepeat); }},
    {Condition::HitRatio, " Találati arány", "Találati arány", "Találati arány", "hit ratio", 73,
     24, 14, 5, 0x0020, At<&S::hitRatio, &HitRatioCondition::active>, kHitRatioFields,
     [](S& s) { s.hitRatio = {}; },
     [](const S& s) {
         const HitRatioCondition& h = s.hitRatio;
         return std::string(h.searched ? "searched" : "excluded") + ", hits " +
                Range(h.minHits, h.maxHits) + ", rows from " +
                (h.fromDraws ? "draws" : "variation") + ", draws " + Range(h.firstDraw, h.lastDraw);
     }},
    {Condition::EndingParity, " Páros-páratlan", "Számvégződés",
     "Számvégződés páros/páratlan aránya", "ending even/odd", 97, 16, 5, 6, 0x0040,
     At<&S::endingParity, &ParityCondition::active>, kEndingParityFields,
     [](S& s) { s.endingParity = {}; }, [](const S& s) { return DescribeParity(s.endingParity); }},
    {Condition::EndingRepeat, " Ismétlődés", "Számvégződés", "Számvégződés ismétlődés",
     "ending repetition", 113, 12, 6, 7, 0x0080, At<&S::endingRepeat, &RepeatCondition::active>,
     kEndingRepeatFields, [](S& s) { s.endingRepeat = {}; },
     [](const S& s) { return DescribeRepeat(s.endingRepeat); }},
    {Condition::Sum, " Számsor összege", "Math", "Számsor összege", "sum", 125, 12, 7, 11, 0x0200,
     At<&S::sum, &SumCondition::active>, kSumFields, [](S& s) { s.sum = {}; },
     [](const S& s) {
         return std::string(s.sum.fixedSum ? "fixed" : "mobile") + ", " +
                Range(s.sum.minimum, s.sum.maximum);
     }},
    {Condition::Twins, " Ikerszám", "Események ", "Ikerszámok", "twin numbers", 137, 12, 8, 8,
     0x0400, At<&S::twins, &CountCondition::active>, kTwinsFields, [](S& s) { s.twins = {}; },
     [](const S& s) { return Range(s.twins.minimum, s.twins.maximum); }},
    {Condition::Mirrors, " Tükör számpár", "Események ", "Tükör számpár", "mirror pairs", 149, 12,
     9, 9, 0x0800, At<&S::mirrors, &CountCondition::active>, kMirrorsFields,
     [](S& s) { s.mirrors = {}; },
     [](const S& s) { return Range(s.mirrors.minimum, s.mirrors.maximum); }},
    {Condition::Deviation, " Szórás", "Math", "Szórás", "standard deviation", 161, 12, 10, 12,
     0x1000, At<&S::deviation, &DeviationCondition::active>, kDeviationFields,
     [](S& s) { s.deviation = {}; },
     [](const S& s) {
         std::ostringstream text;
         text << std::fixed << std::setprecision(2) << s.deviation.minimum << "-"
              << s.deviation.maximum;
         return text.str();
     }},
    {Condition::Span, " Terjedelem", "Math", "Terjedelem", "span", 173, 12, 11, 13, 0x2000,
     At<&S::span, &SpanCondition::active>, kSpanFields, [](S& s) { s.span = {}; },
     [](const S& s) { return "positions " + Range(s.span.first, s.span.last); }},
    {Condition::Primes, " Prímszám", "Események ", "Prímszám", "primes", 185, 12, 12, 10, 0x4000,
     At<&S::primes, &CountCondition::active>, kPrimesFields, [](S& s) { s.primes = {}; },
     [](const S& s) { return Range(s.primes.minimum, s.primes.maximum); }},
    {Condition::NumberGroups, " Számcsoportok", "Eloszlás ", "Számcsoport", "number groups", 197,
     208, 13, 14, 0x8000, At<&S::numberGroups, &NumberGroupsCondition::active>, kNumberGroupsFields,
     [](S& s) { s.numberGroups = {}; },
     [](const S& s) {
         std::string text;
         const int groups = std::clamp(s.numberGroups.count, 0, kMaxNumberGroups);
         for (int g = 0; g < groups; ++g) {
             const NumberGroupSlot& slot = s.numberGroups.groups[static_cast<std::size_t>(g)];
             text += std::string(g == 0 ? "" : "; ") + "positions " + Range(slot.first, slot.last) +
                     ", hits " + Range(slot.minHits, slot.maxHits);
         }
         return text;
     }},
}};

// The records follow each other without gaps, after the error-point byte.
constexpr bool RecordsAreContiguous() {
    std::size_t offset = 1;
    for (const ConditionInfo& info : kTable) {
        if (info.offset != offset) {
            return false;
        }
        offset += info.size;
    }
    return offset == kConditionBlockSize;
}
static_assert(RecordsAreContiguous());

} // namespace

const std::array<ConditionInfo, kConditionCount>& ConditionTable() {
    return kTable;
}

const ConditionInfo& InfoOf(Condition condition) {
    return kTable[static_cast<std::size_t>(condition)];
}

std::array<const ConditionInfo*, kConditionCount> ConditionsInListOrder() {
    std::array<const ConditionInfo*, kConditionCount> ordered{};
    for (const ConditionInfo& info : kTable) {
        ordered[info.listOrder] = &info;
    }
    return ordered;
}

bool& ActiveFlag(ConditionSet& set, Condition condition) {
    return InfoOf(condition).active(set);
}

bool IsActive(const ConditionSet& set, Condition condition) {
    // The accessors hand out references for writing; reading through them changes nothing.
    return InfoOf(condition).active(const_cast<ConditionSet&>(set));
}

std::int32_t& FieldRef(ConditionSet& set, Field field) {
    switch (field) {
    case Field::ErrorPoints:
        return set.errorPoints;
    case Field::OverwriteHits:
        return set.options.overwriteHits;
    case Field::ItemisedFrom:
        return set.options.itemisedFrom;
    case Field::ItemisedTo:
        return set.options.itemisedTo;
    default:
        break;
    }
    for (const ConditionInfo& info : kTable) {
        for (const ConditionField& f : info.fields) {
            if (f.id == field) {
                return f.integer(set);
            }
        }
    }
    return set.options.itemisedTo; // Field::None: never asked for
}

bool ConditionOfField(Field field, Condition& condition) {
    for (const ConditionInfo& info : kTable) {
        for (const ConditionField& f : info.fields) {
            if (f.id == field && field != Field::None) {
                condition = info.id;
                return true;
            }
        }
    }
    return false;
}

const char* RangeTitle(Field field) {
    switch (field) {
    case Field::SumMin:
        return "Fix összeg";
    case Field::SumMax:
        return "Összeg maximuma";
    case Field::ItemisedFrom:
    case Field::ItemisedTo:
        return "Tételes felülírás";
    default:
        return "";
    }
}

} // namespace velmora
