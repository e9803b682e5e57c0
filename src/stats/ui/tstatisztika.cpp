#include "stats/ui/tstatisztika.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "session/session.h"
#include "stats/ui/stat_diagram.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

struct KindItem {
    StatKind kind;
    const char* caption;
};

// The menus of the window, in their order.
const KindItem kTicketItems[] = {{StatKind::TimesDrawn, "Hányszor húzták"},
                                 {StatKind::DrawsSince, "Hány húzás óta..."}};
const KindItem kDatabaseItems[] = {
    {StatKind::DrawsHitRatios, "Találati arányok"},
    {StatKind::DrawsEvenOdd, "Páros-páratlan"},
    {StatKind::DrawsRepetition, "Ismétlődés"},
    {StatKind::DrawsEvents, "Események"},
    {StatKind::DrawsSum, "Számsorok összege"},
    {StatKind::DrawsDeviation, "Számsorok szórása"},
    {StatKind::DrawsSpread, "Számsorok terjedelme"},
};
const KindItem kVariationItems[] = {
    {StatKind::VariationFrequency, "Gyakorisági eloszlás"},
    {StatKind::VariationEvenOdd, "Páros-páratlan"},
    {StatKind::VariationRepetition, "Ismétlődés"},
    {StatKind::VariationHitRatios, "Találati arányok"},
    {StatKind::VariationEvents, "Események"},
    {StatKind::VariationSum, "Számsorok összege"},
    {StatKind::VariationDeviation, "Számsorok szórása"},
    {StatKind::VariationSpread, "Számsorok terjedelme"},
};

const char* CaptionOf(StatKind kind) {
    for (const KindItem& item : kTicketItems) {
        if (item.kind == kind) {
            return item.caption;
        }
    }
    for (const KindItem& item : kDatabaseItems) {
        if (item.kind == kind) {
            return item.caption;
        }
    }
    for (const KindItem& item : kVariationItems) {
        if (item.kind == kind) {
            return item.caption;
        }
    }
    return "";
}

// The properties of the histogram kinds' rows.
std::vector<const char*> RowNames(StatKind kind) {
    switch (kind) {
    case StatKind::DrawsEvenOdd:
    case StatKind::VariationEvenOdd:
        return {"Páros tizedbe eső számok", "Páros számok"};
    case StatKind::DrawsRepetition:
    case StatKind::VariationRepetition:
        return {"Azonos tized, egy csoport", "Azonos tized, több csoport",
                "Azonos végződés, egy csoport", "Azonos végződés, több csoport"};
    case StatKind::DrawsEvents:
    case StatKind::VariationEvents:
        return {"Ikerszámok", "Tükörszámpárok", "Prímszámok"};
    default:
        return {};
    }
}

bool IsHitRatioKind(StatKind kind) {
    return kind == StatKind::DrawsHitRatios || kind == StatKind::VariationHitRatios;
}

QString Percent(long long part, long long whole) {
    return whole > 0 ? QString::number(
                           100.0 * static_cast<double>(part) / static_cast<double>(whole), 'f', 2)
                     : QStringLiteral("0.00");
}

} // namespace

TStatisztika::TStatisztika(Session& session, std::function<bool(RangeMode)> chooseRange,
                           QWidget* parent)
    : QDialog(parent, Qt::Window), m_session(session), m_chooseRange(std::move(chooseRange)),
      m_runner(session.GetMessages()) {
    setObjectName(QStringLiteral("TStatisztika"));
    setWindowTitle(Q("  Statisztika"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("header"));
    layout->addWidget(m_header);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("progress"));
    layout->addWidget(m_progressLabel);

    auto* controls = new QHBoxLayout;
    const struct {
        const char* text;
        const char* name;
        int order;
    } orders[] = {{"Eredeti", "EredetiGomb", 0},
                  {"Növekvő", "NovekvoGomb", 1},
                  {"Csökkenő", "CsokkenoGomb", 2}};
    for (const auto& o : orders) {
        auto* button = new QPushButton(Q(o.text), this);
        button->setObjectName(QString::fromLatin1(o.name));
        connect(button, &QPushButton::clicked, this, [this, order = o.order] {
            m_order = order;
            ShowDiagram();
        });
        controls->addWidget(button);
    }
    const char* const boxes[] = {" Zoom", " Inverz", " Mind", " Mikro", " Elméleti", " Tényleges"};
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        m_options[i] = new QCheckBox(Q(boxes[i]), this);
        m_options[i]->setObjectName(QStringLiteral("option%1").arg(i + 1));
        m_options[i]->setChecked(i >= 4);
        connect(m_options[i], &QCheckBox::toggled, this, &TStatisztika::ShowDiagram);
        controls->addWidget(m_options[i]);
    }
    controls->addStretch();
    layout->addLayout(controls);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setAccessibleName(Q("Statisztika táblázata"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setMaximumHeight(170);
    connect(m_table, &QTableWidget::currentCellChanged, this, &TStatisztika::ShowDiagram);
    layout->addWidget(m_table);
    m_table->hide();
    m_diagram = new StatDiagram(this);
    m_diagram->SetSaveFolder(QString::fromStdString(session.Folders().list));
    layout->addWidget(m_diagram, 1);
    BuildMenus();
    connect(&m_runner, &JobRunner::tick, this, &TStatisztika::UpdateProgress);
    resize(860, 560);
}

TStatisztika::~TStatisztika() {
    if (m_progress) {
        m_progress->running = false;
    }
    m_runner.Abandon();
}

void TStatisztika::BuildMenus() {
    auto* bar = qobject_cast<QMenuBar*>(layout()->menuBar());
    const auto add = [this](QMenu* menu, const KindItem& item) {
        QAction* action = menu->addAction(Q(item.caption));
        action->setObjectName(QStringLiteral("stat%1").arg(static_cast<int>(item.kind)));
        action->setData(static_cast<int>(item.kind));
        connect(action, &QAction::triggered, this,
                [this, kind = item.kind] { StatisztikaKeszites(kind); });
        m_actions[item.kind] = action;
    };
    const auto range = [this](QMenu* menu, RangeMode mode, StatSource source, int tag) {
        QAction* action = menu->addAction(Q("Húzások száma..."));
        action->setObjectName(QStringLiteral("stat%1").arg(tag));
        connect(action, &QAction::triggered, this, [this, mode, source] {
            if (m_chooseRange && m_chooseRange(mode)) {
                Forget(source);
            }
        });
    };
    const auto reset = [this](QMenu* menu, StatSource source, int tag) {
        QAction* action = menu->addAction(Q("Tárolt lekérdezések törlése"));
        action->setObjectName(QStringLiteral("stat%1").arg(tag));
        connect(action, &QAction::triggered, this, [this, source] { ResetCache(source); });
    };
    QMenu* ticket = bar->addMenu(Q("     Főszelvény     "));
    for (const KindItem& item : kTicketItems) {
        add(ticket, item);
    }
    ticket->addSeparator();
    range(ticket, RangeMode::TicketStatistics, StatSource::MainTicket, 51);
    reset(ticket, StatSource::MainTicket, 102);
    QMenu* database = bar->addMenu(Q("     Adatbázis     "));
    for (const KindItem& item : kDatabaseItems) {
        add(database, item);
    }
    database->addSeparator();
    range(database, RangeMode::Database, StatSource::Database, 52);
    reset(database, StatSource::Database, 100);
    QMenu* variation = bar->addMenu(Q("     Variáció     "));
    for (const KindItem& item : kVariationItems) {
        add(variation, item);
    }
    variation->addSeparator();
    reset(variation, StatSource::Variation, 101);
    connect(variation, &QMenu::aboutToShow, this, [this] {
        for (const KindItem& item : kVariationItems) {
            m_actions[item.kind]->setEnabled(m_session.Variation().Exists() && !Running());
        }
    });
    QAction* exit = bar->addAction(Q("     Kilépés     "));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &QDialog::close);
}

QAction* TStatisztika::KindAction(StatKind kind) const {
    const auto it = m_actions.find(kind);
    return it == m_actions.end() ? nullptr : it->second;
}

std::array<long long, 4> TStatisztika::Stamp(StatSource source) const {
    const DrawRanges& ranges = m_session.Ranges();
    const long long draws = m_session.Draws().Count();
    switch (source) {
    case StatSource::Database:
        return {draws, ranges.GetLHuzSzamaElso(), ranges.GetLHuzSzamaUtolso(),
                m_session.Game().gameId};
    case StatSource::MainTicket:
        return {draws, ranges.GetHuzSzamaElso(), ranges.GetHuzSzamaUtolso(),
                m_session.Game().gameId};
    case StatSource::Variation: {
        const VariationStore& store = m_session.Variation().Store();
        return {static_cast<long long>(store.Revision()), store.Count(),
                static_cast<long long>(m_session.Ticket().Selected().size()),
                static_cast<long long>(m_session.Ticket().Fixed().size())};
    }
    }
    return {};
}

void TStatisztika::ForgetStale() {
    std::vector<StatSource> stale;
    for (const auto& [source, stamp] : m_stamps) {
        if (stamp != Stamp(source)) {
            stale.push_back(source);
        }
    }
    // Through Forget: a result on show goes from the window as well.
    for (StatSource source : stale) {
        Forget(source);
    }
}

void TStatisztika::Forget(StatSource source) {
    m_cache.Reset(source);
    m_stamps.erase(source);
    if (m_shown != nullptr && SourceOf(m_shown->kind) == source) {
        m_shown = nullptr;
        m_diagram->SetData({}, {}, {}, MeanAxis::Label, std::nullopt, std::nullopt);
        m_table->hide();
        m_header->clear();
        setWindowTitle(Q("  Statisztika"));
    }
}

void TStatisztika::ResetCache(StatSource source) {
    Forget(source);
    m_session.GetMessages().Information(ResetText(source));
}

bool TStatisztika::Prepare(StatKind kind, StatSamples& samples) {
    const GameInfo& game = m_session.Game();
    Messages& messages = m_session.GetMessages();
    if (IsVariationKind(kind)) {
        const VariationDocument& variation = m_session.Variation();
        if (!variation.Exists()) {
            return false;
        }
        const long long rows = variation.Store().Count();
        const int fixed = static_cast<int>(m_session.Ticket().Fixed().size());
        if (kind == StatKind::VariationHitRatios &&
            HitRatioWork(game.rowLength - fixed, rows) > kMaxHitRatioWork) {
            messages.Warning(kHitRatioRefusedText);
            return false;
        }
        samples = VariationSamples(game, variation.Store(), variation.RowSource());
        m_first = 1;
        m_last = rows;
        m_sampleLength = samples.k;
        return true;
    }
    if (!m_session.Draws().HasDatabase()) {
        messages.Warning(" Hiányzik a húzások listája. ");
        return false;
    }
    const DrawRanges& ranges = m_session.Ranges();
    const bool ticket = kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince;
    m_first = ticket ? ranges.GetHuzSzamaElso() : ranges.GetLHuzSzamaElso();
    m_last = ticket ? ranges.GetHuzSzamaUtolso() : ranges.GetLHuzSzamaUtolso();
    const std::vector<DrawRecord>& draws = m_session.Draws().Draws();
    const int a = static_cast<int>(m_first);
    const int b = static_cast<int>(m_last);
    if (kind == StatKind::DrawsHitRatios &&
        HitRatioWork(game.drawnCount, CountRange(game, draws, a, b).samples) > kMaxHitRatioWork) {
        messages.Warning(kHitRatioRefusedText);
        return false;
    }
    m_sampleLength = game.drawnCount;
    if (!ticket) {
        samples = DrawSamples(game, draws, a, b);
    }
    return true;
}

void TStatisztika::StatisztikaKeszites(StatKind kind) {
    if (Running()) {
        return;
    }
    ForgetStale();
    if (const StatResult* stored = m_cache.Find(kind)) {
        m_kind = kind;
        Show(*stored);
        return;
    }
    auto samples = std::make_shared<StatSamples>();
    if (!Prepare(kind, *samples)) {
        return;
    }
    m_kind = kind;
    m_shown = nullptr;
    setWindowTitle(Q("  Statisztika - Lekérdezés..."));
    const long long count =
        IsVariationKind(kind) || kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince
            ? m_last - m_first + 1
            : samples->Count();
    m_progressStep = count / 100;
    m_progressLabel->setText(Q(" Statisztika - adatok kigyűjtése:  0%"));
    m_progressLabel->show();
    if (QAction* action = KindAction(kind)) {
        action->setIcon(QIcon());
    }
    SetOthersEnabled(false);
    m_progress = std::make_shared<StatProgress>();
    auto result = std::make_shared<StatResult>();
    auto complete = std::make_shared<bool>(false);
    const GameInfo game = m_session.Game();
    const std::vector<DrawRecord>& draws = m_session.Draws().Draws();
    const long long first = m_first;
    const long long last = m_last;
    const int k = m_sampleLength;
    m_runner.Start(
        [=, progress = m_progress, &draws] {
            if (kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince) {
                *result = NumberStatistic(kind, game, draws, static_cast<int>(first),
                                          static_cast<int>(last));
                *complete = progress->running.load();
            } else {
                *complete =
                    SampleStatistic(kind, *samples, game.maxNumber, *result, progress.get());
            }
            result->first = first;
            result->last = last;
            result->sampleLength = k;
        },
        [this, kind, result, complete](std::exception_ptr) { Finished(kind, result, *complete); });
}

void TStatisztika::Finished(StatKind kind, const std::shared_ptr<StatResult>& result,
                            bool complete) {
    SetOthersEnabled(true);
    m_progressLabel->hide();
    if (!complete) {
        // A stopped statistic keeps nothing; its command says it was stopped.
        if (QAction* action = KindAction(kind)) {
            action->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
        }
        setWindowTitle(Q("  Statisztika"));
        return;
    }
    const StatSource source = SourceOf(kind);
    const StatResult* stored = m_cache.Get(kind, [&result](StatResult& slot) {
        slot = std::move(*result);
        return true;
    });
    m_stamps[source] = Stamp(source);
    if (stored != nullptr) {
        Show(*stored);
    }
}

QString TStatisztika::Title(StatKind kind, const StatResult& result) const {
    if (kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince) {
        return Q("  Statisztika - Főszelvény: ") + Q(CaptionOf(kind));
    }
    if (kind == StatKind::VariationFrequency) {
        const std::size_t fixed = m_session.Ticket().Fixed().size();
        return Q("  Statisztika - Variáció listájába került ") +
               QString::number(result.bars.size()) + Q(" szám gyakorisága") +
               (fixed == 1  ? Q(" - a fix szám kivételével")
                : fixed > 1 ? Q(" - a fix számok kivételével")
                            : QString());
    }
    return Q("  Statisztika - ") + (IsVariationKind(kind) ? Q("Variáció: ") : Q("Adatbázis: ")) +
           Q(CaptionOf(kind));
}

QString TStatisztika::Header() const {
    return m_header->text();
}

QString TStatisztika::Progress() const {
    return m_progressLabel->isVisible() ? m_progressLabel->text() : QString();
}

void TStatisztika::Show(const StatResult& result) {
    m_shown = &result;
    setWindowTitle(Title(result.kind, result));
    const GameInfo& game = m_session.Game();
    QString header;
    if (IsVariationKind(result.kind)) {
        const std::size_t fixed = m_session.Ticket().Fixed().size();
        header = Q("Tartomány: Variáció ") + QString::number(result.last) + Q(" számsora, ") +
                 QString::number(result.sampleLength) + Q(" szám") +
                 (fixed == 1  ? Q(" - a fix szám kivételével")
                  : fixed > 1 ? Q(" - a fix számok kivételével")
                              : QString());
    } else {
        const bool perNumber =
            result.kind == StatKind::TimesDrawn || result.kind == StatKind::DrawsSince;
        header = Q("Tartomány: ") + QString::number(result.first) + Q(" - ") +
                 QString::number(result.last) + Q(". húzások alapján ") +
                 QString::number(result.sampleLength) + Q(" kihúzott szám") +
                 (game.extraCount == 0 ? QString()
                  : perNumber          ? Q(" + plusz szám")
                                       : Q(" - a plusz számok kivételével"));
    }
    m_header->setText(header);
    ShowTable(result);
    ShowDiagram();
}

void TStatisztika::ShowTable(const StatResult& result) {
    const QSignalBlocker block(m_table);
    m_table->clear();
    const std::vector<const char*> names = RowNames(result.kind);
    if (IsHitRatioKind(result.kind)) {
        m_table->setRowCount(static_cast<int>(result.table.size()));
        m_table->setColumnCount(4);
        m_table->setHorizontalHeaderLabels(
            {Q("Találtak"), Q("Legjobb találat"), Q("Találtak %"), Q("Legjobb %")});
        for (std::size_t h = 0; h < result.table.size(); ++h) {
            const auto row = static_cast<int>(h);
            m_table->setVerticalHeaderItem(
                row, new QTableWidgetItem(QString::number(h + 1) + Q(" találat")));
            const auto& entries = result.table[h];
            const QString cells[] = {QString::number(entries[0]), QString::number(entries[1]),
                                     Percent(entries[0], result.samples),
                                     Percent(entries[1], result.samples)};
            for (int c = 0; c < 4; ++c) {
                m_table->setItem(row, c, new QTableWidgetItem(cells[c]));
            }
        }
    } else if (!names.empty()) {
        const int k = result.sampleLength;
        m_table->setRowCount(static_cast<int>(names.size()));
        m_table->setColumnCount(k + 1);
        QStringList columns;
        for (int c = 0; c <= k; ++c) {
            columns << QString::number(c);
        }
        m_table->setHorizontalHeaderLabels(columns);
        for (std::size_t r = 0; r < names.size() && r < result.table.size(); ++r) {
            m_table->setVerticalHeaderItem(static_cast<int>(r), new QTableWidgetItem(Q(names[r])));
            for (int c = 0; c <= k; ++c) {
                m_table->setItem(static_cast<int>(r), c,
                                 new QTableWidgetItem(QString::number(
                                     result.table[r][static_cast<std::size_t>(c) + 1])));
            }
        }
    } else {
        m_table->hide();
        return;
    }
    m_table->resizeColumnsToContents();
    m_table->setCurrentCell(0, 0);
    m_table->show();
}

void TStatisztika::ShowDiagram() {
    DiagramOptions options;
    options.zoom = m_options[0]->isChecked();
    options.inverse = m_options[1]->isChecked();
    options.all = m_options[2]->isChecked();
    options.micro = m_options[3]->isChecked();
    options.theory = m_options[4]->isChecked();
    options.actual = m_options[5]->isChecked();
    m_diagram->SetOptions(options);
    if (m_shown == nullptr) {
        return;
    }
    const StatResult& r = *m_shown;
    std::vector<DiagramBar> bars;
    QString labelName;
    QString valueName;
    MeanAxis axis = MeanAxis::Label;
    std::optional<double> theory;
    std::optional<double> actual;
    const int maxNumber = m_session.Game().maxNumber;
    switch (r.kind) {
    case StatKind::TimesDrawn:
    case StatKind::DrawsSince:
        for (std::size_t n = 0; n < r.values.size(); ++n) {
            bars.push_back({static_cast<int>(n) + 1, static_cast<double>(r.values[n])});
        }
        labelName = Q("Szám");
        valueName = Q(r.kind == StatKind::TimesDrawn ? "Hányszor húzták" : "Hány húzás óta");
        axis = MeanAxis::Value;
        theory = static_cast<double>(r.totals[0]) / std::max(maxNumber, 1);
        break;
    case StatKind::DrawsHitRatios:
    case StatKind::VariationHitRatios:
        for (std::size_t h = 0; h < r.table.size(); ++h) {
            bars.push_back({static_cast<int>(h) + 1, static_cast<double>(r.table[h][1])});
        }
        labelName = Q("Legjobb találat");
        valueName = Q("Számsorok");
        break;
    default:
        if (!r.table.empty()) {
            const int row =
                std::clamp(m_table->currentRow(), 0, static_cast<int>(r.table.size()) - 1);
            const auto& entries = r.table[static_cast<std::size_t>(row)];
            for (std::size_t c = 1; c < entries.size(); ++c) {
                bars.push_back({static_cast<int>(c) - 1, static_cast<double>(entries[c])});
            }
            labelName = Q("Előfordulás egy számsorban");
            valueName = Q("Számsorok");
            const bool totalled =
                r.kind == StatKind::DrawsEvenOdd || r.kind == StatKind::VariationEvenOdd ||
                r.kind == StatKind::DrawsEvents || r.kind == StatKind::VariationEvents;
            if (totalled && row < 3 && r.samples > 0) {
                actual = static_cast<double>(r.totals[static_cast<std::size_t>(row)]) /
                         static_cast<double>(r.samples);
                theory = ExpectedCount(r.kind, row);
            }
            break;
        }
        for (const auto& bar : r.bars) {
            bars.push_back({bar[0], static_cast<double>(bar[1])});
        }
        valueName = Q("Számsorok");
        if (r.kind == StatKind::VariationFrequency) {
            labelName = Q("Szám");
            valueName = Q("Előfordulás");
            axis = MeanAxis::Value;
            double total = 0;
            for (const DiagramBar& bar : bars) {
                total += bar.value;
            }
            theory = bars.empty() ? 0 : total / static_cast<double>(bars.size());
        } else {
            const bool sum = r.kind == StatKind::DrawsSum || r.kind == StatKind::VariationSum;
            const bool deviation =
                r.kind == StatKind::DrawsDeviation || r.kind == StatKind::VariationDeviation;
            labelName = Q(sum ? "Összeg" : deviation ? "Szórás" : "Terjedelem");
            theory = r.theoryMean;
            actual = r.actualMean;
        }
        break;
    }
    // " Zoom" shows only the bars from the first to the last one that has samples.
    if (options.zoom && axis == MeanAxis::Label) {
        const auto filled = [](const DiagramBar& bar) { return bar.value != 0; };
        const auto first = std::find_if(bars.begin(), bars.end(), filled);
        const auto last = std::find_if(bars.rbegin(), bars.rend(), filled).base();
        if (first < last) {
            bars = std::vector<DiagramBar>(first, last);
        }
    }
    if (m_order != 0) {
        std::stable_sort(bars.begin(), bars.end(),
                         [this](const DiagramBar& a, const DiagramBar& b) {
                             return m_order == 1 ? a.value < b.value : a.value > b.value;
                         });
        if (axis == MeanAxis::Label) {
            theory.reset(); // a place among sorted bars means nothing
            actual.reset();
        }
    }
    m_diagram->SetData(std::move(bars), labelName, valueName, axis, theory, actual);
}

std::optional<double> TStatisztika::ExpectedCount(StatKind kind, int row) const {
    // The share of the numbers that have the property: of 1..N for the draws, of the numbers
    // marked for the variation for its rows.
    const int maxNumber = m_session.Game().maxNumber;
    const NumberFlags flags = MakeNumberFlags(maxNumber);
    const bool evenOdd = kind == StatKind::DrawsEvenOdd || kind == StatKind::VariationEvenOdd;
    if (!evenOdd && row == 1) {
        return std::nullopt; // mirror pairs have no simple share
    }
    const std::vector<std::uint8_t>* property = evenOdd
                                                    ? (row == 0 ? &flags.evenDecade : &flags.even)
                                                    : (row == 0 ? &flags.twin : &flags.prime);
    std::vector<int> numbers;
    if (IsVariationKind(kind)) {
        numbers.assign(m_session.Ticket().Selected().begin(), m_session.Ticket().Selected().end());
    } else {
        for (int n = 1; n <= maxNumber; ++n) {
            numbers.push_back(n);
        }
    }
    if (numbers.empty() || m_shown == nullptr) {
        return std::nullopt;
    }
    long long having = 0;
    for (int n : numbers) {
        having += (*property)[static_cast<std::size_t>(n)];
    }
    return static_cast<double>(m_shown->sampleLength) * static_cast<double>(having) /
           static_cast<double>(numbers.size());
}

void TStatisztika::UpdateProgress() {
    if (!m_progress || m_progressStep <= 0) {
        return;
    }
    const long long p = std::min<long long>(100, m_progress->processed / m_progressStep);
    m_progressLabel->setText(Q(" Statisztika - adatok kigyűjtése:  ") + QString::number(p) +
                             Q("%"));
    // The title is what the task bar shows of the window.
    setWindowTitle(QString::number(p) + Q("% - Statisztikai adatok kigyűjtése"));
}

void TStatisztika::SetOthersEnabled(bool enabled) {
    if (!enabled) {
        m_disabled.clear();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible() && window->isEnabled()) {
                window->setEnabled(false);
                m_disabled.push_back(window);
            }
        }
    } else {
        for (QWidget* window : m_disabled) {
            window->setEnabled(true);
        }
        m_disabled.clear();
    }
    layout()->menuBar()->setEnabled(enabled);
}

void TStatisztika::closeEvent(QCloseEvent* event) {
    // Closing stops a running statistic; it keeps nothing.
    if (Running() && m_progress) {
        m_progress->running = false;
    }
    QDialog::closeEvent(event);
}

} // namespace velmora
