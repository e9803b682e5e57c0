#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/job_runner.h"
#include "game/main_ticket.h"
#include "settings/settings.h"
#include "variation/variation_test.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace velmora {

class VariationDocument;

// The variation test window: runs the test of the current variation on a worker thread once
// the window shows, redraws the progress and the partial report every second, and keeps a
// finished result so that opening the window again shows it without a new run, until the
// variation, the drawn count or the conditions mode changes. The window never outlives its
// worker: closing it while the test runs stops the test first.
class TBontTeszt : public QDialog {
    Q_OBJECT
public:
    // The modal result when the user asked for the missing rows to be inserted.
    static constexpr int kInsertRequested = QDialog::Accepted;

    TBontTeszt(VariationDocument& variation, const MainTicket& ticket, const Settings& settings,
               Messages& messages, QWidget* parent);
    ~TBontTeszt() override;

    // Opens the window modally; returns kInsertRequested or QDialog::Rejected.
    int Start();

    // The buttons.
    void StopGombClick();
    void HatterbenGombClick();
    void KilepesGombClick();
    void BovitesTesztGombClick();

    // From the start of the worker until its completion has been shown.
    bool Running() const { return m_running; }
    // A finished result is kept.
    bool HasResult() const { return m_hasResult; }
    // The kept cases of the selected hit level as rows of the variation.
    std::vector<std::vector<std::uint8_t>> InsertRows() const;

    // Escape and the close box: a running test is stopped first, and the window closes once
    // the worker is back.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What a kept result was computed from.
    struct Stamp {
        GameId game = -1;
        std::vector<std::uint8_t> numbers;
        int fixed = 0;
        long long rows = 0;
        std::uint64_t hash = 0;
        bool operator==(const Stamp&) const = default;
    };

    void BuildWindow();
    Stamp CurrentStamp() const;
    void BontTesztBetoltes();
    void StartWorker();
    void WorkerDone(std::exception_ptr error);
    void TesztVege();
    void Timer2Timer();
    // The drawn count or the conditions mode changed.
    void SettingsChanged();
    void TesztListDbTalalatraUpDownClick();
    void BovitesGombStatus();
    void UpdateLevelRange();
    void SetRunning(bool running);
    void ShowReport(const VariationTestResult& result);
    void ShowMissingList();
    void ShowElapsed(qint64 ms);
    void ShowProgress(int percent);
    void ShowTitle(int percent);
    // Stops the run without completion, as Stop and the time limits do.
    void Halt();
    int SelectedLevel() const;

    VariationDocument& m_variation;
    const MainTicket& m_ticket;
    const Settings& m_settings;
    Messages& m_messages;
    JobRunner m_runner;
    std::unique_ptr<VariationTest> m_test; // while its worker runs
    VariationTestInput m_input;            // of the last test
    int m_rowLength = 0;                   // k' of the last test
    VariationTestResult m_result;          // the kept (finished) or the last partial result
    Stamp m_stamp;                         // of the kept result
    Stamp m_runStamp;                      // of the run going on

    QSpinBox* m_drawn = nullptr;
    QCheckBox* m_conditionsMode = nullptr;
    QSpinBox* m_level = nullptr;
    QPlainTextEdit* m_report = nullptr;
    QPlainTextEdit* m_missing = nullptr;
    QLabel* m_elapsedLabel = nullptr;
    QLabel* m_bound = nullptr; // the lower bound of an error-point variation
    QLabel* m_remainingLabel = nullptr;
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_insert = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_background = nullptr;
    QPushButton* m_exit = nullptr;

    QElapsedTimer m_clock;
    bool m_pendingStart = false; // the worker starts at the next show
    bool m_running = false;      // the user-interface side of a run: until its end was shown
    bool m_hasResult = false;
    bool m_hourAsked = false;
    bool m_asking = false; // a box of the timer is up
    bool m_closeWhenDone = false;
    bool m_firstOpen = true;
    // Where the frame's corner was when the window last closed; empty before the first close.
    std::optional<QPoint> m_place;
};

} // namespace velmora
