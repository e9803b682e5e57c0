#include "game/main_ticket.h"

#include <algorithm>
#include <functional>

#include "common/hu_format.h"
#include "common/numbers.h"
#include "game/ticket_appearance.h"

namespace velmora {

namespace {

bool Contains(const std::vector<std::uint8_t>& list, int number) {
    return std::find(list.begin(), list.end(), static_cast<std::uint8_t>(number)) != list.end();
}

// Position of `number` in `list`, counted from 1; 0 when absent.
int PlaceOf(const std::vector<std::uint8_t>& list, int number) {
    const auto it = std::find(list.begin(), list.end(), static_cast<std::uint8_t>(number));
    return it == list.end() ? 0 : static_cast<int>(it - list.begin()) + 1;
}

void Erase(std::vector<std::uint8_t>& list, int number) {
    const auto it = std::find(list.begin(), list.end(), static_cast<std::uint8_t>(number));
    if (it != list.end()) {
        list.erase(it);
    }
}

// Moves `number` to the end by swapping and drops it.
void SwapOut(std::vector<std::uint8_t>& list, int number) {
    const auto it = std::find(list.begin(), list.end(), static_cast<std::uint8_t>(number));
    if (it != list.end()) {
        std::iter_swap(it, list.end() - 1);
        list.pop_back();
    }
}

} // namespace

MarkKind MarkKindFromKeys(bool shift, bool control, bool alt) {
    if (shift && !control && !alt) {
        return MarkKind::Fixed;
    }
    if (control && !shift && !alt) {
        return MarkKind::Constant;
    }
    return MarkKind::Variation;
}

const char* NumberOrderName(NumberOrder order) {
    switch (order) {
    case NumberOrder::Ascending:
        return "Növekvő";
    case NumberOrder::Descending:
        return "Csökkenő";
    case NumberOrder::Random:
        return "Véletlen";
    case NumberOrder::Unchanged:
        break;
    }
    return "Változatlan";
}

long long MainTicket::FullVariationSize() const {
    return CombinationCount(static_cast<int>(m_selected.size()), NumbersToChoose());
}

MainTicket::MainTicket(Messages& messages, TicketLinks& links)
    : m_messages(messages), m_links(links) {}

void MainTicket::Rebuild(const GameInfo& game) {
    m_game = game;
    m_selected.clear();
    m_fixed.clear();
    m_constant.clear();
    m_random.clear();
    m_looks.assign(static_cast<std::size_t>(game.maxNumber), CellLook{});
    m_timesDrawn.assign(static_cast<std::size_t>(game.maxNumber), 0);
    m_drawsSince.assign(static_cast<std::size_t>(game.maxNumber), 0);
    m_view = TicketView::Normal;
    m_lastPainted = 0;
    m_unchanged = false;
}

bool MainTicket::IsSelected(int number) const {
    return Contains(m_selected, number);
}
bool MainTicket::IsFixed(int number) const {
    return Contains(m_fixed, number);
}
bool MainTicket::IsConstant(int number) const {
    return Contains(m_constant, number);
}
bool MainTicket::IsRandom(int number) const {
    return Contains(m_random, number);
}
bool MainTicket::IsVariationNumber(int number) const {
    return IsSelected(number) && !IsConstant(number) && !IsRandom(number);
}

bool MainTicket::HasVariationNumbers() const {
    return std::any_of(m_selected.begin(), m_selected.end(),
                       [this](std::uint8_t n) { return !IsConstant(n) && !IsRandom(n); });
}

void MainTicket::SetLook(int number, bool raised, bool bold, int boxSlot, int fontSlot) {
    CellLook& look = m_looks[static_cast<std::size_t>(number - 1)];
    look.raised = raised;
    look.bold = bold;
    look.boxSlot = boxSlot;
    look.fontSlot = fontSlot;
}

void MainTicket::SetUnmarkedLook(int number) {
    SetLook(number, false, false, kSlotUnmarkedBox, kSlotMarkedNumber);
}

void MainTicket::Mark(int number, bool listOnly, bool remove, MarkKind kind) {
    if (!ValidNumber(number)) {
        return;
    }
    if (!listOnly) {
        m_links.ClearConditions();
    }
    if (m_links.VariationExists() && !m_links.RestoreEnabled()) {
        m_links.LookUpLastVariation();
    }
    const std::size_t selectedBefore = m_selected.size();
    const std::size_t fixedBefore = m_fixed.size();

    switch (kind) {
    case MarkKind::Variation:
        MarkVariation(number, listOnly, remove);
        break;
    case MarkKind::Fixed:
        MarkFixed(number, listOnly, remove);
        break;
    case MarkKind::Constant:
        MarkConstantOrRandom(number, listOnly, remove, m_constant, kSlotConstantNumber);
        break;
    case MarkKind::Random:
        MarkConstantOrRandom(number, listOnly, remove, m_random, kSlotRandomNumber);
        break;
    }

    const std::size_t before = selectedBefore + fixedBefore;
    const std::size_t after = m_selected.size() + m_fixed.size();
    // A refused or ignored mark changes nothing and reports nothing.
    if (!listOnly && after == before) {
        return;
    }
    m_links.TicketChanged();

    const bool added = after > before;
    if (m_extension.active) {
        CheckExtension(added);
    } else if (m_extension.Committed()) {
        m_extension = ExtensionTargets{};
    }
    if (!listOnly) {
        m_links.RefreshStatistics();
    }
}

void MainTicket::MarkVariation(int number, bool listOnly, bool remove) {
    if (!remove) {
        if (IsFixed(number) || IsConstant(number) || (!listOnly && IsSelected(number))) {
            return;
        }
        SetLook(number, true, true, kSlotMarkedBox, kSlotNumber);
        if (!listOnly) {
            m_selected.push_back(static_cast<std::uint8_t>(number));
            m_unchanged = false;
        }
        return;
    }
    if (IsRandom(number)) {
        MarkConstantOrRandom(number, listOnly, true, m_random, kSlotRandomNumber);
        return;
    }
    if (IsFixed(number) || IsConstant(number)) {
        return; // a fixed or constant number keeps its raised bevel
    }
    SetUnmarkedLook(number);
    if (!listOnly && IsSelected(number)) {
        Erase(m_selected, number);
        m_unchanged = false;
    }
}

void MainTicket::MarkFixed(int number, bool listOnly, bool remove) {
    if (!remove) {
        if (IsSelected(number) || (!listOnly && IsFixed(number))) {
            return;
        }
        const int fixedCount = static_cast<int>(m_fixed.size());
        const bool extensionFull =
            m_extension.active && fixedCount >= m_extension.fixedCount && !listOnly;
        const bool limitReached = !listOnly && fixedCount >= m_game.rowLength - 2;
        if (extensionFull || limitReached) {
            m_messages.Error("Nem lehetséges több fix szám kijelölése.");
            return;
        }
        SetLook(number, true, true, kSlotMarkedBox, kSlotFixedNumber);
        if (!listOnly) {
            m_fixed.push_back(static_cast<std::uint8_t>(number));
            m_unchanged = false;
        }
        return;
    }
    if (!IsFixed(number)) {
        return;
    }
    SetUnmarkedLook(number);
    if (!listOnly) {
        Erase(m_fixed, number);
        m_unchanged = false;
    }
}

void MainTicket::MarkConstantOrRandom(int number, bool listOnly, bool remove,
                                      std::vector<std::uint8_t>& list, int fontSlot) {
    // A constant number may not also be random, and the reverse.
    const std::vector<std::uint8_t>& other = &list == &m_constant ? m_random : m_constant;
    if (IsFixed(number) || Contains(other, number)) {
        return;
    }
    if (!remove) {
        if (!listOnly && IsSelected(number)) {
            return;
        }
        SetLook(number, true, true, kSlotMarkedBox, fontSlot);
        if (!listOnly) {
            list.push_back(static_cast<std::uint8_t>(number));
            m_selected.push_back(static_cast<std::uint8_t>(number));
            m_unchanged = false;
        }
        return;
    }
    if (!Contains(list, number)) {
        return;
    }
    if (!listOnly) {
        SwapOut(list, number);
        Erase(m_selected, number);
        m_unchanged = false;
    }
    SetUnmarkedLook(number);
}

void MainTicket::CheckExtension(bool added) {
    const int selected = static_cast<int>(m_selected.size());
    const int fixed = static_cast<int>(m_fixed.size());
    if (selected == m_extension.selectedCount && fixed == m_extension.fixedCount) {
        m_links.ExtensionRowReplaced();
        m_messages.Information(
            "A variáció előző számsora, az aktuális számsorral lett felcserélve.");
    } else if (selected == m_extension.selectedCount && fixed < m_extension.fixedCount && added) {
        m_messages.Information("Még " + std::to_string(m_extension.fixedCount - fixed) +
                               " fix szám kijelölése szükséges.");
    } else if (selected > m_extension.selectedCount && added) {
        const std::string excess = std::to_string(selected - m_extension.selectedCount);
        m_messages.Warning(excess + " számmal jelölt ki többet, mint a bővített variáció " +
                           std::to_string(m_extension.selectedCount) + " száma.\r\rTöröljön " +
                           excess + " számot a kijelölt számsorból.");
    }
}

void MainTicket::Click(int number, MarkKind kind) {
    if (!ValidNumber(number)) {
        return;
    }
    Mark(number, false, Look(number).raised, kind);
}

void MainTicket::Paint(int number) {
    if (!ValidNumber(number) || number == m_lastPainted) {
        return;
    }
    m_lastPainted = number;
    if (IsFixed(number) || IsConstant(number)) {
        return;
    }
    Mark(number, false, Look(number).raised, MarkKind::Variation);
}

void MainTicket::MarkAll() {
    if (MarkedCount() >= m_game.maxNumber) {
        return;
    }
    const int last = m_extension.active ? m_extension.selectedCount : m_game.maxNumber;
    for (int n = 1; n <= std::min(last, m_game.maxNumber); ++n) {
        if (!IsFixed(n) && !IsSelected(n)) {
            Mark(n, false, false, MarkKind::Variation);
        }
    }
}

void MainTicket::MarkRandomNumber(RandomSource& random) {
    // One draw among the free numbers: the same chance for each as drawing from the whole
    // ticket until a free one comes, without the repeats.
    std::vector<int> free;
    for (int n = 1; n <= m_game.maxNumber; ++n) {
        if (!Look(n).raised) {
            free.push_back(n);
        }
    }
    if (!free.empty()) {
        const int at = random.Below(static_cast<int>(free.size()));
        Mark(free[static_cast<std::size_t>(at)], false, false, MarkKind::Random);
    }
}

int MainTicket::RandomNumbersMaximum() const {
    const int most =
        m_extension.active ? m_extension.selectedCount + m_extension.fixedCount : m_game.maxNumber;
    return std::max(1, most - MarkedCount());
}

void MainTicket::LoadLists(std::vector<std::uint8_t> selected, std::vector<std::uint8_t> fixed,
                           std::vector<std::uint8_t> constant, std::vector<std::uint8_t> random) {
    m_looks.assign(static_cast<std::size_t>(m_game.maxNumber), CellLook{});
    m_selected = std::move(selected);
    m_fixed = std::move(fixed);
    m_constant = std::move(constant);
    m_random = std::move(random);
    m_unchanged = false;
    // With the list flag the marking leaves the lists alone, so they can be walked directly.
    // Constant and random numbers are selected too; their own pass gives them their look.
    const auto markEach = [this](const std::vector<std::uint8_t>& list, MarkKind kind) {
        for (std::uint8_t n : list) {
            Mark(n, true, false, kind);
        }
    };
    markEach(m_selected, MarkKind::Variation);
    markEach(m_fixed, MarkKind::Fixed);
    markEach(m_constant, MarkKind::Constant);
    markEach(m_random, MarkKind::Random);
}

void MainTicket::UnmarkFromEnd(const std::vector<std::uint8_t>& list, MarkKind kind) {
    // A copy, so that the loop ends even if a number would not leave its list.
    const std::vector<std::uint8_t> numbers = list;
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
        Mark(*it, false, true, kind);
    }
}

void MainTicket::ClearFixed() {
    UnmarkFromEnd(m_fixed, MarkKind::Fixed);
}

void MainTicket::ClearRandom() {
    UnmarkFromEnd(m_random, MarkKind::Random);
}

void MainTicket::ClearConstant() {
    UnmarkFromEnd(m_constant, MarkKind::Constant);
}

void MainTicket::ClearVariationNumbers() {
    std::vector<std::uint8_t> numbers;
    for (std::uint8_t n : m_selected) {
        if (!IsConstant(n) && !IsRandom(n)) {
            numbers.push_back(n);
        }
    }
    for (std::uint8_t n : numbers) {
        Mark(n, false, true, MarkKind::Variation);
    }
}

void MainTicket::NewTicket() {
    ClearFixed();
    ClearRandom();
    ClearVariationNumbers();
    m_view = TicketView::Normal;
}

void MainTicket::ClearForGameChange() {
    ClearFixed();
    ClearConstant();
    ClearRandom();
    ClearVariationNumbers();
}

void MainTicket::SetNumberOrder(NumberOrder order, RandomSource& random) {
    m_numberOrder = order;
    ReapplyNumberOrder(random);
}

void MainTicket::RestoreNumberOrder(int order) {
    m_numberOrder = static_cast<NumberOrder>(std::clamp(order, 0, 3));
}

void MainTicket::ReapplyNumberOrder(RandomSource& random) {
    switch (m_numberOrder) {
    case NumberOrder::Ascending:
        // The list holds each number once, so any sort gives the one ascending order.
        std::sort(m_selected.begin(), m_selected.end());
        break;
    case NumberOrder::Descending:
        std::sort(m_selected.begin(), m_selected.end(), std::greater<>());
        break;
    case NumberOrder::Random: {
        const int count = static_cast<int>(m_selected.size());
        for (int i = 0; i < count; ++i) {
            std::swap(m_selected[static_cast<std::size_t>(i)],
                      m_selected[static_cast<std::size_t>(random.Below(count))]);
        }
        break;
    }
    case NumberOrder::Unchanged:
        break;
    }
}

void MainTicket::SetStatistics(std::vector<int> timesDrawn, std::vector<int> drawsSince) {
    timesDrawn.resize(static_cast<std::size_t>(m_game.maxNumber), 0);
    drawsSince.resize(static_cast<std::size_t>(m_game.maxNumber), 0);
    m_timesDrawn = std::move(timesDrawn);
    m_drawsSince = std::move(drawsSince);
}

void MainTicket::ApplyLayoutLooks() {
    for (int n = 1; n <= m_game.maxNumber; ++n) {
        CellLook& look = m_looks[static_cast<std::size_t>(n - 1)];
        if (IsRandom(n)) {
            look.fontSlot = kSlotRandomNumber;
        } else if (IsConstant(n)) {
            look.fontSlot = kSlotConstantNumber;
        } else if (IsFixed(n)) {
            look.fontSlot = kSlotFixedNumber;
        } else {
            look.fontSlot = kSlotNumber;
        }
        look.boxSlot = look.raised ? kSlotMarkedBox : kSlotUnmarkedBox;
    }
}

std::string MainTicket::HeaderText() const {
    return " Kijelölve  : " + FormatWidth(MarkedCount(), 2) + " szám\r" +
           "  - fix     : " + FormatWidth(static_cast<long long>(m_fixed.size()), 2) + "\r" +
           "  - állandó : " + FormatWidth(static_cast<long long>(m_constant.size()), 2) + "\r" +
           "  - véletlen: " + FormatWidth(static_cast<long long>(m_random.size()), 2) + "\r" +
           " Számsorrend: " + NumberOrderName(m_numberOrder);
}

std::string MainTicket::ViewCaption() const {
    switch (m_view) {
    case TicketView::TimesDrawn:
        return "  Hányszor húzták...";
    case TicketView::DrawsSince:
        return "  Hány húzás óta nem került elő...";
    case TicketView::NumberOrder:
        return "  Számsorrend";
    default:
        return "  Főszelvény";
    }
}

std::string MainTicket::CellCaption(int number) const {
    const auto index = static_cast<std::size_t>(number - 1);
    switch (m_view) {
    case TicketView::TimesDrawn:
    case TicketView::DrawsSince: {
        const int value =
            m_view == TicketView::TimesDrawn ? m_timesDrawn[index] : m_drawsSince[index];
        return value == 0 ? "-" : std::to_string(value);
    }
    case TicketView::NumberOrder: {
        int place = PlaceOf(m_selected, number);
        if (place == 0 && IsFixed(number)) {
            place = static_cast<int>(m_selected.size()) + PlaceOf(m_fixed, number);
        }
        return place > 0 && Look(number).raised ? std::to_string(place) + "." : "-";
    }
    default:
        return std::to_string(number);
    }
}

std::string MainTicket::CellHint(int number, const HintStatistics* statistics) const {
    const std::string n = std::to_string(number);
    std::string hint;
    if (IsFixed(number)) {
        const int p = PlaceOf(m_fixed, number);
        hint = " Fix szám: " + n + "\r " + std::to_string(p) + ". fix szám \r " +
               std::to_string(static_cast<int>(m_selected.size()) + p) +
               ". szám a számsoron belül ";
    } else if (IsSelected(number)) {
        const char* label = IsConstant(number) ? " Állandó szám: "
                            : IsRandom(number) ? " Véletlen szám: "
                                               : " Kijelölt szám: ";
        hint = label + n + "\r " + std::to_string(PlaceOf(m_selected, number)) +
               ". szám a számsoron belül ";
    } else {
        hint = " Szám: " + n;
    }
    if (statistics != nullptr) {
        hint += "\r Statisztika:\r " + FormatThousands(statistics->firstDraw) + " - " +
                FormatThousands(statistics->lastDraw) + ". húzások alapján \r " +
                FormatThousands(statistics->samples) + " db számsor \r " +
                FormatThousands(statistics->samples * statistics->drawnCount) + " db szám";
        if (statistics->hasExtra) {
            hint += "\r " + FormatThousands(statistics->extraNumbers) + " db plusz szám ";
        }
    }
    return hint;
}

} // namespace velmora
