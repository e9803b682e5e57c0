#include "stats/statistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <thread>

#include "common/numbers.h"
#include "draws/draw_ranges.h"
#include "stats/number_counts.h"

namespace velmora {

namespace {

using Table = std::vector<std::vector<std::int32_t>>;

// The second drawing of a date starts this many cells after the first.
constexpr int kSecondDrawOffset = 7;

// Counts each sample for the progress line and looks at the stop flag before it.
class Steps {
public:
    explicit Steps(StatProgress* progress) : m_progress(progress) {}
    // False when the statistic must stop.
    bool Next() {
        if (m_progress == nullptr) {
            return true;
        }
        m_progress->processed.fetch_add(1, std::memory_order_relaxed);
        return m_progress->running.load(std::memory_order_relaxed);
    }

private:
    StatProgress* m_progress;
};

std::vector<std::int32_t> HistogramRow(int k) {
    return std::vector<std::int32_t>(static_cast<std::size_t>(k) + 2, 0);
}

void Count(std::vector<std::int32_t>& row, int occurrences) {
    ++row[static_cast<std::size_t>(occurrences) + 1];
}

bool EvenOdd(const StatSamples& samples, const NumberFlags& flags, StatResult& result,
             Steps& steps) {
    result.table = {HistogramRow(samples.k), HistogramRow(samples.k)};
    for (long long s = 0; s < samples.Count(); ++s) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* sample = samples.Sample(s);
        int evenDecades = 0;
        int evens = 0;
        for (int i = 0; i < samples.k; ++i) {
            evenDecades += flags.evenDecade[sample[i]];
            evens += flags.even[sample[i]];
        }
        Count(result.table[0], evenDecades);
        Count(result.table[1], evens);
        result.totals[0] += evenDecades;
        result.totals[1] += evens;
    }
    return true;
}

// One key (decade or last digit): rows `single` and `several` of the table.
void Repeats(const std::uint8_t* sample, int k, int divisor, bool byDecade,
             std::vector<std::int32_t>& single, std::vector<std::int32_t>& several) {
    const auto key = [divisor, byDecade](int n) { return byDecade ? n / divisor : n % divisor; };
    int firstGroup = -1;
    int same = 0;
    int other = 0;
    for (int i = 0; i + 1 < k; ++i) {
        const int ki = key(sample[i]);
        bool repeat = false;
        for (int j = i + 1; j < k && !repeat; ++j) {
            repeat = key(sample[j]) == ki;
        }
        if (!repeat) {
            continue;
        }
        if (firstGroup < 0) {
            firstGroup = ki;
        }
        if (ki == firstGroup) {
            ++same;
        } else {
            ++other;
        }
    }
    if (other == 0) {
        Count(single, same);
    } else {
        Count(several, same + other);
    }
}

bool Repetition(const StatSamples& samples, StatResult& result, Steps& steps) {
    result.table.assign(4, HistogramRow(samples.k));
    for (long long s = 0; s < samples.Count(); ++s) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* sample = samples.Sample(s);
        Repeats(sample, samples.k, 10, true, result.table[0], result.table[1]);
        Repeats(sample, samples.k, 10, false, result.table[2], result.table[3]);
    }
    return true;
}

bool Events(const StatSamples& samples, const NumberFlags& flags, StatResult& result,
            Steps& steps) {
    result.table.assign(3, HistogramRow(samples.k));
    for (long long s = 0; s < samples.Count(); ++s) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* sample = samples.Sample(s);
        int twins = 0;
        int mirrors = 0;
        int primes = 0;
        for (int i = 0; i < samples.k; ++i) {
            twins += flags.twin[sample[i]];
            primes += flags.prime[sample[i]];
            const int partner = flags.mirrorPartner[sample[i]];
            if (partner != 0 &&
                std::find(sample + i + 1, sample + samples.k, partner) != sample + samples.k) {
                ++mirrors;
            }
        }
        Count(result.table[0], twins);
        Count(result.table[1], mirrors);
        Count(result.table[2], primes);
        result.totals[0] += twins;
        result.totals[1] += mirrors;
        result.totals[2] += primes;
    }
    return true;
}

// A sample as a set of numbers (1..127), and whether it holds a number twice.
struct SampleSet {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool repeats = false;
};

SampleSet SetOf(const std::uint8_t* sample, int k) {
    SampleSet set;
    for (int i = 0; i < k; ++i) {
        const int n = sample[i];
        std::uint64_t& word = n < 64 ? set.low : set.high;
        const std::uint64_t bit = std::uint64_t{1} << (n % 64);
        set.repeats = set.repeats || (word & bit) != 0;
        word |= bit;
    }
    return set;
}

// How many of j's numbers (a repeated one each time) occur among i's.
int HitsOf(const SampleSet& i, const std::uint8_t* j, int k) {
    int hits = 0;
    for (int p = 0; p < k; ++p) {
        const int n = j[p];
        const std::uint64_t word = n < 64 ? i.low : i.high;
        hits += static_cast<int>((word >> (n % 64)) & 1U);
    }
    return hits;
}

// The samples of one drawing (the first or the second of the dates), which are compared
// among themselves. The samples with distinct numbers come first, as sets side by side; those
// that hold a number twice follow.
struct HitGroup {
    std::vector<long long> members;
    std::vector<std::uint64_t> low; // the sets of the first `distinct` members
    std::vector<std::uint64_t> high;
    std::size_t distinct = 0;
};

// Bit h of a member's mask: some other member shares h of the member's numbers.
using HitMask = std::uint64_t;

HitMask Bit(int hits) {
    return HitMask{1} << hits;
}

// For the members p = first, first + stride, ... with distinct numbers and every later such
// member q: the count they share, marked in both masks.
__attribute__((target_clones("popcnt", "default"))) bool
DistinctPairs(const HitGroup& group, std::size_t first, std::size_t stride,
              std::vector<HitMask>& masks, Steps& steps) {
    const std::size_t size = group.distinct;
    const std::uint64_t* lows = group.low.data();
    const std::uint64_t* highs = group.high.data();
    for (std::size_t p = first; p < size; p += stride) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint64_t low = lows[p];
        const std::uint64_t high = highs[p];
        HitMask own = 0;
        // Unrolled, the independent pairs overlap in the processor.
#pragma GCC unroll 4
        for (std::size_t q = p + 1; q < size; ++q) {
            const HitMask bit = Bit(std::popcount(low & lows[q]) + std::popcount(high & highs[q]));
            own |= bit;
            masks[q] |= bit;
        }
        masks[p] |= own;
    }
    return true;
}

// The masks of a group's members, the work split over the cores. False when stopped.
bool GroupMasks(const StatSamples& samples, const HitGroup& group, std::vector<HitMask>& masks,
                Steps& steps) {
    const std::size_t size = group.members.size();
    const std::size_t threads = std::clamp<std::size_t>(
        std::thread::hardware_concurrency(), 1, std::max<std::size_t>(1, group.distinct / 512));
    std::vector<std::vector<HitMask>> parts(threads, std::vector<HitMask>(size, 0));
    std::vector<char> finished(threads, 0);
    {
        std::vector<std::jthread> workers;
        for (std::size_t t = 1; t < threads; ++t) {
            workers.emplace_back([&, t] {
                Steps own = steps;
                finished[t] = DistinctPairs(group, t, threads, parts[t], own);
            });
        }
        finished[0] = DistinctPairs(group, 0, threads, parts[0], steps);
    }
    if (std::find(finished.begin(), finished.end(), 0) != finished.end()) {
        return false;
    }
    masks.assign(size, 0);
    for (const std::vector<HitMask>& part : parts) {
        for (std::size_t m = 0; m < size; ++m) {
            masks[m] |= part[m];
        }
    }
    // A sample that holds a number twice hits each time it holds it: its pairs are counted
    // number by number, both ways.
    const int k = samples.k;
    for (std::size_t r = group.distinct; r < size; ++r) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* repeated = samples.Sample(group.members[r]);
        const SampleSet own = SetOf(repeated, k);
        for (std::size_t m = 0; m < size; ++m) {
            if (m == r) {
                continue;
            }
            const std::uint8_t* other = samples.Sample(group.members[m]);
            masks[r] |= Bit(HitsOf(own, other, k));
            if (m < group.distinct) {
                masks[m] |= Bit(HitsOf(SetOf(other, k), repeated, k));
            }
        }
    }
    return true;
}

bool HitRatios(const StatSamples& samples, StatResult& result, Steps& steps) {
    const int k = samples.k;
    const long long count = samples.Count();
    result.table.assign(static_cast<std::size_t>(std::max(k, 0)), std::vector<std::int32_t>(2, 0));
    // A mask holds counts up to 63; no game draws nearly as many numbers.
    if (k < 1 || k >= 64) {
        return true;
    }
    // The first and the second drawings of the dates are compared among themselves.
    std::array<HitGroup, 2> groups;
    std::array<std::vector<long long>, 2> repeating;
    for (long long s = 0; s < count; ++s) {
        const bool second =
            !samples.secondSet.empty() && samples.secondSet[static_cast<std::size_t>(s)] != 0;
        HitGroup& group = groups[second ? 1 : 0];
        const SampleSet set = SetOf(samples.Sample(s), k);
        if (set.repeats) {
            repeating[second ? 1 : 0].push_back(s);
            continue;
        }
        group.members.push_back(s);
        group.low.push_back(set.low);
        group.high.push_back(set.high);
    }
    std::vector<HitMask> masks;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        HitGroup& group = groups[g];
        group.distinct = group.members.size();
        group.members.insert(group.members.end(), repeating[g].begin(), repeating[g].end());
        if (!GroupMasks(samples, group, masks, steps)) {
            return false;
        }
        for (HitMask mask : masks) {
            int best = 0;
            for (int h = 1; h <= k; ++h) {
                if ((mask & Bit(h)) != 0) {
                    ++result.table[static_cast<std::size_t>(h - 1)][0];
                    best = h;
                }
            }
            if (best > 0) {
                ++result.table[static_cast<std::size_t>(best - 1)][1];
            }
        }
    }
    return true;
}

// The sample standard deviation truncated, computed exactly in integers:
// isqrt((k * sum(x^2) - sum(x)^2) div (k * (k - 1))).
long long TruncatedDeviation(const std::uint8_t* sample, int k) {
    long long sum = 0;
    long long squares = 0;
    for (int i = 0; i < k; ++i) {
        sum += sample[i];
        squares += static_cast<long long>(sample[i]) * sample[i];
    }
    const long long q = (k * squares - sum * sum) / (static_cast<long long>(k) * (k - 1));
    auto root = static_cast<long long>(std::sqrt(static_cast<double>(q)));
    while (root * root > q) {
        --root;
    }
    while ((root + 1) * (root + 1) <= q) {
        ++root;
    }
    return root;
}

double Deviation(const std::vector<std::uint8_t>& numbers) {
    const double k = static_cast<double>(numbers.size());
    const double mean = std::accumulate(numbers.begin(), numbers.end(), 0.0) / k;
    double squares = 0;
    for (std::uint8_t n : numbers) {
        squares += (n - mean) * (n - mean);
    }
    return std::sqrt(squares / (k - 1));
}

// The quantity a diagram kind measures of one sample.
long long Measure(StatKind kind, const std::uint8_t* sample, int k) {
    switch (kind) {
    case StatKind::DrawsSum:
    case StatKind::VariationSum:
        return std::accumulate(sample, sample + k, 0LL);
    case StatKind::DrawsDeviation:
    case StatKind::VariationDeviation:
        return TruncatedDeviation(sample, k);
    default: {
        const auto [low, high] = std::minmax_element(sample, sample + k);
        return *high - *low;
    }
    }
}

// The sample that reaches the least and the greatest value of the quantity.
struct Extremes {
    std::vector<std::uint8_t> least;
    std::vector<std::uint8_t> greatest;
};

Extremes ExtremeSamples(StatKind kind, int k, int maxNumber) {
    Extremes e;
    for (int i = 1; i <= k; ++i) {
        e.least.push_back(static_cast<std::uint8_t>(i)); // k consecutive numbers from 1
    }
    if (kind == StatKind::DrawsDeviation || kind == StatKind::VariationDeviation) {
        // The k div 2 smallest numbers and the rest from the top.
        for (int i = 1; i <= k / 2; ++i) {
            e.greatest.push_back(static_cast<std::uint8_t>(i));
        }
        for (int i = 0; i < k - k / 2; ++i) {
            e.greatest.push_back(static_cast<std::uint8_t>(maxNumber - i));
        }
    } else {
        for (int i = maxNumber - k + 1; i <= maxNumber; ++i) {
            e.greatest.push_back(static_cast<std::uint8_t>(i));
        }
    }
    if (kind == StatKind::DrawsSpread || kind == StatKind::VariationSpread) {
        // 1 .. k - 1 and the greatest number.
        e.greatest.assign(e.least.begin(), e.least.end() - 1);
        e.greatest.push_back(static_cast<std::uint8_t>(maxNumber));
    }
    return e;
}

bool Diagram(StatKind kind, const StatSamples& samples, int maxNumber, StatResult& result,
             Steps& steps) {
    const int k = samples.k;
    if (k < 2) {
        return true; // a single number has no deviation or spread to draw
    }
    const Extremes extremes = ExtremeSamples(kind, k, maxNumber);
    const long long low = Measure(kind, extremes.least.data(), k);
    const long long high = Measure(kind, extremes.greatest.data(), k);
    const bool deviation = kind == StatKind::DrawsDeviation || kind == StatKind::VariationDeviation;
    if (deviation) {
        result.theoryMin = Deviation(extremes.least);
        result.theoryMax = Deviation(extremes.greatest);
        result.theoryMean = result.theoryMin + (result.theoryMax - result.theoryMin + 1) / 2;
    } else {
        result.theoryMin = static_cast<double>(low);
        result.theoryMax = static_cast<double>(high);
        result.theoryMean = (result.theoryMin + result.theoryMax) / 2;
    }
    for (long long x = low; x <= high; ++x) {
        result.bars.push_back({static_cast<std::int32_t>(x), 0});
    }
    double total = 0;
    for (long long s = 0; s < samples.Count(); ++s) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* sample = samples.Sample(s);
        const long long value = Measure(kind, sample, k);
        if (value < low || value > high) {
            continue;
        }
        ++result.bars[static_cast<std::size_t>(value - low)][1];
        ++result.samples;
        total += deviation ? Deviation(std::vector<std::uint8_t>(sample, sample + k))
                           : static_cast<double>(value);
    }
    result.actualMean = result.samples > 0 ? total / static_cast<double>(result.samples) : 0;
    return true;
}

bool Frequency(const StatSamples& samples, int maxNumber, StatResult& result, Steps& steps) {
    std::vector<std::int32_t> counts(static_cast<std::size_t>(maxNumber) + 1, 0);
    for (long long s = 0; s < samples.Count(); ++s) {
        if (!steps.Next()) {
            return false;
        }
        const std::uint8_t* sample = samples.Sample(s);
        for (int i = 0; i < samples.k; ++i) {
            ++counts[sample[i]];
        }
    }
    for (int n = 1; n <= maxNumber; ++n) {
        if (counts[static_cast<std::size_t>(n)] > 0) {
            result.bars.push_back({n, counts[static_cast<std::size_t>(n)]});
            result.theoryMax =
                std::max<double>(result.theoryMax, counts[static_cast<std::size_t>(n)]);
        }
    }
    result.samples = samples.Count();
    return true;
}

} // namespace

bool IsVariationKind(StatKind kind) {
    const int tag = static_cast<int>(kind);
    return tag == 3 || (tag >= 10 && tag <= 16);
}

StatSource SourceOf(StatKind kind) {
    if (kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince) {
        return StatSource::MainTicket;
    }
    return IsVariationKind(kind) ? StatSource::Variation : StatSource::Database;
}

std::string ResetText(StatSource source) {
    const char* const names[] = {"Adatbázis - ", "Variáció - ", "Főszelvény - "};
    return std::string(names[static_cast<int>(source)]) + "tárolt lekérdezések törölve.";
}

const StatResult* StatCache::Find(StatKind kind) const {
    const auto& slot = m_results[static_cast<std::size_t>(kind)];
    return slot ? &*slot : nullptr;
}

const StatResult* StatCache::Get(StatKind kind, const std::function<bool(StatResult&)>& compute) {
    auto& slot = m_results[static_cast<std::size_t>(kind)];
    if (!slot) {
        StatResult result;
        if (!compute(result)) {
            return nullptr;
        }
        slot = std::move(result);
    }
    return &*slot;
}

void StatCache::Reset(StatSource source) {
    for (int tag = kFirstStatKind; tag <= kLastStatKind; ++tag) {
        if (SourceOf(static_cast<StatKind>(tag)) == source) {
            m_results[static_cast<std::size_t>(tag)].reset();
        }
    }
}

void StatCache::ResetAll() {
    for (auto& slot : m_results) {
        slot.reset();
    }
}

bool IsDiagramKind(StatKind kind) {
    const int tag = static_cast<int>(kind);
    return tag == 3 || tag == 8 || tag == 9 || (tag >= 14 && tag <= 17);
}

NumberFlags MakeNumberFlags(int maxNumber) {
    const auto size = static_cast<std::size_t>(maxNumber) + 1;
    NumberFlags flags{std::vector<std::uint8_t>(size, 0), std::vector<std::uint8_t>(size, 0),
                      std::vector<std::uint8_t>(size, 0), std::vector<std::uint8_t>(size, 0),
                      std::vector<int>(size, 0)};
    for (int n = 1; n <= maxNumber; ++n) {
        const auto at = static_cast<std::size_t>(n);
        flags.even[at] = n % 2 == 0;
        flags.evenDecade[at] = (n / 10) % 2 == 0;
        flags.twin[at] = n / 10 == n % 10;
        flags.prime[at] = IsPrimeNumber(n);
        const int mirror = 10 * (n % 10) + n / 10;
        if (n >= 10 && n < mirror && mirror <= maxNumber) {
            flags.mirrorPartner[at] = mirror;
            flags.mirrorPartner[static_cast<std::size_t>(mirror)] = n;
        }
    }
    return flags;
}

StatSamples DrawSamples(const GameInfo& game, const std::vector<DrawRecord>& draws, int first,
                        int last) {
    StatSamples samples;
    samples.k = game.drawnCount;
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(draws.size()));
    const int sets = game.drawsPerDate == 2 ? 2 : 1;
    for (int r = first; r <= last; ++r) {
        const DrawRecord& draw = draws[static_cast<std::size_t>(r - 1)];
        for (int set = 0; set < sets; ++set) {
            const std::uint8_t* cells = draw.numbers.data() + set * kSecondDrawOffset;
            const bool whole = std::all_of(cells, cells + game.drawnCount, [&game](int n) {
                return n >= 1 && n <= game.maxNumber;
            });
            if (whole) {
                samples.numbers.insert(samples.numbers.end(), cells, cells + game.drawnCount);
                samples.secondSet.push_back(static_cast<std::uint8_t>(set));
            }
        }
    }
    return samples;
}

StatSamples VariationSamples(const GameInfo& game, const VariationStore& store,
                             const ExportSource& source) {
    StatSamples samples;
    samples.k = source.drawsList ? game.rowLength : store.RowWidth();
    if (samples.k <= 0) {
        samples.k = 0;
        return samples;
    }
    const std::size_t width = static_cast<std::size_t>(store.RowWidth());
    samples.numbers.reserve(static_cast<std::size_t>(store.Count()) * width);
    std::vector<std::uint8_t> row(width);
    for (long long r = 0; r < store.Count(); ++r) {
        const std::uint8_t* bytes = store.Row(r);
        bool valid = static_cast<int>(width) == samples.k;
        for (std::size_t i = 0; i < width && valid; ++i) {
            const int n = source.drawsList
                              ? bytes[i]
                              : (bytes[i] < source.numbers.size() ? source.numbers[bytes[i]] : 0);
            valid = n >= 1 && n <= game.maxNumber;
            row[i] = static_cast<std::uint8_t>(n);
        }
        if (valid) {
            samples.numbers.insert(samples.numbers.end(), row.begin(), row.end());
        }
    }
    return samples;
}

StatResult NumberStatistic(StatKind kind, const GameInfo& game,
                           const std::vector<DrawRecord>& draws, int first, int last) {
    StatResult result;
    result.kind = kind;
    const NumberCounts counts = CountNumbers(game, draws, first, last);
    result.values = kind == StatKind::TimesDrawn ? counts.timesDrawn : counts.drawsSince;
    result.samples = CountRange(game, draws, first, last).samples;
    result.totals[0] = std::accumulate(result.values.begin(), result.values.end(), 0LL);
    return result;
}

bool SampleStatistic(StatKind kind, const StatSamples& samples, int maxNumber, StatResult& result,
                     StatProgress* progress) {
    result = StatResult{};
    result.kind = kind;
    Steps steps(progress);
    const NumberFlags flags = MakeNumberFlags(maxNumber);
    if (!IsDiagramKind(kind)) {
        result.samples = samples.Count();
    }
    switch (kind) {
    case StatKind::DrawsEvenOdd:
    case StatKind::VariationEvenOdd:
        return EvenOdd(samples, flags, result, steps);
    case StatKind::DrawsRepetition:
    case StatKind::VariationRepetition:
        return Repetition(samples, result, steps);
    case StatKind::DrawsEvents:
    case StatKind::VariationEvents:
        return Events(samples, flags, result, steps);
    case StatKind::DrawsHitRatios:
    case StatKind::VariationHitRatios:
        return HitRatios(samples, result, steps);
    case StatKind::VariationFrequency:
        return Frequency(samples, maxNumber, result, steps);
    case StatKind::TimesDrawn:
    case StatKind::DrawsSince:
        return false; // per-number kinds come from NumberStatistic
    default:
        return Diagram(kind, samples, maxNumber, result, steps);
    }
}

} // namespace velmora
