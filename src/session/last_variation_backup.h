#pragma once

#include <string>

#include "common/messages.h"
#include "conditions/condition_set.h"
#include "game/game_catalogue.h"
#include "game/main_ticket.h"
#include "session/command_model.h"
#include "session/variation_document.h"
#include "settings/folders.h"
#include "settings/settings.h"

// The backup of the last variation: before a variation that was not saved is lost, it is
// written to the game's backup file, and "Visszatöltés" brings it back; pressed again, it
// returns to the state before.
namespace velmora {

class Session;

// More rows than this are backed up as the number row and the conditions only.
inline constexpr long long kMaxVariationBackupRows = 100000;

class LastVariationBackup {
public:
    enum class Slot {
        Main,     // "back" + folder + "." + kind
        Previous, // "back" + folder + "1." + kind: the state a restore replaced
        Swap,     // "back" + folder + "2." + kind: used while the two change places
    };

    LastVariationBackup(const ProgramFolders& folders, const Settings& settings,
                        const GameInfo& game, const MainTicket& ticket,
                        const ConditionSet& conditions, const VariationDocument& variation,
                        Messages& messages);

    // "top" or "tip" as the settings ask ("Back"; anything but "tip" reads as "top").
    std::string Kind() const;
    // The kind a backup is written in now: a variation of more than 100 000 rows as "tip".
    std::string EffectiveKind() const;
    std::string SlotPath(Slot slot, const std::string& kind) const;

    // A backup is due while a variation exists whose ticket changed since it was last saved,
    // unless a restore is running.
    bool Due() const;
    // Writes the slot when due (the previous-state slot is deleted first). True when written.
    bool WriteSlot(Slot slot);
    // Before a loss: the main slot; when nothing was written and the restore command is off,
    // the backup is looked up.
    void BackUp();
    // Whether the main slot of the current game exists; sets the restore command's state.
    bool LookUp();
    // "Visszatöltés": the restore command's state and hint.
    CommandState RestoreState() const;

    // "Visszatöltés": the current state goes to the previous-state slot, the backup becomes
    // the ticket, the conditions and (kind "top") the variation, and the two slots change
    // places so that the next restore returns to the state before. A backup that cannot be
    // read is refused with its message and the current state stays. True when restored.
    bool Restore(Session& session);

private:
    enum class State { Missing, Available, Restored };

    const ProgramFolders& m_folders;
    const Settings& m_settings;
    const GameInfo& m_game;
    const MainTicket& m_ticket;
    const ConditionSet& m_conditions;
    const VariationDocument& m_variation;
    Messages& m_messages;
    bool m_automatic = true; // off only while a restore runs
    State m_state = State::Missing;
};

} // namespace velmora
