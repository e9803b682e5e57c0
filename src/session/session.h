#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/messages.h"
#include "common/random_source.h"
#include "conditions/condition_editor.h"
#include "conditions/condition_set.h"
#include "draws/draw_ranges.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "game/main_ticket.h"
#include "session/command_model.h"
#include "session/last_variation_backup.h"
#include "session/number_row_file.h"
#include "session/variation_document.h"
#include "settings/folders.h"
#include "settings/settings.h"

// One run of the program: the folders and settings, the current game with its main ticket and
// conditions, and the objects the user works on besides them (the draws of the game, the
// variation document), wired together. Changing the marks goes through here, because a change
// of the marks reaches the conditions and the variation made from them.
namespace velmora {

class Session : public TicketLinks {
public:
    Session(const ProgramFolders& folders, Messages& messages, RandomSource& random,
            const Clock& clock);

    const ProgramFolders& Folders() const { return m_folders; }
    Settings& GetSettings() { return m_settings; }
    const Settings& GetSettings() const { return m_settings; }
    Messages& GetMessages() { return m_messages; }
    RandomSource& Random() { return m_random; }
    const Clock& GetClock() const { return m_clock; }
    const GameInfo& Game() const { return m_game; }
    MainTicket& Ticket() { return m_ticket; }
    const MainTicket& Ticket() const { return m_ticket; }
    DrawsStore& Draws() { return m_draws; }
    const DrawsStore& Draws() const { return m_draws; }
    DrawRanges& Ranges() { return m_ranges; }
    ConditionSet& Conditions() { return m_conditions; }
    const ConditionSet& Conditions() const { return m_conditions; }
    VariationDocument& Variation() { return m_variation; }
    const VariationDocument& Variation() const { return m_variation; }
    const CommandModel& Commands() const { return m_commands; }
    LastVariationBackup& Backup() { return m_backup; }
    const LastVariationBackup& Backup() const { return m_backup; }

    // The editing rules of the conditions, prepared for the current marks.
    ConditionEditor& Editor();
    // What the conditions are judged against now.
    ConditionContext CurrentConditionContext() const;

    // Pushes the "Approve" and "Info" settings into the messages.
    void ApplyMessageSettings();
    // "GameName  -  Velmora Personal "
    std::string MainWindowCaption() const;

    // --- Game -----------------------------------------------------------------------------
    // Makes `id` the current game: parameters, per-game folder, a new main ticket; the
    // variation and the draws of the old game go.
    void ApplyGame(GameId id);
    // The game menu: false when nothing changed (same game, or the discard was declined).
    bool SelectGame(GameId id);
    // Asks whether the marks (and what hangs on them) may be dropped.
    bool AskDiscardTicket();

    // --- Marks ----------------------------------------------------------------------------
    // "BontTorlesEng2": before the marks change, the variation made from them is dropped and
    // set conditions are cleared, each with the user's consent. False when the user keeps them.
    bool ConfirmMarksChange();
    // Main ticket commands, each after ConfirmMarksChange.
    void ClickNumber(int number, MarkKind kind);
    void PaintNumber(int number);
    void MarkAll();
    // "Véletlen számok": `count` random numbers after the confirmation, as far as the ticket
    // has room.
    void MarkRandomNumbers(int count);
    void ClearAll();
    void ClearFixed();
    void ClearRandom();
    void ClearConstant();
    void ClearVariationNumbers();
    // "Új főszelvény"; false when the user kept the ticket.
    bool NewTicket();
    void SetNumberOrder(NumberOrder order);

    // --- Draws ----------------------------------------------------------------------------
    // The current game's draws database file.
    std::string DatabasePath() const;
    // Loads the current game's draws; after a successful load every draw range covers all
    // draws. True when draws are present.
    bool LoadDraws();
    // The statistics block of the main ticket's hints, while draws are present.
    std::optional<HintStatistics> TicketHintStatistics() const;
    // Shows a ticket view; the statistics views are recomputed each time.
    void SetTicketView(TicketView view);

    // --- Files ----------------------------------------------------------------------------
    // The number-row file of the current ticket and conditions. A successful save or load
    // leaves the ticket unchanged; a failed load clears the ticket and the conditions.
    bool SaveNumberRow(const std::string& path);
    bool LoadNumberRow(const std::string& path);
    // Opens a file by its extension: "tip", "top", "csv" or "txt" in any case.
    bool OpenFile(const std::string& path);

    // Called after every change of the main ticket (the window refreshes itself).
    std::function<void()> onTicketChanged;

    // Puts a read record onto the ticket and into the conditions; an unloaded one clears them.
    void ApplyNumberRow(NumberRowRecord record, bool loaded);

    // TicketLinks
    void ClearConditions() override;
    bool VariationExists() const override { return m_variation.Exists(); }
    void TicketChanged() override;

private:
    // Recomputes the counts the ticket shows in its statistics views.
    void UpdateTicketStatistics();
    // Runs `change` on the ticket once the user agreed to lose what hangs on the marks.
    void ChangeMarks(const std::function<void()>& change);

    ProgramFolders m_folders;
    Messages& m_messages;
    RandomSource& m_random;
    const Clock& m_clock;
    Settings m_settings;
    GameInfo m_game;
    MainTicket m_ticket;
    DrawsStore m_draws;
    DrawRanges m_ranges;
    ConditionSet m_conditions;
    ConditionEditor m_editor;
    VariationDocument m_variation;
    LastVariationBackup m_backup;
    CommandModel m_commands;
    // The selected count last seen by the change handler; -1 makes the next change reorder.
    int m_lastSelectedCount = -1;
};

} // namespace velmora
