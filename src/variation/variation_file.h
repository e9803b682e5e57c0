#pragma once

#include <cstdint>
#include <vector>

#include "common/binary_io.h"
#include "common/version.h"
#include "conditions/condition_set.h"
#include "variation/bontas.h"
#include "variation/variation_store.h"

// The variation block of a variation file (".top"): it follows the number-row record in the same
// file and holds the rows of the store with what the program keeps beside them.
namespace velmora {

inline constexpr long long kMaxFileRows = 1000000;
// The number-row record and a million rows of at most 20 bytes fit in this; a larger file is
// refused unread.
inline constexpr std::size_t kMaxVariationFileSize = 64 * 1024 * 1024;
static_assert(kMaxFileRows * 20 + 1024 * 1024 < kMaxVariationFileSize);

// What a variation keeps beside its rows.
struct VariationRecord {
    ProgramVersion version = kProgramVersion; // of the program that generated it
    double generationDate = 0;                // days since 30 December 1899
    ResumePoint resume;                       // a paused variation goes on here
};

// The shape of the rows, from the number-row record before the block.
struct VariationShape {
    int rowLength = 0; // RowLength of the game
    int maxNumber = 0;
    int numbers = 0; // N, the variation numbers
    int fixed = 0;   // F
    bool drawsList = false;

    int Enumerated() const { return rowLength - fixed; } // k'
    int RowWidth() const { return drawsList ? rowLength : Enumerated(); }
};

// Appends the block: the rows and counts of `store`, `record` and the overwrite options.
void WriteVariationBlock(const VariationShape& shape, const VariationStore& store,
                         const VariationRecord& record, const EngineOptions& options,
                         BinaryWriter& writer);

enum class VariationRead {
    Loaded,
    NoVariation, // the file ends with its number-row record
    TooLarge,    // more than a million rows
    Invalid,
};

// Reads the block into `store`, `record` and the overwrite fields of `options`; every count and
// byte is checked against the shape before it is used. On any result but Loaded the outputs are
// unspecified and the caller discards them.
VariationRead ReadVariationBlock(BinaryReader& reader, const VariationShape& shape,
                                 VariationStore& store, VariationRecord& record,
                                 EngineOptions& options);

} // namespace velmora
