#include "session/last_variation_backup.h"

#include <filesystem>

#include "session/session.h"

namespace velmora {

namespace {

bool Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

void Remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

bool Rename(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

// Exchanges the contents of files `a` and `b` through `spare`; on a failure both stay where
// they were.
bool Exchange(const std::string& a, const std::string& b, const std::string& spare) {
    if (!Rename(a, spare)) {
        return false;
    }
    if (!Rename(b, a)) {
        Rename(spare, a);
        return false;
    }
    if (!Rename(spare, b)) {
        Rename(a, b);
        Rename(spare, a);
        return false;
    }
    return true;
}

} // namespace

LastVariationBackup::LastVariationBackup(const ProgramFolders& folders, const Settings& settings,
                                         const GameInfo& game, const MainTicket& ticket,
                                         const ConditionSet& conditions,
                                         const VariationDocument& variation, Messages& messages)
    : m_folders(folders), m_settings(settings), m_game(game), m_ticket(ticket),
      m_conditions(conditions), m_variation(variation), m_messages(messages) {}

std::string LastVariationBackup::Kind() const {
    return m_settings.backupKind == "tip" ? "tip" : "top";
}

std::string LastVariationBackup::EffectiveKind() const {
    return m_variation.Store().Count() > kMaxVariationBackupRows ? "tip" : Kind();
}

std::string LastVariationBackup::SlotPath(Slot slot, const std::string& kind) const {
    const char* const suffix = slot == Slot::Main ? "." : slot == Slot::Previous ? "1." : "2.";
    return m_folders.backup + "back" + FolderName(m_game.gameId) + suffix + kind;
}

bool LastVariationBackup::Due() const {
    return m_variation.Exists() && m_automatic && !m_ticket.Unchanged();
}

bool LastVariationBackup::WriteSlot(Slot slot) {
    if (!Due()) {
        return false;
    }
    const std::string kind = EffectiveKind();
    Remove(SlotPath(Slot::Previous, kind));
    std::error_code ignored;
    std::filesystem::create_directories(m_folders.backup, ignored);
    const std::string path = SlotPath(slot, kind);
    // A failed write leaves the file that was there (the writes go through a temporary file).
    if (kind == "tip") {
        return SaveNumberRow(path, NumberRowOf(m_ticket, m_conditions), m_messages);
    }
    return m_variation.SaveBackup(path);
}

void LastVariationBackup::BackUp() {
    if (WriteSlot(Slot::Main)) {
        m_state = State::Available;
    } else if (m_state != State::Available) {
        LookUp();
    }
}

bool LastVariationBackup::LookUp() {
    m_state = Exists(SlotPath(Slot::Main, Kind())) ? State::Available : State::Missing;
    return m_state == State::Available;
}

CommandState LastVariationBackup::RestoreState() const {
    switch (m_state) {
    case State::Missing:
        return {false, " Nincs visszatöltésre alkalmas állomány. "};
    case State::Restored:
        return {false, " Visszatöltés sikeres. "};
    case State::Available:
        break;
    }
    return {!m_ticket.Extension().active,
            Kind() == "tip" ? " Utolsó (nem elmentett) variáció számsorának és feltételeinek "
                              "visszatöltése. "
                            : " Utolsó (nem elmentett) variáció visszatöltése. "};
}

bool LastVariationBackup::Restore(Session& session) {
    WriteSlot(Slot::Previous);
    m_automatic = false;
    const std::string kind = Kind();
    const std::string main = SlotPath(Slot::Main, kind);
    bool restored = false;
    if (Exists(main)) {
        // The backup is read whole before anything of the current state goes.
        VariationDocument::VariationFile file;
        NumberRowRecord record;
        record.conditions = m_conditions;
        const NumberRowContext context{
            m_game, session.Draws().HasDatabase() ? session.Draws().Count() : 0, main};
        const bool read = kind == "top"
                              ? m_variation.Read(main, file, "Biztonsági másolat visszatöltése")
                              : LoadNumberRow(main, context, m_messages, record);
        if (!read) {
            m_messages.Error("Másolat visszatöltése sikertelen.");
        } else if (session.AskDiscardTicket()) {
            session.Variation().Delete();
            if (kind == "top") {
                session.Variation().Apply(std::move(file));
            } else {
                session.ApplyNumberRow(std::move(record), true);
            }
            session.Ticket().SetUnchanged(false);
            restored = true;
            const std::string previous = SlotPath(Slot::Previous, kind);
            const std::string swap = SlotPath(Slot::Swap, kind);
            if (Exists(previous) && Exchange(main, previous, swap)) {
                m_state = State::Available;
            } else {
                m_state = State::Restored;
            }
        }
    }
    m_automatic = true;
    Remove(SlotPath(Slot::Swap, kind));
    return restored;
}

} // namespace velmora
