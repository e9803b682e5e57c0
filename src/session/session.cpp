#include "session/session.h"

#include <filesystem>

#include "common/file_io.h"
#include "stats/number_counts.h"

namespace velmora {

Session::Session(const ProgramFolders& folders, Messages& messages, RandomSource& random,
                 const Clock& clock)
    : m_folders(folders), m_messages(messages), m_random(random), m_clock(clock),
      m_settings(DefaultSettings(folders)), m_game(LoadGameInfo(0)), m_ticket(messages, *this),
      m_editor(m_conditions, messages, m_settings.notices),
      m_variation(m_game, m_ticket, m_conditions, m_draws, messages, clock,
                  [this](NumberRowRecord record, bool loaded) {
                      ApplyNumberRow(std::move(record), loaded);
                  }),
      m_backup(m_folders, m_settings, m_game, m_ticket, m_conditions, m_variation, messages),
      m_commands(m_ticket, m_draws, m_variation, m_conditions, m_backup) {
    m_ticket.Rebuild(m_game);
    m_variation.beforeDelete = [this] { m_backup.BackUp(); };
}

void Session::ApplyMessageSettings() {
    m_messages.SetApprove(m_settings.approve);
    m_messages.SetInfo(m_settings.info);
}

std::string Session::MainWindowCaption() const {
    return GameName(m_game.gameId) + "  -  " + kProgramTitle + " ";
}

// --- Game -------------------------------------------------------------------------------------

void Session::ApplyGame(GameId id) {
    if (!IsValidGame(id)) {
        id = 0;
    }
    m_settings.game = id;
    m_game = LoadGameInfo(id);
    std::error_code ignored;
    std::filesystem::create_directories(m_folders.GameFolder(id), ignored);
    m_ticket.Rebuild(m_game);
    // The variation's rows name the old ticket's numbers: it goes with them.
    m_variation.Delete();
    m_lastSelectedCount = -1;
    m_draws.Clear();
    m_backup.LookUp();
    TicketChanged();
}

bool Session::SelectGame(GameId id) {
    if (!IsValidGame(id) || id == m_game.gameId) {
        return false;
    }
    if (!AskDiscardTicket()) {
        return false;
    }
    m_ticket.ClearForGameChange();
    ApplyGame(id);
    return true;
}

bool Session::AskDiscardTicket() {
    if (m_variation.Exists()) {
        m_backup.BackUp();
    }
    const bool extending = m_ticket.Extension().active;
    const bool conditions = m_conditions.AnyActive();
    m_draws.HuzTorlesEng(DatabasePath(), m_messages);
    if (m_ticket.Unchanged()) {
        return true;
    }
    if (!m_variation.Exists() && !extending) {
        if (m_ticket.MarkedCount() == 0) {
            return true;
        }
        return m_messages.Confirm(conditions ? "Biztos törli a kijelölt számokat és a feltételeket?"
                                             : "Biztos törli a kijelölt számokat?");
    }
    return m_messages.Confirm(
        conditions ? "Biztos törli a kijelölt számokat, feltételeket és a variáció listáját?"
                   : "Biztos törli a kijelölt számokat és a variáció listáját?");
}

// --- Marks ------------------------------------------------------------------------------------

bool Session::ConfirmMarksChange() {
    const bool extending = m_ticket.Extension().active;
    const bool rows = m_variation.Exists();
    const bool conditions = m_conditions.AnyActive();
    if (!m_variation.Store().saved && rows && !extending) {
        if (!conditions) {
            return m_variation.AskThenDelete();
        }
        m_backup.BackUp();
        if (!m_messages.Question("Biztos törli a kijelölt feltételeket és a variáció listáját?")) {
            return false;
        }
        m_variation.Delete();
        ClearConditions();
        return true;
    }
    if (conditions) {
        const bool sameSize = extending && static_cast<int>(m_ticket.Selected().size()) ==
                                               m_ticket.Extension().selectedCount;
        if (!m_messages.Question(
                sameSize ? "Az aktuális variáció számsorának módosítását végzi.\rHa módosítja a "
                           "kijelölt számsort, a program törli a beállított feltételeket. "
                           "\r\rMégis módosítja a számsort?"
                         : "Biztos törli a kijelölt feltételeket?")) {
            return false;
        }
        ClearConditions();
    }
    if (rows && !extending) {
        m_variation.Delete(); // saved in its file
    }
    return true;
}

void Session::ChangeMarks(const std::function<void()>& change) {
    if (ConfirmMarksChange()) {
        change();
    }
}

void Session::ClickNumber(int number, MarkKind kind) {
    ChangeMarks([&] { m_ticket.Click(number, kind); });
}

void Session::PaintNumber(int number) {
    ChangeMarks([&] { m_ticket.Paint(number); });
}

void Session::MarkAll() {
    ChangeMarks([&] { m_ticket.MarkAll(); });
}

void Session::MarkRandomNumbers(int count) {
    ChangeMarks([&] {
        const int target = std::min(m_ticket.MarkedCount() + count, m_game.maxNumber);
        while (m_ticket.MarkedCount() < target) {
            const int before = m_ticket.MarkedCount();
            m_ticket.MarkRandomNumber(m_random);
            if (m_ticket.MarkedCount() == before) {
                break; // the ticket took no more
            }
        }
    });
}

void Session::ClearAll() {
    if (!m_ticket.Extension().active && !AskDiscardTicket()) {
        return;
    }
    ChangeMarks([&] {
        m_ticket.ClearFixed();
        m_ticket.ClearRandom();
        m_ticket.ClearConstant();
        m_ticket.ClearVariationNumbers();
    });
}

void Session::ClearFixed() {
    ChangeMarks([&] { m_ticket.ClearFixed(); });
}

void Session::ClearRandom() {
    ChangeMarks([&] { m_ticket.ClearRandom(); });
}

void Session::ClearConstant() {
    ChangeMarks([&] { m_ticket.ClearConstant(); });
}

void Session::ClearVariationNumbers() {
    ChangeMarks([&] { m_ticket.ClearVariationNumbers(); });
}

bool Session::NewTicket() {
    if (!m_ticket.Extension().active && !AskDiscardTicket()) {
        return false;
    }
    if (!ConfirmMarksChange()) {
        return false;
    }
    m_ticket.NewTicket();
    TicketChanged();
    return true;
}

void Session::SetNumberOrder(NumberOrder order) {
    m_ticket.SetNumberOrder(order, m_random);
    TicketChanged();
}

void Session::ClearConditions() {
    Editor().FeltetelekTorlese();
}

void Session::TicketChanged() {
    // A backup written meanwhile can be restored.
    if (m_variation.Exists() && !m_backup.RestoreState().enabled) {
        m_backup.LookUp();
    }
    // A new number joins the list in the order in use.
    const int selected = static_cast<int>(m_ticket.Selected().size());
    if (selected != m_lastSelectedCount) {
        m_lastSelectedCount = selected;
        m_ticket.ReapplyNumberOrder(m_random);
    }
    if (onTicketChanged) {
        onTicketChanged();
    }
}

// --- Conditions -------------------------------------------------------------------------------

ConditionContext Session::CurrentConditionContext() const {
    ConditionContext context;
    context.variationNumbers = m_ticket.Selected();
    context.maxNumber = m_game.maxNumber;
    context.rowLength = m_game.rowLength;
    context.variationRowLength = m_ticket.NumbersToChoose();
    context.isKeno = m_game.isKeno;
    context.hasDatabase = m_draws.HasDatabase();
    context.drawCount = m_draws.Count();
    context.hitRatioFirst = m_ranges.Get(RangeMode::HitRatio).first;
    context.hitRatioLast = m_ranges.Get(RangeMode::HitRatio).last;
    context.variationExists = m_variation.Exists();
    context.extensionMode = m_ticket.Extension().active;
    return context;
}

ConditionEditor& Session::Editor() {
    m_editor.Prepare(CurrentConditionContext());
    return m_editor;
}

// --- Draws ------------------------------------------------------------------------------------

std::string Session::DatabasePath() const {
    return m_folders.data + DatabaseFile(m_game.gameId);
}

bool Session::LoadDraws() {
    if (m_draws.HuzasokBe(DatabasePath(), m_game, m_messages)) {
        m_ranges.Reset(m_draws.Count());
    }
    UpdateTicketStatistics();
    TicketChanged();
    return m_draws.HasDatabase();
}

std::optional<HintStatistics> Session::TicketHintStatistics() const {
    if (!m_draws.HasDatabase()) {
        return std::nullopt;
    }
    HintStatistics stats;
    stats.firstDraw = m_ranges.GetHuzSzamaElso();
    stats.lastDraw = m_ranges.GetHuzSzamaUtolso();
    const RangeCounts counts = CountRange(m_game, m_draws.Draws(), stats.firstDraw, stats.lastDraw);
    stats.samples = counts.samples;
    stats.extraNumbers = counts.extraNumbers;
    stats.drawnCount = m_game.drawnCount;
    stats.hasExtra = m_game.extraCount == 1;
    return stats;
}

void Session::UpdateTicketStatistics() {
    NumberCounts counts;
    if (m_draws.HasDatabase()) {
        counts = CountNumbers(m_game, m_draws.Draws(), m_ranges.GetHuzSzamaElso(),
                              m_ranges.GetHuzSzamaUtolso());
    }
    m_ticket.SetStatistics(std::move(counts.timesDrawn), std::move(counts.drawsSince));
}

void Session::SetTicketView(TicketView view) {
    if (view == TicketView::TimesDrawn || view == TicketView::DrawsSince) {
        UpdateTicketStatistics();
    }
    m_ticket.SetView(view);
    TicketChanged();
}

// --- Files ------------------------------------------------------------------------------------

bool Session::SaveNumberRow(const std::string& path) {
    if (!velmora::SaveNumberRow(path, NumberRowOf(m_ticket, m_conditions), m_messages)) {
        return false;
    }
    m_ticket.SetUnchanged(true);
    return true;
}

bool Session::LoadNumberRow(const std::string& path) {
    NumberRowRecord record;
    record.conditions = m_conditions;
    const NumberRowContext context{m_game, m_draws.HasDatabase() ? m_draws.Count() : 0, path};
    const bool loaded = velmora::LoadNumberRow(path, context, m_messages, record);
    ApplyNumberRow(std::move(record), loaded);
    return loaded;
}

void Session::ApplyNumberRow(NumberRowRecord record, bool loaded) {
    if (!loaded) {
        record = NumberRowRecord{};
        m_conditions.DeactivateAll();
    } else {
        m_conditions = record.conditions;
    }

    m_ticket.RestoreNumberOrder(record.numberOrder);
    // The lists arrive in their saved order: the count change must not sort or shuffle them.
    m_lastSelectedCount = static_cast<int>(record.selected.size());
    m_ticket.LoadLists(std::move(record.selected), std::move(record.fixed),
                       std::move(record.constant), std::move(record.random));
    // An ascending or descending order is applied again, which mends a list edited by hand; a
    // random order keeps the saved one, on which the position-based conditions depend.
    if (m_ticket.Order() == NumberOrder::Ascending || m_ticket.Order() == NumberOrder::Descending) {
        m_ticket.ReapplyNumberOrder(m_random);
    }
    m_ticket.SetUnchanged(loaded);
    TicketChanged();
}

bool Session::OpenFile(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == "tip") {
        return LoadNumberRow(path);
    }
    if (extension == "top") {
        return m_variation.Load(path);
    }
    if (extension == "csv" || extension == "txt") {
        return m_variation.Import(path);
    }
    return false;
}

} // namespace velmora
