#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace velmora {

// One bar of a diagram: what it stands for (a number, a sum, a hit count) and its value.
struct DiagramBar {
    int label = 0;
    double value = 0;
};

// How the diagram is drawn: the window's option boxes.
struct DiagramOptions {
    bool zoom = false;    // " Zoom": the value axis starts at the smallest bar, not at 0
    bool inverse = false; // " Inverz": light bars on a dark ground
    bool all = false;     // " Mind": every bar's label under it
    bool micro = false;   // " Mikro": thin bars
    bool theory = true;   // " Elméleti": the theoretical mean
    bool actual = true;   // " Tényleges": the mean over the samples
};

// Where a mean is drawn: at a place among the bars (a distribution's mean sum, say), or at a
// height (the value every number would have if all came up equally often).
enum class MeanAxis { Label, Value };

// A bar diagram painted with QPainter: axes with their labels, the bars, the theoretical and
// the actual mean, the exact value of a bar as its tooltip; saved as PNG or SVG.
class StatDiagram : public QWidget {
    Q_OBJECT
public:
    explicit StatDiagram(QWidget* parent);

    void SetData(std::vector<DiagramBar> bars, const QString& labelName, const QString& valueName,
                 MeanAxis axis, std::optional<double> theory, std::optional<double> actual);
    void SetOptions(const DiagramOptions& options);
    const std::vector<DiagramBar>& Bars() const { return m_bars; }
    // The bar under a point of the widget, or -1.
    int BarAt(const QPoint& point) const;
    // "label: value" of a bar, as its tooltip shows it.
    QString BarText(int bar) const;
    // Where the save dialog opens.
    void SetSaveFolder(const QString& folder) { m_saveFolder = folder; }
    // Writes the diagram as it is shown to a .png or .svg file; false when it cannot.
    bool Save(const QString& path) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Layout {
        QRectF plot;
        double low = 0;
        double high = 1;
        double slot = 1; // width of one bar's place
    };
    Layout Compute(const QSize& size) const;
    void Paint(QPainter& painter, const QSize& size) const;
    double LabelX(const Layout& layout, double label) const;

    std::vector<DiagramBar> m_bars;
    QString m_labelName;
    QString m_valueName;
    MeanAxis m_axis = MeanAxis::Label;
    std::optional<double> m_theory;
    std::optional<double> m_actual;
    DiagramOptions m_options;
    QString m_saveFolder;
};

} // namespace velmora
