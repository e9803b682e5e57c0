#include "variation/ui/tbontteszt.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/hu_format.h"
#include "session/minimise_variation.h"
#include "session/variation_document.h"
#include "variation/ui/run_window.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

constexpr qint64 kHourMs = 3600LL * 1000;
// The widest report line (with the condition columns), in characters.
constexpr int kReportColumns = 96;

const char* const kHourQuestionText =
    "A teszt várható időtartama több mint 1 óra.\r\rJavaslat\rGyorsteszt: Statisztika - Variáció "
    "- Találati arányok\r\rMegszakítja a teszt folyamatát?";

void Mix(std::uint64_t& hash, std::uint8_t byte) {
    hash = (hash ^ byte) * 0x100000001B3ULL;
}

} // namespace

TBontTeszt::TBontTeszt(VariationDocument& variation, const MainTicket& ticket,
                       const Settings& settings, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_variation(variation), m_ticket(ticket), m_settings(settings), m_messages(messages),
      m_runner(messages) {
    setObjectName(QStringLiteral("TBontTeszt"));
    setWindowTitle(QStringLiteral("  Variáció tesztje"));
    BuildWindow();
    connect(&m_runner, &JobRunner::tick, this, &TBontTeszt::Timer2Timer);
}

TBontTeszt::~TBontTeszt() {
    if (m_runner.Running()) {
        m_test->Stop(); // holds even when the test has not begun yet
        m_runner.Abandon();
    }
    ShowJobTitle(this, false, true, 0, "");
}

void TBontTeszt::BuildWindow() {
    m_drawn = new QSpinBox(this);
    m_drawn->setObjectName(QStringLiteral("drawnSpin"));
    auto* drawnLabel = new QLabel(QStringLiteral("kihúzott szám"), this);
    drawnLabel->setBuddy(m_drawn);
    m_conditionsMode = new QCheckBox(QStringLiteral(" Feltételek vizsgálata"), this);
    m_conditionsMode->setObjectName(QStringLiteral("conditionsModeBox"));
    m_conditionsMode->setChecked(true);
    m_level = new QSpinBox(this);
    m_level->setObjectName(QStringLiteral("levelSpin"));
    m_level->setRange(0, 10);
    auto* levelLabel = new QLabel(QStringLiteral("találatos számsorok"), this);
    levelLabel->setBuddy(m_level);
    connect(m_drawn, &QSpinBox::valueChanged, this, &TBontTeszt::SettingsChanged);
    connect(m_conditionsMode, &QCheckBox::toggled, this, &TBontTeszt::SettingsChanged);
    connect(m_level, &QSpinBox::valueChanged, this, &TBontTeszt::TesztListDbTalalatraUpDownClick);

    auto* settingsRow = new QHBoxLayout;
    settingsRow->setSpacing(6);
    settingsRow->addWidget(m_drawn);
    settingsRow->addWidget(drawnLabel);
    settingsRow->addSpacing(24);
    settingsRow->addWidget(m_conditionsMode);
    settingsRow->addStretch(1);
    settingsRow->addWidget(m_level);
    settingsRow->addWidget(levelLabel);

    // The report and the list line their numbers up in columns.
    const QFont fixedFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto makeView = [this, &fixedFont](const char* name, int lines) {
        auto* view = new QPlainTextEdit(this);
        view->setObjectName(QString::fromLatin1(name));
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setFont(fixedFont);
        view->document()->setDocumentMargin(8);
        const QFontMetrics metrics(fixedFont);
        const int width = metrics.horizontalAdvance(QString(kReportColumns, QLatin1Char('0'))) +
                          view->verticalScrollBar()->sizeHint().width() + 2 * 8 + 8;
        view->setMinimumSize(width, metrics.lineSpacing() * lines + 2 * 8 + 8);
        return view;
    };
    m_report = makeView("reportView", 21);
    m_missing = makeView("missingView", 10);

    m_elapsedLabel = new QLabel(this);
    m_elapsedLabel->setObjectName(QStringLiteral("elapsedLabel"));
    m_remainingLabel = new QLabel(this);
    m_remainingLabel->setObjectName(QStringLiteral("remainingLabel"));
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_progressLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_elapsedLabel);
    timeRow->addSpacing(24);
    timeRow->addWidget(m_remainingLabel);
    timeRow->addStretch(1);
    timeRow->addWidget(m_progressLabel);

    m_insert = MakeRunButton(this, "Beillesztés", "insertButton");
    m_stop = MakeRunButton(this, "Stop", "stopButton");
    m_background = MakeRunButton(this, "Háttérben", "backgroundButton");
    m_exit = MakeRunButton(this, "Kilépés", "exitButton");
    connect(m_insert, &QPushButton::clicked, this, &TBontTeszt::BovitesTesztGombClick);
    connect(m_stop, &QPushButton::clicked, this, &TBontTeszt::StopGombClick);
    connect(m_background, &QPushButton::clicked, this, &TBontTeszt::HatterbenGombClick);
    connect(m_exit, &QPushButton::clicked, this, &TBontTeszt::KilepesGombClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_insert);
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_background);
    buttons->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(settingsRow);
    m_bound = new QLabel(this);
    m_bound->setObjectName(QStringLiteral("boundLabel"));
    layout->addWidget(m_bound);
    layout->addWidget(m_report, 3);
    layout->addWidget(m_missing, 2);
    layout->addLayout(timeRow);
    layout->addWidget(m_progress);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    // The views have their size; the window keeps the size of its contents, so no strip of
    // empty room (or a frame's resize handle) shows below the buttons.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetRunning(false);
    m_insert->setEnabled(false);
}

int TBontTeszt::Start() {
    if (m_running) {
        return QDialog::Rejected;
    }
    const int lowest = m_variation.TestDrawnMinimum();
    const int highest = m_variation.TestDrawnMaximum();
    if (highest < lowest) {
        return QDialog::Rejected;
    }
    const int rowLength = m_ticket.NumbersToChoose();
    const std::string bound = LowerBoundText(m_variation);
    m_bound->setText(ToQt(bound));
    m_bound->setVisible(!bound.empty());
    {
        const QSignalBlocker block(m_drawn);
        m_drawn->setRange(lowest, highest);
        if (m_firstOpen) {
            m_drawn->setValue(std::clamp(rowLength, lowest, highest));
        }
    }
    UpdateLevelRange();
    if (m_firstOpen) {
        const QSignalBlocker block(m_level);
        m_level->setValue(rowLength - 1);
    }
    m_firstOpen = false;

    const Stamp stamp = CurrentStamp();
    const bool current = m_hasResult && stamp == m_stamp && m_input.drawn == m_drawn->value() &&
                         m_input.conditionsMode == m_conditionsMode->isChecked();
    if (current) {
        BovitesGombStatus(); // the hints may have been switched meanwhile
    } else {
        m_hasResult = false;
        m_runStamp = stamp;
        BontTesztBetoltes();
        m_pendingStart = true;
    }
    m_closeWhenDone = false;
    // move() places the frame's corner, so the window opens where it was left, not a title
    // bar's height lower each time.
    if (m_place) {
        move(*m_place);
    }
    return exec();
}

TBontTeszt::Stamp TBontTeszt::CurrentStamp() const {
    Stamp stamp;
    stamp.game = m_ticket.Game().gameId;
    stamp.numbers = m_ticket.Selected();
    stamp.fixed = static_cast<int>(m_ticket.Fixed().size());
    const VariationStore& store = m_variation.Store();
    stamp.rows = store.Count();
    // FNV-1a over the rows and the block ends: a new, loaded or edited variation differs.
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    const std::size_t bytes =
        static_cast<std::size_t>(store.Count()) * static_cast<std::size_t>(store.RowWidth());
    const std::uint8_t* rows = store.Count() > 0 ? store.Row(0) : nullptr;
    for (std::size_t i = 0; i < bytes; ++i) {
        Mix(hash, rows[i]);
    }
    for (std::int32_t end : store.BlockEnds()) {
        for (int shift = 0; shift < 32; shift += 8) {
            Mix(hash, static_cast<std::uint8_t>(static_cast<std::uint32_t>(end) >> shift));
        }
    }
    stamp.hash = hash;
    return stamp;
}

void TBontTeszt::BontTesztBetoltes() {
    const int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const VariationTestInput input =
        m_variation.MakeTestInput(m_drawn->value(), m_conditionsMode->isChecked(), threads);
    m_test = std::make_unique<VariationTest>(input, m_variation.Store());
    m_input = m_test->Input();
    m_rowLength = m_test->RowLength();
    m_result = m_test->Snapshot();
    ShowReport(m_result);
    m_missing->clear();
    ShowElapsed(0);
    ShowProgress(0);
    m_remainingLabel->setText(QStringLiteral("Hátralévő: 0:00:00 "));
    m_insert->setEnabled(false);
    m_stop->setEnabled(true);
    BovitesGombStatus();
}

void TBontTeszt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_pendingStart && !m_running) {
        m_pendingStart = false;
        StartWorker();
    }
}

void TBontTeszt::hideEvent(QHideEvent* event) {
    m_place = frameGeometry().topLeft();
    QDialog::hideEvent(event);
}

void TBontTeszt::StartWorker() {
    m_running = true;
    m_hourAsked = false;
    SetRunning(true);
    m_clock.start();
    m_runner.Start([this] { m_test->BontasGepiEllenorzes(); },
                   [this](std::exception_ptr error) { WorkerDone(error); });
}

void TBontTeszt::WorkerDone(std::exception_ptr error) {
    if (error) {
        m_running = false;
        SetRunning(false);
        ShowTitle(0);
        QDialog::reject();
        std::rethrow_exception(error);
    }
    if (m_test->Finished()) {
        TesztVege();
    } else {
        // Stopped: the partial report stays, the run leaves no result.
        m_running = false;
        SetRunning(false);
        ShowTitle(m_progress->value());
        m_result = m_test->Snapshot();
        ShowReport(m_result);
        m_missing->clear();
        BovitesGombStatus();
    }
    // Its copy of the rows is not needed any more: the result and the input are kept.
    m_test.reset();
    if (m_closeWhenDone) {
        QDialog::reject();
    }
}

void TBontTeszt::TesztVege() {
    m_running = false;
    SetRunning(false);
    m_result = m_test->Snapshot();
    m_hasResult = true;
    m_stamp = m_runStamp;
    ShowElapsed(m_clock.elapsed());
    ShowProgress(100);
    m_remainingLabel->setText(QStringLiteral("Hátralévő: 0:00:00 "));
    ShowReport(m_result);
    ShowMissingList();
    BovitesGombStatus();
    ShowTitle(100);
    QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (main != nullptr && main->isMinimized()) {
        QApplication::beep();
    }
    const std::string duplicates = DuplicateRowsText(m_test->DuplicateRows());
    if (!duplicates.empty()) {
        m_messages.Error(duplicates);
    }
}

void TBontTeszt::Timer2Timer() {
    if (!m_running || m_asking) {
        return;
    }
    const unsigned long long examined = m_test->Examined();
    if (examined == 0) {
        return;
    }
    const qint64 elapsed = m_clock.elapsed();
    ShowElapsed(elapsed);
    const TestProgress progress = EstimateTestProgress(examined, m_test->Total(), elapsed);
    const int percent = progress.percent;
    ShowProgress(percent);
    const double remaining = progress.remainingMs;
    if (remaining > static_cast<double>(kTestDayMs)) {
        m_remainingLabel->setText(QStringLiteral("Hátralévő: több mint 1 nap"));
        // The user has half a minute to lower the drawn count before the program gives up.
        if (elapsed / 1000 % 60 > 30) {
            Halt();
            m_asking = true;
            m_messages.Warning(kTestDayLimitText);
            m_asking = false;
            return;
        }
    } else {
        m_remainingLabel->setText(
            ToQt("Hátralévő: " + FormatElapsed(static_cast<qint64>(std::llround(remaining)))));
        if (remaining >= static_cast<double>(kHourMs) && !m_hourAsked) {
            m_hourAsked = true;
            m_asking = true;
            const bool stop = m_messages.WarningQuestion(kHourQuestionText);
            m_asking = false;
            if (!m_running) {
                return; // the test ended while the question was open
            }
            if (stop) {
                Halt();
                return;
            }
        }
    }
    ShowTitle(percent);
    m_result = m_test->Snapshot();
    ShowReport(m_result);
}

void TBontTeszt::Halt() {
    if (!m_running) {
        return;
    }
    m_test->Stop();
    m_missing->clear();
}

void TBontTeszt::StopGombClick() {
    Halt();
}

void TBontTeszt::HatterbenGombClick() {
    if (!m_running) {
        return;
    }
    // The whole program goes to the task bar while the test goes on.
    SendToBackground(this);
}

void TBontTeszt::KilepesGombClick() {
    close();
}

void TBontTeszt::BovitesTesztGombClick() {
    if (m_insert->isEnabled()) {
        done(kInsertRequested);
    }
}

void TBontTeszt::reject() {
    if (m_running) {
        m_closeWhenDone = true;
        Halt();
        return;
    }
    QDialog::reject();
}

void TBontTeszt::SettingsChanged() {
    UpdateLevelRange();
    const bool showedResult = m_hasResult;
    m_hasResult = false;
    if (m_running) {
        Halt();
        return;
    }
    if (showedResult) {
        // The next opening tests with the new settings.
        QDialog::reject();
        return;
    }
    BovitesGombStatus();
}

void TBontTeszt::TesztListDbTalalatraUpDownClick() {
    ShowMissingList();
    BovitesGombStatus();
}

void TBontTeszt::UpdateLevelRange() {
    const int drawn = m_drawn->value();
    const int rowLength = m_ticket.NumbersToChoose();
    // A full hit is never missing; fewer drawn numbers than a row cannot hit more than drawn.
    const int top = std::clamp(drawn >= rowLength ? drawn - 1 : drawn, 0, 10);
    const QSignalBlocker block(m_level);
    m_level->setRange(0, top);
}

int TBontTeszt::SelectedLevel() const {
    return m_level->value();
}

void TBontTeszt::BovitesGombStatus() {
    const int level = SelectedLevel();
    // The rows of a draws-list variation are whole draws: test cases do not fit among them.
    const bool allowed =
        m_hasResult && !m_running && !m_input.drawsList &&
        InsertAllowed(m_input, m_result, level, m_rowLength, m_variation.Store().Count());
    m_insert->setEnabled(allowed);
    const int fixed = static_cast<int>(m_ticket.Fixed().size());
    const std::string hint = std::to_string(level) + " találatot eredményező " +
                             FixedNumbersSuffix(fixed) +
                             " teszt számsorok beillesztése a listába. ";
    m_insert->setToolTip(m_settings.hints ? ToQt(hint) : QString());
}

std::vector<std::vector<std::uint8_t>> TBontTeszt::InsertRows() const {
    const auto level = static_cast<std::size_t>(SelectedLevel());
    if (!m_hasResult || level >= m_result.kept.size()) {
        return {};
    }
    // With d = k' a case's positions are a row of the variation.
    return m_result.kept[level];
}

void TBontTeszt::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && m_running) {
        ShowTitle(m_progress->value());
    }
}

void TBontTeszt::SetRunning(bool running) {
    m_stop->setEnabled(running);
    m_background->setEnabled(running);
    if (running) {
        m_insert->setEnabled(false);
    }
}

void TBontTeszt::ShowReport(const VariationTestResult& result) {
    m_report->setPlainText(ToQt(BontasTesztLista(m_input, result)));
}

void TBontTeszt::ShowMissingList() {
    const int level = SelectedLevel();
    if (!m_hasResult) {
        m_missing->clear();
        return;
    }
    m_missing->setPlainText(ToQt(BontasTesztHianyzoLista(m_input, m_result, level)));
}

void TBontTeszt::ShowElapsed(qint64 ms) {
    m_elapsedLabel->setText(ToQt("Időtartam: " + FormatElapsed(ms)));
}

void TBontTeszt::ShowProgress(int percent) {
    ShowPercent(m_progress, m_progressLabel, percent);
}

// The program's title in the task bar follows the test while the user looks elsewhere.
void TBontTeszt::ShowTitle(int percent) {
    ShowJobTitle(this, m_running, isActiveWindow(), percent, "Teszt");
}

} // namespace velmora
