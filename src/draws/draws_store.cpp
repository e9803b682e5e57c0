#include "draws/draws_store.h"

#include "common/binary_io.h"
#include "common/file_io.h"
#include "common/version.h"

namespace velmora {

namespace {

// Where the fields of a record lie in each layout.
struct RecordLayout {
    std::size_t drawNo;
    std::size_t year;
    std::size_t week;
    std::size_t cells;
    int maxCells;
};

constexpr RecordLayout kLayout1{4, 8, 10, 11, 17};
constexpr RecordLayout kLayout2{0, 4, 6, 7, 21};

std::int32_t ReadI32At(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

int ReadU16At(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

// Checks one number cell (1-based `cell`) of a record.
bool CellAccepted(const GameInfo& game, const std::uint8_t* record, int cell, int value,
                  int columns) {
    if (value >= 1 && value <= game.maxNumber) {
        return true;
    }
    if (game.extraCount == 0) {
        return false;
    }
    if (cell == columns && value != 0) {
        return false;
    }
    if (game.gameId == 7 && cell == 7 && record[16] != 0) {
        return false;
    }
    return true;
}

bool ParseRecord(const GameInfo& game, const RecordLayout& layout, const std::uint8_t* record,
                 DrawRecord& draw) {
    const int columns = DrawColumns(game.gameId);
    if (columns > layout.maxCells) {
        return false;
    }
    draw.drawNo = ReadI32At(record + layout.drawNo);
    if (draw.drawNo < 1 || draw.drawNo > kMaxDrawNo) {
        return false;
    }
    draw.drawYear = ReadU16At(record + layout.year);
    if (draw.drawYear < 1901 || draw.drawYear > 2050) {
        return false;
    }
    draw.drawWeek = record[layout.week];
    if (draw.drawWeek < 1 || draw.drawWeek > 53) {
        return false;
    }
    for (int c = 1; c <= columns; ++c) {
        const int value = record[layout.cells + static_cast<std::size_t>(c - 1)];
        if (!CellAccepted(game, record, c, value, columns)) {
            return false;
        }
        draw.numbers[static_cast<std::size_t>(c - 1)] = static_cast<std::uint8_t>(value);
    }
    return true;
}

} // namespace

int DrawColumns(GameId id) {
    switch (id) {
    case 0:
    case 3:
    case 22:
        return 5;
    case 1:
    case 5:
    case 6:
    case 19:
        return 7;
    case 2:
    case 4:
        return 14;
    case 7:
    case 20:
    case 21:
        return 8;
    case 17:
    case 18:
    case 23:
        return 6;
    default:
        return IsKenoGame(id) ? 20 : 0;
    }
}

DrawsLoad ParseDrawsFile(const std::vector<std::uint8_t>& bytes, const GameInfo& game,
                         std::vector<DrawRecord>& draws) {
    draws.clear();
    if (bytes.size() <= kMinimumDatabaseSize) {
        return DrawsLoad::Missing;
    }
    if (bytes.size() > kMaxDatabaseSize) {
        return DrawsLoad::Invalid;
    }
    const std::int32_t major = ReadI32At(bytes.data());
    const RecordLayout& layout = major < 2 ? kLayout1 : kLayout2;
    const std::size_t count = bytes.size() / kDrawRecordSize;
    std::vector<DrawRecord> loaded;
    loaded.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = kDrawsHeaderSize + i * kDrawRecordSize;
        if (offset + kDrawRecordSize > bytes.size()) {
            return DrawsLoad::ReadError;
        }
        DrawRecord draw;
        if (!ParseRecord(game, layout, bytes.data() + offset, draw)) {
            return DrawsLoad::Invalid;
        }
        loaded.push_back(draw);
    }
    draws = std::move(loaded);
    return DrawsLoad::Loaded;
}

std::vector<std::uint8_t> SerializeDraws(const std::vector<DrawRecord>& draws, GameId game) {
    const int columns = DrawColumns(game);
    BinaryWriter writer;
    writer.WriteI32(kProgramVersion.major);
    writer.WriteI32(kProgramVersion.minor);
    writer.WriteI32(kProgramVersion.release);
    writer.WriteI32(kProgramVersion.build);
    for (const DrawRecord& draw : draws) {
        writer.WriteI32(draw.drawNo);
        writer.WriteU8(static_cast<std::uint8_t>(draw.drawYear & 0xFF));
        writer.WriteU8(static_cast<std::uint8_t>((draw.drawYear >> 8) & 0xFF));
        writer.WriteU8(static_cast<std::uint8_t>(draw.drawWeek));
        for (int c = 0; c < 21; ++c) {
            writer.WriteU8(c < columns ? draw.numbers[static_cast<std::size_t>(c)] : 0);
        }
    }
    return writer.Bytes();
}

bool DrawHasExtra(const GameInfo& game, const DrawRecord& draw) {
    switch (game.gameId) {
    case 1:
        return draw.drawYear < 2007 || (draw.drawYear == 2007 && draw.drawWeek <= 29);
    case 4:
        return draw.drawYear >= 1977;
    case 6:
    case 7:
        return draw.drawYear > 1995 || (draw.drawYear == 1995 && draw.drawWeek >= 11);
    default:
        return game.extraCount == 1;
    }
}

bool LastDrawHasExtra(const GameInfo& game, const std::vector<DrawRecord>& draws) {
    if (draws.empty()) {
        return game.extraCount == 1;
    }
    return DrawHasExtra(game, draws.back());
}

void HibasAdatbazis(const std::string& path, Messages& messages) {
    messages.BadFile(path);
}

void DrawsStore::Clear() {
    m_draws.clear();
    m_hasDatabase = false;
    m_modified = false;
}

bool DrawsStore::HuzasokBe(const std::string& path, const GameInfo& game, Messages& messages) {
    Clear();
    m_game = game.gameId;
    if (!FileExists(path)) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    switch (ReadFile(path, kMaxDatabaseSize, bytes)) {
    case FileRead::Read:
        break;
    case FileRead::TooLarge:
        HibasAdatbazis(path, messages);
        return false;
    case FileRead::Failed:
        messages.Error(OpenErrorText(path));
        return false;
    }
    switch (ParseDrawsFile(bytes, game, m_draws)) {
    case DrawsLoad::Loaded:
        m_hasDatabase = true;
        break;
    case DrawsLoad::Missing:
        break;
    case DrawsLoad::Invalid:
        HibasAdatbazis(path, messages);
        break;
    case DrawsLoad::ReadError:
        messages.FileError("az adatbázis", "betöltése");
        break;
    }
    return m_hasDatabase;
}

void AskToDownloadDamagedList(Messages& messages) {
    // The download that answers Yes joins when the program can fetch the lists.
    messages.ErrorQuestion("Sérült vagy hiányzik a húzások listája.\r\rMegpróbálja letölteni a "
                           "húzások listáját a program honlapjáról?");
}

bool DrawsStore::AdatbazisMentese(const std::string& path, bool doneMessage, Messages& messages) {
    std::vector<std::uint8_t> existing;
    if (FileExists(path) && ReadFile(path, kMaxDatabaseSize, existing) == FileRead::Failed) {
        messages.Error(OpenErrorText(path));
        AskToDownloadDamagedList(messages);
        return false;
    }
    if (!ReplaceFile(path, SerializeDraws(m_draws, m_game))) {
        messages.Error(SaveErrorText(path));
        AskToDownloadDamagedList(messages);
        return false;
    }
    m_modified = false;
    if (doneMessage) {
        messages.Information("Adatbázis elmentve.");
    }
    return true;
}

void DrawsStore::HuzTorlesEng(const std::string& path, Messages& messages) {
    if (!m_hasDatabase || !m_modified) {
        return;
    }
    if (messages.WarningQuestion(
            "Módosította, de nem mentette a húzások listáját.\r\rMenti a módosított adatbázist?")) {
        AdatbazisMentese(path, true, messages);
    }
}

} // namespace velmora
