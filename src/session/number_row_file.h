#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/binary_io.h"
#include "common/messages.h"
#include "common/version.h"
#include "conditions/condition_set.h"
#include "game/game_catalogue.h"
#include "game/main_ticket.h"

// The number-row file (".tip"): the main ticket's marks, the number order and the conditions of
// one game. A variation file starts with the same record, so the record writer and reader work
// on a caller's writer and reader.
namespace velmora {

// The smallest acceptable number-row file.
inline constexpr std::size_t kMinimumNumberRowFileSize = 100;
// A number-row file is a few hundred bytes; a larger one is not a number-row file.
inline constexpr std::size_t kMaxNumberRowFileSize = 64 * 1024;
// Capacity of the product tag that closes a record of major version 2 or later.
inline constexpr std::size_t kProductTagCapacity = 30;

// What one record holds.
struct NumberRowRecord {
    // The version the file was written with; filled by the reader (the writer always writes
    // the running version).
    ProgramVersion fileVersion = kProgramVersion;
    GameId game = 0;
    std::int32_t numbersToChoose = 0;
    std::vector<std::uint8_t> selected;
    std::vector<std::uint8_t> fixed;
    std::vector<std::uint8_t> constant;
    std::vector<std::uint8_t> random;
    std::int32_t numberOrder = 0;
    // "FeltetelJelzo": at least one condition counts.
    bool conditionsSet = false;
    // With the error points and the engine options.
    ConditionSet conditions;
};

// The record of the current ticket and conditions.
NumberRowRecord NumberRowOf(const MainTicket& ticket, const ConditionSet& conditions);

// Writes the whole record with the running version.
void WriteNumberRowRecord(const NumberRowRecord& record, BinaryWriter& writer);

// What a record read from a file is checked against.
struct NumberRowContext {
    GameInfo game;
    int drawsLoaded = 0;  // draws now loaded; 0 when there is no database
    std::string fileName; // as the messages show it
};

// Reads and checks one record, telling the user about every problem. The fields a file does not
// hold (the engine options other than frequency distribution and optimised, and the parameters
// of conditions an older layout lacks) keep the values `record` came with. False when loading
// must fail; the caller then clears the ticket.
bool ReadNumberRowRecord(BinaryReader& reader, const NumberRowContext& context, Messages& messages,
                         NumberRowRecord& record);

// Replaces `path` with the record; false after an error message.
bool SaveNumberRow(const std::string& path, const NumberRowRecord& record, Messages& messages);

// Reads the record of `path`; false after the messages of a refused or unreadable file.
bool LoadNumberRow(const std::string& path, const NumberRowContext& context, Messages& messages,
                   NumberRowRecord& record);

// False when a file of that name exists but cannot be opened for writing (another program holds
// it, or it is no file); the busy message has been shown then and the caller must not write.
bool IsFileFree(const std::string& path, Messages& messages);

} // namespace velmora
