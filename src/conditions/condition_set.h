#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/binary_io.h"

// The fifteen filter conditions with the error points and the engine options, and the block in
// which number-row and variation files keep them.
namespace velmora {

inline constexpr int kConditionCount = 15;
inline constexpr std::size_t kConditionBlockSize = 405;
// The shortest condition block of any version-2 file (no number groups).
inline constexpr std::size_t kShortConditionBlockSize = 197;
inline constexpr std::size_t kOldConditionRecordSize = 212;
inline constexpr int kMaxNumberGroups = 10;

// 1. Favoured numbers: positions first..last (1-based) hold minHits..maxHits numbers of a row.
struct FavCondition {
    bool active = false;
    std::int32_t first = 1;
    std::int32_t last = 1;
    std::int32_t minHits = 0;
    std::int32_t maxHits = 1;
};

// 2. Mobile groups and 3. fixed groups: at most maxPerGroup numbers of a row in any group of
// groupSize positions (mobile: any window; fixed: blocks from position 1).
struct GroupCondition {
    bool active = false;
    std::int32_t groupSize = 2;
    std::int32_t maxPerGroup = 1;
};

// 4. Decade and 7. ending even/odd balance.
struct ParityCondition {
    bool active = false;
    bool fixedRatio = true; // "Fix"; false = "Több"
    std::int32_t minimum = 1;
    std::int32_t maximum = 1;
    bool even = true; // "páros"; false = "páratlan"
};

// 5. Decade and 8. ending repetition.
struct RepeatCondition {
    bool active = false;
    bool oneGroup = true; // "Egy"; false = "Több"
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// 6. Hit ratio against past draws.
struct HitRatioCondition {
    bool active = false;
    bool searched = true; // "Keresett"; false = "Kizárt"
    std::int32_t minHits = 0;
    std::int32_t maxHits = 0;
    bool fromDraws = false; // rows from the draws list ("húzások"); false = "variáció"
    std::int32_t firstDraw = 1;
    std::int32_t lastDraw = 1;
};

// 9. Sum of a row.
struct SumCondition {
    bool active = false;
    bool fixedSum = true; // "Fix"; false = "Mobil"
    std::int32_t minimum = 3;
    std::int32_t maximum = 3;
};

// 10. Twin numbers, 11. mirror pairs, 14. primes: a count between minimum and maximum.
struct CountCondition {
    bool active = false;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// 12. Standard deviation (sample formula), kept in single precision.
struct DeviationCondition {
    bool active = false;
    float minimum = 0;
    float maximum = 0;
};

// 13. Span: every number of a row within positions first..last (1-based).
struct SpanCondition {
    bool active = false;
    std::int32_t first = 1;
    std::int32_t last = 1;
};

struct NumberGroupSlot {
    std::int32_t first = 1;
    std::int32_t last = 2;
    std::int32_t minHits = 0;
    std::int32_t maxHits = 1;
};

// 15. Number groups: up to ten position ranges, each with its hit limits.
struct NumberGroupsCondition {
    bool active = false;
    std::int32_t count = 1;
    std::array<NumberGroupSlot, kMaxNumberGroups> groups{}; // "slots" would clash with Qt
};

// The options of the generation modes, set on the conditions dialog beside the conditions.
struct EngineOptions {
    bool frequencyDistribution = false; // "Gyakorisági eloszlás"
    bool optimised = false;             // "Optimalizált"
    bool overwrite = false;             // "Felülírás"
    std::int32_t overwriteHits = 1;     // "találatos", 1..n-1
    bool itemised = true;               // "Tételes"
    std::int32_t itemisedFrom = 1;      // 1..30000
    std::int32_t itemisedTo = 1;
    bool overwriteWithErrorPoints = true; // "Hibapontos"
};

struct ConditionSet {
    FavCondition favoured;
    GroupCondition mobile;
    GroupCondition fixed;
    ParityCondition decadeParity;
    RepeatCondition decadeRepeat;
    HitRatioCondition hitRatio;
    ParityCondition endingParity;
    RepeatCondition endingRepeat;
    SumCondition sum;
    CountCondition twins;
    CountCondition mirrors;
    DeviationCondition deviation;
    SpanCondition span;
    CountCondition primes;
    NumberGroupsCondition numberGroups;

    std::int32_t errorPoints = 0; // "Hibapont", 0..n-1
    EngineOptions options;

    // "FeltetelJelzo": at least one condition is active.
    bool AnyActive() const;
    // Makes every condition inactive (parameters stay).
    void DeactivateAll();
};

// The 405-byte block: the error points as a byte, then the fifteen records in order.
void WriteConditionBlock(const ConditionSet& set, BinaryWriter& writer);

// Reads the block of a version-2 file of the given version number (major × 1000 + ...):
// up to 2016 the deviation limits are integers, below 2200 the number groups are absent.
// False when the bytes run out; `set` then keeps its values.
bool ReadConditionBlock(BinaryReader& reader, int versionNumber, ConditionSet& set);

// Reads the 212-byte record of major-version-1 files and the two draw-range integers after it.
bool ReadOldConditionRecord(BinaryReader& reader, ConditionSet& set);

} // namespace velmora
