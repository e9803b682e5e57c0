#include "session/number_row_file.h"

#include <algorithm>
#include <array>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "common/file_io.h"

namespace velmora {

namespace {

// Files of major version 1 count the games from 5.
constexpr std::int32_t kOldGameOffset = 5;
// The first versions whose files hold the random numbers and the frequency-distribution option.
constexpr long long kRandomNumbersVersion = 1230;
constexpr long long kFrequencyOptionVersion = 1310;

// Computed wide: the fields of a damaged file may be anything.
long long VersionNumber(const ProgramVersion& v) {
    return static_cast<long long>(v.major) * 1000 + static_cast<long long>(v.minor) * 100 +
           static_cast<long long>(v.release) * 10 + v.build;
}

void WriteList(const std::vector<std::uint8_t>& list, BinaryWriter& writer) {
    writer.WriteI32(static_cast<std::int32_t>(list.size()));
    writer.WriteBytes(list);
}

bool Contains(const std::vector<std::uint8_t>& list, std::uint8_t number) {
    return std::find(list.begin(), list.end(), number) != list.end();
}

enum class ListRead { Ok, Short, Invalid };

// Reads `count` numbers (the count already checked for its range). Invalid when a number is
// outside 1..maxNumber or appears twice.
ListRead ReadNumbers(BinaryReader& reader, std::int32_t count, int maxNumber,
                     std::vector<std::uint8_t>& out) {
    if (count < 0 || !reader.ReadBytes(static_cast<std::size_t>(count), out)) {
        return ListRead::Short;
    }
    std::array<bool, 256> seen{};
    for (std::uint8_t n : out) {
        if (n < 1 || n > maxNumber || seen[n]) {
            return ListRead::Invalid;
        }
        seen[n] = true;
    }
    return ListRead::Ok;
}

std::string NewerVersionText(const ProgramVersion& fileVersion) {
    return std::string("Aktuális verzió: ") + kProgramTitle + " " + kProgramVersion.Text() +
           "\r\rA " + kProgramTitle + " " + fileVersion.Text() +
           " verzió állományát tölti be...\r\r"
           "A most beolvasott állomány olyan adatokat tartalmazhat, amelyeket nem tud értelmezni "
           "az aktuális verzió.\r\rJavaslat: frissítse a programot.";
}

// One reading of a record, in the order the checks must run; each failure tells the user
// once and ends the reading.
class RecordReader {
public:
    RecordReader(BinaryReader& reader, const NumberRowContext& context, Messages& messages)
        : m_in(reader), m_context(context), m_messages(messages) {}

    bool Read(NumberRowRecord& record);

private:
    bool BadFile() {
        m_messages.BadFile(m_context.fileName);
        return false;
    }
    bool ReadError() {
        m_messages.FileError("a számsor", "betöltése");
        return false;
    }
    bool OtherGame() {
        m_messages.Error("Nem az aktuális játékhoz tartozó állomány.\r\r" + m_context.fileName);
        return false;
    }
    // Reads a list of `count` numbers; reports and returns false on failure.
    bool List(std::int32_t count, std::vector<std::uint8_t>& out);
    // Reads a count that must lie within minimum..maximum, then its list.
    bool CountedList(std::int32_t minimum, std::int32_t maximum, std::vector<std::uint8_t>& out);
    bool ReadConditions(NumberRowRecord& record, long long version);

    BinaryReader& m_in;
    const NumberRowContext& m_context;
    Messages& m_messages;
};

bool RecordReader::List(std::int32_t count, std::vector<std::uint8_t>& out) {
    switch (ReadNumbers(m_in, count, m_context.game.maxNumber, out)) {
    case ListRead::Ok:
        return true;
    case ListRead::Invalid:
        return BadFile();
    case ListRead::Short:
        break;
    }
    return ReadError();
}

bool RecordReader::CountedList(std::int32_t minimum, std::int32_t maximum,
                               std::vector<std::uint8_t>& out) {
    std::int32_t count = 0;
    if (!m_in.ReadI32(count)) {
        return ReadError();
    }
    if (count < minimum || count > maximum) {
        return BadFile();
    }
    return List(count, out);
}

bool RecordReader::Read(NumberRowRecord& record) {
    const GameInfo& game = m_context.game;
    if (m_in.Remaining() < kMinimumNumberRowFileSize) {
        return BadFile();
    }
    ProgramVersion& v = record.fileVersion;
    m_in.ReadI32(v.major);
    m_in.ReadI32(v.minor);
    m_in.ReadI32(v.release);
    m_in.ReadI32(v.build);
    // No version of the program wrote a major version below 1.
    if (v.major < 1) {
        return BadFile();
    }
    const long long version = VersionNumber(v);
    if (version > VersionNumber(kProgramVersion)) {
        m_messages.Warning(NewerVersionText(v));
    }
    record.numberOrder = 0;

    std::int32_t stored = 0;
    if (!m_in.ReadI32(stored)) {
        return ReadError();
    }
    const long long fileGame = v.major == 1 ? static_cast<long long>(stored) - kOldGameOffset
                                            : static_cast<long long>(stored);
    if (fileGame != game.gameId) {
        return OtherGame();
    }
    record.game = game.gameId;

    if (!m_in.ReadI32(record.numbersToChoose)) {
        return ReadError();
    }
    if (record.numbersToChoose < 1 || record.numbersToChoose > game.rowLength) {
        return BadFile();
    }
    if (!CountedList(game.rowLength - 2, game.maxNumber, record.selected)) {
        return false;
    }

    std::int32_t fixedCount = 0;
    if (!m_in.ReadI32(fixedCount)) {
        return ReadError();
    }
    if (static_cast<long long>(record.numbersToChoose) + fixedCount != game.rowLength) {
        return OtherGame();
    }
    if (!List(fixedCount, record.fixed)) {
        return false;
    }
    // A fixed number is never selected as well: its box could show only one of the two.
    for (std::uint8_t n : record.fixed) {
        if (Contains(record.selected, n)) {
            return BadFile();
        }
    }

    if (!CountedList(0, game.maxNumber, record.constant)) {
        return false;
    }
    for (std::uint8_t n : record.constant) {
        if (!Contains(record.selected, n)) {
            return BadFile();
        }
    }

    std::int32_t order = 0;
    if (!m_in.ReadI32(order)) {
        return ReadError();
    }
    if (order < 0 || order > 3) {
        return BadFile();
    }
    record.numberOrder = order;

    std::int32_t errorPoints = 0;
    if (!m_in.ReadI32(errorPoints)) {
        return ReadError();
    }
    if (errorPoints < 0 || errorPoints > game.rowLength - 1) {
        return BadFile();
    }
    std::uint8_t conditionsFlag = 0;
    if (!m_in.ReadU8(conditionsFlag)) {
        return ReadError();
    }
    record.conditionsSet = conditionsFlag != 0;
    record.conditions.errorPoints = errorPoints;
    if (!ReadConditions(record, version)) {
        return false;
    }

    if (version >= kRandomNumbersVersion) {
        if (!CountedList(0, game.maxNumber, record.random)) {
            return false;
        }
        for (std::uint8_t n : record.random) {
            if (!Contains(record.selected, n) || Contains(record.constant, n)) {
                return BadFile();
            }
        }
    } else {
        record.random.clear();
    }

    EngineOptions& options = record.conditions.options;
    options.frequencyDistribution = false;
    if (version >= kFrequencyOptionVersion) {
        std::uint8_t frequency = 0;
        if (!m_in.ReadU8(frequency)) {
            return ReadError();
        }
        options.frequencyDistribution = frequency != 0;
    }
    options.optimised = false;
    if (v.major >= 2) {
        std::uint8_t optimised = 0;
        // The product tag is not checked.
        if (!m_in.Skip(1 + kProductTagCapacity) || !m_in.ReadU8(optimised)) {
            return ReadError();
        }
        options.optimised = optimised != 0;
    }
    return true;
}

bool RecordReader::ReadConditions(NumberRowRecord& record, long long version) {
    ConditionSet& conditions = record.conditions;
    const std::int32_t errorPoints = conditions.errorPoints;
    const bool read =
        record.fileVersion.major >= 2
            ? ReadConditionBlock(m_in, static_cast<int>(std::min<long long>(version, INT_MAX)),
                                 conditions)
            : ReadOldConditionRecord(m_in, conditions);
    if (!read) {
        return ReadError();
    }
    // The checked field before the block decides; the block repeats it as an unchecked byte.
    conditions.errorPoints = errorPoints;
    // Conditions count only while the flag says so, and the flag only with a condition to count.
    if (!record.conditionsSet) {
        conditions.DeactivateAll();
    }
    record.conditionsSet = conditions.AnyActive();

    const HitRatioCondition& hitRatio = conditions.hitRatio;
    if (hitRatio.active && m_context.drawsLoaded <= 0) {
        m_messages.MissingDraws();
        return false;
    }
    // The range may reach beyond the draws now loaded (an older or shorter database).
    if (hitRatio.active && hitRatio.lastDraw > m_context.drawsLoaded &&
        !m_messages.WarningQuestion(
            "A kijelölt állomány olyan adatbázisra hivatkozik, ami nem létezik.\r\r"
            "A találati arányok feltételhez tartozóan, a korábban beállított húzások száma több "
            "mint amit a jelenlegi húzások listája tartalmaz.\r\r"
            "Mégis betölti a korábbi beállításokat?")) {
        return false;
    }
    return true;
}

std::string BusyFileText(const std::string& fileName) {
    return "Foglalt állomány.\r\rAz alábbi néven és útvonalon lett megnyitva:\r    " + fileName +
           "      \r\rNevezze át és/vagy zárja be a már megnyitott állományt.";
}

} // namespace

NumberRowRecord NumberRowOf(const MainTicket& ticket, const ConditionSet& conditions) {
    NumberRowRecord record;
    record.game = ticket.Game().gameId;
    record.numbersToChoose = ticket.NumbersToChoose();
    record.selected = ticket.Selected();
    record.fixed = ticket.Fixed();
    record.constant = ticket.Constant();
    record.random = ticket.Random();
    record.numberOrder = static_cast<std::int32_t>(ticket.Order());
    record.conditionsSet = conditions.AnyActive();
    record.conditions = conditions;
    return record;
}

void WriteNumberRowRecord(const NumberRowRecord& record, BinaryWriter& writer) {
    writer.WriteI32(kProgramVersion.major);
    writer.WriteI32(kProgramVersion.minor);
    writer.WriteI32(kProgramVersion.release);
    writer.WriteI32(kProgramVersion.build);
    writer.WriteI32(record.game);
    writer.WriteI32(record.numbersToChoose);
    WriteList(record.selected, writer);
    WriteList(record.fixed, writer);
    WriteList(record.constant, writer);
    writer.WriteI32(record.numberOrder);
    writer.WriteI32(record.conditions.errorPoints);
    writer.WriteU8(record.conditionsSet ? 1 : 0);
    WriteConditionBlock(record.conditions, writer);
    WriteList(record.random, writer);
    writer.WriteU8(record.conditions.options.frequencyDistribution ? 1 : 0);
    writer.WriteShortString(kProgramTitle, kProductTagCapacity);
    writer.WriteU8(record.conditions.options.optimised ? 1 : 0);
}

bool ReadNumberRowRecord(BinaryReader& reader, const NumberRowContext& context, Messages& messages,
                         NumberRowRecord& record) {
    return RecordReader(reader, context, messages).Read(record);
}

bool SaveNumberRow(const std::string& path, const NumberRowRecord& record, Messages& messages) {
    BinaryWriter writer;
    WriteNumberRowRecord(record, writer);
    if (!ReplaceFile(path, writer.Bytes())) {
        messages.FileError("a számsor", "mentése");
        return false;
    }
    return true;
}

bool LoadNumberRow(const std::string& path, const NumberRowContext& context, Messages& messages,
                   NumberRowRecord& record) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxNumberRowFileSize, bytes)) {
        messages.Error(OpenErrorText(path));
        return false;
    }
    BinaryReader reader(bytes);
    return ReadNumberRowRecord(reader, context, messages, record);
}

bool IsFileFree(const std::string& path, Messages& messages) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return true;
    }
    // Appending without creating: a folder, a file without write access or a pipe nobody reads
    // all refuse, and an existing file is left as it was. Never blocks.
    const int handle = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (handle >= 0) {
        ::close(handle);
        return true;
    }
    messages.Error(BusyFileText(path));
    return false;
}

} // namespace velmora
