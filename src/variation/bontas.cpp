#include "variation/bontas.h"

#include <algorithm>
#include <cmath>

#include "common/hu_format.h"

namespace velmora {

namespace {

const char* const kGrowText = "A variáció mérete meghaladja az engedélyezett szelvényszámot.\r\r";
const char* const kNoMemoryText = "Nincs elegendő szabad memória (RAM) a variáció befejezéséhez.";

} // namespace

Bontas::Bontas(Messages& messages, VariationStore& store) : m_messages(messages), m_store(store) {}

long long Bontas::TeljBontSzelvszam(int n, int k) {
    if (k < 2 || n < k) {
        return k == 1 && n >= 1 ? n : (k == 0 ? 1 : 0);
    }
    long double a = static_cast<long double>(n) * (n - 1);
    long double b = static_cast<long double>(k) * (k - 1);
    for (int j = 2; j <= k - 1; ++j) {
        a *= n - j;
        b *= k - j;
    }
    return static_cast<long long>(std::llround(a / b));
}

bool Bontas::BontasIndul(const GenerationInput& input) {
    m_input = input;
    m_n = static_cast<int>(input.variationNumbers.size());
    m_k = input.game.rowLength - input.fixedCount;
    if (m_k < 1 || m_n < m_k || m_n > kMaxVariationNumbers) {
        return false;
    }
    m_last = m_k - 1;
    m_h = std::clamp(input.conditions.errorPoints, 0, m_last);
    m_conditionsActive = input.conditions.AnyActive();
    m_data = SzamJelzoBeallitas(input.variationNumbers, input.game.maxNumber);
    m_filter.Prepare(input.conditions, m_data, input.game, m_k, input.draws);
    m_filter.ClearPassedConditions();
    m_total = TeljBontSzelvszam(m_n, m_k);

    m_store.Reset(m_k, m_n);
    m_rowSets.clear();
    if (!m_store.Reserve(std::min(input.allowedRows, m_total))) {
        m_messages.Error(kNoMemoryText);
        return false;
    }
    m_storedRows = 0;

    m_lower.resize(static_cast<std::size_t>(m_k));
    m_upper.resize(static_cast<std::size_t>(m_k));
    for (int i = 0; i < m_k; ++i) {
        m_lower[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        m_upper[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(m_n - m_k + i);
    }
    m_position = m_lower;
    --m_position[static_cast<std::size_t>(m_last)];
    m_walk = WalkState{};
    m_walk.positions = m_position.data();
    m_walk.cursor = m_last;
    m_walk.skipAhead = true;
    m_passCounter = m_last - m_h;
    m_morePasses = m_passCounter > 0;
    m_passLevel = 0;
    m_running = true;
    return true;
}

void Bontas::Start() {
    if (m_h == 0) {
        BontasGeneralas();
    } else {
        while (m_passCounter >= 0) {
            m_position = m_lower;
            --m_position[static_cast<std::size_t>(m_last)];
            m_walk.positions = m_position.data();
            m_walk.cursor = m_last;
            m_passLevel = (m_last - m_h) - m_passCounter;
            if (!BontasGeneralas()) {
                break;
            }
            --m_passCounter;
            m_morePasses = m_passCounter > 0;
        }
    }
    if (m_running && m_store.Count() > 0) {
        m_store.CloseBlock();
    }
}

bool Bontas::BontasGeneralas() {
    std::uint8_t* p = m_position.data();
    const std::uint8_t* upper = m_upper.data();
    const int firstDraw = m_input.conditions.hitRatio.firstDraw - 1;
    const int last = m_last;
    const bool filtered = m_conditionsActive;
    const bool covering = m_h > 0;
    // The cursor lives in a register: the byte stores into the row could alias any member, so
    // it is written back only where the filter may move it.
    int cursor = m_walk.cursor;
    while (true) {
        if (cursor < 0) {
            m_walk.cursor = cursor;
            return true;
        }
        if (!m_running.load(std::memory_order_relaxed)) {
            m_walk.cursor = cursor;
            return false;
        }
        if (p[cursor] < upper[cursor]) {
            ++p[cursor];
        } else {
            --cursor;
            continue;
        }
        if (cursor < last) {
            p[cursor + 1] = p[cursor];
            ++cursor;
            continue;
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
        if (covering && !HibapontosBontas()) {
            continue;
        }
        if (!BontasTarol()) {
            m_walk.cursor = cursor;
            return false;
        }
    }
}

BitSet128 Bontas::SetOf(const std::uint8_t* row, int width) {
    BitSet128 set;
    for (int i = 0; i < width; ++i) {
        set.Add(row[i]);
    }
    return set;
}

bool Bontas::HibapontosBontas() {
    const int allowance =
        (m_h > 0 ? m_passLevel : m_last) + (m_input.conditions.options.optimised ? 1 : 0);
    return useLiteralCovering ? LiteralCovering(allowance) : FastCovering(allowance);
}

namespace {

// The first stored row, newest first, that shares more than `allowance` positions with the
// candidate; -1 when none does. Built twice, so that processors with a popcount instruction
// use it.
__attribute__((target_clones("popcnt", "default"))) long long
FirstCovering(const BitSet128* sets, long long count, std::uint64_t low, std::uint64_t high,
              int allowance) {
    for (long long r = count - 1; r >= 0; --r) {
        if (__builtin_popcountll(sets[r].low & low) + __builtin_popcountll(sets[r].high & high) >
            allowance) {
            return r;
        }
    }
    return -1;
}

} // namespace

// The generated rows are ascending, so the merge walk meets the common positions in ascending
// order: the row that covers is the first one, newest first, with more than `allowance` common
// positions, and the walk stops on the candidate's (allowance + 1)-th common position.
bool Bontas::FastCovering(int allowance) {
    const std::uint8_t* candidate = m_position.data();
    const BitSet128 set = SetOf(candidate, m_k);
    const long long r = FirstCovering(m_rowSets.data(), static_cast<long long>(m_rowSets.size()),
                                      set.low, set.high, allowance);
    if (r < 0) {
        return true;
    }
    const BitSet128& row = m_rowSets[static_cast<std::size_t>(r)];
    int common = 0;
    for (int q = 0; q <= m_last; ++q) {
        if (row.Has(candidate[q]) && ++common > allowance) {
            SkipCovered(q);
            break;
        }
    }
    return false;
}

bool Bontas::LiteralCovering(int allowance) {
    const std::uint8_t* candidate = m_position.data();
    for (long long r = m_store.Count() - 1; r >= 0; --r) {
        const std::uint8_t* row = m_store.Row(r);
        int common = 0;
        int from = 0;
        for (int i = 0; i < m_k; ++i) {
            // Each of the row's positions is looked up after the previous match.
            for (int q = from; q <= m_last; ++q) {
                if (candidate[q] == row[i]) {
                    from = q + 1;
                    if (++common > allowance) {
                        SkipCovered(q);
                        return false;
                    }
                    break;
                }
            }
        }
    }
    return true;
}

// The covered candidate is rejected together with every candidate that shares its first j + 1
// positions; the walk is left so that its next step yields the first one after them.
void Bontas::SkipCovered(int j) {
    if (j == m_last) {
        return;
    }
    std::uint8_t* p = m_position.data();
    if (m_morePasses && !m_input.conditions.options.optimised) {
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

bool Bontas::BontasTarol() {
    m_store.Append(m_position.data());
    if (m_h > 0) {
        m_rowSets.push_back(SetOf(m_position.data(), m_k));
    }
    const long long count = m_store.Count();
    m_storedRows.store(count, std::memory_order_relaxed);
    if (count < m_store.Capacity() || count >= m_total) {
        return true;
    }
    return Grow();
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
    const long long available = m_input.availableMemory;
    const long long perRow = static_cast<long long>(m_k) * 4;
    auto fits = [available](long long bytes) { return available < 0 || bytes < available; };
    const bool doubleFits = fits(capacity * 2 * perRow);
    const bool full = !doubleFits || (m_h == 0 && !m_conditionsActive) || 2 * capacity > m_total;
    if (full) {
        if (!fits((m_total - capacity) * perRow)) {
            m_messages.Error(kNoMemoryText);
            m_running = false;
            return false;
        }
        if (!m_messages.WarningQuestion(std::string(kGrowText) +
                                        "Engedélyezi a szabad memória lefoglalását?\r\r"
                                        "Folytatja a variáció készítését?")) {
            m_running = false;
            return false;
        }
        if (!m_store.Reserve(m_total)) {
            m_messages.Error(kNoMemoryText);
            m_running = false;
            return false;
        }
        return true;
    }
    if (!fits(capacity * perRow)) {
        m_messages.Error(kNoMemoryText);
        m_running = false;
        return false;
    }
    if (!m_messages.Question(std::string(kGrowText) +
                             "Megduplázza a variáció számára fenntartott memória méretét?\r\r"
                             "Folytatja a variáció készítését?")) {
        m_running = false;
        return false;
    }
    if (!m_store.Reserve(2 * capacity)) {
        m_messages.Error(kNoMemoryText);
        m_running = false;
        return false;
    }
    return true;
}

std::vector<std::uint8_t> Bontas::MissingNumbers() const {
    std::vector<std::uint8_t> missing;
    const std::vector<std::uint32_t>& frequencies = m_store.Frequencies();
    for (std::size_t j = 0; j < frequencies.size() && j < m_input.variationNumbers.size(); ++j) {
        if (frequencies[j] == 0) {
            missing.push_back(m_input.variationNumbers[j]);
        }
    }
    return missing;
}

std::string Bontas::EmptyResultText() const {
    if (!m_running || m_store.Count() > 0) {
        return {};
    }
    struct Line {
        int bit;
        bool active;
        const char* text;
    };
    const ConditionSet& c = m_input.conditions;
    const long long deviationMin = std::llround(static_cast<double>(c.deviation.minimum) * 100);
    const long long deviationMax = std::llround(static_cast<double>(c.deviation.maximum) * 100);
    const Line lines[] = {
        {kPassedFavoured, c.favoured.active, "     »  Favorizált számok"},
        {kPassedMobile, c.mobile.active, "     »  Mobil számcsoportok"},
        {kPassedFixed, c.fixed.active, "     »  Fix számcsoportok"},
        {kPassedDecadeParity, c.decadeParity.active, "     »  Számcsoport páros/páratlan aránya"},
        {kPassedDecadeRepeat, c.decadeRepeat.active, "     »  Számcsoport ismétlődés"},
        {kPassedHitRatio, c.hitRatio.active, "     »  Találati arány"},
        {kPassedEndingParity, c.endingParity.active, "     »  Számvégződés páros/páratlan aránya"},
        {kPassedEndingRepeat, c.endingRepeat.active, "     »  Számvégződés ismétlődés"},
        {kPassedTwins, c.twins.active, "     »  Ikerszámok"},
        {kPassedMirrors, c.mirrors.active, "     »  Tükör számpár"},
        {kPassedPrimes, c.primes.active, "     »  Prímszám"},
        {kPassedSum, c.sum.active, "     »  Számsor összege"},
        {kPassedDeviation, c.deviation.active, "     »  Szórás"},
        {kPassedSpan, c.span.active, "     »  Terjedelem"},
        {kPassedNumberGroups, c.numberGroups.active, "     »  Számcsoport"},
    };
    const std::uint16_t passed = m_filter.PassedConditions();
    std::string collected;
    for (const Line& line : lines) {
        if (line.active && (passed & line.bit) == 0) {
            collected += "\r";
            collected += line.text;
            if (line.bit == kPassedDeviation && deviationMin == deviationMax) {
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
