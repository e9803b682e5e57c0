#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/random_source.h"
#include "game/game_catalogue.h"

// The main ticket: the user's marks for the current game (variation, fixed, constant and random
// numbers) with the one marking operation through which every mark changes, and the texts the
// ticket window shows.
namespace velmora {

// The kinds of mark, with the values files and older code gave them.
enum class MarkKind : int {
    Variation = 0,
    Fixed = 50,
    Constant = 100,
    Random = 150,
};

// What the boxes of the main ticket show.
enum class TicketView : int {
    Normal,
    TimesDrawn,
    DrawsSince,
    NumberOrder,
};

// The order of the selected list; files keep it as 0..3.
enum class NumberOrder : int {
    Unchanged,
    Ascending,
    Descending,
    Random,
};

// How one number box looks: bevel, weight and the appearance slots of its box and its font.
struct CellLook {
    bool raised = false;
    bool bold = false;
    int boxSlot = 2;  // unmarked box
    int fontSlot = 5; // number
};

// "Változatlan", "Növekvő", "Csökkenő", "Véletlen"
const char* NumberOrderName(NumberOrder order);

// The counts recorded when a variation is being extended; the marks must return to them.
struct ExtensionTargets {
    bool active = false; // extension mode is on
    int selectedCount = 0;
    int fixedCount = 0;
    long long committedMark = 0; // rows after the last committed extension; 0: none committed
    long long startMark = 0;     // rows when the current extension began

    bool Committed() const { return committedMark > 0; }
};

// The parts of the program that a change of marks reaches. Every method has a harmless default,
// so a ticket works on its own in tests and tools.
class TicketLinks {
public:
    virtual ~TicketLinks() = default;
    virtual void ClearConditions() {}
    virtual bool VariationExists() const { return false; }
    virtual bool RestoreEnabled() const { return false; }
    virtual void LookUpLastVariation() {}
    // The extended variation's previous row was replaced by the current marks.
    virtual void ExtensionRowReplaced() {}
    virtual void RefreshStatistics() {}
    // The status texts and command states must be refreshed.
    virtual void TicketChanged() {}
};

// The statistics block that ends every box hint while draws are loaded.
struct HintStatistics {
    int firstDraw = 0;
    int lastDraw = 0;
    long long samples = 0;
    long long extraNumbers = 0;
    int drawnCount = 0;
    bool hasExtra = false;
};

class MainTicket {
public:
    MainTicket(Messages& messages, TicketLinks& links);

    // Empties every list and sizes the boxes for `game`.
    void Rebuild(const GameInfo& game);

    // The single marking operation. With `listOnly` set only the look of the box changes (the
    // lists were filled already) and the conditions are kept.
    void Mark(int number, bool listOnly, bool remove, MarkKind kind);

    // A click on a box with the kind chosen by the keyboard: removes a marked number, adds an
    // unmarked one.
    void Click(int number, MarkKind kind);
    // Right-button painting over a box; `ResetPainting` when the button is released.
    void Paint(int number);
    void ResetPainting() { m_lastPainted = 0; }

    // Replaces the four lists at once, as loading a number row does, and gives every box the
    // look of its list. The lists must agree with each other: fixed numbers apart from the
    // selected ones, constant and random numbers among the selected ones and apart from each
    // other. The conditions are kept.
    void LoadLists(std::vector<std::uint8_t> selected, std::vector<std::uint8_t> fixed,
                   std::vector<std::uint8_t> constant, std::vector<std::uint8_t> random);

    void MarkAll();
    // Marks one number not marked yet, drawn uniformly from the whole ticket, as a random
    // number. Does nothing on a full ticket.
    void MarkRandomNumber(RandomSource& random);
    // How many random numbers the random numbers dialog may ask for: the free numbers, or
    // while extending what the extended variation still lacks; at least 1.
    int RandomNumbersMaximum() const;
    void ClearFixed();
    void ClearRandom();
    void ClearConstant();
    void ClearVariationNumbers();
    // "Új főszelvény": fixed, random and variation numbers; constant numbers stay.
    void NewTicket();
    // Before a game change: every kind of mark.
    void ClearForGameChange();

    void SetNumberOrder(NumberOrder order, RandomSource& random);
    // The order a loaded list was saved in (0..3; anything else counts as the nearest). The
    // list already is in that order, so nothing is sorted or shuffled: a random order keeps the
    // sequence the file holds.
    void RestoreNumberOrder(int order);
    NumberOrder Order() const { return m_numberOrder; }
    // Applies the current order again (after the list changed).
    void ReapplyNumberOrder(RandomSource& random);

    void SetView(TicketView view) { m_view = view; }
    TicketView View() const { return m_view; }
    // Per-number statistics shown by the views "Hányszor húzták" and "Hány húzás óta".
    void SetStatistics(std::vector<int> timesDrawn, std::vector<int> drawsSince);

    // Gives every box the font and box slots of its membership (as laying out the grid does).
    void ApplyLayoutLooks();

    const GameInfo& Game() const { return m_game; }
    const std::vector<std::uint8_t>& Selected() const { return m_selected; }
    const std::vector<std::uint8_t>& Fixed() const { return m_fixed; }
    const std::vector<std::uint8_t>& Constant() const { return m_constant; }
    const std::vector<std::uint8_t>& Random() const { return m_random; }
    int NumbersToChoose() const { return m_game.rowLength - static_cast<int>(m_fixed.size()); }
    int MarkedCount() const { return static_cast<int>(m_selected.size() + m_fixed.size()); }
    // The rows of the full variation: every NumbersToChoose() of the selected numbers.
    long long FullVariationSize() const;

    bool IsSelected(int number) const;
    bool IsFixed(int number) const;
    bool IsConstant(int number) const;
    bool IsRandom(int number) const;
    // Selected but neither constant nor random.
    bool IsVariationNumber(int number) const;
    bool HasVariationNumbers() const;

    bool Unchanged() const { return m_unchanged; }
    void SetUnchanged(bool unchanged) { m_unchanged = unchanged; }

    ExtensionTargets& Extension() { return m_extension; }
    const ExtensionTargets& Extension() const { return m_extension; }

    const CellLook& Look(int number) const { return m_looks[static_cast<std::size_t>(number - 1)]; }

    // Texts shown by the ticket window.
    std::string HeaderText() const;
    std::string ViewCaption() const;
    std::string CellCaption(int number) const;
    std::string CellHint(int number, const HintStatistics* statistics) const;

private:
    void MarkVariation(int number, bool listOnly, bool remove);
    void MarkFixed(int number, bool listOnly, bool remove);
    void MarkConstantOrRandom(int number, bool listOnly, bool remove,
                              std::vector<std::uint8_t>& list, int fontSlot);
    void CheckExtension(bool added);
    void UnmarkFromEnd(const std::vector<std::uint8_t>& list, MarkKind kind);
    void SetLook(int number, bool raised, bool bold, int boxSlot, int fontSlot);
    void SetUnmarkedLook(int number);
    bool ValidNumber(int number) const { return number >= 1 && number <= m_game.maxNumber; }

    Messages& m_messages;
    TicketLinks& m_links;
    GameInfo m_game;
    std::vector<std::uint8_t> m_selected;
    std::vector<std::uint8_t> m_fixed;
    std::vector<std::uint8_t> m_constant;
    std::vector<std::uint8_t> m_random;
    std::vector<CellLook> m_looks;
    std::vector<int> m_timesDrawn;
    std::vector<int> m_drawsSince;
    ExtensionTargets m_extension;
    NumberOrder m_numberOrder = NumberOrder::Unchanged;
    TicketView m_view = TicketView::Normal;
    int m_lastPainted = 0;
    bool m_unchanged = false;
};

} // namespace velmora

namespace velmora {
// The mark kind chosen by the keys held at a click: Shift alone fixes, Ctrl alone makes a
// constant number, anything else marks a variation number.
MarkKind MarkKindFromKeys(bool shift, bool control, bool alt);
} // namespace velmora
