#include "variation/minimiser.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <mutex>
#include <random>
#include <thread>

#include "common/bit_set_128.h"
#include "common/numbers.h"
#include "conditions/filter.h"
#include "conditions/number_data.h"

namespace velmora {

namespace {

using Clock = std::chrono::steady_clock;

// C(a, b) for a <= 90 and b <= 10, the ranks' terms.
class BinomialTable {
public:
    BinomialTable() {
        for (int a = 0; a <= kMaxVariationNumbers; ++a) {
            m_values[Index(a, 0)] = 1;
            for (int b = 1; b <= kMaxRowLength; ++b) {
                m_values[Index(a, b)] =
                    a == 0 ? 0 : m_values[Index(a - 1, b - 1)] + m_values[Index(a - 1, b)];
            }
        }
    }
    unsigned long long operator()(int a, int b) const { return m_values[Index(a, b)]; }

private:
    static std::size_t Index(int a, int b) {
        return static_cast<std::size_t>(a * (kMaxRowLength + 1) + b);
    }
    std::array<unsigned long long, (kMaxVariationNumbers + 1) * (kMaxRowLength + 1)> m_values{};
};

const BinomialTable& Choose() {
    static const BinomialTable table;
    return table;
}

// The combination of colex rank `rank`, ascending.
void ColexUnrank(unsigned long long rank, int k, std::uint8_t* p) {
    const BinomialTable& choose = Choose();
    int e = kMaxVariationNumbers;
    for (int i = k - 1; i >= 0; --i) {
        while (choose(e, i + 1) > rank) {
            --e;
        }
        p[i] = static_cast<std::uint8_t>(e);
        rank -= choose(e, i + 1);
        --e;
    }
}

// One way a candidate shares at least `needed` positions with a row: the row's places it
// keeps and the places of the row's complement it takes instead of the others.
struct Pattern {
    std::array<std::uint8_t, kMaxRowLength> keep{};
    std::array<std::uint8_t, kMaxRowLength> take{};
    std::uint8_t keepCount = 0;
    std::uint8_t takeCount = 0;
    std::uint16_t keepMask = 0; // bit i: the row's place i is kept
};

// Every pattern of a row of k among n with at least `needed` kept places: the candidates a row
// covers, one for each.
std::vector<Pattern> CoverPatterns(int n, int k, int needed) {
    std::vector<Pattern> patterns;
    const int others = n - k;
    for (unsigned mask = 0; mask < (1U << k); ++mask) {
        const int kept = std::popcount(mask);
        if (kept < needed || k - kept > others) {
            continue;
        }
        Pattern pattern;
        for (int i = 0; i < k; ++i) {
            if ((mask >> i) & 1U) {
                pattern.keep[pattern.keepCount++] = static_cast<std::uint8_t>(i);
            }
        }
        pattern.keepMask = static_cast<std::uint16_t>(mask);
        pattern.takeCount = static_cast<std::uint8_t>(k - kept);
        std::array<std::uint8_t, kMaxRowLength> take{};
        for (int i = 0; i < pattern.takeCount; ++i) {
            take[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        }
        do {
            pattern.take = take;
            patterns.push_back(pattern);
        } while (NextCombination(take.data(), pattern.takeCount, others));
    }
    return patterns;
}

struct Problem {
    int n = 0;
    int k = 0;
    int needed = 0;
    unsigned long long candidates = 0;
    const std::uint8_t* passing = nullptr; // null: every candidate
    std::vector<Pattern> patterns;

    bool Passes(unsigned long long rank) const { return passing == nullptr || passing[rank] != 0; }
};

struct SearchRow {
    std::array<std::uint8_t, kMaxRowLength> at{}; // ascending positions
    BitSet128 set;
};

SearchRow MakeRow(const std::uint8_t* positions, int k) {
    SearchRow row;
    for (int i = 0; i < k; ++i) {
        row.at[static_cast<std::size_t>(i)] = positions[i];
        row.set.Add(positions[i]);
    }
    return row;
}

// The ranks of the candidates `row` covers, one per pattern.
void CoveredRanks(const Problem& problem, const SearchRow& row, unsigned long long* ranks) {
    const int k = problem.k;
    std::array<std::uint8_t, kMaxVariationNumbers> complement{};
    int count = 0;
    for (int x = 0; x < problem.n; ++x) {
        if (!row.set.Has(x)) {
            complement[static_cast<std::size_t>(count++)] = static_cast<std::uint8_t>(x);
        }
    }
    const BinomialTable& choose = Choose();
    std::size_t out = 0;
    for (const Pattern& pattern : problem.patterns) {
        // Merges the kept places and the taken positions, both ascending, into the rank.
        unsigned long long rank = 0;
        int a = 0;
        int b = 0;
        for (int i = 0; i < k; ++i) {
            int value = 0;
            if (b >= pattern.takeCount ||
                (a < pattern.keepCount &&
                 row.at[pattern.keep[static_cast<std::size_t>(a)]] <
                     complement[pattern.take[static_cast<std::size_t>(b)]])) {
                value = row.at[pattern.keep[static_cast<std::size_t>(a++)]];
            } else {
                value = complement[pattern.take[static_cast<std::size_t>(b++)]];
            }
            rank += choose(value, i + 1);
        }
        ranks[out++] = rank;
    }
}

// The state of one search: the rows, how many rows cover each candidate and the passing
// candidates no row covers.
class Search {
public:
    Search(const Problem& problem, std::uint64_t seed)
        : m_problem(problem), m_random(seed), m_cover(problem.candidates, 0),
          m_where(problem.candidates, -1), m_old(problem.patterns.size()),
          m_new(problem.patterns.size()) {}

    // Every passing candidate starts uncovered; rows then cover them.
    void Start(const std::vector<SearchRow>& rows) {
        m_rows.clear();
        for (unsigned long long rank = 0; rank < m_problem.candidates; ++rank) {
            if (m_problem.Passes(rank)) {
                m_where[rank] = static_cast<std::int32_t>(m_uncovered.size());
                m_uncovered.push_back(rank);
            }
        }
        for (const SearchRow& row : rows) {
            Add(row);
        }
    }
    void Add(const SearchRow& row) {
        m_rows.push_back(row);
        Ranks(row, m_new.data());
        Cover(m_new.data());
    }
    long long Rows() const { return static_cast<long long>(m_rows.size()); }
    long long Uncovered() const { return static_cast<long long>(m_uncovered.size()); }
    const std::vector<SearchRow>& RowStates() const { return m_rows; }

    // Drops the row whose loss uncovers the fewest passing candidates.
    void DropCheapestRow() {
        std::size_t cheapest = 0;
        long long least = -1;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            Ranks(m_rows[i], m_old.data());
            long long loss = 0;
            for (unsigned long long rank : m_old) {
                loss += m_problem.Passes(rank) && m_cover[rank] == 1 ? 1 : 0;
            }
            if (least < 0 || loss < least || (loss == least && m_random() % 2 == 0)) {
                least = loss;
                cheapest = i;
            }
        }
        Ranks(m_rows[cheapest], m_old.data());
        Uncover(m_old.data());
        m_rows[cheapest] = m_rows.back();
        m_rows.pop_back();
    }

    // One move at temperature `temperature`: a row that almost covers an uncovered candidate
    // is changed in one position so that it covers it; kept when the uncovered count does not
    // grow, or by the annealing chance.
    void Move(double temperature) {
        const auto k = static_cast<std::size_t>(m_problem.k);
        std::array<std::uint8_t, kMaxRowLength> c{};
        ColexUnrank(m_uncovered[m_random() % m_uncovered.size()], m_problem.k, c.data());
        const SearchRow target = MakeRow(c.data(), m_problem.k);
        m_near.clear();
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (CommonCount(m_rows[i].set, target.set) == m_problem.needed - 1) {
                m_near.push_back(i);
            }
        }
        const std::size_t index =
            m_near.empty() ? m_random() % m_rows.size() : m_near[m_random() % m_near.size()];
        const SearchRow& row = m_rows[index];
        // A place of the row outside the candidate, and a position of the candidate outside it.
        std::array<std::uint8_t, kMaxRowLength> outside{};
        std::array<std::uint8_t, kMaxRowLength> missing{};
        std::size_t outsideCount = 0;
        std::size_t missingCount = 0;
        for (std::size_t i = 0; i < k; ++i) {
            if (!target.set.Has(row.at[i])) {
                outside[outsideCount++] = static_cast<std::uint8_t>(i);
            }
            if (!row.set.Has(c[i])) {
                missing[missingCount++] = c[i];
            }
        }
        const int drop = outside[m_random() % outsideCount];
        const int gain = missing[m_random() % missingCount];
        std::array<std::uint8_t, kMaxRowLength> changed = row.at;
        changed[static_cast<std::size_t>(drop)] = static_cast<std::uint8_t>(gain);
        std::sort(changed.begin(), changed.begin() + static_cast<std::ptrdiff_t>(k));
        if (!m_problem.Passes(ColexRank(changed.data(), m_problem.k))) {
            return;
        }
        const SearchRow next = MakeRow(changed.data(), m_problem.k);

        // Candidates only the old row covers and the new one does not, against candidates
        // nobody covers that the new one does.
        Ranks(row, m_old.data());
        long long lost = 0;
        for (std::size_t p = 0; p < m_old.size(); ++p) {
            const unsigned long long rank = m_old[p];
            if (m_cover[rank] == 1 && m_problem.Passes(rank)) {
                lost += CoversWithout(m_problem.patterns[p], row, drop, gain) ? 0 : 1;
            }
        }
        Ranks(next, m_new.data());
        long long gained = 0;
        for (unsigned long long rank : m_new) {
            gained += m_cover[rank] == 0 && m_problem.Passes(rank) ? 1 : 0;
        }
        const long long delta = lost - gained;
        if (delta > 0 && std::generate_canonical<double, 32>(m_random) >=
                             std::exp(-static_cast<double>(delta) / temperature)) {
            return;
        }
        Uncover(m_old.data());
        Cover(m_new.data());
        m_rows[index] = next;
    }

private:
    // Whether the candidate of `pattern` over `row` still shares `needed` positions with the
    // row once its place `drop` holds `gain` instead.
    bool CoversWithout(const Pattern& pattern, const SearchRow& row, int drop, int gain) const {
        int common = pattern.keepCount - (((pattern.keepMask >> drop) & 1U) != 0 ? 1 : 0);
        if (!row.set.Has(gain)) {
            // `gain` is in the complement: taken by the pattern when its complement index is.
            const int complementIndex = gain - ComplementRank(row, gain);
            for (int i = 0; i < pattern.takeCount; ++i) {
                common += pattern.take[static_cast<std::size_t>(i)] == complementIndex ? 1 : 0;
            }
        }
        return common >= m_problem.needed;
    }
    // How many of the row's positions lie below `position`.
    int ComplementRank(const SearchRow& row, int position) const {
        int below = 0;
        for (int i = 0; i < m_problem.k; ++i) {
            below += row.at[static_cast<std::size_t>(i)] < position ? 1 : 0;
        }
        return below;
    }

    void Ranks(const SearchRow& row, unsigned long long* ranks) const {
        CoveredRanks(m_problem, row, ranks);
    }
    void Cover(const unsigned long long* ranks) {
        for (std::size_t p = 0; p < m_problem.patterns.size(); ++p) {
            const unsigned long long rank = ranks[p];
            if (m_cover[rank]++ == 0 && m_where[rank] >= 0) {
                // No longer uncovered: the last one takes its place in the list.
                const auto at = static_cast<std::size_t>(m_where[rank]);
                m_uncovered[at] = m_uncovered.back();
                m_where[m_uncovered[at]] = static_cast<std::int32_t>(at);
                m_uncovered.pop_back();
                m_where[rank] = -1;
            }
        }
    }
    void Uncover(const unsigned long long* ranks) {
        for (std::size_t p = 0; p < m_problem.patterns.size(); ++p) {
            const unsigned long long rank = ranks[p];
            if (--m_cover[rank] == 0 && m_problem.Passes(rank)) {
                m_where[rank] = static_cast<std::int32_t>(m_uncovered.size());
                m_uncovered.push_back(rank);
            }
        }
    }

private:
    const Problem& m_problem;
    std::mt19937_64 m_random;
    std::vector<SearchRow> m_rows;
    std::vector<std::uint32_t> m_cover;
    std::vector<std::int32_t> m_where; // index in m_uncovered, or -1
    std::vector<unsigned long long> m_uncovered;
    std::vector<unsigned long long> m_old;
    std::vector<unsigned long long> m_new;
    std::vector<std::size_t> m_near;
};

// An annealing schedule: the temperature falls by kCooling every `step` moves, from `hot` to
// `cold`, then starts again. The searches take them in turn: the hot, quick one finds the
// small variations at once, the cooler, slower one goes further on the larger ones.
struct Schedule {
    double hot;
    double cold;
    long long step;
};
constexpr Schedule kSchedules[] = {{0.6, 0.05, 2000}, {0.3, 0.1, 10000}};
constexpr double kCooling = 0.99;
constexpr long long kCheckEvery = 1024;

std::vector<MinimiserRow> SortedRows(const std::vector<SearchRow>& rows, int k) {
    std::vector<MinimiserRow> sorted;
    sorted.reserve(rows.size());
    for (const SearchRow& row : rows) {
        sorted.emplace_back(row.at.begin(), row.at.begin() + k);
    }
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

struct Shared {
    std::mutex lock;
    std::vector<MinimiserRow> bestRows;
    int bestThread = -1;
};

void RunSearch(const Problem& problem, const MinimiserInput& input, int thread, std::uint64_t seed,
               Clock::time_point deadline, long long moveBudget, MinimiserProgress& progress,
               Shared& shared) {
    Search search(problem, seed);
    std::vector<SearchRow> start;
    for (const MinimiserRow& row : input.rows) {
        if (problem.Passes(ColexRank(row.data(), problem.k))) {
            start.push_back(MakeRow(row.data(), problem.k));
        }
    }
    if (start.empty()) {
        return; // no row passes the conditions: nothing to change
    }
    search.Start(start);
    const Schedule& schedule = kSchedules[static_cast<std::size_t>(thread) % std::size(kSchedules)];
    double temperature = schedule.hot;
    long long moves = 0;
    long long bestHere = static_cast<long long>(input.rows.size());
    while (true) {
        if (search.Uncovered() == 0) {
            if (search.Rows() < bestHere) {
                bestHere = search.Rows();
                const std::lock_guard<std::mutex> guard(shared.lock);
                const auto held = static_cast<long long>(shared.bestRows.size());
                if (bestHere < held || (bestHere == held && thread < shared.bestThread)) {
                    shared.bestRows = SortedRows(search.RowStates(), problem.k);
                    shared.bestThread = thread;
                    long long best = progress.best.load();
                    while (bestHere < best &&
                           !progress.best.compare_exchange_weak(best, bestHere)) {
                    }
                }
            }
            if (search.Rows() <= std::max(1LL, input.stopAt)) {
                progress.stop = input.stopAt > 0 || progress.stop.load();
                break;
            }
            search.DropCheapestRow();
            temperature = schedule.hot;
        } else {
            search.Move(temperature);
        }
        ++moves;
        if (moves % schedule.step == 0) {
            temperature *= kCooling;
            if (temperature < schedule.cold) {
                temperature = schedule.hot;
            }
        }
        if (moves % kCheckEvery == 0) {
            progress.moves.fetch_add(kCheckEvery, std::memory_order_relaxed);
            if (thread == 0) {
                progress.rowsNow = search.Rows();
                progress.uncoveredNow = search.Uncovered();
            }
            const bool spent = moveBudget > 0 ? moves >= moveBudget : Clock::now() >= deadline;
            if (spent || progress.stop.load(std::memory_order_relaxed)) {
                break;
            }
        }
    }
    progress.moves.fetch_add(moves % kCheckEvery, std::memory_order_relaxed);
}

} // namespace

unsigned long long ColexRank(const std::uint8_t* positions, int k) {
    const BinomialTable& choose = Choose();
    unsigned long long rank = 0;
    for (int i = 0; i < k; ++i) {
        rank += choose(positions[i], i + 1);
    }
    return rank;
}

std::vector<std::uint8_t> PassingCandidates(const ConditionSet& conditions,
                                            const std::vector<std::uint8_t>& variationNumbers,
                                            const GameInfo& game, int k,
                                            const std::vector<DrawRecord>* draws) {
    const int n = static_cast<int>(variationNumbers.size());
    if (!conditions.AnyActive() || k < 1 || k > kMaxRowLength || n < k ||
        n > kMaxVariationNumbers || Binomial(n, k) > kMaxMinimiserCandidates) {
        return {};
    }
    ConditionFilter filter;
    filter.Prepare(conditions, SzamJelzoBeallitas(variationNumbers, game.maxNumber), game, k,
                   draws);
    std::vector<std::uint8_t> passing(Binomial(n, k), 0);
    std::array<std::uint8_t, kMaxRowLength> p{};
    for (int i = 0; i < k; ++i) {
        p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    WalkState walk;
    walk.positions = p.data();
    walk.skipAhead = false;
    do {
        walk.cursor = k - 1;
        walk.drawCursor = conditions.hitRatio.firstDraw - 1;
        if (filter.FeltVizsgalat(walk)) {
            passing[ColexRank(p.data(), k)] = 1;
        }
    } while (NextCombination(p.data(), k, n));
    return passing;
}

long long CoveringLowerBound(int n, int k, int needed) {
    if (k < 1 || n < k) {
        return 0;
    }
    // One row covers everything when any two rows share `needed` positions.
    if (needed <= std::max(0, 2 * k - n)) {
        return 1;
    }
    const unsigned long long all = Binomial(n, k);
    if (needed >= k) {
        return static_cast<long long>(all); // only a row itself covers it
    }
    unsigned long long ball = 0;
    for (int common = needed; common <= k; ++common) {
        ball += Binomial(k, common) * Binomial(n - k, k - common);
    }
    return static_cast<long long>((all + ball - 1) / ball);
}

bool CoversEveryCandidate(int n, int k, int needed, const std::vector<MinimiserRow>& rows,
                          const std::vector<std::uint8_t>& passing) {
    if (k < 1 || k > kMaxRowLength || n < k || n > kMaxVariationNumbers || needed < 0 ||
        Binomial(n, k) > kMaxMinimiserCandidates ||
        (!passing.empty() && passing.size() != Binomial(n, k))) {
        return false;
    }
    Problem problem;
    problem.n = n;
    problem.k = k;
    problem.needed = needed;
    problem.candidates = Binomial(n, k);
    problem.patterns = CoverPatterns(n, k, needed);
    std::vector<std::uint8_t> covered(problem.candidates, 0);
    std::vector<unsigned long long> ranks(problem.patterns.size());
    for (const MinimiserRow& row : rows) {
        // Ascending positions of the N, k of them.
        if (static_cast<int>(row.size()) != k || row.back() >= n ||
            std::adjacent_find(row.begin(), row.end(), std::greater_equal<>()) != row.end()) {
            return false;
        }
        CoveredRanks(problem, MakeRow(row.data(), k), ranks.data());
        for (unsigned long long rank : ranks) {
            covered[rank] = 1;
        }
    }
    for (unsigned long long rank = 0; rank < problem.candidates; ++rank) {
        if (covered[rank] == 0 && (passing.empty() || passing[rank] != 0)) {
            return false;
        }
    }
    return true;
}

MinimiserResult MinimiseRows(const MinimiserInput& input, MinimiserProgress& progress) {
    MinimiserResult result;
    result.rows = input.rows;
    std::sort(result.rows.begin(), result.rows.end());
    progress.best = static_cast<long long>(input.rows.size());
    progress.rowsNow = static_cast<long long>(input.rows.size());
    progress.uncoveredNow = 0;
    if (input.rows.empty() || input.needed < 1 ||
        !CoversEveryCandidate(input.n, input.k, input.needed, input.rows, input.passing)) {
        return result;
    }
    Problem problem;
    problem.n = input.n;
    problem.k = input.k;
    problem.needed = input.needed;
    problem.candidates = Binomial(input.n, input.k);
    problem.passing = input.passing.empty() ? nullptr : input.passing.data();
    problem.patterns = CoverPatterns(input.n, input.k, input.needed);

    // Each search keeps two counters a candidate: the searches together stay within a
    // gigabyte.
    const auto byMemory = static_cast<int>(std::clamp<unsigned long long>(
        (1ULL << 30) / (8 * std::max(problem.candidates, 1ULL)), 1, 256));
    const int threads = std::clamp(input.threads, 1, byMemory);
    const std::uint64_t seed = input.seed ? *input.seed : std::random_device{}();
    const long long budget =
        input.seed ? std::max(1LL, static_cast<long long>(input.seconds * kSeededMovesPerSecond))
                   : 0;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(std::max(0.0, input.seconds)));
    Shared shared;
    shared.bestRows = result.rows;
    shared.bestThread = threads;
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        workers.emplace_back(RunSearch, std::cref(problem), std::cref(input), t,
                             seed + static_cast<std::uint64_t>(t), deadline, budget,
                             std::ref(progress), std::ref(shared));
    }
    RunSearch(problem, input, 0, seed, deadline, budget, progress, shared);
    for (std::thread& worker : workers) {
        worker.join();
    }
    result.moves = progress.moves.load();
    if (shared.bestRows.size() < input.rows.size() &&
        CoversEveryCandidate(input.n, input.k, input.needed, shared.bestRows, input.passing)) {
        result.rows = std::move(shared.bestRows);
        result.improved = true;
    }
    return result;
}

} // namespace velmora
