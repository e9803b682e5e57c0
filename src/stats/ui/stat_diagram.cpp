#include "stats/ui/stat_diagram.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int kMarginLeft = 56;
constexpr int kMarginRight = 16;
constexpr int kMarginTop = 28;
constexpr int kMarginBottom = 40;

QString Number(double value) {
    return std::abs(value - std::round(value)) < 1e-9 ? QString::number(std::llround(value))
                                                      : QString::number(value, 'f', 2);
}

// A step of the value axis that gives about five lines: 1, 2 or 5 times a power of ten.
double AxisStep(double span) {
    const double raw = std::max(span, 1.0) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw) {
            return std::max(1.0, factor * power);
        }
    }
    return std::max(1.0, 10 * power);
}

} // namespace

StatDiagram::StatDiagram(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("diagram"));
    setMinimumSize(480, 260);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Diagram"));
}

void StatDiagram::SetData(std::vector<DiagramBar> bars, const QString& labelName,
                          const QString& valueName, MeanAxis axis, std::optional<double> theory,
                          std::optional<double> actual) {
    m_bars = std::move(bars);
    m_labelName = labelName;
    m_valueName = valueName;
    m_axis = axis;
    m_theory = theory;
    m_actual = actual;
    update();
}

void StatDiagram::SetOptions(const DiagramOptions& options) {
    m_options = options;
    update();
}

StatDiagram::Layout StatDiagram::Compute(const QSize& size) const {
    Layout layout;
    layout.plot = QRectF(kMarginLeft, kMarginTop, size.width() - kMarginLeft - kMarginRight,
                         size.height() - kMarginTop - kMarginBottom);
    double low = 0;
    double high = 1;
    if (!m_bars.empty()) {
        const auto [least, most] = std::minmax_element(
            m_bars.begin(), m_bars.end(),
            [](const DiagramBar& a, const DiagramBar& b) { return a.value < b.value; });
        high = std::max(most->value, 1.0);
        low = m_options.zoom ? std::floor(least->value * 0.95) : 0;
    }
    if (m_axis == MeanAxis::Value) {
        for (const std::optional<double>& mean : {m_theory, m_actual}) {
            if (mean) {
                high = std::max(high, *mean);
            }
        }
    }
    const double step = AxisStep(high - low);
    layout.low = std::floor(low / step) * step;
    layout.high = std::ceil(high / step) * step;
    if (layout.high <= layout.low) {
        layout.high = layout.low + step;
    }
    layout.slot =
        layout.plot.width() / static_cast<double>(std::max<std::size_t>(m_bars.size(), 1));
    return layout;
}

double StatDiagram::LabelX(const Layout& layout, double label) const {
    // Between the centres of the bars whose labels enclose it (the labels ascend).
    for (std::size_t i = 0; i + 1 < m_bars.size(); ++i) {
        const double a = m_bars[i].label;
        const double b = m_bars[i + 1].label;
        if (label >= a && label <= b && b > a) {
            const double t = (label - a) / (b - a);
            return layout.plot.left() + layout.slot * (static_cast<double>(i) + 0.5 + t);
        }
    }
    return -1;
}

void StatDiagram::Paint(QPainter& painter, const QSize& size) const {
    const Layout layout = Compute(size);
    const QColor ground = m_options.inverse ? QColor(32, 36, 48) : QColor(255, 251, 240);
    const QColor ink = m_options.inverse ? QColor(235, 235, 235) : QColor(30, 30, 30);
    const QColor bar = m_options.inverse ? QColor(240, 200, 90) : QColor(40, 80, 160);
    painter.fillRect(QRect(QPoint(0, 0), size), ground);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF& plot = layout.plot;
    const auto yOf = [&](double value) {
        const double t = (value - layout.low) / (layout.high - layout.low);
        return plot.bottom() - std::clamp(t, 0.0, 1.0) * plot.height();
    };
    // The value axis with its lines.
    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    const double step = AxisStep(layout.high - layout.low);
    for (double v = layout.low; v <= layout.high + step / 2; v += step) {
        const double y = yOf(v);
        painter.setPen(QPen(ink.lighter(m_options.inverse ? 60 : 300), 0, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(0, y - 8, kMarginLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         Number(v));
    }
    painter.setPen(ink);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawText(QRectF(4, 4, plot.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, m_valueName);
    painter.drawText(QRectF(plot.left(), size.height() - 18, plot.width(), 16),
                     Qt::AlignRight | Qt::AlignVCenter, m_labelName);
    // The bars, and under them the labels that fit (all of them with " Mind").
    const double width = layout.slot * (m_options.micro ? 0.3 : 0.8);
    const int labelEvery =
        m_options.all ? 1
                      : std::max(1, static_cast<int>(std::ceil(28 / std::max(layout.slot, 1.0))));
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        const double centre = plot.left() + layout.slot * (static_cast<double>(i) + 0.5);
        const double top = yOf(m_bars[i].value);
        painter.fillRect(QRectF(centre - width / 2, top, width, plot.bottom() - top), bar);
        if (i % static_cast<std::size_t>(labelEvery) == 0) {
            painter.setPen(ink);
            painter.drawText(QRectF(centre - 20, plot.bottom() + 2, 40, 14), Qt::AlignCenter,
                             QString::number(m_bars[i].label));
        }
    }
    // The means: a line across at a height, or up from a place among the bars.
    const auto mean = [&](const std::optional<double>& value, const QColor& colour,
                          const QString& name) {
        if (!value) {
            return;
        }
        painter.setPen(QPen(colour, 2, Qt::DashLine));
        if (m_axis == MeanAxis::Value) {
            const double y = yOf(*value);
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            painter.drawText(QRectF(plot.right() - 220, y - 16, 216, 14),
                             Qt::AlignRight | Qt::AlignVCenter, name + Number(*value));
            return;
        }
        const double x = LabelX(layout, *value);
        if (x >= 0) {
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.drawText(
                QRectF(x + 4, plot.top() + (name.startsWith(QLatin1Char('E')) ? 0 : 14), 220, 14),
                Qt::AlignLeft | Qt::AlignVCenter, name + Number(*value));
        }
    };
    if (m_options.theory) {
        mean(m_theory, QColor(200, 60, 40), QStringLiteral("Elméleti: "));
    }
    if (m_options.actual) {
        mean(m_actual, QColor(30, 150, 60), QStringLiteral("Tényleges: "));
    }
}

void StatDiagram::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Paint(painter, size());
}

int StatDiagram::BarAt(const QPoint& point) const {
    const Layout layout = Compute(size());
    if (m_bars.empty() || !layout.plot.contains(point)) {
        return -1;
    }
    const auto bar = static_cast<int>((point.x() - layout.plot.left()) / layout.slot);
    return bar >= 0 && bar < static_cast<int>(m_bars.size()) ? bar : -1;
}

QString StatDiagram::BarText(int bar) const {
    if (bar < 0 || bar >= static_cast<int>(m_bars.size())) {
        return {};
    }
    const DiagramBar& b = m_bars[static_cast<std::size_t>(bar)];
    return m_labelName + QStringLiteral(": ") + QString::number(b.label) + QStringLiteral("\n") +
           m_valueName + QStringLiteral(": ") + Number(b.value);
}

bool StatDiagram::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int bar = BarAt(help->pos());
        if (bar >= 0) {
            QToolTip::showText(help->globalPos(), BarText(bar), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

void StatDiagram::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* save = menu.addAction(QStringLiteral("Mentés képként..."));
    if (menu.exec(event->globalPos()) != save) {
        return;
    }
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("  Diagram mentése"),
                                     QDir(m_saveFolder).filePath(QStringLiteral("diagram.png")),
                                     QStringLiteral("PNG kép (*.png);;SVG rajz (*.svg)"));
    if (!path.isEmpty()) {
        Save(path);
    }
}

bool StatDiagram::Save(const QString& path) const {
    const QSize size = this->size().expandedTo(minimumSize());
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(m_valueName);
        QPainter painter;
        if (!painter.begin(&svg)) {
            return false;
        }
        Paint(painter, size);
        return painter.end();
    }
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        Paint(painter, size);
    }
    return image.save(path);
}

} // namespace velmora
