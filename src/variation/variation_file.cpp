#include "variation/variation_file.h"

#include <chrono>
#include <ctime>

#include "common/clock.h"

namespace velmora {

namespace {

const char* const kProductSignature = "Velmora Personal";
constexpr std::size_t kSignatureCapacity = 30; // the length byte and 30 characters
constexpr int kMaxDrawId = 10000;
// Days from 30 December 1899 to 1 January 1970.
constexpr int kDaysBeforeUnixEpoch = 25569;

bool ReadFlag(BinaryReader& reader, bool& value) {
    std::uint8_t byte = 0;
    if (!reader.ReadU8(byte)) {
        return false;
    }
    value = byte != 0;
    return true;
}

bool ReadI32s(BinaryReader& reader, std::int32_t count, std::vector<std::int32_t>& values) {
    if (count < 0 || static_cast<std::size_t>(count) > reader.Remaining() / 4) {
        return false;
    }
    values.resize(static_cast<std::size_t>(count));
    for (std::int32_t& value : values) {
        reader.ReadI32(value);
    }
    return true;
}

bool ValidDrawIds(const std::vector<std::int32_t>& ids) {
    if (ids.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const bool last = i + 1 == ids.size();
        if (ids[i] > kMaxDrawId || ids[i] < (last ? -1 : 1)) {
            return false;
        }
    }
    return true;
}

bool ValidBlockEnds(const std::vector<std::int32_t>& ends, std::int32_t rows) {
    for (std::size_t i = 0; i < ends.size(); ++i) {
        if (ends[i] <= 0 || ends[i] > rows || (i > 0 && ends[i] <= ends[i - 1])) {
            return false;
        }
    }
    return true;
}

} // namespace

void WriteVariationBlock(const VariationShape& shape, const VariationStore& store,
                         const VariationRecord& record, const EngineOptions& options,
                         BinaryWriter& writer) {
    writer.WriteI32(record.version.major);
    writer.WriteI32(record.version.minor);
    writer.WriteI32(record.version.release);
    writer.WriteI32(record.version.build);
    const auto count = static_cast<std::int32_t>(store.Count());
    writer.WriteI32(count);
    writer.WriteF64(record.generationDate);
    if (count > 0) {
        writer.WriteBytes(store.Row(0), static_cast<std::size_t>(count) *
                                            static_cast<std::size_t>(store.RowWidth()));
    }
    if (shape.drawsList) {
        writer.WriteI32(static_cast<std::int32_t>(store.drawIds.size()));
        for (std::int32_t id : store.drawIds) {
            writer.WriteI32(id);
        }
    }
    const std::vector<std::uint32_t>& frequencies = store.Frequencies();
    for (int j = 0; j < shape.numbers; ++j) {
        const auto index = static_cast<std::size_t>(j);
        writer.WriteI32(index < frequencies.size() ? static_cast<std::int32_t>(frequencies[index])
                                                   : 0);
    }
    writer.WriteShortString(kProductSignature, kSignatureCapacity);
    writer.WriteI32(static_cast<std::int32_t>(store.savedBaseCount));
    writer.WriteI32(static_cast<std::int32_t>(store.BlockEnds().size()));
    for (std::int32_t end : store.BlockEnds()) {
        writer.WriteI32(end);
    }
    writer.WriteU8(options.overwrite ? 1 : 0);
    writer.WriteU8(options.itemised ? 1 : 0);
    writer.WriteU8(options.overwriteWithErrorPoints ? 1 : 0);
    writer.WriteI32(options.overwriteHits);
    writer.WriteI32(options.itemisedFrom);
    writer.WriteI32(options.itemisedTo);
    writer.WriteU8(record.resume.paused ? 1 : 0);
    const std::vector<std::uint8_t>& at = record.resume.position;
    for (int i = 0; i < shape.Enumerated(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        writer.WriteU8(record.resume.paused && index < at.size() ? at[index] : 0);
    }
    writer.WriteI32(record.resume.paused ? record.resume.passCounter : 0);
}

VariationRead ReadVariationBlock(BinaryReader& reader, const VariationShape& shape,
                                 VariationStore& store, VariationRecord& record,
                                 EngineOptions& options) {
    const int width = shape.RowWidth();
    const int enumerated = shape.Enumerated();
    if (enumerated < 1 || width < 1 || shape.numbers < enumerated) {
        return VariationRead::Invalid;
    }
    if (reader.Remaining() < 16) {
        return VariationRead::NoVariation;
    }
    ProgramVersion& version = record.version;
    reader.ReadI32(version.major);
    reader.ReadI32(version.minor);
    reader.ReadI32(version.release);
    reader.ReadI32(version.build);

    std::int32_t count = 0;
    if (!reader.ReadI32(count)) {
        return VariationRead::Invalid;
    }
    if (count > kMaxFileRows) {
        return VariationRead::TooLarge;
    }
    if (count < 1 || !reader.ReadF64(record.generationDate) ||
        !IsValidDayNumber(record.generationDate)) {
        return VariationRead::Invalid;
    }

    // A position must name one of the variation numbers; a draws-list row holds numbers.
    const int limit = shape.drawsList ? shape.maxNumber : shape.numbers - 1;
    std::vector<std::uint8_t> rows;
    if (!reader.ReadBytes(static_cast<std::size_t>(count) * static_cast<std::size_t>(width),
                          rows)) {
        return VariationRead::Invalid;
    }
    for (std::uint8_t byte : rows) {
        if (byte > limit) {
            return VariationRead::Invalid;
        }
    }
    store.Reset(width, shape.numbers);
    if (!store.Assign(rows, count)) {
        return VariationRead::Invalid;
    }
    if (shape.drawsList) {
        std::int32_t ids = 0;
        if (!reader.ReadI32(ids) || !ReadI32s(reader, ids, store.drawIds) ||
            !ValidDrawIds(store.drawIds)) {
            return VariationRead::Invalid;
        }
        store.drawSetCounts.assign(store.drawIds.size(), 1);
        store.drawSetCounts.back() = 0;
    }
    std::vector<std::int32_t> frequencies;
    if (!ReadI32s(reader, shape.numbers, frequencies)) {
        return VariationRead::Invalid;
    }
    store.SetFrequencies(std::vector<std::uint32_t>(frequencies.begin(), frequencies.end()));
    store.baseCount = 0;
    store.savedBaseCount = 0;
    store.BlockEnds() = {count};
    record.resume = ResumePoint{};

    if (version.major == 1 && version.minor == 7 &&
        !reader.Skip(4 + 8 * static_cast<std::size_t>(shape.fixed + enumerated + 1))) {
        return VariationRead::Invalid;
    }
    if (version.major < 2) {
        return VariationRead::Loaded;
    }

    std::int32_t savedBase = 0;
    std::int32_t blocks = 0;
    if (!reader.Skip(kSignatureCapacity + 1) || !reader.ReadI32(savedBase) || savedBase < 0 ||
        savedBase > count || !reader.ReadI32(blocks) ||
        !ReadI32s(reader, blocks, store.BlockEnds()) || !ValidBlockEnds(store.BlockEnds(), count)) {
        return VariationRead::Invalid;
    }
    store.savedBaseCount = savedBase;

    std::int32_t passCounter = 0;
    std::vector<std::uint8_t> position;
    if (!ReadFlag(reader, options.overwrite) || !ReadFlag(reader, options.itemised) ||
        !ReadFlag(reader, options.overwriteWithErrorPoints) ||
        !reader.ReadI32(options.overwriteHits) || !reader.ReadI32(options.itemisedFrom) ||
        !reader.ReadI32(options.itemisedTo) || !ReadFlag(reader, record.resume.paused) ||
        !reader.ReadBytes(static_cast<std::size_t>(enumerated), position) ||
        !reader.ReadI32(passCounter)) {
        return VariationRead::Invalid;
    }
    for (std::uint8_t byte : position) {
        if (byte > shape.maxNumber - 1) {
            return VariationRead::Invalid;
        }
    }
    record.resume.position = std::move(position);
    record.resume.passCounter =
        passCounter >= 0 && passCounter <= shape.rowLength - 1 ? passCounter : 0;
    return VariationRead::Loaded;
}

} // namespace velmora
