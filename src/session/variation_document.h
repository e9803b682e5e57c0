#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/messages.h"
#include "conditions/condition_set.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "game/main_ticket.h"
#include "session/number_row_file.h"
#include "variation/bontas.h"
#include "variation/variation_export.h"
#include "variation/variation_file.h"
#include "variation/variation_store.h"
#include "variation/variation_test.h"

// The current variation: its rows (with their block ends), its record (program version,
// generation date, resume point) and its file. The rows name positions in the main ticket's
// selected numbers, so the document reads the ticket, the conditions and the draws it was made
// from; a loaded or imported file hands its number-row record back to the ticket.
namespace velmora {

// How rows join the variation.
enum class AddMode {
    TestRows, // the missing rows of the test, as a block of their own (extension mode)
    CheckRow, // the check ticket's row, as a block of its own (extension mode)
    Replace,  // writes the row over an existing one
};

// What Start may do after its checks.
enum class StartCheck {
    Go,
    Refused,        // the message has been shown
    OpenConditions, // no conditions and no error points while extending: set some first
};

class VariationDocument {
public:
    // Puts a number-row record onto the ticket and into the conditions; an unloaded (false)
    // record clears them.
    using ApplyNumberRow = std::function<void(NumberRowRecord record, bool loaded)>;

    VariationDocument(const GameInfo& game, MainTicket& ticket, ConditionSet& conditions,
                      const DrawsStore& draws, Messages& messages, const Clock& clock,
                      ApplyNumberRow apply);

    bool Exists() const { return m_store.Count() > 0; }
    VariationStore& Store() { return m_store; }
    const VariationStore& Store() const { return m_store; }
    const VariationRecord& Record() const { return m_record; }
    bool Paused() const { return m_record.resume.paused; }
    // The rows hold the numbers of past draws rather than positions.
    bool DrawsList() const;

    // --- Deleting ("BontasTorlese", "BontTorlesEng1") -------------------------------------
    // Drops the rows, the record and extension mode, without a question.
    void Delete();
    // An example variation ("példabontás") made by this run: its windows and list say so.
    bool Example() const { return m_example; }
    void SetExample(bool example) { m_example = example; }

    // "Rendezés": the rows in ascending order, after the Part's limit and question; false when
    // nothing was sorted. "Eredeti sorrend": the generation order again.
    bool SortRows();
    void RestoreOrder();
    // Unless the variation is saved or being extended: "Biztos törli a variáció listáját?".
    // Deletes and returns true unless the user kept it.
    bool AskThenDelete();
    // Called before the user's delete commands drop rows (the last variation is backed up).
    std::function<void()> beforeDelete;
    // The "Törlés" command of the "Variáció" menu: in extension mode the confirmation comes
    // first.
    bool DeleteCommand();

    // --- Extension mode -------------------------------------------------------------------
    bool Extending() const { return m_ticket.Extension().active; }
    // Whether "Variáció bővítése" may switch the mode: on while extending, else for a
    // finished variation of positions.
    bool CanToggleExtension() const;
    // "Variáció bővítése": leaves the mode, or enters it while the variation is smaller than
    // the full variation (else the size warning).
    void ToggleExtension();
    // Rows were added since the extension began ("Bővítmény hozzáadása" is offered).
    bool CanCommitExtension() const;
    // "Bővítmény hozzáadása": the rows added since the extension began join the body.
    void CommitExtension();
    // A block was added after the first one ("Bővítmény törlése" is offered).
    bool CanUndoExtension() const;
    // "Bővítmény törlése": after the confirmation, the rows added last go. False when nothing
    // was deleted.
    bool UndoExtension();
    // Before a generation starts: the generation order again, and an extension that has
    // grown since it began is committed first.
    void BeforeGeneration();

    // --- Files ----------------------------------------------------------------------------
    // The variation file: the number-row record of the ticket and the conditions, then the
    // variation block.
    bool Save(const std::string& path);
    // A failed load leaves no variation, no conditions and an empty ticket.
    bool Load(const std::string& path);
    // A variation file read and checked, before anything of the document changes.
    struct VariationFile {
        VariationRead result = VariationRead::Invalid;
        NumberRowRecord record;
        VariationShape shape;
        VariationStore store;
        VariationRecord loaded;
        EngineOptions options;
    };
    // Reads `path` showing `waitText` meanwhile; false after the message of a refused file.
    bool Read(const std::string& path, VariationFile& file, const char* waitText) const;
    // Makes a file read by Read the document, its ticket and its conditions.
    void Apply(VariationFile file);
    // The backup copy of the variation: the file Save writes, without marking anything saved.
    bool SaveBackup(const std::string& path) const;
    // Takes the rows of a csv or txt file as the variation, its numbers as the ticket.
    bool Import(const std::string& path);
    bool Export(const std::string& path, ExportFormat format);
    // What the rows' numbers are made of, for the export and the command-line row printer.
    ExportSource RowSource() const;
    // The list report's title: "12 szám 1 hibapontos variációja 65 számsorra".
    std::string ListTitle() const;

    // --- Generation -----------------------------------------------------------------------
    // "Start": the checks before a run; after the message when no run may start.
    StartCheck StartChecks();
    // The engine's input for the current ticket, conditions and variation.
    GenerationInput MakeGenerationInput() const;
    // After the engine's completion: a finished or paused run leaves a variation.
    void GenerationDone(const GenerationOutcome& outcome);

    // --- Test -----------------------------------------------------------------------------
    // The limits of the drawn count d and the test's input.
    int TestDrawnMinimum() const { return 2; }
    int TestDrawnMaximum() const;
    VariationTestInput MakeTestInput(int drawn, bool conditionsMode, int threads) const;

    // --- Rows ("BontSzamsorHozzaadasEllenorzes", "BontTesztHozzaadas", "BontSzamsorTorles")
    // Whether `adding` more rows keep the variation within the full variation (warns if not).
    bool HasRoomFor(long long adding);
    // Adds rows of positions; `index` (0-based) is the row that AddMode::Replace writes over.
    // Rows of another width or naming other numbers are refused as a whole. False when
    // nothing was added.
    bool AddRows(AddMode mode, const std::vector<std::vector<std::uint8_t>>& rows,
                 long long index = 0);
    // Deletes rows first..last (1-based) after the confirmation; all rows go with the delete
    // command. `lastBlock` deletes the rows added last instead ("Bővítmény törlése"). False
    // when nothing was deleted.
    bool DeleteRows(long long first, long long last, bool lastBlock = false);

    // --- Minimising ("Variáció minimalizálása...") ----------------------------------------
    // Puts `rows` (positions, as wide as the rows now) in place of the rows, after the backup
    // of beforeDelete; the rows before can be brought back while the rows stay as put.
    void ReplaceRows(const std::vector<std::vector<std::uint8_t>>& rows);
    // A finished error-point variation of positions, not being extended.
    bool CanMinimise() const;
    bool CanUndoReplace() const;
    // "Minimalizálás visszavonása": the rows before the last ReplaceRows. False when they are
    // gone (the rows changed since).
    bool UndoReplace();

private:
    VariationShape CurrentShape() const;
    // An invalid variation file: the message, then nothing of it stays ("HibasBontas").
    // The bytes of the variation file.
    std::vector<std::uint8_t> FileBytes() const;
    // A refused file leaves no variation, no conditions and an empty ticket.
    void RejectFile();
    // The rows of a file name positions of the file's number list; when the ticket orders the
    // list anew, the rows, frequencies and resume position follow.
    void RenumberPositions(const std::vector<std::uint8_t>& fileOrder, VariationStore& store,
                           ResumePoint& resume) const;
    // Extension mode with the given targets; `startMark` is where a new extension begins.
    void EnterExtensionMode(int selected, int fixed, long long startMark);

    const GameInfo& m_game;
    MainTicket& m_ticket;
    ConditionSet& m_conditions;
    const DrawsStore& m_draws;
    Messages& m_messages;
    const Clock& m_clock;
    ApplyNumberRow m_apply;
    VariationStore m_store;
    VariationRecord m_record;
    bool m_example = false;
    std::vector<std::vector<std::uint8_t>> m_replacedRows; // before the last ReplaceRows
    std::uint64_t m_replacedRevision = 0;                  // the store's revision after it
    long long m_replacedCount = 0;                         // and its rows
};

} // namespace velmora
