#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/bit_set_128.h"
#include "common/messages.h"
#include "conditions/condition_set.h"
#include "conditions/filter.h"
#include "conditions/number_data.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "variation/variation_store.h"

// The variation engine: enumerates the combinations of the variation numbers in lexicographic
// order, lets the conditions and the error-point test judge each, and stores the accepted ones.
// It runs on a worker thread; the window reads its counters and raises its stop, pause and
// progress signals, which the worker answers at the next candidate.
namespace velmora {

inline constexpr long long kDefaultAllowedRows = 100000;
inline constexpr long long kRowLimit = 100000000;

// "35 számsor szükséges a játékhoz": how many rows a variation holds, as the engine window
// counts them during a run and the main window's status bar shows them afterwards.
std::string NeededRowsText(long long rows);

// Where a paused variation goes on: the first combination not yet examined and the pass
// counter of its pass.
struct ResumePoint {
    bool paused = false;
    std::vector<std::uint8_t> position;
    int passCounter = 0;
};

// What a run is built from.
struct GenerationInput {
    GameInfo game;
    std::vector<std::uint8_t> variationNumbers; // V, in the main ticket's order
    int fixedCount = 0;
    ConditionSet conditions;
    const std::vector<DrawRecord>* draws = nullptr;
    long long allowedRows = kDefaultAllowedRows;
    // Free physical memory in bytes, asked whenever the row table must grow; unset = no limit.
    std::function<long long()> freeMemory;
    // The rows in the store stay and every candidate passes the acceptance test (an extension
    // never repeats a row; with error points and "Felülírás" the overwrite run).
    bool extension = false;
    // A paused variation continues here; its rows stay in the store.
    ResumePoint resume;
};

// What the end of a run leaves for the window and the program.
struct GenerationOutcome {
    bool finished = false; // ran to its end or was paused; false = stopped, not a variation
    bool paused = false;
    ResumePoint resume;
    std::string emptyResultText;    // the error box of a run that stored nothing
    std::string missingNumbersText; // the warning about numbers no row contains
    int itemisedFrom = 0;           // the "Tételes" from-value to show next (overwrite runs)
};

class Bontas {
public:
    Bontas(Messages& messages, VariationStore& store);

    // Prepares a run: sizes, bounds, the store, the filter. False when nothing can run.
    bool BontasIndul(const GenerationInput& input);
    // The worker's body: the frequency-distribution run, or the passes of the plain or reduced
    // variation and the cycles of an overwrite run. Returns when complete, stopped or paused.
    void Run();
    // The completion on the main thread, after the worker has returned.
    GenerationOutcome Vege();

    // The covering test of the reduced variation runs on a bit set of each stored row; on, the
    // merge walk over the rows decides itself (the reference the tests compare with).
    bool useLiteralCovering = false;
    // Off: the run starts from the default bounds (tests compare the two).
    bool useConditionBounds = true;
    // Off: every last position is examined one by one (tests compare the two).
    bool useLastLevelRuns = true;
    // Off: the walk descends into every prefix, whatever its conditions allow (tests compare).
    bool usePrefixBounds = true;

    // From any thread; the worker answers at its next candidate. Stop ("BontasMegszakitasa")
    // ends the run as stopped; Pause (the "Megszakítás" button) asks whether to go on and
    // otherwise leaves a paused variation.
    void RequestStop();
    void RequestPause();
    // Asks the worker to publish its position for the progress display.
    void RequestProgress();
    // The progress estimate in percent (0..100) from the last published position.
    int Progress() const { return m_progress.load(std::memory_order_relaxed); }

    long long StoredRows() const { return m_storedRows.load(std::memory_order_relaxed); }
    long long TotalCombinations() const { return m_total; }
    int RowLength() const { return m_k; }
    bool DrawsList() const { return m_drawsList; }
    std::uint16_t PassedConditions() const { return m_filter.PassedConditions(); }
    // Prefixes the last run passed over whole, because no completion could pass.
    long long SkippedPrefixes() const { return m_skippedPrefixes; }
    const std::vector<std::uint8_t>& LowerBounds() const { return m_lower; }
    const std::vector<std::uint8_t>& UpperBounds() const { return m_upper; }

    // N + " szám " + h + " hibapontos variációja " + k' + " számra"
    std::string Headline() const;
    // The notice shown when a new variation starts with fixed numbers.
    std::string StartNoticeText() const;
    // The pause question: after the Pause button, or asked by the program itself.
    std::string MegszakitasUzenet(bool userPaused) const;

private:
    enum Signal : unsigned { kSignalStop = 1, kSignalPause = 2, kSignalProgress = 4 };

    // The pass driver: one pass without error points, the passes of the reduced variation
    // otherwise, and the cycles of an overwrite run.
    void Start();
    // The frequency-distribution run ("Gyakorisági eloszlás").
    void GyakorisagiOptBontStart();
    // One enumeration pass; true when it ran to its end.
    bool BontasGeneralas();
    // The enumeration that returns false right after one stored row, true when it ran out.
    bool UJBontasGeneralas();
    // The acceptance test of the current candidate (rejecting may move the walk).
    bool HibapontosBontas();
    // The text of the error box shown when a finished run stored nothing; empty otherwise.
    std::string EmptyResultText() const;
    // The numbers of V that no stored row contains.
    std::vector<std::uint8_t> MissingNumbers() const;

    template <bool kOneRow>
    int Walk();
    // The last positions after the prefix in m_position[0..k-2]: the passing run stored at
    // once. False when the run had to stop (a pause answered, no memory, growth declined).
    bool StoreLastLevelRun();
    bool Attend(bool askPause);
    bool AnswerPause();
    void PublishProgress();
    void BontMutMinErtekek();
    void BontMutMaxErtekek();
    void ResetPass(int passCounter);
    bool BontasTarol();
    bool StoreDrawsList();
    bool StoreDraw(int drawSet);
    void RecallStoredDraws();
    bool Covered(int allowance, long long firstRow);
    bool LiteralCovering(int allowance, long long firstRow);
    bool FastCovering(int allowance, long long firstRow);
    bool OverwriteTest();
    bool Grow();
    bool GrowTo(long long capacity, bool full);
    void SkipCovered(int j, bool allowTwoStep);
    bool OverwriteCycleGoesOn(int questionThreshold);
    static BitSet128 SetOf(const std::uint8_t* row, int width);

    Messages& m_messages;
    VariationStore& m_store;
    GenerationInput m_input;
    NumberData m_data;
    ConditionFilter m_filter;
    bool m_conditionsActive = false;
    bool m_drawsList = false;
    bool m_acceptanceTest = false; // error points, an extension or an overwrite run
    // Every last position after a prefix is settled at once (no condition, or the sum alone
    // over ascending numbers): the run of passing rows is stored in one go.
    bool m_lastLevelRuns = false;
    bool m_prefixBounds = false;
    long long m_skippedPrefixes = 0;
    bool m_overwrite = false;
    bool m_coveringTest = true; // candidates covered by a stored row are refused (outside
                                // overwrite runs always)
    bool m_literal = false;     // some stored row is not ascending: the merge walk decides
    int m_n = 0;                // N, the variation numbers
    int m_k = 0;                // k', the row length enumerated
    int m_last = 0;             // k' - 1
    int m_h = 0;                // h, the error points
    long long m_total = 0;
    std::vector<BitSet128> m_rowSets; // each stored row's positions, while the tests need them
    std::vector<std::uint8_t> m_position;
    std::vector<std::uint8_t> m_lower;
    std::vector<std::uint8_t> m_computedLower; // the bounds after a resumed first pass
    std::vector<std::uint8_t> m_upper;
    WalkState m_walk;
    int m_passCounter = 0;
    int m_savedPassCounter = 0;
    int m_passLevel = 0;
    int m_progressBase = 0;
    bool m_morePasses = false;
    bool m_resumed = false;
    bool m_resumePending = false; // the next pass starts from the resume position
    bool m_rowStored = false;
    ResumePoint m_resume;
    // Overwrite runs.
    int m_overwriteFrom = 0;
    int m_overwriteReached = 0;
    int m_noProgress = 0;
    long long m_rememberedBase = 0;
    long long m_savedStoredCount = 0;
    // Draws-list runs: which drawings of each stored draw are rows (1 first, 2 second).
    std::map<std::int32_t, unsigned> m_drawStoredSets;
    long long m_drawsInRange = 0;
    int m_hitEnd = 0;

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_pauseRequested{false};
    std::atomic<unsigned> m_signals{0};
    std::atomic<bool> m_attention{false};
    std::atomic<int> m_progress{0};
    std::atomic<long long> m_storedRows{0};
};

} // namespace velmora
