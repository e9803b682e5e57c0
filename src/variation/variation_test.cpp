#include "variation/variation_test.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

#include "common/hu_format.h"
#include "common/numbers.h"
#include "conditions/filter.h"
#include "conditions/number_data.h"

namespace velmora {

namespace {

BitSet128 SetOf(const std::uint8_t* positions, int count) {
    BitSet128 set;
    for (int i = 0; i < count; ++i) {
        set.Add(positions[i]);
    }
    return set;
}

// The best hit of a case: the most positions any row shares with it, newest row first; the
// scan ends as soon as no row can do better.
__attribute__((target_clones("popcnt", "default"))) int
BestHit(const BitSet128* rows, long long count, std::uint64_t low, std::uint64_t high, int most) {
    int best = 0;
    for (long long r = count - 1; r >= 0; --r) {
        const int common =
            __builtin_popcountll(rows[r].low & low) + __builtin_popcountll(rows[r].high & high);
        if (common > best) {
            best = common;
            if (best >= most) {
                break;
            }
        }
    }
    return best;
}

// The lexicographic combination of rank `rank` among the `d`-subsets of 0..N-1.
void Unrank(unsigned long long rank, int n, int d, std::vector<std::uint8_t>& p) {
    int x = 0;
    for (int i = 0; i < d; ++i) {
        while (true) {
            const unsigned long long below = Binomial(n - x - 1, d - i - 1);
            if (rank < below) {
                break;
            }
            rank -= below;
            ++x;
        }
        p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x++);
    }
}

// A counter with one writer and readers on other threads.
void Bump(std::atomic<unsigned long long>& counter) {
    counter.store(counter.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

std::string Share(unsigned long long count, unsigned long long total, int width) {
    const std::string text =
        count == 0
            ? "0"
            : FormatDecimal(static_cast<double>(count) / (static_cast<double>(total) / 100.0), 2);
    return PadLeft(text, width) + "%";
}

std::string Count(unsigned long long count, int width) {
    return PadLeft(FormatThousands(static_cast<long long>(count)), width) + " db";
}

} // namespace

std::string FixedNumbersSuffix(int fixed) {
    return fixed > 0 ? " + " + std::to_string(fixed) + " fix" : "";
}

struct VariationTest::Slice {
    unsigned long long first = 0;
    unsigned long long end = 0;
    std::atomic<unsigned long long> examined{0};
    std::atomic<unsigned long long> passed{0};
    std::vector<std::atomic<unsigned long long>> all;
    std::vector<std::atomic<unsigned long long>> failed;
    mutable std::mutex keptLock;
    std::vector<std::vector<std::vector<std::uint8_t>>> kept;
};

VariationTest::VariationTest(const VariationTestInput& input, const VariationStore& store)
    : m_input(input), m_store(store) {
    m_n = static_cast<int>(input.variationNumbers.size());
    m_k = input.game.rowLength - input.fixedCount;
    m_input.drawn = std::clamp(input.drawn, 1, std::max(m_n, 1));
    m_total = Binomial(m_n, m_input.drawn);
    // A draws-list row holds numbers: they are looked up in V.
    m_positionOf.assign(256, -1);
    for (int j = 0; j < m_n; ++j) {
        m_positionOf[input.variationNumbers[static_cast<std::size_t>(j)]] = j;
    }
    m_rowSets.reserve(static_cast<std::size_t>(store.Count()));
    for (long long r = 0; r < store.Count(); ++r) {
        const std::vector<std::uint8_t> positions = RowPositions(r);
        m_rowSets.push_back(SetOf(positions.data(), static_cast<int>(positions.size())));
    }
}

std::vector<std::uint8_t> VariationTest::RowPositions(long long r) const {
    std::vector<std::uint8_t> positions;
    const std::uint8_t* row = m_store.Row(r);
    for (int i = 0; i < m_store.RowWidth(); ++i) {
        const int position = m_input.drawsList ? m_positionOf[row[i]] : row[i];
        if (position >= 0 && position < m_n) {
            positions.push_back(static_cast<std::uint8_t>(position));
        }
    }
    return positions;
}

VariationTest::~VariationTest() = default;

void VariationTest::BontasGepiEllenorzes(bool literal) {
    const int d = m_input.drawn;
    const int levels = m_input.fixedCount + d + 1;
    const int parts = literal ? 1
                              : static_cast<int>(std::clamp<unsigned long long>(
                                    static_cast<unsigned long long>(std::max(m_input.threads, 1)),
                                    1, std::max(m_total, 1ULL)));
    std::vector<std::unique_ptr<Slice>> built;
    for (int i = 0; i < parts; ++i) {
        auto part = std::make_unique<Slice>();
        part->first =
            m_total / static_cast<unsigned long long>(parts) * static_cast<unsigned long long>(i);
        part->end = i + 1 == parts ? m_total
                                   : m_total / static_cast<unsigned long long>(parts) *
                                         static_cast<unsigned long long>(i + 1);
        part->all = std::vector<std::atomic<unsigned long long>>(static_cast<std::size_t>(levels));
        part->failed =
            std::vector<std::atomic<unsigned long long>>(static_cast<std::size_t>(levels));
        part->kept.resize(static_cast<std::size_t>(d + 1));
        built.push_back(std::move(part));
    }
    {
        const std::lock_guard<std::mutex> lock(m_partsLock);
        m_parts = std::move(built);
    }
    m_finished = false;
    if (literal && m_rowPositions.empty()) {
        // The merge walk reads each row's positions in their stored order.
        for (long long r = 0; r < m_store.Count(); ++r) {
            m_rowPositions.push_back(RowPositions(r));
        }
    }
    // A stop that came first holds: running is set before the stop flag is looked at.
    m_running = true;
    if (m_stopped) {
        m_running = false;
    }
    if (parts == 1) {
        RunSlice(*m_parts.front(), literal);
    } else {
        std::vector<std::thread> workers;
        for (auto& part : m_parts) {
            workers.emplace_back([this, &part] { RunSlice(*part, false); });
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
    }
    m_finished = m_running && Examined() == m_total;
    m_running = false;
}

void VariationTest::RunSlice(Slice& part, bool literal) {
    const int d = m_input.drawn;
    const int n = m_n;
    if (part.first >= part.end || n < d) {
        return;
    }
    ConditionFilter filter;
    const bool conditionsMode = m_input.conditionsMode;
    const bool conditionsActive = m_input.conditions.AnyActive();
    if (conditionsMode && conditionsActive) {
        filter.Prepare(m_input.conditions,
                       SzamJelzoBeallitas(m_input.variationNumbers, m_input.game.maxNumber),
                       m_input.game, d, m_input.draws);
    }
    std::vector<std::uint8_t> p(static_cast<std::size_t>(d));
    Unrank(part.first, n, d, p);
    WalkState walk;
    walk.positions = p.data();
    walk.skipAhead = false;
    const int firstDraw = m_input.conditions.hitRatio.firstDraw - 1;
    const int most = std::min(m_k, d);
    const int fixed = m_input.fixedCount;
    const auto rows = static_cast<long long>(m_rowSets.size());
    for (unsigned long long rank = part.first; rank < part.end; ++rank) {
        if (!m_running.load(std::memory_order_relaxed)) {
            return;
        }
        Bump(part.examined);
        bool passed = false;
        if (conditionsMode && conditionsActive) {
            walk.cursor = d - 1;
            walk.drawCursor = firstDraw;
            passed = filter.FeltVizsgalat(walk);
            if (passed) {
                Bump(part.passed);
            }
        }
        int best = 0;
        if (literal) {
            for (long long r = rows - 1; r >= 0; --r) {
                // Each of the row's positions is looked up after the previous match.
                const std::vector<std::uint8_t>& row = m_rowPositions[static_cast<std::size_t>(r)];
                int common = 0;
                int from = 0;
                for (std::uint8_t position : row) {
                    for (int q = from; q < d; ++q) {
                        if (p[static_cast<std::size_t>(q)] == position) {
                            ++common;
                            from = q + 1;
                            break;
                        }
                    }
                }
                best = std::max(best, common);
            }
        } else {
            const BitSet128 set = SetOf(p.data(), d);
            best = BestHit(m_rowSets.data(), rows, set.low, set.high, most);
        }
        if (best < m_k) {
            std::vector<std::vector<std::uint8_t>>& kept =
                part.kept[static_cast<std::size_t>(best)];
            if (static_cast<int>(kept.size()) < kKeptCasesPerLevel) {
                const std::lock_guard<std::mutex> lock(part.keptLock);
                kept.push_back(p);
            }
        }
        if (conditionsMode && !passed) {
            Bump(part.failed[static_cast<std::size_t>(fixed + best)]);
        }
        Bump(part.all[static_cast<std::size_t>(fixed + best)]);
        NextCombination(p.data(), d, n);
    }
}

unsigned long long VariationTest::Examined() const {
    const std::lock_guard<std::mutex> lock(m_partsLock);
    unsigned long long examined = 0;
    for (const auto& part : m_parts) {
        examined += part->examined.load(std::memory_order_relaxed);
    }
    return examined;
}

VariationTestResult VariationTest::Snapshot() const {
    VariationTestResult result;
    const int d = m_input.drawn;
    const auto levels = static_cast<std::size_t>(m_input.fixedCount + d + 1);
    result.total = m_total;
    result.all.assign(levels, 0);
    result.failed.assign(levels, 0);
    result.kept.resize(static_cast<std::size_t>(d + 1));
    const std::lock_guard<std::mutex> partsLock(m_partsLock);
    // The parts cover consecutive ranges: their kept cases, in part order, are the first ones
    // in enumeration order.
    for (const auto& part : m_parts) {
        result.examined += part->examined.load(std::memory_order_relaxed);
        result.passed += part->passed.load(std::memory_order_relaxed);
        for (std::size_t h = 0; h < levels && h < part->all.size(); ++h) {
            result.all[h] += part->all[h].load(std::memory_order_relaxed);
            result.failed[h] += part->failed[h].load(std::memory_order_relaxed);
        }
        const std::lock_guard<std::mutex> lock(part->keptLock);
        for (std::size_t b = 0; b < result.kept.size() && b < part->kept.size(); ++b) {
            for (const std::vector<std::uint8_t>& kept : part->kept[b]) {
                if (static_cast<int>(result.kept[b].size()) < kKeptCasesPerLevel) {
                    result.kept[b].push_back(kept);
                }
            }
        }
    }
    return result;
}

long long VariationTest::DuplicateRows() const {
    if (!m_finished || m_input.drawn != m_k) {
        return 0;
    }
    const VariationTestResult result = Snapshot();
    const auto full =
        static_cast<long long>(result.all[static_cast<std::size_t>(m_input.fixedCount + m_k)]);
    return std::max(m_store.Count() - full, 0LL);
}

std::string BontasTesztLista(const VariationTestInput& input, const VariationTestResult& result) {
    const int d = input.drawn;
    const int fixed = input.fixedCount;
    const bool conditions = input.conditionsMode;
    std::string text = " Találati arányok elérésének esélyei " + std::to_string(d) +
                       " kihúzott szám esetén" + FixedNumbersSuffix(fixed) + "\r\r";
    if (conditions) {
        text += " Tal              Minden eset            Legrosszabb eset                Legjobb "
                "eset\r ---   --------------------------  --------------------------  "
                "--------------------------\r";
    } else {
        text += " Tal              Minden eset\r ---   --------------------------\r";
    }
    for (int h = fixed + d; h >= 0; --h) {
        const auto level = static_cast<std::size_t>(h);
        const unsigned long long all = level < result.all.size() ? result.all[level] : 0;
        const unsigned long long failed = level < result.failed.size() ? result.failed[level] : 0;
        text += FormatWidth(h, 3) + "   " + Count(all, 16) + Share(all, result.total, 7);
        if (conditions) {
            text += Count(failed, 17) + Share(failed, result.total, 7) + Count(all - failed, 22) +
                    Share(all - failed, result.total, 7);
        }
        text += "\r";
    }
    if (conditions) {
        text += "\r Minden eset: a kijelölt feltételektől függetlenül, minden lehetséges eset.\r "
                "Legrosszabb eset: nem teljesül minden feltétel.\r Legjobb eset: minden kijelölt "
                "feltétel, maradéktalanul teljesül.\r";
    }
    if (fixed > 0) {
        text += " A fix számok találatként értelmezettek.\r";
    }
    if (input.extended) {
        text += " Bővített variáció. Csak az aktuálisan kijelölt feltételek vizsgálata "
                "lehetséges.\r";
    }
    return text;
}

std::string BontasTesztHianyzoLista(const VariationTestInput& input,
                                    const VariationTestResult& result, int level) {
    const int d = input.drawn;
    const std::string rule(89, '-');
    std::string text = "\r" + PadLeft(std::to_string(d), 2) + FixedNumbersSuffix(input.fixedCount) +
                       " (kihúzott szám) találat elérésével tesztelve a variációt.\r" + rule +
                       "\r A variációból hiányzó, " + std::to_string(level) +
                       " találatot eredményező (teszt) számsorok listája.\r";
    static const std::vector<std::vector<std::uint8_t>> kNone;
    const std::vector<std::vector<std::uint8_t>>& kept =
        level >= 0 && static_cast<std::size_t>(level) < result.kept.size()
            ? result.kept[static_cast<std::size_t>(level)]
            : kNone;
    if (static_cast<int>(kept.size()) >= kKeptCasesPerLevel) {
        text += " A lista nem teljes - az első " + std::to_string(kKeptCasesPerLevel) +
                " db számsort tartalmazza.\r";
    }
    auto caseText = [&input, d](const std::vector<std::uint8_t>& positions) {
        std::string numbers;
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (i > 0) {
                numbers += d < 8 ? " - " : "-";
            }
            const std::uint8_t position = positions[i];
            numbers += PadLeft(std::to_string(position < input.variationNumbers.size()
                                                  ? input.variationNumbers[position]
                                                  : 0),
                               2);
        }
        return numbers;
    };
    const std::size_t count = kept.size();
    const std::size_t rowsShown = (count + 1) / 2;
    for (std::size_t i = 1; i <= rowsShown; ++i) {
        text += PadLeft(std::to_string(i), 4) + ".  " + caseText(kept[i - 1]);
        if (rowsShown + i <= count) {
            text += PadLeft(std::to_string(rowsShown + i), 14) + ".  " +
                    caseText(kept[rowsShown + i - 1]);
        }
        text += "\r";
    }
    return text + rule + "\r Lista vége";
}

bool InsertAllowed(const VariationTestInput& input, const VariationTestResult& result, int level,
                   int rowLength, long long storedRows) {
    if (input.drawn != rowLength || result.examined != result.total || level < 0 ||
        static_cast<std::size_t>(level) >= result.kept.size()) {
        return false;
    }
    const auto kept = static_cast<long long>(result.kept[static_cast<std::size_t>(level)].size());
    return kept > 0 && storedRows + kept < 1000000;
}

std::string DuplicateRowsText(long long surplus) {
    if (surplus <= 0) {
        return {};
    }
    return std::to_string(surplus) +
           " számsor kétszer (vagy többször) szerepel a variáció listájában.\r\rLehetséges "
           "oka:\r    - Az import állománnyal beolvasott variáció tartalma.";
}

const char* const kTestDayLimitText =
    "A teszt több mint 1 napig tartana.\rA program leállította a teszt folyamatát.\r\rJavaslat\r"
    "Gyorsteszt: Statisztika - Variáció - Találati arányok\rvagy\r1. Indítsa újra a teszt "
    "folyamatát.\r2. Csökkentse addig a kihúzott számok mennyiségét, amíg a teszt várható "
    "időtartama kevesebb lesz, mint 1 nap.\r\rA teszt indítását követően, a program 30 "
    "másodpercet várakozik egy elfogadható érték beállítására.";

TestProgress EstimateTestProgress(unsigned long long examined, unsigned long long total,
                                  long long elapsedMs) {
    TestProgress progress;
    if (examined == 0 || total == 0) {
        return progress;
    }
    const double done = static_cast<double>(examined) / (static_cast<double>(total) / 100);
    progress.percent = std::clamp(static_cast<int>(std::lround(done)), 0, 100);
    progress.remainingMs = static_cast<double>(elapsedMs) / done * (100 - progress.percent);
    return progress;
}

} // namespace velmora
