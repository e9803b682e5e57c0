#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointF>
#include <QWidget>

#include <memory>
#include <vector>

#include "common/messages.h"
#include "dialogs/job_runner.h"
#include "session/minimise_variation.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace velmora {

class VariationDocument;

// The rows of the variation over the seconds of a search: the best complete variation so far
// as a step line, the current state's rows as dots, between the lower bound and the rows the
// search began with.
class RowsPlot : public QWidget {
public:
    explicit RowsPlot(QWidget* parent);
    void Begin(double seconds, long long before, long long lowerBound);
    void Add(double second, long long best, long long now);
    // A search that ended before its limit: the time axis ends where it did.
    void End(double second);
    const std::vector<QPointF>& Best() const { return m_best; }
    QSize sizeHint() const override { return {440, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_seconds = 30;
    long long m_before = 1;
    long long m_lowerBound = 0;
    std::vector<QPointF> m_best;
    std::vector<QPointF> m_now;
};

// "Variáció minimalizálása": the time limit, Start and Stop, the progress of the search a
// second at a time with its plot, and the end: a smaller variation confirmed by the variation
// test takes the place of the rows. The window never outlives its search: closing it stops the
// search first.
class TMinimalizalas : public QDialog {
    Q_OBJECT
public:
    TMinimalizalas(VariationDocument& variation, Messages& messages, QWidget* parent);
    ~TMinimalizalas() override;

    // Opens the window modally unless the variation cannot be minimised (after the message).
    // Accepted when the rows were replaced.
    int Start();
    void StartGombClick();
    void StopGombClick();
    bool Running() const { return m_runner.Running(); }
    const RowsPlot* Plot() const { return m_plot; }
    void reject() override;

private:
    void BuildWindow();
    bool Prepare();
    void Tick();
    void Done();
    void ShowState(long long now, long long uncovered, long long best);

    VariationDocument& m_variation;
    Messages& m_messages;
    JobRunner m_runner;
    MinimiseJob m_job;
    std::unique_ptr<MinimiserProgress> m_progress;
    MinimiserResult m_result;
    MinimiseVerdict m_verdict = MinimiseVerdict::NotSmaller;
    QElapsedTimer m_clock;
    bool m_replaced = false;
    bool m_closeAfterStop = false;

    QLabel* m_title = nullptr;
    QLabel* m_bound = nullptr;
    QSpinBox* m_seconds = nullptr;
    QLabel* m_rowsNow = nullptr;
    QLabel* m_uncovered = nullptr;
    QLabel* m_best = nullptr;
    QLabel* m_elapsed = nullptr;
    RowsPlot* m_plot = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace velmora
