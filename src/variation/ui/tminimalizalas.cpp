#include "variation/ui/tminimalizalas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

#include "common/hu_format.h"
#include "session/variation_document.h"
#include "variation/ui/run_window.h"

namespace velmora {

namespace {

QString ToQ(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

int Threads() {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

} // namespace

// --- The plot ---------------------------------------------------------------------------------

RowsPlot::RowsPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("rowsPlot"));
    setAccessibleName(QStringLiteral("Számsorok az idő függvényében"));
    setMinimumSize(360, 180);
}

void RowsPlot::Begin(double seconds, long long before, long long lowerBound) {
    m_seconds = std::max(seconds, 1.0);
    m_before = std::max(before, 1LL);
    m_lowerBound = std::clamp(lowerBound, 0LL, m_before);
    m_best.assign(1, QPointF(0, static_cast<double>(before)));
    m_now.clear();
    update();
}

void RowsPlot::Add(double second, long long best, long long now) {
    m_best.emplace_back(second, static_cast<double>(best));
    m_now.emplace_back(second, static_cast<double>(now));
    update();
}

void RowsPlot::End(double second) {
    m_seconds = std::clamp(second, 1.0, m_seconds);
    update();
}

void RowsPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    const int left = metrics.horizontalAdvance(QStringLiteral("000000")) + 8;
    const QRectF area(left, 8, width() - left - 12, height() - 16 - metrics.height());
    const double low = static_cast<double>(m_lowerBound);
    const double high = static_cast<double>(m_before);
    const double span = std::max(high - low, 1.0);
    auto at = [&](const QPointF& point) {
        return QPointF(area.left() + area.width() * std::min(point.x() / m_seconds, 1.0),
                       area.bottom() - area.height() * (point.y() - low) / span);
    };
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(0, area.top() - 2, left - 6, metrics.height()), Qt::AlignRight,
                     QString::number(m_before));
    painter.drawText(QRectF(0, area.bottom() - metrics.height() + 2, left - 6, metrics.height()),
                     Qt::AlignRight, QString::number(m_lowerBound));
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), metrics.height()),
                     Qt::AlignLeft, QStringLiteral("0 mp"));
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), metrics.height()),
                     Qt::AlignRight, QStringLiteral("%1 mp").arg(m_seconds, 0, 'f', 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 170, 200));
    for (const QPointF& point : m_now) {
        painter.drawEllipse(at(point), 2.0, 2.0);
    }
    if (m_best.empty()) {
        return;
    }
    QPainterPath steps(at(m_best.front()));
    for (std::size_t i = 1; i < m_best.size(); ++i) {
        steps.lineTo(at(QPointF(m_best[i].x(), m_best[i - 1].y())));
        steps.lineTo(at(m_best[i]));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(30, 90, 160), 2));
    painter.drawPath(steps);
}

// --- The window -------------------------------------------------------------------------------

TMinimalizalas::TMinimalizalas(VariationDocument& variation, Messages& messages, QWidget* parent)
    : QDialog(parent), m_variation(variation), m_messages(messages), m_runner(messages) {
    setObjectName(QStringLiteral("TMinimalizalas"));
    setWindowTitle(QStringLiteral("Variáció minimalizálása"));
    BuildWindow();
    connect(&m_runner, &JobRunner::tick, this, &TMinimalizalas::Tick);
}

TMinimalizalas::~TMinimalizalas() {
    if (m_runner.Running()) {
        m_progress->stop = true;
        m_runner.Abandon();
    }
}

void TMinimalizalas::BuildWindow() {
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_bound = new QLabel(this);
    m_bound->setObjectName(QStringLiteral("boundLabel"));
    m_seconds = new QSpinBox(this);
    m_seconds->setObjectName(QStringLiteral("secondsSpin"));
    m_seconds->setRange(1, 3600);
    m_seconds->setValue(30);
    m_seconds->setSuffix(QStringLiteral(" mp"));
    auto* secondsLabel = new QLabel(QStringLiteral("&Időkorlát:"), this);
    secondsLabel->setBuddy(m_seconds);
    m_seconds->setAccessibleName(QStringLiteral("Időkorlát"));

    auto makeValue = [this](const char* name) {
        auto* label = new QLabel(QStringLiteral("-"), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(80);
        return label;
    };
    m_rowsNow = makeValue("rowsNowLabel");
    m_uncovered = makeValue("uncoveredLabel");
    m_best = makeValue("bestLabel");
    m_elapsed = makeValue("elapsedLabel");
    auto* values = new QGridLayout;
    const std::pair<const char*, QLabel*> rows[] = {{"Számsorok most:", m_rowsNow},
                                                    {"Lefedetlen esetek:", m_uncovered},
                                                    {"Legkevesebb számsor:", m_best},
                                                    {"Eltelt idő:", m_elapsed}};
    int line = 0;
    for (const auto& [text, value] : rows) {
        auto* name = new QLabel(QString::fromUtf8(text), this);
        value->setAccessibleName(name->text());
        values->addWidget(name, line, 0);
        values->addWidget(value, line++, 1);
    }
    values->addWidget(secondsLabel, line, 0);
    values->addWidget(m_seconds, line, 1);
    values->setColumnStretch(2, 1);

    m_plot = new RowsPlot(this);
    m_start = MakeRunButton(this, "Start", "startButton");
    m_stop = MakeRunButton(this, "Leállítás", "stopButton");
    m_exit = MakeRunButton(this, "Kilépés", "exitButton");
    m_start->setDefault(true);
    connect(m_start, &QPushButton::clicked, this, &TMinimalizalas::StartGombClick);
    connect(m_stop, &QPushButton::clicked, this, &TMinimalizalas::StopGombClick);
    connect(m_exit, &QPushButton::clicked, this, &TMinimalizalas::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_bound);
    layout->addLayout(values);
    layout->addWidget(m_plot, 1);
    layout->addLayout(buttons);
    m_stop->setEnabled(false);
}

bool TMinimalizalas::Prepare() {
    std::string refusal;
    if (!PrepareMinimise(m_variation, m_job, refusal)) {
        m_messages.Warning(refusal);
        return false;
    }
    const long long before = static_cast<long long>(m_job.input.rows.size());
    m_title->setText(ToQ(m_variation.ListTitle()));
    m_bound->setText(QStringLiteral("Alsó korlát: %1 számsor (feltételek nélkül)")
                         .arg(ToQ(FormatThousands(m_job.lowerBound))));
    ShowState(before, 0, before);
    m_plot->Begin(m_seconds->value(), before, m_job.lowerBound);
    return true;
}

int TMinimalizalas::Start() {
    if (!Prepare()) {
        return QDialog::Rejected;
    }
    m_replaced = false;
    exec();
    return m_replaced ? QDialog::Accepted : QDialog::Rejected;
}

void TMinimalizalas::ShowState(long long now, long long uncovered, long long best) {
    m_rowsNow->setText(ToQ(FormatThousands(now)));
    m_uncovered->setText(ToQ(FormatThousands(uncovered)));
    m_best->setText(ToQ(FormatThousands(best)));
}

void TMinimalizalas::StartGombClick() {
    if (m_runner.Running() || !Prepare()) {
        return;
    }
    m_job.input.seconds = m_seconds->value();
    m_job.input.threads = Threads();
    m_progress = std::make_unique<MinimiserProgress>();
    m_start->setEnabled(false);
    m_seconds->setEnabled(false);
    m_stop->setEnabled(true);
    m_stop->setFocus();
    m_clock.start();
    m_elapsed->setText(QStringLiteral("0 mp"));
    // The variation test of the result runs on the worker too; the window is modal, so the
    // variation rests meanwhile.
    m_runner.Start(
        [this] {
            m_result = MinimiseRows(m_job.input, *m_progress);
            m_verdict = JudgeMinimised(m_variation, m_job, m_result, Threads());
        },
        [this](std::exception_ptr) { Done(); });
}

void TMinimalizalas::StopGombClick() {
    if (m_runner.Running()) {
        m_progress->stop = true;
    }
}

void TMinimalizalas::Tick() {
    const double second = static_cast<double>(m_clock.elapsed()) / 1000.0;
    const long long now = m_progress->rowsNow;
    const long long best = m_progress->best;
    ShowState(now, m_progress->uncoveredNow, best);
    m_elapsed->setText(QStringLiteral("%1 mp").arg(second, 0, 'f', 0));
    m_plot->Add(second, best, now);
}

void TMinimalizalas::Done() {
    const long long before = static_cast<long long>(m_job.input.rows.size());
    const double second = static_cast<double>(m_clock.elapsed()) / 1000.0;
    m_plot->Add(second, static_cast<long long>(m_result.rows.size()),
                static_cast<long long>(m_result.rows.size()));
    m_plot->End(second);
    ShowState(static_cast<long long>(m_result.rows.size()), 0,
              static_cast<long long>(m_result.rows.size()));
    m_stop->setEnabled(false);
    m_start->setEnabled(true);
    m_seconds->setEnabled(true);
    m_start->setFocus();
    if (m_closeAfterStop) {
        QDialog::reject();
        return;
    }
    if (m_verdict == MinimiseVerdict::NotSmaller) {
        m_messages.Information("Nem található kevesebb számsorból álló variáció.");
        return;
    }
    if (ApplyMinimised(m_variation, m_result, m_verdict, m_messages)) {
        m_replaced = true;
        m_title->setText(ToQ(m_variation.ListTitle()));
        m_messages.Information(MinimisedText(static_cast<long long>(m_result.rows.size()), before));
    }
}

void TMinimalizalas::reject() {
    if (m_runner.Running()) {
        // The search ends at its next check; the window closes once it is back.
        m_closeAfterStop = true;
        m_progress->stop = true;
        return;
    }
    QDialog::reject();
}

} // namespace velmora
