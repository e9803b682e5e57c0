#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "dialogs/job_runner.h"
#include "draws/draw_ranges.h"
#include "stats/statistics.h"

class QAction;
class QCheckBox;
class QLabel;
class QTableWidget;

namespace velmora {

class Session;
class StatDiagram;

// The statistics window: its menus ask for a statistic of the draws, of the variation or of the
// main ticket's numbers, which is computed on a worker thread (or shown at once when it is
// stored) and shown as a diagram, with a table for the histogram kinds.
class TStatisztika : public QDialog {
    Q_OBJECT
public:
    // `chooseRange` opens the draw range dialog in a mode; true when the user chose a range.
    TStatisztika(Session& session, std::function<bool(RangeMode)> chooseRange, QWidget* parent);
    ~TStatisztika() override;

    // StatisztikaKeszites: starts (or shows the stored) statistic of a kind.
    void StatisztikaKeszites(StatKind kind);
    bool Running() const { return m_runner.Running(); }
    StatKind CurrentKind() const { return m_kind; }
    // The result shown, or null.
    const StatResult* Shown() const { return m_shown; }
    // The "Reset" commands: the stored results of a source go, with the notice.
    void ResetCache(StatSource source);
    // The main window's changes: stored results of a source go without a notice.
    void Forget(StatSource source);
    QAction* KindAction(StatKind kind) const;
    StatDiagram* Diagram() const { return m_diagram; }
    QTableWidget* Table() const { return m_table; }
    QString Header() const;
    QString Progress() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    // The samples and the range of a kind; false after the message when nothing can be made.
    bool Prepare(StatKind kind, StatSamples& samples);
    void Finished(StatKind kind, const std::shared_ptr<StatResult>& result, bool complete);
    void Show(const StatResult& result);
    void ShowTable(const StatResult& result);
    void ShowDiagram();
    void SetOthersEnabled(bool enabled);
    void UpdateProgress();
    // The data each source's stored results were made from; a change empties them.
    std::array<long long, 4> Stamp(StatSource source) const;
    void ForgetStale();
    QString Title(StatKind kind, const StatResult& result) const;
    // How often a row's property would occur in a sample if numbers came up by their share.
    std::optional<double> ExpectedCount(StatKind kind, int row) const;

    Session& m_session;
    std::function<bool(RangeMode)> m_chooseRange;
    JobRunner m_runner;
    StatCache m_cache;
    std::map<StatSource, std::array<long long, 4>> m_stamps;
    std::map<StatKind, QAction*> m_actions;
    std::shared_ptr<StatProgress> m_progress;
    long long m_progressStep = 0;
    StatKind m_kind = StatKind::TimesDrawn;
    const StatResult* m_shown = nullptr;
    int m_order = 0; // 0 as computed, 1 ascending, 2 descending
    // The range and sample of the statistic shown, for the header.
    long long m_first = 0;
    long long m_last = 0;
    int m_sampleLength = 0;
    QLabel* m_header = nullptr;
    QLabel* m_progressLabel = nullptr;
    QTableWidget* m_table = nullptr;
    StatDiagram* m_diagram = nullptr;
    std::array<QCheckBox*, 6> m_options{};
    std::vector<QWidget*> m_disabled; // the windows disabled while a statistic runs
};

} // namespace velmora
