#include "conditions/condition_set.h"

#include "conditions/condition_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora {

bool ConditionSet::AnyActive() const {
    for (const ConditionInfo& info : ConditionTable()) {
        if (IsActive(*this, info.id)) {
            return true;
        }
    }
    return false;
}

void ConditionSet::DeactivateAll() {
    for (const ConditionInfo& info : ConditionTable()) {
        info.active(*this) = false;
    }
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
    s.errorPoints = Bounded(s.errorPoints);
    for (const ConditionInfo& info : ConditionTable()) {
        for (const ConditionField& field : info.fields) {
            if (field.type == FieldType::Integer) {
                field.integer(s) = Bounded(field.integer(s));
            } else if (field.type == FieldType::Real) {
                field.real(s) = Bounded(field.real(s));
            }
        }
    }
    for (NumberGroupSlot& slot : s.numberGroups.groups) {
        slot = {Bounded(slot.first), Bounded(slot.last), Bounded(slot.minHits),
                Bounded(slot.maxHits)};
    }
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

// The record of `info` as the block keeps it.
RecordBytes RecordOf(const ConditionInfo& info, const ConditionSet& set) {
    // The accessors hand out references for writing; reading through them changes nothing.
    ConditionSet& s = const_cast<ConditionSet&>(set);
    RecordBytes r(info.size);
    r.PutFlag(0, info.active(s));
    for (const ConditionField& field : info.fields) {
        switch (field.type) {
        case FieldType::Flag:
            r.PutFlag(field.offset, field.flag(s));
            break;
        case FieldType::Integer:
            r.PutI32(field.offset, field.integer(s));
            break;
        case FieldType::Real:
            r.PutFloat(field.offset, field.real(s));
            break;
        }
    }
    if (info.id == Condition::NumberGroups) {
        for (std::size_t g = 0; g < set.numberGroups.groups.size(); ++g) {
            const NumberGroupSlot& slot = set.numberGroups.groups[g];
            const std::size_t base = kFirstSlotOffset + kSlotSize * g;
            r.PutI32(base, slot.first);
            r.PutI32(base + 4, slot.last);
            r.PutI32(base + 8, slot.minHits);
            r.PutI32(base + 12, slot.maxHits);
        }
    }
    return r;
}

// Reads the record of `info` into `set`. Deviation limits of the oldest files are integers.
void ReadRecord(const ConditionInfo& info, const RecordBytes& r, bool integerReals,
                ConditionSet& set) {
    info.active(set) = r.Flag(0);
    for (const ConditionField& field : info.fields) {
        switch (field.type) {
        case FieldType::Flag:
            field.flag(set) = r.Flag(field.offset);
            break;
        case FieldType::Integer:
            field.integer(set) = r.I32(field.offset);
            break;
        case FieldType::Real:
            field.real(set) =
                integerReals ? static_cast<float>(r.I32(field.offset)) : r.Float(field.offset);
            break;
        }
    }
    if (info.id == Condition::NumberGroups) {
        for (std::size_t g = 0; g < set.numberGroups.groups.size(); ++g) {
            const std::size_t base = kFirstSlotOffset + kSlotSize * g;
            set.numberGroups.groups[g] = {r.I32(base), r.I32(base + 4), r.I32(base + 8),
                                          r.I32(base + 12)};
        }
    }
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
    for (const ConditionInfo& info : ConditionTable()) {
        writer.WriteBytes(RecordOf(info, set).Bytes());
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
    for (const ConditionInfo& info : ConditionTable()) {
        if (info.id == Condition::NumberGroups && !hasNumberGroups) {
            read.numberGroups.active = false;
            continue;
        }
        RecordBytes r(0);
        Take(reader, info.size, r);
        ReadRecord(info, r, integerDeviation, read);
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
