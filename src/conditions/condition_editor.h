#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "conditions/condition_set.h"
#include "conditions/condition_table.h"
#include "conditions/number_data.h"
#include "settings/settings.h"

// The editing rules of the conditions dialog: which condition makes sense for the marked
// numbers, the defaults and limits of every parameter, the choice checks and the checks that
// run before generation. The dialog binds its controls to this object; it shows nothing itself
// but goes through `Messages`.
namespace velmora {

// The fields of one number-group slot.
enum class SlotField { First, Last, MinHits, MaxHits };

struct IntRange {
    int minimum = 0;
    int maximum = 0;
};

struct RealRange {
    double minimum = 0;
    double maximum = 0;
};

// What the conditions need to know about the rest of the program, taken when the dialog is
// prepared.
struct ConditionContext {
    std::vector<std::uint8_t> variationNumbers; // V (N numbers): selected, fixed ones excluded
    int maxNumber = 0;
    int rowLength = 0;          // k
    int variationRowLength = 0; // k': k minus the fixed numbers
    bool isKeno = false;
    bool hasDatabase = false;
    int drawCount = 0;
    int hitRatioFirst = 1; // the draw range chosen for the hit ratio
    int hitRatioLast = 1;
    bool variationExists = false;
    bool extensionMode = false;
    bool specialVariationMode = false;
    bool testRunning = false;
};

inline constexpr int kMaxItemised = 30000;

class ConditionEditor {
public:
    // What clearing and the checks need from other parts of the program; every hook may stay
    // empty.
    struct Hooks {
        std::function<void()> backupLastVariation;
        std::function<void()> closeDialog;
        std::function<void()> deleteVariation;
        // Enables or disables the main window's condition-list command.
        std::function<void(bool)> conditionListCommand;
        // Turns the dialog to the "Eloszlás " page before a favoured-group question.
        std::function<void()> showDistributionPage;
        // The variation's delete confirmation; clearing goes on only on true.
        std::function<bool()> confirmVariationDelete;
        // Refreshes the main window's list and resets the hit-ratio draw range after clearing.
        std::function<void()> afterClear;
    };

    ConditionEditor(ConditionSet& set, Messages& messages, std::array<bool, kNoticeCount>& notices);

    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // FeltetelStart: takes the current ticket, derives the number data and re-applies the
    // error-point limits. Parameters of active conditions are kept as they are (they may come
    // from a loaded file).
    void Prepare(const ConditionContext& context);

    // Fits the fields of every active condition into their limits, as the dialog shows them (a
    // damaged or older file may carry any value; Prepare keeps them).
    void FitActiveConditions();

    const ConditionContext& Context() const { return m_context; }
    const NumberData& Data() const { return m_data; }

    // --- Activation -------------------------------------------------------------------------

    // Whether the condition makes sense for V (checked when the focus enters its box).
    bool IsInterpretable(Condition condition) const;

    // The click on a condition's box. Activating runs the refusals first (interpretability,
    // the twin/mirror edge, the sum's adjacency question); a refused box stays unchecked.
    // Checked or not, the record gets its defaults; an activated record is then fitted into
    // its limits (the deviation has no defaults and keeps its values). An activated decade
    // repetition takes "Több" when V forces it; span and number groups show their notice while
    // its remind flag is on. Without draws the hit-ratio box is disabled: checking it does
    // nothing. Returns the box's state afterwards.
    bool SetActive(Condition condition, bool checked);

    // Shows "A kijelölt számsorral nem értelmezhető a feltétel.".
    void NemErtFelt();

    // Recomputes the indicator of active conditions, the "Törlés" hint and the main window's
    // condition-list command.
    void FeltJelzoBeallitas();
    const std::string& ClearButtonHint() const { return m_clearHint; }

    // --- Limits and values ------------------------------------------------------------------

    // The limits of a field under the current values of the others. Beyond the obvious ones:
    // - group maximum M: 1..G-1 (1..k'-1 when G > k'), its lower limit raised to the smallest M
    //   with (N div G) * M >= k', so the whole groups can still hold a row; capped at the upper
    //   limit when even that is not enough;
    // - twins, mirror pairs, primes and repetitions never exceed what one row of k' numbers can
    //   hold (k', k' div 2, k' - 1);
    // - even/odd with "Több": both fields pinned to k' div 2;
    // - span: first and last always keep at least k' positions between them (by pushing);
    // - sum with "Fix": both fields hold the one value; the first field reports as "Fix összeg"
    //   in either mode.
    IntRange Limits(Field field) const;
    int Value(Field field) const;

    // Writes a field, fitted into its limits; a minimum passing its maximum pushes the maximum
    // up, a maximum passing its minimum pulls the minimum down, and the fields that depend on
    // the changed one are fitted again. The sum and the itemised range are typed into edits:
    // a value outside their limits is reported with the range message before it is fitted.
    // Returns the value stored.
    int SetValue(Field field, int value);

    IntRange SlotLimits(int slot, SlotField field) const;
    int SetSlotValue(int slot, SlotField field, int value);

    // The standard deviations a row of k' numbers of V can have, widened to two decimals.
    RealRange DeviationLimits() const;
    // Typed values outside DeviationLimits are reported ("Szórás minimuma" / "Szórás
    // maximuma") and set to the nearer limit. The minimum does not push the maximum: a
    // minimum above the maximum is caught by OsszegEll.
    void SetDeviationMinimum(double value);
    void SetDeviationMaximum(double value);
    std::string DeviationHint() const;

    // The sum of the k' smallest and of the k' largest numbers of V.
    int SmallestSum() const;
    int LargestSum() const;
    std::string SumFieldHint() const;

    // --- Choices ----------------------------------------------------------------------------

    // "Fix" (true) or "Több" for DecadeParity / EndingParity. Returns whether the choice was
    // taken.
    bool SetParityRatio(Condition condition, bool fixedRatio);
    // "páros" (true) or "páratlan". While "Több" is chosen the new kind is checked again; on
    // failure the ratio returns to "Fix" and false is returned.
    bool SetParityKind(Condition condition, bool even);
    // The checks of "Több": V must hold more than k' / 2 numbers of the chosen kind.
    bool SzcsParosEll();
    bool SzvParosEll();

    // "Egy" (true) or "Több" for DecadeRepeat / EndingRepeat; for decades the choice V forces
    // wins, with its message. Returns the choice in effect.
    bool SetRepeatChoice(Condition condition, bool oneGroup);
    // Only one decade class of V can hold a repetition.
    bool DecadeRepeatForcedOne() const;
    // No row of k' numbers of V can keep its decade repetitions within one class.
    bool DecadeRepeatForcedSeveral() const;

    // "Keresett" (true) or "Kizárt"; "Kizárt" resets the source to "variáció".
    void SetHitRatioSearched(bool searched);
    // Rows from the draws list (true) or "variáció"; returns whether the choice was taken.
    bool SetHitRatioFromDraws(bool fromDraws);
    // The range from the draw range dialog, fitted to the draws present.
    void SetHitRatioDraws(int first, int last);
    bool HitRatioAvailable() const { return m_context.hasDatabase; }
    std::string HitRatioPageText() const;

    // "Fix" (true) or "Mobil".
    void SetSumFixed(bool fixedSum);

    // --- Error points and engine options ----------------------------------------------------

    bool FrequencyDistributionEnabled() const { return m_set.errorPoints >= 1; }
    bool OverwriteEnabled() const { return m_set.errorPoints >= 1 && m_context.extensionMode; }
    bool OptimisedEnabled() const { return m_set.errorPoints >= 2; }
    // Each returns the option's state afterwards; a disabled option stays off.
    bool SetFrequencyDistribution(bool on);
    bool SetOverwrite(bool on);
    bool SetOptimised(bool on);
    std::string OptimisedHint() const;

    // --- Checks before generation -----------------------------------------------------------

    bool OsszegEll();
    bool FixFavEll();
    bool MobFavEll();
    // The three checks above in order, stopping at the first that refuses.
    bool CheckBeforeGeneration();

    // The most positions of the favoured range one row can use under the group limit.
    int FixedGroupsCapacity() const;
    int MobileGroupsCapacity() const;

    // --- Clearing ---------------------------------------------------------------------------

    void FeltetelekTorlese();
    // "Törlés": the variation's delete confirmation or the approval question decides.
    // Returns whether the conditions were cleared.
    bool ClearButtonClick();
    const std::string& ConditionListHint() const { return m_listHint; }

    // The dialog closes: a source of rows from draws is kept only for an active hit ratio.
    void Close();

    // The label after the span's fields.
    std::string SpanLabel() const;

private:
    int N() const { return m_data.Size(); }                // N = |V|
    int K() const { return m_context.variationRowLength; } // k'
    int& Ref(Field field);
    ParityCondition& ParityOf(Condition condition);
    RepeatCondition& RepeatOf(Condition condition);
    IntRange GroupMaxLimits(int groupSize) const;
    IntRange ParityLimits(const ParityCondition& parity, int evenKind, int oddKind) const;
    int RepeatLimit(const RepeatCondition& repeat, const ClassCounts& counts) const;
    int TwinLimit() const;
    int MirrorLimit() const;
    RealRange AchievableDeviation() const;

    void FitPair(Field minimum, Field maximum);
    void NormaliseSlot(NumberGroupSlot& slot);
    IntRange FittedDrawRange(int first, int last) const;
    void WriteDefaults(Condition condition);
    // Fits every field of the condition (and of its partner, for twins and mirrors) into its
    // limits, in the order the limits depend on each other.
    void Normalise(Condition condition);
    void Fit(Field field);
    void ApplyErrorPointRules();
    bool ParityCheck(const ParityCondition& parity, int evenKind, int oddKind, const char* evenText,
                     const char* oddText);
    bool GroupFavouredCheck(int capacity, const char* groupLine);

    ConditionSet& m_set;
    Messages& m_messages;
    std::array<bool, kNoticeCount>& m_notices;
    ConditionContext m_context;
    NumberData m_data;
    Hooks m_hooks;
    std::string m_clearHint;
    std::string m_listHint;
};

} // namespace velmora
