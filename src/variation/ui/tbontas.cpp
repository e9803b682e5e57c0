#include "variation/ui/tbontas.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/hu_format.h"
#include "common/platform.h"
#include "conditions/condition_table.h"
#include "session/variation_document.h"
#include "variation/ui/run_window.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

constexpr std::array<const char*, kCurrencyCount> kCurrencyNames = {
    " forint", " euro", " kuna", " lei", " dinar", " hrivnya"};

// An amount of money with thousands separators and a decimal comma: 320638.5 -> "320 638,50".
std::string MoneyText(double amount, int decimals) {
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    const long long scaled = std::llround(amount * static_cast<double>(scale));
    std::string text = FormatThousands(scaled / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(std::llabs(scaled % scale));
        text +=
            ',' + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

// -1 when the system does not tell: the engine then sets no limit.
long long FreeMemoryBytes() {
    const auto bytes = AvailableMemoryBytes();
    if (!bytes) {
        return -1;
    }
    constexpr auto kMost = static_cast<std::uint64_t>(std::numeric_limits<long long>::max());
    return static_cast<long long>(std::min(*bytes, kMost));
}

} // namespace

TBontas::TBontas(VariationDocument& variation, Settings& settings, Messages& messages,
                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_variation(variation), m_settings(settings), m_messages(messages), m_runner(messages),
      m_engine(m_runner.JobMessages(), variation.Store()) {
    setObjectName(QStringLiteral("TBontas"));
    BuildWindow();
    connect(&m_runner, &JobRunner::tick, this, &TBontas::Timer1Timer);
    connect(&m_runner, &JobRunner::messageShown, this, &TBontas::MessageShown);
    connect(&m_runner, &JobRunner::messageClosed, this, &TBontas::MessageClosed);
}

TBontas::~TBontas() {
    if (m_runner.Running()) {
        m_engine.RequestStop();
        m_runner.Abandon();
        m_variation.GenerationDone(m_engine.Vege());
    }
    ShowJobTitle(this, false, true, 0, "");
}

void TBontas::BuildWindow() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("progressPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, QColor(0xF4, 0xF6, 0xEE));
    panel->setPalette(colours);

    m_headline = new QLabel(panel);
    m_headline->setObjectName(QStringLiteral("headlineLabel"));
    m_headline->setAlignment(Qt::AlignCenter);
    QFont bold = m_headline->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    m_headline->setFont(bold);
    QPalette green = m_headline->palette();
    green.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
    m_headline->setPalette(green);

    auto* conditions = new QGroupBox(QStringLiteral(" Feltételek "), panel);
    conditions->setObjectName(QStringLiteral("conditionsBox"));
    auto* grid = new QGridLayout(conditions);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    constexpr int kRows = 5;
    const auto listed = ConditionsInListOrder();
    for (int i = 0; i < kConditionCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(listed[static_cast<std::size_t>(i)]->listName),
                                  conditions);
        box->setObjectName(QStringLiteral("condition%1").arg(i));
        // Display only: the box shows the state but takes no clicks or focus.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(box, i % kRows, i / kRows);
        m_conditionBoxes[static_cast<std::size_t>(i)] = box;
    }

    auto makeLabel = [panel](const char* name) {
        auto* label = new QLabel(panel);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    m_rowCount = makeLabel("rowCountLabel");
    m_rowCount->setFont(bold);
    m_cost = makeLabel("costLabel");
    m_duration = makeLabel("durationLabel");
    m_progressLabel = makeLabel("progressLabel");
    m_progressLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_duration, 1);
    timeRow->addWidget(m_progressLabel);

    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(12, 10, 12, 12);
    inner->setSpacing(6);
    inner->addWidget(m_headline);
    inner->addWidget(conditions);
    inner->addSpacing(4);
    inner->addWidget(m_rowCount);
    inner->addWidget(m_cost);
    inner->addSpacing(4);
    inner->addLayout(timeRow);
    inner->addWidget(m_progress);

    m_stop = MakeRunButton(this, "Stop", "stopButton");
    m_pause = MakeRunButton(this, "Megszakítás", "pauseButton");
    m_background = MakeRunButton(this, "Háttérben", "backgroundButton");
    connect(m_stop, &QPushButton::clicked, this, &TBontas::StopGombClick);
    connect(m_pause, &QPushButton::clicked, this, &TBontas::MegszakitGombClick);
    connect(m_background, &QPushButton::clicked, this, &TBontas::KilepesGombClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_pause);
    buttons->addWidget(m_background);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    // Nothing in the window stretches: it keeps the size of its contents, so no strip of
    // empty room (or a frame's resize handle) shows below the buttons.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetRunButtons(false);
    m_background->setEnabled(true);
}

bool TBontas::BontasIndul() {
    if (Running()) {
        return false;
    }
    GenerationInput input = m_variation.MakeGenerationInput();
    input.allowedRows = m_settings.largestVariation;
    if (!input.freeMemory) {
        input.freeMemory = FreeMemoryBytes;
    }
    // A new variation, not one that goes on from rows already present.
    const bool newVariation = !input.extension && !input.resume.paused;
    const int fixedCount = input.fixedCount;
    if (!m_engine.BontasIndul(input)) {
        return false;
    }
    m_prepared = true;
    m_finished = false;
    m_closeWhenDone = false;

    Settings& settings = m_settings;
    const int currency =
        settings.currency >= 0 && settings.currency < kCurrencyCount ? settings.currency : 0;
    m_price = settings.prices[static_cast<std::size_t>(currency)];
    // A price typed without decimals is shown without them.
    m_priceDecimals = m_price == std::floor(m_price) ? 0 : 2;
    m_currencyName = kCurrencyNames[static_cast<std::size_t>(currency)];

    m_headline->setText(ToQt(m_engine.Headline()));
    const auto listed = ConditionsInListOrder();
    for (int i = 0; i < kConditionCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        m_conditionBoxes[index]->setChecked(IsActive(input.conditions, listed[index]->id));
    }
    ShowCounts(m_engine.StoredRows());
    m_elapsed = 0;
    ShowDuration();
    ShowProgress(0);
    SetRunButtons(true);
    m_background->setText(QStringLiteral("Háttérben"));
    m_background->setToolTip(settings.hints ? QStringLiteral(" Variáció készítése a háttérben... ")
                                            : QString());

    setWindowTitle(QStringLiteral("  Variáció készítése"));
    if (newVariation && fixedCount > 0) {
        bool& remind = settings.notices[kNoticeFixedNumbersReminder];
        if (remind) {
            m_messages.Notice(m_engine.StartNoticeText(), remind);
        }
    }
    adjustSize();
    if (isVisible()) {
        m_prepared = false;
        StartWorker();
    }
    return true;
}

void TBontas::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_prepared && !Running()) {
        m_prepared = false;
        StartWorker();
    }
}

void TBontas::StartWorker() {
    m_clock.start();
    m_runner.Start([this] { m_engine.Run(); }, [this](std::exception_ptr error) { Vege(error); });
}

void TBontas::Timer1Timer() {
    // The answer comes with the worker's next candidate; until then the last one is shown.
    m_engine.RequestProgress();
    m_elapsed = m_clock.elapsed();
    ShowDuration();
    ShowCounts(m_engine.StoredRows());
    const int percent = m_engine.Progress();
    ShowProgress(percent);
    ShowTitle(percent);
}

void TBontas::Vege(std::exception_ptr error) {
    m_elapsed = m_clock.elapsed();
    if (error) {
        m_engine.RequestStop();
    }
    const GenerationOutcome outcome = m_engine.Vege();
    m_variation.GenerationDone(outcome);
    m_finished = outcome.finished;

    ShowProgress(100);
    ShowTitle(100);
    SetRunButtons(false);
    m_background->setText(QStringLiteral("Kilépés"));
    m_background->setToolTip(QString());
    m_background->setEnabled(true);
    QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    for (QWidget* window : {main, static_cast<QWidget*>(this)}) {
        if (window != nullptr && window->isMinimized()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
    }

    if (error) {
        QDialog::reject();
        std::rethrow_exception(error);
    }
    if (!outcome.finished || m_closeWhenDone) {
        QDialog::reject();
        return;
    }
    ShowDuration();
    ShowCounts(m_engine.StoredRows());
    // As the run's own messages, so that the buttons rest while the user reads.
    if (!outcome.emptyResultText.empty()) {
        m_runner.JobMessages().Error(outcome.emptyResultText);
    } else if (!outcome.missingNumbersText.empty()) {
        m_runner.JobMessages().Warning(outcome.missingNumbersText);
    }
}

void TBontas::StopGombClick() {
    if (Running()) {
        m_engine.RequestStop();
    }
}

void TBontas::MegszakitGombClick() {
    if (Running()) {
        m_engine.RequestPause();
    }
}

void TBontas::KilepesGombClick() {
    if (Running() && m_stop->isEnabled() && isVisible()) {
        // In the background: the whole program goes to the task bar while the run goes on.
        SendToBackground(this);
        return;
    }
    close();
}

void TBontas::reject() {
    if (Running()) {
        m_closeWhenDone = true;
        m_engine.RequestStop();
        return;
    }
    QDialog::reject();
}

void TBontas::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && Running()) {
        ShowTitle(m_progress->value());
    }
}

void TBontas::ShowCounts(long long rows) {
    m_rowCount->setText(ToQt(NeededRowsText(rows)));
    m_cost->setText(ToQt(
        "Variáció költsége: " + MoneyText(static_cast<double>(rows) * m_price, m_priceDecimals) +
        m_currencyName));
}

void TBontas::ShowDuration() {
    m_duration->setText(ToQt("Időtartam:  " + FormatElapsed(m_elapsed) + "  -  " +
                             FormatWidthZero(m_elapsed % 1000, 3)));
}

void TBontas::ShowProgress(int percent) {
    ShowPercent(m_progress, m_progressLabel, percent);
}

// The program's title in the task bar follows the run while the user looks elsewhere.
void TBontas::ShowTitle(int percent) {
    ShowJobTitle(this, Running(), isActiveWindow(), percent, "Variáció");
}

void TBontas::SetRunButtons(bool enabled) {
    m_stop->setEnabled(enabled);
    m_pause->setEnabled(enabled);
}

void TBontas::MessageShown() {
    SetRunButtons(false);
    m_background->setEnabled(false);
    // The worker waits for the answer: the count it asks about is shown.
    ShowCounts(m_engine.StoredRows());
}

void TBontas::MessageClosed() {
    m_background->setEnabled(true);
    if (Running()) {
        SetRunButtons(true);
    }
}

} // namespace velmora
