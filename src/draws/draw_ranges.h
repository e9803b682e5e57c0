#pragma once

#include <string>
#include <vector>

#include "common/messages.h"
#include "draws/draws_store.h"

// The ranges of past draws (and of variation rows) that features work on, one per purpose,
// and the checks of the range dialog's fields.
namespace velmora {

// What a range is kept for; the dialog numbers its modes 1..5.
enum class RangeMode : int {
    TicketStatistics = 1, // "Főszelvény statisztika"
    HitRatio = 2,         // "Találati arány feltétel"
    Database = 3,         // "Adatbázis - húzások listája"
    DeleteRows = 4,       // "Számsorok törlése a variáció listájából"
    InsertRows = 5,       // "Teszt számsorok beillesztése..."
};

// The title of a mode, as the dialog shows it.
const char* RangeModeTitle(RangeMode mode);
// Modes 4 and 5 choose rows of the variation rather than draws.
inline bool IsRowRange(RangeMode mode) {
    return mode == RangeMode::DeleteRows || mode == RangeMode::InsertRows;
}

struct DrawRange {
    int first = 1;
    int last = 1;
};

// Samples in draws first..last (1-based): one per draw, one more for a present second draw of
// the date. Extra numbers present are counted alongside. An empty range gives 0 for both.
struct RangeCounts {
    long long samples = 0;
    long long extraNumbers = 0;
};
class DrawRanges {
public:
    // Every draw range becomes 1 .. count; the variation row ranges start at 1.
    void Reset(int drawCount);
    // After draws were added or deleted: a range of all draws stays all draws, a range past
    // the new last draw ends at it.
    void Follow(int oldCount, int newCount);

    int GetHuzSzamaElso() const { return m_ticket.first; }
    int GetHuzSzamaUtolso() const { return m_ticket.last; }
    void SetHuzSzamaElso(int value) { m_ticket.first = value; }
    void SetHuzSzamaUtolso(int value) { m_ticket.last = value; }

    int GetLHuzSzamaElso() const { return m_database.first; }
    int GetLHuzSzamaUtolso() const { return m_database.last; }
    void SetLHuzSzamaElso(int value) { m_database.first = value; }
    void SetLHuzSzamaUtolso(int value) { m_database.last = value; }

    int GetBontSzamsorElso() const { return m_deleteRows.first; }
    int GetBontSzamsorUtolso() const { return m_deleteRows.last; }
    void SetBontSzamsorElso(int value) { m_deleteRows.first = value; }
    void SetBontSzamsorUtolso(int value) { m_deleteRows.last = value; }

    int GetBontBovitesSzamsorElso() const { return m_insertRows.first; }
    int GetBontBovitesSzamsorUtolso() const { return m_insertRows.last; }
    void SetBontBovitesSzamsorElso(int value) { m_insertRows.first = value; }
    void SetBontBovitesSzamsorUtolso(int value) { m_insertRows.last = value; }

    // The hit-ratio range lives in the condition set once it exists; it is kept here until then.
    DrawRange& HitRatio() { return m_hitRatio; }

    DrawRange Get(RangeMode mode) const;
    void Set(RangeMode mode, DrawRange range);

    // Samples and extra numbers in the main-ticket range or the database range (`which`).
    long long GetAktHuzSzama(RangeMode which, const GameInfo& game,
                             const std::vector<DrawRecord>& draws) const;
    long long GetAktPluszSzam(RangeMode which, const GameInfo& game,
                              const std::vector<DrawRecord>& draws) const;

private:
    DrawRange m_ticket;
    DrawRange m_hitRatio;
    DrawRange m_database;
    DrawRange m_deleteRows;
    DrawRange m_insertRows;
};

RangeCounts CountRange(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                       int last);

// The outcome of checking one field of the range dialog.
struct FieldCheck {
    bool valid = true;
    int value = 0; // the value to keep in the field
};

// The first field: 1 .. maximum; an error shows the limits (when `report` is set) and corrects
// the field.
FieldCheck CheckFirstField(const std::string& text, int maximum, int lastValue, RangeMode mode,
                           Messages& messages, bool report = true);
// The last field: above `firstValue` (a range of draws holds two at least; a range of rows may
// hold one), at most `count`.
FieldCheck CheckLastField(const std::string& text, int firstValue, int count, RangeMode mode,
                          Messages& messages, bool report = true);

} // namespace velmora
