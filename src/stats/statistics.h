#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "variation/variation_export.h"
#include "variation/variation_store.h"

// The statistics of the past draws and of the variation: what each kind counts over its
// samples, as tables, per-number values or bars, ready to be drawn or written out.
namespace velmora {

// The statistic a menu command of the statistics window asks for (its tag).
enum class StatKind : int {
    TimesDrawn = 1,         // per number, over the main-ticket range
    DrawsSince = 2,         // per number, over the main-ticket range
    VariationFrequency = 3, // "Gyakorisági eloszlás"
    DrawsHitRatios = 4,     // "Találati arányok"
    DrawsEvenOdd = 5,       // "Páros-páratlan"
    DrawsRepetition = 6,    // "Ismétlődés"
    DrawsEvents = 7,        // "Események"
    DrawsSum = 8,           // "Számsorok összege"
    DrawsDeviation = 9,     // "Számsorok szórása"
    VariationEvenOdd = 10,
    VariationRepetition = 11,
    VariationHitRatios = 12,
    VariationEvents = 13,
    VariationSum = 14,
    VariationDeviation = 15,
    VariationSpread = 16, // "Számsorok terjedelme"
    DrawsSpread = 17,
};

inline constexpr int kFirstStatKind = 1;
inline constexpr int kLastStatKind = 17;

// Whether the kind looks at the variation's rows (else at the draws).
bool IsVariationKind(StatKind kind);
// Whether the kind is drawn as bars (a value and its samples).
bool IsDiagramKind(StatKind kind);
// The numbers a hit-ratio statistic compares: the sample length times the samples (the draws
// of the range with their second drawings, or the variation's rows).
inline long long HitRatioWork(int sampleLength, long long samples) {
    return static_cast<long long>(sampleLength) * samples;
}
// Hit ratios are refused above this many numbers (sample length times samples).
inline constexpr long long kMaxHitRatioWork = 1000000;
inline constexpr const char* kHitRatioRefusedText =
    "Több mint 1 millió szám találati arányának vizsgálatát kezdeményezte.\rAz aktuális verzió "
    "ezt nem teszi lehetővé.";

// What one statistic looks at: k numbers a sample, one sample after the other.
struct StatSamples {
    int k = 0;
    std::vector<std::uint8_t> numbers; // k per sample
    // Per sample: it is the second drawing of its date (hit ratios compare within a drawing).
    std::vector<std::uint8_t> secondSet;

    long long Count() const { return k > 0 ? static_cast<long long>(numbers.size()) / k : 0; }
    const std::uint8_t* Sample(long long i) const {
        return numbers.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(k);
    }
};

// The draws' samples of records first..last (1-based; an empty range gives none): each
// drawing's numbers without the extra number, the second drawing of the date when present.
// A drawing with a cell outside 1..MaxNumber is no sample.
StatSamples DrawSamples(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                        int last);
// One sample per variation row: its numbers without the fixed numbers (a draws-list row is
// taken whole). A row naming a position or number outside the ticket is no sample.
StatSamples VariationSamples(const GameInfo& game, const VariationStore& store,
                             const ExportSource& source);

// The result of one statistic.
struct StatResult {
    StatKind kind = StatKind::TimesDrawn;
    long long samples = 0;
    // What it was made of: draws or rows first..last, k numbers a sample.
    long long first = 0;
    long long last = 0;
    int sampleLength = 0;
    std::vector<int> values;                       // kinds 1, 2: entry n - 1 for number n
    std::vector<std::vector<std::int32_t>> table;  // the histogram and hit-ratio kinds
    std::vector<std::array<std::int32_t, 2>> bars; // the diagram kinds: value, samples
    // The diagram kinds: the quantity's theoretical limits and mean, and its mean over the
    // samples.
    double theoryMin = 0;
    double theoryMax = 0;
    double theoryMean = 0;
    double actualMean = 0;
    // Even-odd: numbers in an even decade, even numbers; events: twins, mirror pairs, primes;
    // kinds 1 and 2: the total of the values.
    std::array<long long, 3> totals{};
};

// Lets another thread stop a statistic and follow it.
struct StatProgress {
    std::atomic<bool> running{true};
    std::atomic<long long> processed{0};
};

// The per-number kinds over draws first..last.
StatResult NumberStatistic(StatKind kind, const GameInfo& game,
                           const std::vector<DrawRecord>& draws, int first, int last);
// Every other kind over its samples; numbers run 1..maxNumber. False when it was stopped
// (`result` is then incomplete and must not be kept).
bool SampleStatistic(StatKind kind, const StatSamples& samples, int maxNumber, StatResult& result,
                     StatProgress* progress = nullptr);

// What a statistic is computed from; each source's stored results are reset together.
enum class StatSource { Database, Variation, MainTicket };
StatSource SourceOf(StatKind kind);
// "Adatbázis - tárolt lekérdezések törölve." and the like, after a reset.
std::string ResetText(StatSource source);

// The finished results, one per kind: asking again shows the stored one at once.
class StatCache {
public:
    const StatResult* Find(StatKind kind) const;
    // The stored result of `kind`, computed first when there is none; `compute` returns false
    // when it was stopped, and then nothing is stored (null is returned).
    const StatResult* Get(StatKind kind, const std::function<bool(StatResult&)>& compute);
    void Reset(StatSource source);
    void ResetAll();

private:
    std::array<std::optional<StatResult>, kLastStatKind + 1> m_results;
};

// The numbers' properties the even-odd, repetition and event statistics look at.
struct NumberFlags {
    std::vector<std::uint8_t> even, evenDecade, twin, prime;
    std::vector<int> mirrorPartner; // 0: none
};
NumberFlags MakeNumberFlags(int maxNumber);

} // namespace velmora
