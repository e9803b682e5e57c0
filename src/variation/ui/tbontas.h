#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <exception>
#include <string>

#include "conditions/condition_set.h"
#include "dialogs/job_runner.h"
#include "settings/settings.h"
#include "variation/bontas.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace velmora {

class VariationDocument;

// The engine window: prepares a generation of the variation document, runs the engine on a
// worker thread once the window shows, reports its progress every second and hands the result
// to the document when the worker returns. The window never outlives its worker: closing it
// while the run goes on stops the run first.
class TBontas : public QDialog {
    Q_OBJECT
public:
    TBontas(VariationDocument& variation, Settings& settings, Messages& messages, QWidget* parent);
    ~TBontas() override;

    // Prepares the run and the window; the worker starts when the window is shown. False when
    // the engine cannot run (it has told the user why).
    bool BontasIndul();

    // The buttons: Stop, Pause ("Megszakítás") and "Háttérben" / "Kilépés".
    void StopGombClick();
    void MegszakitGombClick();
    void KilepesGombClick();

    // From the start of the worker until its completion has been shown.
    bool Running() const { return m_runner.Running(); }
    // The last run ended with a variation (finished or paused).
    bool Finished() const { return m_finished; }

    // Escape and the close box: a running run is stopped first, and the window closes once
    // the worker is back.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildWindow();
    void StartWorker();
    void Timer1Timer();
    // The completion on the user-interface thread, once the worker has returned.
    void Vege(std::exception_ptr error);
    void ShowCounts(long long rows);
    void ShowDuration();
    void ShowProgress(int percent);
    void ShowTitle(int percent);
    void SetRunButtons(bool enabled);
    // While a message of the run is open the progress stands still and the buttons rest.
    void MessageShown();
    void MessageClosed();

    VariationDocument& m_variation;
    Settings& m_settings;
    Messages& m_messages;
    JobRunner m_runner;
    Bontas m_engine;
    double m_price = 0;
    int m_priceDecimals = 0;
    std::string m_currencyName;

    QLabel* m_headline = nullptr;
    std::array<QCheckBox*, kConditionCount> m_conditionBoxes{};
    QLabel* m_rowCount = nullptr;
    QLabel* m_cost = nullptr;
    QLabel* m_duration = nullptr;
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_background = nullptr;

    QElapsedTimer m_clock;
    qint64 m_elapsed = 0;
    bool m_prepared = false; // BontasIndul succeeded; the worker starts at the first show
    bool m_finished = false;
    bool m_closeWhenDone = false;
};

} // namespace velmora
