#include "variation/bontas.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>

#include "common/hu_format.h"
#include "common/numbers.h"
#include "conditions/condition_table.h"
#include "settings/settings.h"

namespace velmora {

namespace {

const char* const kGrowText = "A variáció mérete meghaladja az engedélyezett szelvényszámot.\r\r";
const char* const kPrepareText = "Variáció tömbjének előkészítése";
constexpr long long kWaitWindowRows = 100000;

enum WalkEnd { kWalkComplete, kWalkLeft, kWalkStoredOne };

bool TwoDrawingGame(GameId id) {
    return id == 2 || id == 4;
}

// The first stored row from `first` on, newest first, that shares more than `allowance`
// positions with the candidate; -1 when none does. Built twice, so that processors with a
// popcount instruction use it.
__attribute__((target_clones("popcnt", "default"))) long long
FirstCovering(const BitSet128* sets, long long first, long long count, std::uint64_t low,
              std::uint64_t high, int allowance) {
    for (long long r = count - 1; r >= first; --r) {
        if (__builtin_popcountll(sets[r].low & low) + __builtin_popcountll(sets[r].high & high) >
            allowance) {
            return r;
        }
    }
    return -1;
}

// The index of the candidate's (count + 1)-th position that `row` holds.
int NthCommon(const std::uint8_t* candidate, int length, const BitSet128& row, int count) {
    int common = 0;
    for (int q = 0; q < length; ++q) {
        if (row.Has(candidate[q]) && ++common > count) {
            return q;
        }
    }
    return length - 1;
}

bool StrictlyAscending(const std::uint8_t* row, int width) {
    for (int i = 1; i < width; ++i) {
        if (row[i] <= row[i - 1]) {
            return false;
        }
    }
    return true;
}

} // namespace

Bontas::Bontas(Messages& messages, VariationStore& store) : m_messages(messages), m_store(store) {}

// ---------------------------------------------------------------------------------------------
// Preparation

bool Bontas::BontasIndul(const GenerationInput& input) {
    m_input = input;
    const ConditionSet& c = input.conditions;
    m_n = static_cast<int>(input.variationNumbers.size());
    m_k = input.game.rowLength - input.fixedCount;
    if (m_k < 1 || m_k > kMaxRowLength || m_n < m_k || m_n > kMaxVariationNumbers) {
        return false;
    }
    m_last = m_k - 1;
    m_h = std::clamp(c.errorPoints, 0, m_last);
    m_drawsList = c.hitRatio.active && c.hitRatio.fromDraws && input.draws != nullptr &&
                  !input.draws->empty();
    m_conditionsActive = c.AnyActive();
    m_overwrite = input.extension && m_h > 0 && c.options.overwrite && !m_drawsList;
    m_coveringTest = !m_overwrite || c.options.overwriteWithErrorPoints;
    // Draws-list rows hold numbers, not positions: the draw bookkeeping keeps them apart.
    m_acceptanceTest = !m_drawsList && (m_h > 0 || input.extension);
    m_data = SzamJelzoBeallitas(input.variationNumbers, input.game.maxNumber);
    m_filter.Prepare(c, m_data, input.game, m_k, input.draws);
    m_filter.ClearPassedConditions();
    m_total = CombinationCount(m_n, m_k);
    m_resumed = input.resume.paused;

    // The rows stay in an extension and when a paused variation goes on.
    const bool keepRows = input.extension || m_resumed;
    const int width = m_drawsList ? input.game.rowLength : m_k;
    if (keepRows) {
        if (m_store.RowWidth() != width || static_cast<int>(m_store.Frequencies().size()) != m_n) {
            return false; // the rows were made from another ticket
        }
        m_store.RestoreOriginalOrder();
    } else {
        m_store.Reset(width, m_n);
    }
    m_rememberedBase = m_store.baseCount;
    if (input.extension) {
        m_store.baseCount = m_store.Count();
    }

    m_hitEnd = 0;
    m_drawsInRange = 0;
    if (m_drawsList) {
        const int drawCount = static_cast<int>(input.draws->size());
        m_hitEnd = std::clamp(c.hitRatio.lastDraw, 0, drawCount);
        const int first = std::clamp(c.hitRatio.firstDraw, 1, std::max(m_hitEnd, 1));
        m_drawsInRange =
            static_cast<long long>(m_hitEnd - first + 1) * std::max(input.game.drawsPerDate, 1);
    }

    // The allowed size is lowered to what the free memory can hold.
    long long allowed = input.allowedRows;
    const long long free = input.freeMemory ? input.freeMemory() : -1;
    if (free >= 0) {
        allowed =
            std::min(allowed, std::max(1LL, OptimalVariationRows(static_cast<std::uint64_t>(free),
                                                                 input.game.rowLength)));
    }
    long long capacity = std::min(allowed, m_total);
    if (m_drawsList) {
        capacity = std::max(capacity, m_drawsInRange);
    }
    capacity = std::max(capacity, m_store.Count() + 1);
    const bool wait = capacity > kWaitWindowRows;
    if (wait) {
        m_messages.ShowWait(kPrepareText, WaitPosition::Centre);
    }
    const bool reserved = m_store.Reserve(capacity);
    if (wait) {
        m_messages.HideWait();
    }
    if (!reserved) {
        m_messages.NoMemory();
        return false;
    }
    m_storedRows = m_store.Count();

    // The bit sets of the rows already present; a row whose positions are not ascending (an
    // imported one) makes the merge walk itself decide.
    m_rowSets.clear();
    m_literal = useLiteralCovering;
    if (m_acceptanceTest) {
        m_rowSets.reserve(static_cast<std::size_t>(capacity));
        for (long long r = 0; r < m_store.Count(); ++r) {
            const std::uint8_t* row = m_store.Row(r);
            m_literal = m_literal || !StrictlyAscending(row, m_k);
            m_rowSets.push_back(SetOf(row, m_k));
        }
    }

    m_lower.resize(static_cast<std::size_t>(m_k));
    m_upper.resize(static_cast<std::size_t>(m_k));
    for (int i = 0; i < m_k; ++i) {
        m_lower[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        m_upper[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(m_n - m_k + i);
    }
    if (m_conditionsActive && useConditionBounds) {
        BontMutMinErtekek();
    }
    m_computedLower = m_lower;
    m_position = m_lower;
    if (m_conditionsActive && useConditionBounds) {
        BontMutMaxErtekek();
    }

    // A paused variation goes on from its resume position when that is a combination.
    m_resumePending = false;
    m_resume = ResumePoint{};
    if (m_resumed) {
        const std::vector<std::uint8_t>& at = input.resume.position;
        bool usable = static_cast<int>(at.size()) >= m_k && StrictlyAscending(at.data(), m_k);
        for (int i = 0; usable && i < m_k; ++i) {
            usable = at[static_cast<std::size_t>(i)] <= m_n - m_k + i;
        }
        if (usable) {
            m_lower.assign(at.begin(), at.begin() + m_k);
            m_resumePending = true;
        } else if (!m_drawsList) {
            // Starting over must not repeat the rows already there.
            m_acceptanceTest = true;
            m_rowSets.reserve(static_cast<std::size_t>(capacity));
            for (long long r = static_cast<long long>(m_rowSets.size()); r < m_store.Count(); ++r) {
                m_literal = m_literal || !StrictlyAscending(m_store.Row(r), m_k);
                m_rowSets.push_back(SetOf(m_store.Row(r), m_k));
            }
        }
    }

    m_lastLevelRuns = useLastLevelRuns && !m_drawsList && !m_acceptanceTest && m_k >= 2 &&
                      (!m_conditionsActive || m_filter.SumOnlyOverAscendingNumbers());
    m_prefixBounds = usePrefixBounds && m_conditionsActive && m_filter.JudgesPrefixes();
    m_skippedPrefixes = 0;
    m_walk = WalkState{};
    m_walk.positions = m_position.data();
    m_walk.cursor = m_last;
    m_walk.skipAhead = true;
    m_passCounter = m_last - m_h;
    m_savedPassCounter = 0;
    m_progressBase = 0;
    m_morePasses = m_passCounter > 0;
    m_passLevel = 0;
    m_rowStored = false;
    m_noProgress = 0;
    m_overwriteFrom = c.options.itemisedFrom;
    m_overwriteReached = c.options.itemisedFrom;
    m_savedStoredCount = m_store.Count();
    m_drawStoredSets.clear();
    if (m_drawsList && keepRows) {
        RecallStoredDraws();
    }
    m_running = true;
    m_pauseRequested = false;
    m_signals = 0;
    m_attention = false;
    m_progress = 0;
    return true;
}

// Lower bounds: every combination the conditions accept has each position at or above its
// bound. The enumeration starts at the bounds, so the combinations it skips are exactly those
// lexicographically below them, which the filter would reject.
void Bontas::BontMutMinErtekek() {
    const ConditionSet& c = m_filter.Conditions();
    std::vector<int> lower(m_lower.begin(), m_lower.end());
    auto raise = [&lower, this](int i, int value) {
        if (i >= 0 && i < m_k) {
            lower[static_cast<std::size_t>(i)] =
                std::max(lower[static_cast<std::size_t>(i)], value);
        }
    };
    if (c.favoured.active) {
        const int a = c.favoured.first;
        const int b = c.favoured.last;
        const int m = c.favoured.minHits;
        const int most = c.favoured.maxHits;
        if (a == 1) {
            for (int i = most; i < m_k; ++i) {
                raise(i, b + (i - most));
            }
        } else {
            for (int i = std::max(m_k - m, 0); i < m_k; ++i) {
                raise(i, (a - 1) + (i - (m_k - m)));
            }
        }
        for (int i = std::max(most + a - 1, 0); i < m_k; ++i) {
            raise(i, b + (i - (most + a - 1)));
        }
    }
    for (const GroupCondition* group : {&c.mobile, &c.fixed}) {
        if (!group->active) {
            continue;
        }
        const int size = group->groupSize;
        const int most = group->maxPerGroup;
        const long groups = std::lrint(static_cast<double>(m_k) / most);
        for (long g = 1; g <= groups; ++g) {
            for (int j = 0; j < most; ++j) {
                raise(static_cast<int>(g) * most + j, static_cast<int>(g) * size + j);
            }
        }
    }
    // The last t positions must reach the t smallest flagged numbers, when V holds that many.
    auto flagged = [this, &raise](const CountCondition& condition, std::uint8_t flag) {
        const int t = condition.minimum;
        if (!condition.active || t <= 0 || t > m_k) {
            return;
        }
        std::vector<int> positions;
        for (int j = 0; j < m_n; ++j) {
            if (m_data.flags[static_cast<std::size_t>(j)] & flag) {
                positions.push_back(j);
            }
        }
        if (static_cast<int>(positions.size()) < t) {
            return;
        }
        for (int r = 0; r < t; ++r) {
            raise(m_k - t + r, positions[static_cast<std::size_t>(r)]);
        }
    };
    flagged(c.twins, kFlagTwin);
    flagged(c.primes, kFlagPrime);
    if (c.span.active) {
        for (int i = 0; i < m_k; ++i) {
            if (c.span.first - 1 + i < m_n) {
                raise(i, c.span.first - 1 + i);
            }
        }
    }
    for (int i = 0; i < m_k; ++i) {
        int value = lower[static_cast<std::size_t>(i)];
        if (i > 0) {
            value = std::max(value, static_cast<int>(m_lower[static_cast<std::size_t>(i - 1)]) + 1);
        }
        value = std::min(value, static_cast<int>(m_upper[static_cast<std::size_t>(i)]));
        m_lower[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
    }
}

// Upper bounds from the favoured numbers: a group at the end of V leaves room for at most
// `maxHits` numbers there; a group that ends earlier must receive `minHits` numbers.
void Bontas::BontMutMaxErtekek() {
    const FavCondition& f = m_filter.Conditions().favoured;
    if (!f.active) {
        return;
    }
    auto lowerTo = [this](int i, int value) {
        const auto index = static_cast<std::size_t>(i);
        const int bounded = std::max(value, static_cast<int>(m_lower[index]));
        m_upper[index] =
            static_cast<std::uint8_t>(std::min(static_cast<int>(m_upper[index]), bounded));
    };
    if (f.last == m_n) {
        for (int i = 0; i < m_k - f.maxHits; ++i) {
            lowerTo(i, (f.first - 1) - (m_k - f.maxHits - i));
        }
    } else {
        for (int i = 0; i < f.minHits && i < m_k; ++i) {
            lowerTo(i, f.last - f.minHits + i);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Pass drivers

void Bontas::Run() {
    if (m_input.conditions.options.frequencyDistribution && m_h > 0 && !m_drawsList) {
        GyakorisagiOptBontStart();
    } else {
        Start();
    }
}

// The first pass of a resumed run starts from the resume position; every other pass from the
// bounds of the conditions.
void Bontas::ResetPass(int passCounter) {
    const std::vector<std::uint8_t>& from = m_resumePending ? m_lower : m_computedLower;
    std::copy(from.begin(), from.end(), m_position.begin());
    const bool resumedAfterStored =
        m_resumePending && m_store.Count() > 0 && !m_drawsList &&
        std::equal(m_position.begin(), m_position.end(), m_store.Row(m_store.Count() - 1));
    // A resume position that is already the newest row (a file of an older program version
    // kept the last examined combination) goes on after it.
    if (!resumedAfterStored) {
        --m_position[static_cast<std::size_t>(m_last)];
    }
    if (!m_resumePending) {
        m_lower = m_computedLower;
    }
    m_resumePending = false;
    m_walk.cursor = m_last;
    m_passLevel = (m_last - m_h) - passCounter;
}

void Bontas::Start() {
    m_walk.drawSet = 0;
    const int passes = m_last - m_h;
    while (true) {
        if (m_resumePending) {
            m_passCounter = std::clamp(m_input.resume.passCounter, 0, passes);
            m_progressBase = (100 / (m_k - m_h)) * (passes - m_passCounter);
        } else {
            m_passCounter = passes;
            m_progressBase = 0;
        }
        m_morePasses = m_passCounter > 0;
        if (m_h == 0 || m_drawsList) {
            ResetPass(m_passCounter);
            if (!BontasGeneralas()) {
                return;
            }
        } else {
            while (m_passCounter >= 0) {
                ResetPass(m_passCounter);
                if (!BontasGeneralas()) {
                    return;
                }
                m_progressBase += 100 / (m_k - m_h);
                --m_passCounter;
                m_morePasses = m_passCounter > 0;
            }
        }
        if (!m_overwrite || !OverwriteCycleGoesOn(m_k)) {
            return;
        }
    }
}

// The end of one overwrite cycle: true when another cycle follows.
bool Bontas::OverwriteCycleGoesOn(int questionThreshold) {
    const EngineOptions& o = m_input.conditions.options;
    m_store.baseCount = m_rememberedBase;
    m_savedStoredCount = m_store.Count();
    if (!m_running) {
        return false;
    }
    if (!m_rowStored && o.itemised) {
        ++m_noProgress;
        if (m_noProgress >= questionThreshold && o.itemisedTo > m_overwriteFrom) {
            if (!m_messages.Question(MegszakitasUzenet(false))) {
                return false;
            }
            m_noProgress = 0;
        }
    }
    if (m_rowStored || !o.itemised) {
        m_noProgress = 0;
        if (m_rowStored && o.itemised) {
            m_overwriteReached = m_overwriteFrom;
        }
    }
    if (m_rowStored && !o.itemised) {
        m_rowStored = false;
        m_store.baseCount = m_store.Count();
        return true;
    }
    if (o.itemised && o.itemisedTo > m_overwriteFrom) {
        m_rowStored = false;
        m_store.baseCount = m_store.Count();
        ++m_overwriteFrom;
        return true;
    }
    return false;
}

void Bontas::GyakorisagiOptBontStart() {
    m_walk.drawSet = 0;
    m_morePasses = false;
    const int passes = m_last - m_h;
    const int windows = m_n - m_k + 1;
    const std::uint8_t firstUpper = m_upper[0];
    std::vector<std::vector<std::uint8_t>> starts;
    auto build = [&starts, windows, this](bool lowered) {
        starts.assign(static_cast<std::size_t>(windows),
                      std::vector<std::uint8_t>(m_position.size()));
        for (int s = 0; s < windows; ++s) {
            for (int i = 0; i < m_k; ++i) {
                starts[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(s + i);
            }
            if (lowered) {
                --starts[static_cast<std::size_t>(s)][static_cast<std::size_t>(m_last)];
            }
        }
    };
    while (true) {
        starts.clear();
        if (m_resumePending) {
            m_passCounter = std::clamp(m_input.resume.passCounter, 0, passes);
            m_progressBase = (100 / (m_k - m_h)) * (passes - m_passCounter);
        } else {
            m_passCounter = passes;
            m_progressBase = 0;
            build(true);
        }
        bool firstPass = true;
        bool firstStartStored = true;
        while (m_passCounter >= 0) {
            if (!firstPass) {
                build(false);
            }
            firstPass = false;
            while (!starts.empty()) {
                firstStartStored = true;
                for (std::size_t j = 0; j < starts.size(); ++j) {
                    m_walk.cursor = m_last;
                    m_upper[0] = std::min(static_cast<std::uint8_t>(starts[j][0] + 1), firstUpper);
                    std::copy(starts[j].begin(), starts[j].end(), m_position.begin());
                    m_passLevel = passes - m_passCounter;
                    if (UJBontasGeneralas()) {
                        starts.resize(j);
                        break;
                    }
                    std::copy(m_position.begin(), m_position.end(), starts[j].begin());
                    if (j == 0) {
                        firstStartStored = false;
                    }
                }
            }
            m_upper[0] = firstUpper;
            --m_passCounter;
        }
        if (firstStartStored) {
            // A closing complete pass makes sure that every combination is covered.
            m_passCounter = 0;
            for (int i = 0; i < m_k; ++i) {
                m_upper[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(m_n - m_k + i);
            }
            if (m_conditionsActive && useConditionBounds) {
                BontMutMaxErtekek();
            }
            ResetPass(0);
            if (!BontasGeneralas()) {
                return;
            }
        }
        if (!m_overwrite || !OverwriteCycleGoesOn(m_input.conditions.options.overwriteHits + 1)) {
            return;
        }
    }
}

bool Bontas::BontasGeneralas() {
    return Walk<false>() == kWalkComplete;
}

bool Bontas::UJBontasGeneralas() {
    return Walk<true>() != kWalkStoredOne;
}

// The enumeration loop. The cursor lives in a register: the byte stores into the row could
// alias any member, so it is written back only where something else may move it.
template <bool kOneRow>
int Bontas::Walk() {
    if (m_pauseRequested.load() || !m_running.load()) {
        m_attention = true; // answered at the first candidate
    }
    std::uint8_t* p = m_position.data();
    m_walk.positions = p;
    const std::uint8_t* upper = m_upper.data();
    const int firstDraw = m_input.conditions.hitRatio.firstDraw - 1;
    const int last = m_last;
    const bool filtered = m_conditionsActive;
    const bool accepting = m_acceptanceTest;
    const bool drawsList = m_drawsList;
    const bool prefixBounds = m_prefixBounds;
    const bool runs = !kOneRow && m_lastLevelRuns;
    int cursor = m_walk.cursor;
    while (true) {
        if (cursor < 0) {
            m_walk.cursor = cursor;
            return kWalkComplete;
        }
        if (p[cursor] < upper[cursor]) {
            ++p[cursor];
        } else {
            --cursor;
            continue;
        }
        if (cursor < last) {
            // A run of last positions settles the level before the last itself.
            if (prefixBounds && !(runs && cursor + 1 == last)) {
                const PrefixOutlook outlook = m_filter.Outlook(p, cursor);
                if (outlook != PrefixOutlook::Open) {
                    ++m_skippedPrefixes;
                    if (outlook == PrefixOutlook::FailsOnward) {
                        p[cursor] = upper[cursor];
                    }
                    continue;
                }
            }
            p[cursor + 1] = p[cursor];
            ++cursor;
            if constexpr (!kOneRow) {
                if (cursor == last && runs) {
                    m_walk.cursor = cursor;
                    if (!StoreLastLevelRun()) {
                        return kWalkLeft;
                    }
                    cursor = m_walk.cursor;
                }
            }
            continue;
        }
        // A complete candidate, not yet examined: a pause leaves its resume position here.
        if (m_attention.load(std::memory_order_relaxed)) {
            m_walk.cursor = cursor;
            if (!Attend(!kOneRow)) {
                return kOneRow ? kWalkComplete : kWalkLeft;
            }
        }
        if (filtered) {
            m_walk.cursor = cursor;
            m_walk.drawCursor = firstDraw;
            const bool passed = m_filter.FeltVizsgalat(m_walk);
            cursor = m_walk.cursor;
            if (!passed) {
                continue;
            }
        }
        if (accepting && !HibapontosBontas()) {
            continue;
        }
        m_walk.cursor = cursor;
        if (!(drawsList ? StoreDrawsList() : BontasTarol())) {
            return kOneRow ? kWalkComplete : kWalkLeft;
        }
        cursor = m_walk.cursor;
        if constexpr (kOneRow) {
            return kWalkStoredOne;
        }
    }
}

bool Bontas::StoreLastLevelRun() {
    std::uint8_t* p = m_position.data();
    const int last = m_last;
    int first = p[last - 1] + 1;
    int top = m_upper[static_cast<std::size_t>(last)];
    if (first > top) {
        return true; // p[last] stays at the prefix's end: the walk moves on
    }
    // The prefix's first candidate is the one not yet examined, as one by one.
    p[last] = static_cast<std::uint8_t>(first);
    if (m_attention.load(std::memory_order_relaxed) && !Attend(true)) {
        return false;
    }
    if (m_conditionsActive && m_filter.SumRun(p, first, top)) {
        // Too large already: so are the later prefixes of this place, which the walk skips.
        p[last - 1] = m_upper[static_cast<std::size_t>(last - 1)];
        p[last] = m_upper[static_cast<std::size_t>(last)];
        return true;
    }
    // The rows as BontasTarol stores them one by one: the store grows (with its questions)
    // exactly when a row fills it.
    for (int j = first; j <= top;) {
        if (m_store.Count() >= m_store.Capacity() && !m_store.Reserve(m_store.Count() + 1)) {
            m_messages.NoMemory();
            m_running = false;
            return false;
        }
        const long long room = m_store.Capacity() - m_store.Count();
        const int count = static_cast<int>(std::min<long long>(room, top - j + 1));
        m_store.AppendRun(p, j, count);
        j += count;
        p[last] = static_cast<std::uint8_t>(j - 1);
        m_rowStored = true;
        const long long stored = m_store.Count();
        m_storedRows.store(stored, std::memory_order_relaxed);
        if (stored >= m_store.Capacity() && stored < m_total && !Grow()) {
            return false;
        }
    }
    // Every last position of the prefix is settled.
    p[last] = m_upper[static_cast<std::size_t>(last)];
    return true;
}

// The worker's answer to the buttons and the progress timer.
bool Bontas::Attend(bool askPause) {
    m_attention = false;
    const unsigned signals = m_signals.exchange(0);
    if ((signals & (kSignalStop | kSignalPause)) != 0) {
        if (m_running) {
            m_savedPassCounter = m_passCounter;
            m_passCounter = -1;
        }
        m_running = false;
        if ((signals & kSignalPause) != 0) {
            m_pauseRequested = true;
        }
    }
    PublishProgress();
    if (askPause && m_pauseRequested) {
        return AnswerPause();
    }
    return m_running;
}

bool Bontas::AnswerPause() {
    if (m_messages.Question(MegszakitasUzenet(true))) {
        m_passCounter = m_savedPassCounter;
        m_pauseRequested = false;
        m_running = true;
        return true;
    }
    // The rows so far stay as a paused variation that goes on from this combination.
    m_resume.paused = true;
    m_resume.position = m_position;
    m_resume.passCounter = m_savedPassCounter;
    m_running = true;
    const EngineOptions& o = m_input.conditions.options;
    if (m_overwrite && o.itemised) {
        // An itemised overwrite keeps only its finished cycles.
        m_pauseRequested = false;
        m_resume = ResumePoint{};
        m_savedPassCounter = -1;
        m_store.baseCount = m_rememberedBase;
        m_store.Truncate(m_savedStoredCount);
        m_rowSets.resize(std::min(m_rowSets.size(), static_cast<std::size_t>(m_store.Count())));
        m_storedRows = m_store.Count();
    }
    return false;
}

void Bontas::RequestStop() {
    m_signals.fetch_or(kSignalStop);
    m_attention = true;
}

void Bontas::RequestPause() {
    m_signals.fetch_or(kSignalStop | kSignalPause);
    m_attention = true;
}

void Bontas::RequestProgress() {
    m_signals.fetch_or(kSignalProgress);
    m_attention = true;
}

// The rank of the current combination, estimated from its distance to the lower bounds.
void Bontas::PublishProgress() {
    double rank = 0;
    for (int i = 0; i + 1 < m_k; ++i) {
        const int d =
            m_position[static_cast<std::size_t>(i)] - m_lower[static_cast<std::size_t>(i)];
        if (d > 0) {
            double product = 1;
            for (int j = i + 1; j <= m_last; ++j) {
                product *= m_upper[static_cast<std::size_t>(j)];
            }
            rank += d * product;
        }
    }
    rank += m_position[static_cast<std::size_t>(m_last)];
    double factorial = 1;
    for (int i = 2; i <= m_k; ++i) {
        factorial *= i;
    }
    rank = std::floor(rank / factorial);
    const double hundredth = static_cast<double>(m_total) / 100.0;
    const double percent =
        m_h == 0 ? rank / hundredth : rank / (hundredth * (m_k - m_h)) + m_progressBase;
    m_progress = static_cast<int>(std::clamp(std::llround(percent), 0LL, 100LL));
}

// ---------------------------------------------------------------------------------------------
// Acceptance

BitSet128 Bontas::SetOf(const std::uint8_t* row, int width) {
    BitSet128 set;
    for (int i = 0; i < width; ++i) {
        set.Add(row[i]);
    }
    return set;
}

bool Bontas::HibapontosBontas() {
    if (m_coveringTest) {
        const int allowance =
            (m_h > 0 ? m_passLevel : m_last) + (m_input.conditions.options.optimised ? 1 : 0);
        if (Covered(allowance, m_overwrite ? m_store.baseCount : 0)) {
            return false;
        }
    }
    if (m_overwrite && m_store.Count() > 0) {
        return OverwriteTest();
    }
    return true;
}

bool Bontas::Covered(int allowance, long long firstRow) {
    return m_literal ? LiteralCovering(allowance, firstRow) : FastCovering(allowance, firstRow);
}

// The generated rows are ascending, so the merge walk meets the common positions in ascending
// order: the row that covers is the first one, newest first, with more than `allowance` common
// positions, and the walk stops on the candidate's (allowance + 1)-th common position.
bool Bontas::FastCovering(int allowance, long long firstRow) {
    const std::uint8_t* candidate = m_position.data();
    const BitSet128 set = SetOf(candidate, m_k);
    const long long r =
        FirstCovering(m_rowSets.data(), firstRow, static_cast<long long>(m_rowSets.size()), set.low,
                      set.high, allowance);
    if (r < 0) {
        return false;
    }
    SkipCovered(NthCommon(candidate, m_k, m_rowSets[static_cast<std::size_t>(r)], allowance), true);
    return true;
}

// The inner loop is a few byte compares: where the linker happens to place it moves its speed
// by a fifth between builds, so the function starts on a cache line of its own.
[[gnu::aligned(64)]] bool Bontas::LiteralCovering(int allowance, long long firstRow) {
    const std::uint8_t* candidate = m_position.data();
    for (long long r = m_store.Count() - 1; r >= firstRow; --r) {
        const std::uint8_t* row = m_store.Row(r);
        int common = 0;
        int from = 0;
        for (int i = 0; i < m_k; ++i) {
            // Each of the row's positions is looked up after the previous match.
            for (int q = from; q <= m_last; ++q) {
                if (candidate[q] == row[i]) {
                    from = q + 1;
                    if (++common > allowance) {
                        SkipCovered(q, true);
                        return true;
                    }
                    break;
                }
            }
        }
    }
    return false;
}

// Overwrite: no stored row may share more than L positions with the candidate, and with
// "Tételes" at most the current limit of rows may share exactly L.
bool Bontas::OverwriteTest() {
    const EngineOptions& o = m_input.conditions.options;
    const int level = o.overwriteHits;
    const std::uint8_t* candidate = m_position.data();
    const BitSet128 set = SetOf(candidate, m_k);
    long long exact = 0;
    for (long long r = m_store.Count() - 1; r >= 0; --r) {
        const BitSet128& row = m_rowSets[static_cast<std::size_t>(r)];
        const int common = CommonCount(row, set);
        if (common > level) {
            SkipCovered(NthCommon(candidate, m_k, row, level), false);
            return false;
        }
        exact += common == level ? 1 : 0;
    }
    return !(o.itemised && (m_overwriteFrom < 1 || m_overwriteFrom < exact));
}

// The covered candidate is rejected together with every candidate that shares its first j + 1
// positions; the walk is left so that its next step yields the first one after them.
void Bontas::SkipCovered(int j, bool allowTwoStep) {
    if (j == m_last) {
        return;
    }
    std::uint8_t* p = m_position.data();
    if (allowTwoStep && m_morePasses && !m_input.conditions.options.optimised) {
        p[j] = static_cast<std::uint8_t>(p[j] + 2);
        if (!m_conditionsActive && p[j] < m_upper[static_cast<std::size_t>(j)]) {
            for (int i = j + 1; i <= m_last; ++i) {
                int next = p[i - 1] + 2;
                if (next > m_upper[static_cast<std::size_t>(i)]) {
                    --next;
                }
                p[i] = static_cast<std::uint8_t>(next);
            }
            --p[m_last];
            return;
        }
        p[j] = static_cast<std::uint8_t>(p[j] - 2);
    }
    p[j] = static_cast<std::uint8_t>(p[j] + 1);
    for (int i = j + 1; i <= m_last; ++i) {
        p[i] = static_cast<std::uint8_t>(p[i - 1] + 1);
    }
    --p[m_last];
}

// ---------------------------------------------------------------------------------------------
// Storing

bool Bontas::BontasTarol() {
    if (m_store.Count() >= m_store.Capacity() && !m_store.Reserve(m_store.Count() + 1)) {
        m_messages.NoMemory();
        m_running = false;
        return false;
    }
    m_store.Append(m_position.data());
    if (m_acceptanceTest) {
        m_rowSets.push_back(SetOf(m_position.data(), m_k));
    }
    m_rowStored = true;
    const long long count = m_store.Count();
    m_storedRows.store(count, std::memory_order_relaxed);
    if (count < m_store.Capacity() || count >= m_total) {
        return true;
    }
    return Grow();
}

// A candidate of a draws-list run: the draw the filter stopped on is stored, and every further
// draw of the range the candidate reaches, until the filter finds none.
bool Bontas::StoreDrawsList() {
    do {
        if (!StoreDraw(m_walk.drawSet)) {
            return false;
        }
        // The second drawing of the same date counts on its own when it reaches the ratio.
        if (m_walk.drawSet == 0 && TwoDrawingGame(m_input.game.gameId) && m_running &&
            !m_filter.FeltVizsgSkandi(m_position.data(), m_walk.drawCursor) && !StoreDraw(1)) {
            return false;
        }
        ++m_walk.drawCursor;
        if (!m_filter.FeltVizsgalat(m_walk)) {
            m_walk.drawCursor = m_hitEnd;
        }
    } while (m_walk.drawCursor < m_hitEnd);
    return true;
}

bool Bontas::StoreDraw(int drawSet) {
    const std::vector<DrawRecord>& draws = *m_input.draws;
    const int d = m_walk.drawCursor;
    if (d < 0 || d >= m_hitEnd || d >= static_cast<int>(draws.size())) {
        return true; // an excluded ratio passes without a draw of the range: nothing to store
    }
    const DrawRecord& draw = draws[static_cast<std::size_t>(d)];
    const int rowLength = m_input.game.rowLength;
    const int firstCell = drawSet == 0 ? 0 : kSecondDrawingCell;
    if (firstCell + rowLength > kMaxDrawColumns) {
        return true;
    }
    const std::uint8_t* numbers = draw.numbers.data() + firstCell;
    std::vector<std::int32_t>& ids = m_store.drawIds;
    std::vector<std::int32_t>& sets = m_store.drawSetCounts;
    const auto found = std::find(ids.begin(), ids.end() - 1, draw.drawNo);
    std::size_t index = static_cast<std::size_t>(found - ids.begin());
    const unsigned setBit = drawSet == 0 ? 1U : 2U;
    if (found != ids.end() - 1) {
        if (!TwoDrawingGame(m_input.game.gameId) || sets[index] >= 2 ||
            (m_drawStoredSets[draw.drawNo] & setBit) != 0) {
            return true;
        }
        // The other drawing of the date is a row already: the same numbers are not stored
        // twice.
        const std::uint8_t* other = draw.numbers.data() + (drawSet == 0 ? kSecondDrawingCell : 0);
        if (std::equal(numbers, numbers + rowLength, other)) {
            return true;
        }
    } else {
        index = ids.size() - 1;
        ids[index] = draw.drawNo;
        ids.push_back(-1);
        sets.resize(ids.size(), 0);
    }
    ++sets[index];
    m_drawStoredSets[draw.drawNo] |= setBit;
    if (m_store.Count() >= m_store.Capacity() && !m_store.Reserve(m_store.Count() + 1)) {
        m_messages.NoMemory();
        m_running = false;
        return false;
    }
    m_store.AppendRaw(numbers);
    m_rowStored = true;
    m_storedRows.store(m_store.Count(), std::memory_order_relaxed);
    if (m_store.Count() >= m_drawsInRange) {
        m_walk.cursor = -1; // every draw of the range is stored
    }
    return true;
}

// Which drawings of the draws already stored are rows, for a run that goes on.
void Bontas::RecallStoredDraws() {
    const int rowLength = m_input.game.rowLength;
    std::set<std::string_view> rows;
    for (long long r = 0; r < m_store.Count(); ++r) {
        rows.emplace(reinterpret_cast<const char*>(m_store.Row(r)),
                     static_cast<std::size_t>(rowLength));
    }
    auto isRow = [&rows, rowLength](const std::uint8_t* numbers) {
        return rows.count(std::string_view(reinterpret_cast<const char*>(numbers),
                                           static_cast<std::size_t>(rowLength))) > 0;
    };
    const std::vector<std::int32_t>& ids = m_store.drawIds;
    for (const DrawRecord& draw : *m_input.draws) {
        if (std::find(ids.begin(), ids.end(), draw.drawNo) == ids.end()) {
            continue;
        }
        unsigned stored = isRow(draw.numbers.data()) ? 1U : 0U;
        if (kSecondDrawingCell + rowLength <= kMaxDrawColumns &&
            isRow(draw.numbers.data() + kSecondDrawingCell)) {
            stored |= 2U;
        }
        m_drawStoredSets[draw.drawNo] = stored;
    }
}

bool Bontas::Grow() {
    const long long count = m_store.Count();
    const long long capacity = m_store.Capacity();
    if (2 * count > kRowLimit && 2 * count < m_total) {
        m_messages.Warning("A variáció több mint 100 millió számsort igényel.\r\rAz aktuális "
                           "verzió nem támogatja az ilyen méretű variációk készítését.");
        m_running = false;
        return false;
    }
    const long long free = m_input.freeMemory ? m_input.freeMemory() : -1;
    const long long perRow = static_cast<long long>(m_store.RowWidth()) * 4;
    const bool doubleFits = free < 0 || capacity * 2 * perRow < free;
    if (!doubleFits || (m_h == 0 && !m_conditionsActive) || 2 * capacity > m_total) {
        return GrowTo(m_total, true);
    }
    return GrowTo(2 * capacity, false);
}

bool Bontas::GrowTo(long long capacity, bool full) {
    const long long free = m_input.freeMemory ? m_input.freeMemory() : -1;
    const long long perRow = static_cast<long long>(m_store.RowWidth()) * 4;
    const long long needed = (full ? capacity - m_store.Capacity() : m_store.Capacity()) * perRow;
    if (free >= 0 && needed >= free) {
        m_messages.NoMemory();
        m_running = false;
        return false;
    }
    const bool yes =
        full ? m_messages.WarningQuestion(std::string(kGrowText) +
                                          "Engedélyezi a szabad memória lefoglalását?\r\r"
                                          "Folytatja a variáció készítését?")
             : m_messages.Question(std::string(kGrowText) +
                                   "Megduplázza a variáció számára fenntartott memória "
                                   "méretét?\r\rFolytatja a variáció készítését?");
    if (!yes) {
        m_running = false;
        return false;
    }
    if (!m_store.Reserve(capacity)) {
        m_messages.NoMemory();
        m_running = false;
        return false;
    }
    if (m_acceptanceTest) {
        m_rowSets.reserve(static_cast<std::size_t>(capacity));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Completion and texts

GenerationOutcome Bontas::Vege() {
    const long long count = m_store.Count();
    if (m_input.extension || m_pauseRequested) {
        m_store.savedBaseCount = m_store.baseCount;
    }
    if (count > 0 && m_running) {
        m_store.CloseBlock();
    }
    if (m_resumed && !m_running) {
        m_pauseRequested = true;
    }
    GenerationOutcome outcome;
    outcome.finished = m_running;
    outcome.paused = m_running && m_pauseRequested;
    if (outcome.paused) {
        outcome.resume = m_resume;
    } else if (!m_running && m_resumed) {
        // A stopped continuation stays paused, now where it stopped.
        outcome.resume.paused = true;
        outcome.resume.position = m_position;
        outcome.resume.passCounter = m_passCounter >= 0 ? m_passCounter : m_savedPassCounter;
    }
    outcome.itemisedFrom = m_input.conditions.options.itemisedFrom;
    if (!m_running) {
        return outcome;
    }
    if (count == 0) {
        outcome.emptyResultText = EmptyResultText();
        return outcome;
    }
    const EngineOptions& o = m_input.conditions.options;
    if (o.itemised && o.itemisedFrom < m_overwriteReached && m_overwriteReached <= o.itemisedTo) {
        outcome.itemisedFrom = m_overwriteReached;
    }
    outcome.missingNumbersText = BontStatVizsg(MissingNumbers(), PassedConditions());
    m_store.ShrinkToFit();
    m_rowSets.clear();
    m_rowSets.shrink_to_fit();
    return outcome;
}

std::string Bontas::Headline() const {
    return std::to_string(m_n) + " szám " + std::to_string(m_h) + " hibapontos variációja " +
           std::to_string(m_k) + " számra";
}

std::string NeededRowsText(long long rows) {
    return FormatThousands(rows) + " számsor szükséges a játékhoz";
}

std::string Bontas::StartNoticeText() const {
    const int fixed = m_input.fixedCount;
    return std::to_string(m_n) + " szám " + std::to_string(m_h) +
           " hibapontos variációját készíti " + std::to_string(m_k) + " számra.\r" +
           "Csak akkor lehetséges a(z) " + std::to_string(m_input.game.rowLength - m_h) +
           (m_h > 0 ? " vagy több" : "") + " találat elérése,\r" + "ha a fix " +
           (fixed >= 2 ? "számo(ka)t" : "számot") + " is eltalálja.";
}

std::string Bontas::MegszakitasUzenet(bool userPaused) const {
    const EngineOptions& o = m_input.conditions.options;
    std::string text;
    if (m_overwrite && o.itemised) {
        const std::string level = std::to_string(o.overwriteHits);
        text = level + " találati arányra, " + std::to_string(o.itemisedFrom) + " - " +
               std::to_string(o.itemisedTo) + " esetig írja felül a variációt.\r" + "A(z) " +
               std::to_string(m_overwriteFrom) + ". eset vizsgálatánál tartott a program.\r" +
               "Az utoljára tárolt számsor " + std::to_string(m_overwriteReached) +
               " esetben ért el " + level + " találati arányt.";
        if (!userPaused) {
            text += "\r\rA jelenlegi beállítások mellett, nem valószínű további találatok "
                    "elérése.";
        }
    } else {
        text = "Ha elmenti a felfüggesztett variációt és azt később vissza tölti,\ra variációt "
               "ott folytatja a program, ahol most megszakította.";
    }
    return text + (userPaused ? "\r\rFolytatja a variációt?" : "\r\rMégis folytatja a variációt?");
}

std::vector<std::uint8_t> Bontas::MissingNumbers() const {
    std::vector<std::uint8_t> missing;
    const std::vector<std::uint8_t>& numbers = m_input.variationNumbers;
    if (m_drawsList) {
        // The rows hold the drawn numbers themselves.
        std::vector<bool> seen(256, false);
        for (long long r = 0; r < m_store.Count(); ++r) {
            const std::uint8_t* row = m_store.Row(r);
            for (int i = 0; i < m_store.RowWidth(); ++i) {
                seen[row[i]] = true;
            }
        }
        for (std::uint8_t number : numbers) {
            if (!seen[number]) {
                missing.push_back(number);
            }
        }
        return missing;
    }
    const std::vector<std::uint32_t>& frequencies = m_store.Frequencies();
    for (std::size_t j = 0; j < frequencies.size() && j < numbers.size(); ++j) {
        if (frequencies[j] == 0) {
            missing.push_back(numbers[j]);
        }
    }
    return missing;
}

std::string Bontas::EmptyResultText() const {
    if (!m_running || m_store.Count() > 0) {
        return {};
    }
    const ConditionSet& c = m_input.conditions;
    const long long deviationMin = std::llround(static_cast<double>(c.deviation.minimum) * 100);
    const long long deviationMax = std::llround(static_cast<double>(c.deviation.maximum) * 100);
    const std::uint16_t passed = m_filter.PassedConditions();
    std::string collected;
    for (const ConditionInfo* info : ConditionsInListOrder()) {
        if (IsActive(c, info->id) && (passed & info->passedBit) == 0) {
            collected += std::string("\r     »  ") + info->listName;
            if (info->id == Condition::Deviation && deviationMin == deviationMax) {
                collected += " - jelöljön ki egy tartományt";
            }
        }
    }
    if (!collected.empty()) {
        std::string text = "Az alábbi feltételek nem teljesültek:\r" + collected;
        if (m_input.fixedCount > 0) {
            text += "\r\rA fix számok nem vesznek részt a variációban.";
        }
        return text + "\r\rGondolja újra a feltételek párosítását, illetve az\ralkalmazott "
                      "logikai és/vagy numerikus értékeket.";
    }
    std::string text =
        m_conditionsActive ? "Minden kijelölt feltétel teljesült," : "Nincs kijelölt feltétel,";
    text += " mégis nulla a variáció számsorainak mennyisége.\r\r";
    if (m_h > 0) {
        return text + "Módosítson a hibapontok számán és/vagy a kijelölt feltételeken.";
    }
    return text + "A jelenlegi beállítások mellett ez nem fordulhatna elő.\rKérem: mentse a "
                  "variációt állományba és küldje el a program fejlesztőjének.\rKöszönjük a "
                  "segítségét!";
}

} // namespace velmora
