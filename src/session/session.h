#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/file_chooser.h"
#include "common/messages.h"
#include "common/random_source.h"
#include "conditions/condition_editor.h"
#include "conditions/condition_set.h"
#include "draws/draw_ranges.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "game/main_ticket.h"
#include "game/number_row_file.h"
#include "settings/folders.h"
#include "settings/settings.h"
#include "variation/bontas.h"
#include "variation/variation_export.h"
#include "variation/variation_file.h"
#include "variation/variation_store.h"
#include "variation/variation_test.h"

// The program's state for one run: folders, settings, the current game and the main ticket,
// plus the flags other subsystems report. Windows and tests receive it by reference.
namespace velmora {

struct CommandState {
    bool enabled = false;
    std::string hint;
};

// What the main window offers after a change of the main ticket, with the hints.
struct TicketCommandStates {
    CommandState clearAll;        // the "Törlés" button and submenu
    std::string clearAllItemHint; // the "Minden szám" item
    CommandState clearRandom;
    CommandState clearFixed;
    CommandState clearConstant;
    CommandState clearVariation;
    CommandState newTicket;
    CommandState markAll;
    bool conditionsAvailable = false; // selected + fixed exceed RowLength
    std::string fullVariationText;    // status bar panel 1
};

class Session : public TicketLinks {
public:
    Session(const ProgramFolders& folders, Messages& messages, RandomSource& random);

    const ProgramFolders& Folders() const { return m_folders; }
    Settings& GetSettings() { return m_settings; }
    const Settings& GetSettings() const { return m_settings; }
    Messages& GetMessages() { return m_messages; }
    RandomSource& Random() { return m_random; }
    const GameInfo& Game() const { return m_game; }
    MainTicket& Ticket() { return m_ticket; }
    const MainTicket& Ticket() const { return m_ticket; }
    DrawsStore& Draws() { return m_draws; }
    const DrawsStore& Draws() const { return m_draws; }
    DrawRanges& Ranges() { return m_ranges; }
    const DrawRanges& Ranges() const { return m_ranges; }
    ConditionSet& Conditions() { return m_conditions; }
    const ConditionSet& Conditions() const { return m_conditions; }
    // The editing rules of the conditions, prepared for the current marks.
    ConditionEditor& Editor();
    // Whether any condition is set ("FeltetelJelzo").
    bool ConditionsSet() const { return m_conditions.AnyActive(); }
    // What the conditions are judged against now.
    ConditionContext CurrentConditionContext() const;

    // The current game's draws database file.
    std::string DatabasePath() const;
    // Loads the current game's draws; after a successful load every draw range covers all
    // draws. True when draws are present.
    bool LoadDraws();
    bool HasDraws() const { return m_draws.HasDatabase(); }
    // The statistics block of the main ticket's hints, while draws are present.
    std::optional<HintStatistics> TicketHintStatistics() const;
    // Recomputes the counts the ticket shows in its statistics views.
    void UpdateTicketStatistics();
    // Shows a ticket view; the statistics views are recomputed each time.
    void SetTicketView(int view);

    // Pushes the "Approve" and "Info" settings into the messages.
    void ApplyMessageSettings();

    // Makes `id` the current game: parameters, per-game folder, a new main ticket.
    void ApplyGame(GameId id);
    // The game menu: false when nothing changed (same game, or the discard was declined).
    bool SelectGame(GameId id);
    // Asks whether the marks (and what hangs on them) may be dropped.
    bool AskDiscardTicket();
    // Whether an existing variation may be dropped because the marks change.
    bool ConfirmVariationDrop();

    // Main ticket commands, each after the variation-drop confirmation.
    void ClickNumber(int number, int kind);
    void PaintNumber(int number);
    void MarkAll();
    void ClearAll();
    void ClearFixed();
    void ClearRandom();
    void ClearConstant();
    void ClearVariationNumbers();
    // "Új főszelvény"; false when the user kept the ticket.
    bool NewTicket();
    void SetNumberOrder(int order);

    // The number-row file of the current ticket and conditions. A successful save or load
    // leaves the ticket unchanged; a failed load clears the ticket and the conditions.
    bool SaveNumberRow(const std::string& path);
    bool LoadNumberRow(const std::string& path);

    // The variation file: the number-row record followed by the variation. A failed load
    // leaves no variation, no conditions and an empty ticket.
    bool SaveVariation(const std::string& path);
    bool LoadVariation(const std::string& path);
    // Writes the variation in one of the export formats.
    bool ExportVariation(const std::string& path, ExportFormat format);
    // Takes the rows of a csv or txt file as the variation, its numbers as the ticket.
    bool ImportVariation(const std::string& path);
    // Opens a file by its extension: "tip", "top", "csv" or "txt" in any case.
    bool OpenFile(const std::string& path);

    // The variation test of the current variation: the limits of the drawn count d and the
    // test's input.
    int TestDrawnMinimum() const { return 2; }
    int TestDrawnMaximum() const;
    VariationTestInput MakeTestInput(int drawn, bool conditionsMode, int threads) const;

    // "Megnyitás...": the open dialog, then the chosen file by its extension.
    bool OpenCommand(FileChooser& chooser);
    // The save dialog; `requested` is "top", "tip" or empty ("Mentés másként...").
    bool SaveCommand(FileChooser& chooser, const std::string& requested);
    // The "Mentés" of the "Variáció" menu.
    bool SaveVariationCommand(FileChooser& chooser);

    // "GameName  -  Velmora Personal "
    std::string MainWindowCaption() const;
    TicketCommandStates CommandStates() const;

    // The current variation: its rows, and where a paused one goes on.
    VariationStore& Variation() { return m_variation; }
    const VariationStore& Variation() const { return m_variation; }
    const ResumePoint& PausedAt() const { return m_record.resume; }
    bool VariationPaused() const { return m_record.resume.paused; }
    // The version and date of the variation, with its paused state.
    const VariationRecord& Record() const { return m_record; }
    // "Start": the checks before a run. False, after the message, when no run may start.
    bool StartChecks();
    // The engine's input for the current ticket, conditions and settings.
    GenerationInput MakeGenerationInput() const;
    // After the engine's completion: a finished or paused run leaves a variation.
    void GenerationDone(const GenerationOutcome& outcome);
    // The "Törlés" command of the "Variáció" menu; false when the user keeps the variation.
    bool DeleteVariationCommand();
    // "Biztos törli a variáció listáját?" unless the variation is saved; then deletes it.
    bool BontTorlesEng1();
    // Drops the variation and its paused state.
    void DeleteVariation();
    // Whether `adding` more rows keep the variation within the full variation (warns if not).
    bool BontSzamsorHozzaadasEllenorzes(long long adding);
    // Mode 0 appends test rows, mode 1 the check ticket's row, each as a block of its own and
    // in extension mode; mode 2 writes the row over row `index` (0-based).
    void BontTesztHozzaadas(int mode, const std::vector<std::vector<std::uint8_t>>& rows,
                            long long index = 0);
    // Deletes rows first..last (1-based) after the confirmation; all rows go with the
    // variation's own delete command. False when nothing was deleted.
    bool BontSzamsorTorles(long long first, long long last);

    // Set by the subsystems that own these states.
    bool variationExists = false;

    // Called after every change of the main ticket (the window refreshes itself).
    std::function<void()> onTicketChanged;

    // TicketLinks
    void ClearConditions() override;
    bool VariationExists() const override { return variationExists; }
    void TicketChanged() override;

private:
    ProgramFolders m_folders;
    Messages& m_messages;
    RandomSource& m_random;
    Settings m_settings;
    GameInfo m_game;
    MainTicket m_ticket;
    DrawsStore m_draws;
    DrawRanges m_ranges;
    ConditionSet m_conditions;
    ConditionEditor m_editor;
    VariationStore m_variation;
    VariationRecord m_record;
    // Puts a read record onto the ticket and into the conditions; an unloaded one clears them.
    void ApplyNumberRow(NumberRowRecord record, bool loaded);
    // An invalid variation file: the message, then nothing of it stays.
    void HibasBontas(const std::string& path, bool tell);
    VariationShape CurrentShape() const;
    // The rows of a file name positions of the file's number list; when the ticket orders the
    // list anew, the rows, frequencies and resume position follow.
    void RenumberPositions(const std::vector<std::uint8_t>& fileOrder, VariationStore& store,
                           ResumePoint& resume) const;

    // The selected count last seen by the command refresh; -1 makes the next refresh run.
    int m_lastSelectedCount = -1;
};

} // namespace velmora
