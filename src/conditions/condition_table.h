#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "conditions/condition_set.h"

// Everything the program knows about each of the fifteen conditions in one table: its names,
// its fields with the byte offsets of the file block, its place in the filter's test order and
// in the lists the windows show, and the bit that tells a run reached it. The condition set,
// its file block, the filter, the editor and the windows read it.
namespace velmora {

// The fifteen conditions, in the order of their records.
enum class Condition : std::uint8_t {
    Favoured,
    Mobile,
    Fixed,
    DecadeParity,
    DecadeRepeat,
    HitRatio,
    EndingParity,
    EndingRepeat,
    Sum,
    Twins,
    Mirrors,
    Deviation,
    Span,
    Primes,
    NumberGroups,
};

// The integer fields the editor gives limits for: those of the conditions, then the error
// points and the engine options.
enum class Field : std::uint8_t {
    FavouredFirst,
    FavouredLast,
    FavouredMinHits,
    FavouredMaxHits,
    MobileSize,
    MobileMax,
    FixedSize,
    FixedMax,
    DecadeParityMin,
    DecadeParityMax,
    DecadeRepeatMin,
    DecadeRepeatMax,
    HitRatioMin,
    HitRatioMax,
    EndingParityMin,
    EndingParityMax,
    EndingRepeatMin,
    EndingRepeatMax,
    SumMin,
    SumMax,
    TwinsMin,
    TwinsMax,
    MirrorsMin,
    MirrorsMax,
    SpanFirst,
    SpanLast,
    PrimesMin,
    PrimesMax,
    NumberGroupCount,
    ErrorPoints,
    OverwriteHits,
    ItemisedFrom,
    ItemisedTo,
    None, // a field without limits of its own (a flag, a real, the hit ratio's draws)
};

enum class FieldType : std::uint8_t { Flag, Integer, Real };

// One value of a condition record besides its active flag.
struct ConditionField {
    FieldType type = FieldType::Integer;
    const char* name = "";   // velmora-cli's name, after the condition's: "min" of "sum.min"
    std::uint8_t offset = 0; // within the record
    Field id = Field::None;
    // Where the value lives; the one matching `type` is set.
    bool& (*flag)(ConditionSet&) = nullptr;
    std::int32_t& (*integer)(ConditionSet&) = nullptr;
    float& (*real)(ConditionSet&) = nullptr;
};

struct ConditionInfo {
    Condition id;
    const char* boxTitle;    // the check box of the conditions dialog: " Favorizált számok"
    const char* page;        // the dialog page that holds the box
    const char* listName;    // the engine window's list and the empty-result report
    const char* key;         // velmora-cli's name of the condition
    std::uint16_t offset;    // of the record in the condition block (the error points are byte 0)
    std::uint16_t size;      // of the record
    std::uint8_t testOrder;  // the filter tests the active conditions in this order
    std::uint8_t listOrder;  // the engine window and the empty-result report list them so
    std::uint16_t passedBit; // set when a candidate row reached the condition's test
    bool& (*active)(ConditionSet&);
    std::span<const ConditionField> fields;
    // Puts the record's defaults in place (the parameters a click on the box starts from).
    void (*reset)(ConditionSet&);
    // The parameters in a line of velmora-cli's ticket description.
    std::string (*describe)(const ConditionSet&);
};

// The conditions in record order.
const std::array<ConditionInfo, kConditionCount>& ConditionTable();
const ConditionInfo& InfoOf(Condition condition);
// The conditions in the order the engine window and the empty-result report list them.
std::array<const ConditionInfo*, kConditionCount> ConditionsInListOrder();

bool& ActiveFlag(ConditionSet& set, Condition condition);
bool IsActive(const ConditionSet& set, Condition condition);

// The integer field `field` of the set (conditions, error points and engine options alike).
std::int32_t& FieldRef(ConditionSet& set, Field field);
// The condition a field belongs to; false for the error points and the engine options.
bool ConditionOfField(Field field, Condition& condition);

// The title of the range message shown when a typed field is out of its limits; empty for the
// fields set with up-down controls.
const char* RangeTitle(Field field);

// The condition set's number-group slots, at this offset of their record, 20 bytes each.
inline constexpr std::size_t kFirstSlotOffset = 8;
inline constexpr std::size_t kSlotSize = 20;

} // namespace velmora
