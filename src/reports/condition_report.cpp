#include "reports/condition_report.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "common/hu_format.h"
#include "variation/variation_export.h"

namespace velmora {

namespace {

std::string Text(long long value) {
    return std::to_string(value);
}

// "pontosan 2", or "minimum 1, maximum 3".
std::string Exact(long long a, long long b) {
    return a == b ? "pontosan " + Text(a) : "minimum " + Text(a) + ", maximum " + Text(b);
}

// Numbers as "%2s" joined by " - ", `perLine` to a line after `indent`.
std::vector<std::string> NumberLines(const std::vector<std::uint8_t>& numbers,
                                     const std::string& indent, std::size_t perLine) {
    std::vector<std::string> lines;
    std::string line = indent;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        line += (i % perLine == 0 ? "" : " - ") + PadLeft(Text(numbers[i]), 2);
        if ((i + 1) % perLine == 0 && i + 1 < numbers.size()) {
            lines.push_back(line);
            line = indent;
        }
    }
    lines.push_back(line);
    return lines;
}

// "2026. 12. 06. 18:01" of a day number with its time of day.
std::string DateTimeText(double dayNumber) {
    const std::string date = ShortDateText(dayNumber);
    if (date.empty()) {
        return {};
    }
    const auto minutes =
        static_cast<long long>(std::llround((dayNumber - std::floor(dayNumber)) * 24 * 60)) %
        (24 * 60);
    // A day without its time (this program keeps the day only) shows the day alone.
    if (dayNumber == std::floor(dayNumber)) {
        return date;
    }
    return date + " " + Text(minutes / 60) + ":" + FormatWidthZero(minutes % 60, 2);
}

class Report {
public:
    Report(const ConditionReportInput& input, int linesPerPage, int pages)
        : m_in(input), m_perPage(linesPerPage), m_pages(pages) {}

    std::vector<std::string> Build() {
        Header();
        Body();
        return m_lines;
    }

private:
    void Add(std::string line) { m_lines.push_back(std::move(line)); }

    void Header() {
        const std::string running = kProgramVersion.Text();
        const std::string version = m_in.version.major < 2 ? m_in.version.Text() : running;
        const std::string pageText = Text(m_page + 1) + "/" + Text(m_pages) + " oldal";
        Add(" Velmora Personal " + version +
            PadLeft("Készült: " + DateTimeText(m_in.generationDate), 30) +
            PadLeft(pageText, 40 - static_cast<int>(running.size())));
        Add(std::string(90, '-'));
    }

    // One page break at most: the separator, a form feed and the next page's header.
    void EnsureRoom(int lines) {
        if (m_page == 0 && static_cast<int>(m_lines.size()) + lines >= m_perPage && m_pages > 1) {
            Add(std::string(90, '-') + "\f\r");
            ++m_page;
            Header();
        }
    }

    void Body() {
        const ConditionSet& c = m_in.conditions;
        const double price = m_in.price;
        const int decimals = price == std::floor(price) ? 0 : 2;
        const double cost = price * static_cast<double>(m_in.rowCount);
        const std::string currency = CurrencyName(m_in.currency);
        const long long cents = std::llround(cost * 100);
        const std::string costText =
            decimals == 0 ? FormatThousands(std::llround(cost))
                          : FormatThousands(cents / 100) + "," + FormatWidthZero(cents % 100, 2);
        Add("  Szelvény ára: " + FormatReal(price) + currency +
            "     Variáció költsége: " + costText + currency + "\r");
        Add("   " + GameName(m_in.game) + "\r" + "  Variációra kijelölt számsor:");
        for (const std::string& line : NumberLines(m_in.numbers, std::string(12, ' '), 16)) {
            Add(line);
        }
        if (!m_in.fixed.empty()) {
            std::string line = "\r  Fix szám: ";
            for (std::size_t i = 0; i < m_in.fixed.size(); ++i) {
                line += (i == 0 ? "" : " - ") + PadLeft(Text(m_in.fixed[i]), 2);
            }
            Add(line);
        }
        if (!m_in.engineNote.empty()) {
            Add("\r" + m_in.engineNote + "\r\r");
        }
        if (m_in.interrupted) {
            Add("\r Megszakított, nem befejezett variáció - a variáció nem értékelhető.");
        }
        if (m_in.carriedRows > 0 && m_in.carriedRows < m_in.rowCount) {
            std::string line =
                std::string(m_in.partialList ? "\r A lista első " : "\r A variáció ") +
                FormatThousands(m_in.carriedRows) +
                " számsora egy korábbi, vagy egy módosított variáció eredménye.";
            if (c.AnyActive() && m_in.carriedRows > 1) {
                line += "\r Ezekre a számsorokra, lehet nem érvényesek az alább felsorolt "
                        "feltételek.";
            }
            Add(line);
        }
        if (!c.AnyActive()) {
            Add("\r  Nincs kijelölt feltétel.");
        } else {
            Conditions();
        }
        Missing();
    }

    void Paragraph(const std::string& text) {
        EnsureRoom(4);
        Add(text);
    }

    static std::string Parity(const ParityCondition& p, const char* title, const char* what) {
        std::string text = title;
        text += p.fixedRatio
                    ? "          - fixen meghatározott arányban, " +
                          (p.minimum == p.maximum
                               ? Text(p.minimum)
                               : "minimum " + Text(p.minimum) + ", maximum " + Text(p.maximum))
                    : std::string("          - változó arányban, több");
        text += std::string(p.even ? " páros " : " páratlan ") + what;
        if (p.minimum != p.maximum) {
            text += "\r" + std::string(11, ' ');
        }
        return text + " lehet egy szelvényen.";
    }

    static std::string Repeat(const RepeatCondition& r, const char* title, const char* none,
                              const char* one, const char* many) {
        return std::string(title) + "        " +
               (r.maximum <= 0
                    ? std::string(none)
                    : std::string(r.oneGroup ? one : many) + " ismétlődhet egy szelvényen, " +
                          Exact(r.minimum, r.maximum) + " esetben.");
    }

    static std::string Count(const CountCondition& n, const char* title, const char* none,
                             const char* thing) {
        return std::string(title) +
               (n.maximum <= 0 ? std::string(none)
                               : "        Egy szelvényen" +
                                     (n.maximum <= n.minimum ? ", pontosan " + Text(n.minimum)
                                                             : " minimum " + Text(n.minimum) +
                                                                   ", maximum " + Text(n.maximum)) +
                                     thing);
    }

    void Conditions() {
        const ConditionSet& c = m_in.conditions;
        if (c.favoured.active) {
            const FavCondition& f = c.favoured;
            Paragraph("\r  Favorizált számok feltétel.\r        A favorizált számcsoport " +
                      Text(f.last - f.first + 1) + " száma a(z) " + Text(f.first) + "." +
                      " számtól a(z) " + Text(f.last) + ". számig terjed:" + "\r" +
                      "          - a számcsoportból, szelvényenként " +
                      Exact(f.minHits, f.maxHits) + " találat lehet.");
        }
        if (c.mobile.active) {
            Paragraph("\r  Mobil számcsoportok feltétel.\r        A mobil számcsoportok számainak "
                      "mennyisége " +
                      Text(c.mobile.groupSize) + ":" + "\r" +
                      "          - egy számcsoportból, szelvényenként legfeljebb " +
                      Text(c.mobile.maxPerGroup) + " találat lehet.");
        }
        if (c.fixed.active) {
            Paragraph("\r  Fix számcsoportok feltétel.\r        A fix számcsoportok számainak "
                      "mennyisége " +
                      Text(c.fixed.groupSize) + ":" + "\r" +
                      "          - egy számcsoportból, szelvényenként legfeljebb " +
                      Text(c.fixed.maxPerGroup) + " találat lehet.");
        }
        if (c.numberGroups.active) {
            const NumberGroupsCondition& g = c.numberGroups;
            EnsureRoom(4);
            Add("\r  Számcsoportok feltétel.");
            Add("       " + FormatWidth(g.count, 2) + " számcsoport alkalmazása:");
            for (int i = 0; i < g.count && i < kMaxNumberGroups; ++i) {
                const NumberGroupSlot& s = g.groups[static_cast<std::size_t>(i)];
                Add("      " + FormatWidth(i + 1, 3) + ". számcsoport: " + Text(s.first) + " - " +
                    Text(s.last) + ". számig terjed. Minimum " + Text(s.minHits) + ", maximum " +
                    Text(s.maxHits) + " találat elérése. ");
            }
        }
        if (c.decadeParity.active) {
            Paragraph(Parity(c.decadeParity,
                             "\r  Számcsoport páros/páratlan aránya feltétel.\r        A "
                             "páros-páratlan számcsoportok eloszlásának aránya szerint:\r",
                             "számcsoport"));
        }
        if (c.decadeRepeat.active) {
            Paragraph(Repeat(c.decadeRepeat, "\r  Számcsoport ismétlődés feltétel.\r",
                             "Nem ismétlődhet számcsoport a szelvényeken.", "Egy számcsoport",
                             "Több számcsoport"));
        }
        if (c.hitRatio.active) {
            Paragraph(HitRatio(c.hitRatio));
        }
        if (c.endingParity.active) {
            Paragraph(Parity(c.endingParity,
                             "\r  Számvégződés páros/páratlan arány feltétel.\r        A "
                             "páros-páratlan számvégződések eloszlásának aránya szerint:\r",
                             "számvégződés"));
        }
        if (c.endingRepeat.active) {
            Paragraph(Repeat(c.endingRepeat, "\r  Számvégződés ismétlődés feltétel.\r",
                             "Nem ismétlődhet számvégződés a szelvényeken.", "Egy számvégződés",
                             "Több számvégződés"));
        }
        if (c.twins.active) {
            Paragraph(Count(c.twins, "\r  Ikerszám feltétel.\r",
                            "        Nem szerepelhet ikerszám a szelvényeken.",
                            " darab ikerszám szerepelhet."));
        }
        if (c.mirrors.active) {
            Paragraph(Count(c.mirrors, "\r  Tükör számpár feltétel.\r",
                            "        Nem szerepelhet tükör számpár a szelvényeken.",
                            " darab tükör számpár szerepelhet."));
        }
        if (c.primes.active) {
            Paragraph(Count(c.primes, "\r  Prímszám feltétel.\r",
                            "        Nem szerepelhetnek prímszám a szelvényeken.",
                            " darab prímszám szerepelhet."));
        }
        if (c.sum.active) {
            Paragraph("\r  Számsor összege feltétel.\r        Egy szelvény számsorainak összege" +
                      (c.sum.fixedSum ? ", pontosan " + Text(c.sum.minimum)
                                      : " minimum " + Text(c.sum.minimum) + ", maximum " +
                                            Text(c.sum.maximum)) +
                      " lehet.");
        }
        if (c.deviation.active) {
            Paragraph("\r  Szórás feltétel.\r        Szelvényenként " +
                      FormatDecimal(c.deviation.minimum, 2) + " - " +
                      FormatDecimal(c.deviation.maximum, 2) + "-ig terjedhet a szórás értéke.");
        }
        if (c.span.active) {
            Paragraph("\r  Terjedelem feltétel.\r        A(z) " + Text(c.span.first) +
                      ". számtól a(z) " + Text(c.span.last) + ". számig terjedő számsor (" +
                      Text(c.span.last - c.span.first + 1) + " szám) variációja.");
        }
    }

    std::string HitRatio(const HitRatioCondition& h) const {
        // The whole database: every draw's numbers counted.
        const bool all = h.firstDraw <= 1 && h.lastDraw >= m_in.drawCount;
        std::string text =
            "\r  Találati arány feltétel.\r        " +
            std::string(h.searched ? "Keresett" : "Kizárt") +
            " találati arány alkalmazása:" + "\r" + "          - " +
            (all ? std::string("minden sorsolás nyerőszámait figyelembe véve.")
                 : "a(z) " + Text(h.firstDraw) + " - " + Text(h.lastDraw) +
                       ". sorsolások nyerőszámaival összehasonlítva a "
                       "számsorokat,") +
            "\r" + std::string(12, ' ') +
            (h.minHits == h.maxHits ? "pontosan " + Text(h.minHits) + " találat esetén "
                                    : "a minimum " + Text(h.minHits) + ", maximum " +
                                          Text(h.maxHits) + " találatos számsorokat ") +
            (h.searched ? "kiválogatva" : "kizárva");
        if (h.fromDraws) {
            text += "\r          - a variáció, a húzások listájából lett összeállítva";
        }
        return text;
    }

    void Missing() {
        const HitRatioCondition& h = m_in.conditions.hitRatio;
        // Without rows (a number-row file) nothing is missing from them.
        if ((h.active && h.fromDraws) || m_in.rowCount == 0) {
            return;
        }
        std::vector<std::uint8_t> missing;
        for (std::size_t p = 0; p < m_in.numbers.size(); ++p) {
            if (p >= m_in.frequencies.size() || m_in.frequencies[p] == 0) {
                missing.push_back(m_in.numbers[p]);
            }
        }
        if (missing.empty()) {
            return;
        }
        EnsureRoom(static_cast<int>((missing.size() + 15) / 16) + 2);
        Add("\r  A kijelölt feltételek miatt, az alábbi " +
            Text(static_cast<long long>(missing.size())) +
            " szám hiányzik a variáció listájából:" + "\r");
        for (const std::string& line : NumberLines(missing, std::string(11, ' '), 16)) {
            Add(line);
        }
    }

    const ConditionReportInput& m_in;
    int m_perPage;
    int m_pages;
    int m_page = 0;
    std::vector<std::string> m_lines;
};

} // namespace

const char* CurrencyName(int currency) {
    const char* const names[] = {" forint", " euro", " kuna", " lei", " dinar", " hrivnya"};
    return currency >= 0 && currency < 6 ? names[currency] : names[0];
}

std::vector<std::string> ConditionReport(const ConditionReportInput& input, int linesPerPage) {
    std::vector<std::string> lines = Report(input, linesPerPage, 1).Build();
    if (static_cast<int>(lines.size()) > linesPerPage) {
        lines = Report(input, linesPerPage, 2).Build();
    }
    return lines;
}

} // namespace velmora
