#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/messages.h"
#include "game/game_catalogue.h"

// The past draws of the current game and their database file: loading with every check,
// saving, and the rule that tells whether a draw carries an extra number.
namespace velmora {

inline constexpr int kMaxDrawColumns = 20;
// The second drawing of a two-drawing date starts at this cell of the draw's numbers.
inline constexpr int kSecondDrawingCell = 7;
inline constexpr std::size_t kDrawsHeaderSize = 16;
inline constexpr std::size_t kDrawRecordSize = 28;
// A database file of this size or less counts as missing (fewer than 250 draws).
inline constexpr std::size_t kMinimumDatabaseSize = 7000;

// Draw numbers run 1..10000 in a database file.
inline constexpr int kMaxDrawNo = 10000;
// So a larger database file is damaged.
inline constexpr std::size_t kMaxDatabaseSize = kDrawsHeaderSize + kMaxDrawNo * kDrawRecordSize;

// Number cells of one draw record of the game.
int DrawColumns(GameId id);

struct DrawRecord {
    std::int32_t drawNo = 0;
    std::int32_t drawYear = 0;
    std::int32_t drawWeek = 0;
    std::array<std::uint8_t, kMaxDrawColumns> numbers{}; // DrawColumns cells used; 0 = none

    bool operator==(const DrawRecord&) const = default;
};

enum class DrawsLoad {
    Loaded,
    Missing,   // no file, or 7000 bytes or less: no message
    Invalid,   // a field out of range
    ReadError, // the file ended inside a record
};

// Reads a database file image. Only the records of a fully valid file are returned.
DrawsLoad ParseDrawsFile(const std::vector<std::uint8_t>& bytes, const GameInfo& game,
                         std::vector<DrawRecord>& draws);

// The file image of `draws` as the program writes it (record layout 2, running version).
std::vector<std::uint8_t> SerializeDraws(const std::vector<DrawRecord>& draws, GameId game);

// Whether the draw carries an extra number.
bool DrawHasExtra(const GameInfo& game, const DrawRecord& draw);
// The same for the most recent draw; true for a game with an extra number and no draws.
bool LastDrawHasExtra(const GameInfo& game, const std::vector<DrawRecord>& draws);

// The current game's draws, oldest first.
class DrawsStore {
public:
    // Loads the current game's database from `path`, reporting problems through `messages`.
    // True when draws were loaded.
    bool HuzasokBe(const std::string& path, const GameInfo& game, Messages& messages);
    // Writes the whole store to `path` through a temporary file; shows "Adatbázis elmentve."
    // when `doneMessage` is set. On failure asks whether to download the list again.
    bool AdatbazisMentese(const std::string& path, bool doneMessage, Messages& messages);
    // Asks whether unsaved edits should be saved first (Yes saves them).
    void HuzTorlesEng(const std::string& path, Messages& messages);

    void Clear();
    const std::vector<DrawRecord>& Draws() const { return m_draws; }
    std::vector<DrawRecord>& MutableDraws() { return m_draws; }
    int Count() const { return static_cast<int>(m_draws.size()); }
    const DrawRecord& At(int index) const { return m_draws[static_cast<std::size_t>(index)]; }

    bool HasDatabase() const { return m_hasDatabase; }
    bool DatabaseModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

private:
    std::vector<DrawRecord> m_draws;
    GameId m_game = 0;
    bool m_hasDatabase = false;
    bool m_modified = false;
};

// "Sérült vagy hiányzik a húzások listája..." after a failed save.
void AskToDownloadDamagedList(Messages& messages);

// "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + path
void HibasAdatbazis(const std::string& path, Messages& messages);

} // namespace velmora
