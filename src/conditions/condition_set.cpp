#include "conditions/condition_set.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora {

bool ConditionSet::AnyActive() const {
    return favoured.active || mobile.active || fixed.active || decadeParity.active ||
           decadeRepeat.active || hitRatio.active || endingParity.active || endingRepeat.active ||
           sum.active || twins.active || mirrors.active || deviation.active || span.active ||
           primes.active || numberGroups.active;
}

void ConditionSet::DeactivateAll() {
    favoured.active = false;
    mobile.active = false;
    fixed.active = false;
    decadeParity.active = false;
    decadeRepeat.active = false;
    hitRatio.active = false;
    endingParity.active = false;
    endingRepeat.active = false;
    sum.active = false;
    twins.active = false;
    mirrors.active = false;
    deviation.active = false;
    span.active = false;
    primes.active = false;
    numberGroups.active = false;
}

namespace {

// A file can hold any 32-bit values. Every value the program ever sets lies well within this
// band (positions, hits, sums and draw numbers), and within it no limit arithmetic overflows.
constexpr std::int32_t kValueBound = 100000;

std::int32_t Bounded(std::int32_t value) {
    return std::clamp(value, -kValueBound, kValueBound);
}

float Bounded(float value) {
    return std::isfinite(value) ? std::clamp(value, -1.0e6f, 1.0e6f) : 0.0f;
}

void BoundValues(ConditionSet& s) {
    for (std::int32_t* v : {&s.favoured.first,       &s.favoured.last,
                            &s.favoured.minHits,     &s.favoured.maxHits,
                            &s.mobile.groupSize,     &s.mobile.maxPerGroup,
                            &s.fixed.groupSize,      &s.fixed.maxPerGroup,
                            &s.decadeParity.minimum, &s.decadeParity.maximum,
                            &s.decadeRepeat.minimum, &s.decadeRepeat.maximum,
                            &s.hitRatio.minHits,     &s.hitRatio.maxHits,
                            &s.hitRatio.firstDraw,   &s.hitRatio.lastDraw,
                            &s.endingParity.minimum, &s.endingParity.maximum,
                            &s.endingRepeat.minimum, &s.endingRepeat.maximum,
                            &s.sum.minimum,          &s.sum.maximum,
                            &s.twins.minimum,        &s.twins.maximum,
                            &s.mirrors.minimum,      &s.mirrors.maximum,
                            &s.span.first,           &s.span.last,
                            &s.primes.minimum,       &s.primes.maximum,
                            &s.numberGroups.count,   &s.errorPoints}) {
        *v = Bounded(*v);
    }
    for (NumberGroupSlot& slot : s.numberGroups.groups) {
        slot = {Bounded(slot.first), Bounded(slot.last), Bounded(slot.minHits),
                Bounded(slot.maxHits)};
    }
    s.deviation.minimum = Bounded(s.deviation.minimum);
    s.deviation.maximum = Bounded(s.deviation.maximum);
}

// One record as bytes: fields are placed at their offsets, the rest stays zero.
class RecordBytes {
public:
    explicit RecordBytes(std::size_t size) : m_bytes(size, 0) {}
    explicit RecordBytes(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    void PutFlag(std::size_t offset, bool value) { m_bytes[offset] = value ? 1 : 0; }
    void PutI32(std::size_t offset, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < 4; ++i) {
            m_bytes[offset + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFFu);
        }
    }
    void PutFloat(std::size_t offset, float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        PutI32(offset, static_cast<std::int32_t>(bits));
    }

    bool Flag(std::size_t offset) const { return m_bytes[offset] != 0; }
    std::int32_t I32(std::size_t offset) const {
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            bits |= static_cast<std::uint32_t>(m_bytes[offset + i]) << (8 * i);
        }
        return static_cast<std::int32_t>(bits);
    }
    float Float(std::size_t offset) const {
        const auto bits = static_cast<std::uint32_t>(I32(offset));
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

RecordBytes Favoured(const FavCondition& c) {
    RecordBytes r(20);
    r.PutFlag(0, c.active);
    r.PutI32(4, c.first);
    r.PutI32(8, c.last);
    r.PutI32(12, c.minHits);
    r.PutI32(16, c.maxHits);
    return r;
}

RecordBytes Group(const GroupCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutI32(4, c.groupSize);
    r.PutI32(8, c.maxPerGroup);
    return r;
}

RecordBytes Parity(const ParityCondition& c) {
    RecordBytes r(16);
    r.PutFlag(0, c.active);
    r.PutFlag(1, c.fixedRatio);
    r.PutI32(4, c.minimum);
    r.PutI32(8, c.maximum);
    r.PutFlag(12, c.even);
    return r;
}

RecordBytes Repeat(const RepeatCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutFlag(1, c.oneGroup);
    r.PutI32(4, c.minimum);
    r.PutI32(8, c.maximum);
    return r;
}

RecordBytes HitRatio(const HitRatioCondition& c) {
    RecordBytes r(24);
    r.PutFlag(0, c.active);
    r.PutFlag(1, c.searched);
    r.PutI32(4, c.minHits);
    r.PutI32(8, c.maxHits);
    r.PutFlag(12, c.fromDraws);
    r.PutI32(16, c.firstDraw);
    r.PutI32(20, c.lastDraw);
    return r;
}

RecordBytes Sum(const SumCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutFlag(1, c.fixedSum);
    r.PutI32(4, c.minimum);
    r.PutI32(8, c.maximum);
    return r;
}

RecordBytes Count(const CountCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutI32(4, c.minimum);
    r.PutI32(8, c.maximum);
    return r;
}

RecordBytes Deviation(const DeviationCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutFloat(4, c.minimum);
    r.PutFloat(8, c.maximum);
    return r;
}

RecordBytes Span(const SpanCondition& c) {
    RecordBytes r(12);
    r.PutFlag(0, c.active);
    r.PutI32(4, c.first);
    r.PutI32(8, c.last);
    return r;
}

RecordBytes NumberGroups(const NumberGroupsCondition& c) {
    RecordBytes r(208);
    r.PutFlag(0, c.active);
    r.PutI32(4, c.count);
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
        const std::size_t base = 8 + 20 * g;
        r.PutI32(base, c.groups[g].first);
        r.PutI32(base + 4, c.groups[g].last);
        r.PutI32(base + 8, c.groups[g].minHits);
        r.PutI32(base + 12, c.groups[g].maxHits);
    }
    return r;
}

bool Take(BinaryReader& reader, std::size_t size, RecordBytes& record) {
    std::vector<std::uint8_t> bytes;
    if (!reader.ReadBytes(size, bytes)) {
        return false;
    }
    record = RecordBytes(std::move(bytes));
    return true;
}

} // namespace

void WriteConditionBlock(const ConditionSet& set, BinaryWriter& writer) {
    writer.WriteU8(static_cast<std::uint8_t>(set.errorPoints));
    for (const RecordBytes& record :
         {Favoured(set.favoured), Group(set.mobile), Group(set.fixed), Parity(set.decadeParity),
          Repeat(set.decadeRepeat), HitRatio(set.hitRatio), Parity(set.endingParity),
          Repeat(set.endingRepeat), Sum(set.sum), Count(set.twins), Count(set.mirrors),
          Deviation(set.deviation), Span(set.span), Count(set.primes),
          NumberGroups(set.numberGroups)}) {
        writer.WriteBytes(record.Bytes());
    }
}

bool ReadConditionBlock(BinaryReader& reader, int versionNumber, ConditionSet& set) {
    const bool integerDeviation = versionNumber <= 2016;
    const bool hasNumberGroups = versionNumber >= 2200;
    const std::size_t needed = hasNumberGroups ? kConditionBlockSize : kShortConditionBlockSize;
    if (reader.Remaining() < needed) {
        return false;
    }
    ConditionSet read = set;
    std::uint8_t errorPoints = 0;
    reader.ReadU8(errorPoints);
    read.errorPoints = errorPoints;

    RecordBytes r(0);
    Take(reader, 20, r);
    read.favoured = {r.Flag(0), r.I32(4), r.I32(8), r.I32(12), r.I32(16)};
    for (GroupCondition* group : {&read.mobile, &read.fixed}) {
        Take(reader, 12, r);
        *group = {r.Flag(0), r.I32(4), r.I32(8)};
    }
    auto parity = [&r]() {
        return ParityCondition{r.Flag(0), r.Flag(1), r.I32(4), r.I32(8), r.Flag(12)};
    };
    auto repeat = [&r]() { return RepeatCondition{r.Flag(0), r.Flag(1), r.I32(4), r.I32(8)}; };
    Take(reader, 16, r);
    read.decadeParity = parity();
    Take(reader, 12, r);
    read.decadeRepeat = repeat();
    Take(reader, 24, r);
    read.hitRatio = {r.Flag(0), r.Flag(1), r.I32(4), r.I32(8), r.Flag(12), r.I32(16), r.I32(20)};
    Take(reader, 16, r);
    read.endingParity = parity();
    Take(reader, 12, r);
    read.endingRepeat = repeat();
    Take(reader, 12, r);
    read.sum = {r.Flag(0), r.Flag(1), r.I32(4), r.I32(8)};
    for (CountCondition* count : {&read.twins, &read.mirrors}) {
        Take(reader, 12, r);
        *count = {r.Flag(0), r.I32(4), r.I32(8)};
    }
    Take(reader, 12, r);
    if (integerDeviation) {
        read.deviation = {r.Flag(0), static_cast<float>(r.I32(4)), static_cast<float>(r.I32(8))};
    } else {
        read.deviation = {r.Flag(0), r.Float(4), r.Float(8)};
    }
    Take(reader, 12, r);
    read.span = {r.Flag(0), r.I32(4), r.I32(8)};
    Take(reader, 12, r);
    read.primes = {r.Flag(0), r.I32(4), r.I32(8)};
    if (hasNumberGroups) {
        Take(reader, 208, r);
        read.numberGroups.active = r.Flag(0);
        read.numberGroups.count = r.I32(4);
        for (std::size_t g = 0; g < read.numberGroups.groups.size(); ++g) {
            const std::size_t base = 8 + 20 * g;
            read.numberGroups.groups[g] = {r.I32(base), r.I32(base + 4), r.I32(base + 8),
                                           r.I32(base + 12)};
        }
    } else {
        read.numberGroups.active = false;
    }
    BoundValues(read);
    set = read;
    return true;
}

bool ReadOldConditionRecord(BinaryReader& reader, ConditionSet& set) {
    RecordBytes r(0);
    if (reader.Remaining() < kOldConditionRecordSize + 8 ||
        !Take(reader, kOldConditionRecordSize, r)) {
        return false;
    }
    std::int32_t firstDraw = 0;
    std::int32_t lastDraw = 0;
    reader.ReadI32(firstDraw);
    reader.ReadI32(lastDraw);

    ConditionSet read = set;
    read.errorPoints = r.I32(0);
    read.favoured = {r.I32(4) != 0, r.I32(8), r.I32(12), r.I32(16), r.I32(20)};
    read.mobile = {r.I32(24) != 0, r.I32(28), r.I32(32)};
    read.fixed = {r.I32(36) != 0, r.I32(40), r.I32(44)};
    read.decadeParity = {r.Flag(48), r.Flag(49), r.I32(52), r.I32(56), r.I32(60) != 0};
    read.decadeRepeat = {r.Flag(72), r.Flag(73), r.I32(76), r.I32(80)};
    read.hitRatio = {r.Flag(92),      r.Flag(93), r.I32(96), r.I32(100),
                     r.I32(104) != 0, firstDraw,  lastDraw};
    read.endingParity = {r.Flag(108), r.Flag(109), r.I32(112), r.I32(116), r.I32(120) != 0};
    read.endingRepeat = {r.Flag(132), r.Flag(133), r.I32(136), r.I32(140)};
    read.sum = {r.Flag(152), r.Flag(153), r.I32(156), r.I32(160)};
    read.twins = {r.I32(172) != 0, r.I32(176), r.I32(180)};
    read.mirrors = {r.I32(192) != 0, r.I32(196), r.I32(200)};
    read.deviation.active = false;
    read.span.active = false;
    read.primes.active = false;
    read.numberGroups.active = false;
    BoundValues(read);
    set = read;
    return true;
}

} // namespace velmora
