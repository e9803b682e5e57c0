// The engine and test windows driven from the main window's "Variáció" menu, offscreen.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include "app/tfoablak.h"
#include "app/tfoszelveny.h"
#include "dialogs/qt_messages.h"
#include "fakes/fake_file_chooser.h"
#include "fakes/fake_messages.h"
#include "session/temp_home.h"
#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontteszt.h"

using namespace velmora;
using velmora::testing::FakeFileChooser;
using velmora::testing::FakeMessages;
using velmora::testing::TempHome;

namespace {

constexpr int kRunTimeout = 20000;

// Can hold the worker at its next question until the test lets it go, so that a button is
// certainly pressed while the run is still going on.
class HoldingMessages : public FakeMessages {
public:
    ~HoldingMessages() override { Release(); }

    void HoldNextQuestion() { m_hold = true; }
    bool Holding() const { return m_holding; }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = false;
        m_wake.notify_all();
    }

protected:
    Answer Present(MessageKind kind, const std::string& text) override {
        const bool question = kind == MessageKind::Question || kind == MessageKind::WarningQuestion;
        if (question && m_hold) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_holding = true;
            m_wake.wait(lock, [this] { return !m_hold; });
            m_holding = false;
        }
        return FakeMessages::Present(kind, text);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_hold{false};
    std::atomic<bool> m_holding{false};
};

struct Fixture {
    TempHome home;
    HoldingMessages messages;
    SeededRandom random{5};
    Session session{MakeProgramFolders(home.Path()), messages, random};
};

void ClickBox(TFoablak& window, int number, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    NumberBox* box = window.Foszelveny()->Grid()->Box(number);
    QVERIFY(box != nullptr);
    QTest::mouseClick(box, Qt::LeftButton, modifiers, box->rect().center());
}

void MarkRange(TFoablak& window, int first, int last) {
    for (int n = first; n <= last; ++n) {
        ClickBox(window, n);
    }
}

QAction* Action(TFoablak& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

QString LabelText(QWidget& engine, const char* name) {
    auto* label = engine.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

QPushButton* Button(TBontas& engine, const char* name) {
    return engine.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Presses "Start" and runs `drive` on the engine window it opens. Afterwards a worker held by
// `held` is let go and the window is closed, whatever `drive` did. True when a window opened.
bool RunStart(TFoablak& window, std::function<void(TBontas&)> drive,
              HoldingMessages* held = nullptr) {
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(0, &window, [&window, held, opened, drive = std::move(drive)] {
        TBontas* engine = window.findChild<TBontas*>();
        if (engine == nullptr) {
            return;
        }
        *opened = true;
        drive(*engine);
        if (held != nullptr) {
            held->Release();
        }
        engine->close();
    });
    Action(window, "actionStart")->trigger();
    QCoreApplication::processEvents();
    return *opened;
}

// Opens the test window through `open` and runs `drive` on it; afterwards the window is closed
// unless `drive` closed it. True when the window showed.
bool RunTest(TBontTeszt* existing, std::function<void()> open,
             std::function<void(TBontTeszt&)> drive, QWidget* owner) {
    auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, owner, [owner, existing, shown, drive = std::move(drive)] {
        TBontTeszt* test = existing != nullptr ? existing : owner->findChild<TBontTeszt*>();
        if (test == nullptr || !test->isVisible()) {
            return;
        }
        *shown = true;
        drive(*test);
        if (test->isVisible()) {
            test->close();
            QTRY_VERIFY_WITH_TIMEOUT(!test->isVisible(), kRunTimeout);
        }
    });
    open();
    QCoreApplication::processEvents();
    return *shown;
}

QString ViewText(TBontTeszt& test, const char* name) {
    auto* view = test.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    return view != nullptr ? view->toPlainText() : QStringLiteral("<missing>");
}

template <typename T>
T* Child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

// 30 numbers with a condition every row meets: the store reaches its first 100 000 rows and
// asks for the rest (142 506 in all).
void PrepareLongRun(Fixture& f, TFoablak& window) {
    MarkRange(window, 1, 30);
    f.session.Conditions().span = {true, 1, 30};
    f.messages.Clear();
}

} // namespace

class VariationWindowTest : public QObject {
    Q_OBJECT
private slots:
    void commandsFollowTheMarks();
    void finishedRunShowsItsResult();
    void deleteAsksFirst();
    void emptyResultShowsTheDiagnosis();
    void progressIsShownWhileRunning();
    void stoppedRunsLeaveNoVariation();
    void closingWhileRunningStopsTheRun();
    void pauseAnsweredNoLeavesAPausedVariation();
    void pauseAnsweredYesRunsToTheEnd();
    void questionBoxesOfTheRunRestTheWindow();
    void savedVariationOpensAgain();
    void testReportsAndInsertsMissingRows();
    void testResultLastsUntilSomethingChanges();
};

void VariationWindowTest::commandsFollowTheMarks() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    QAction* start = Action(window, "actionStart");
    QAction* remove = Action(window, "actionDeleteVariation");
    QVERIFY(start != nullptr && remove != nullptr);
    QCOMPARE(start->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    QVERIFY(window.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions().contains(start));
    QMenu* menu = qobject_cast<QMenu*>(start->parent());
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->title(), QStringLiteral("     Variáció     "));

    // A row's worth of numbers is not a variation yet.
    MarkRange(window, 1, 5);
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral(" Nincs kijelölt számsor. "));
    QVERIFY(!menu->menuAction()->isEnabled());
    QVERIFY(!remove->isEnabled());
    QAction* saveAs = Action(window, "actionSaveAs");
    QAction* saveRow = Action(window, "actionSaveRow");
    auto* tools = window.findChild<QToolBar*>(QStringLiteral("toolBar"));
    QVERIFY(tools->actions().contains(saveAs));
    QCOMPARE(qobject_cast<QToolButton*>(tools->widgetForAction(saveAs))->text(),
             QStringLiteral("Mentés másként..."));
    QVERIFY(!saveAs->isEnabled() && !saveRow->isEnabled());
    QCOMPARE(saveAs->statusTip(), QStringLiteral(" Nincs elmentésre váró adat. "));

    ClickBox(window, 6);
    QVERIFY(start->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral(" Variáció készítése. "));
    QVERIFY(menu->menuAction()->isEnabled());
    QVERIFY(!remove->isEnabled());
    QVERIFY(!Action(window, "actionSaveVariation")->isEnabled());
    QVERIFY(saveAs->isEnabled() && saveRow->isEnabled());
    QCOMPARE(saveAs->statusTip(),
             QStringLiteral(" Számsor, variáció, export állományok mentése. "));
    QCOMPARE(saveRow->statusTip(), QStringLiteral(" Számsor és feltételek mentése. "));

    // A fixed number counts towards the rule as well.
    ClickBox(window, 6);
    ClickBox(window, 40, Qt::ShiftModifier);
    QVERIFY(start->isEnabled());
}

void VariationWindowTest::finishedRunShowsItsResult() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 7);
    ClickBox(window, 10, Qt::ShiftModifier);
    f.messages.Clear();

    const bool opened = RunStart(
        window,
        [&](TBontas& engine) {
            QVERIFY(engine.isModal());
            QVERIFY(engine.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(engine.windowTitle(), QStringLiteral("  Variáció készítése"));
            QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            QVERIFY(engine.Finished());
            QCOMPARE(LabelText(engine, "headlineLabel"),
                     QStringLiteral("7 szám 0 hibapontos variációja 4 számra"));
            QCOMPARE(LabelText(engine, "rowCountLabel"),
                     QStringLiteral("35 számsor szükséges a játékhoz"));
            QCOMPARE(LabelText(engine, "costLabel"),
                     QStringLiteral("Variáció költsége: 7 875 forint"));
            QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            QVERIFY(
                LabelText(engine, "durationLabel").startsWith(QStringLiteral("Időtartam:  0:00:")));
            QCOMPARE(engine.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 100);
            QVERIFY(!Button(engine, "stopButton")->isEnabled());
            QVERIFY(!Button(engine, "pauseButton")->isEnabled());
            QCOMPARE(Button(engine, "backgroundButton")->text(), QStringLiteral("Kilépés"));
            for (QCheckBox* box : engine.findChildren<QCheckBox*>()) {
                QVERIFY2(!box->isChecked(), qPrintable(box->text()));
            }
            QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora Personal"));
            // "Kilépés" closes the finished window.
            QTest::mouseClick(Button(engine, "backgroundButton"), Qt::LeftButton);
            QVERIFY(!engine.isVisible());
        },
        &f.messages);
    QVERIFY(opened);

    // A new variation with a fixed number starts with the reminder; No switches it off.
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Log()[0].kind, MessageKind::Notice);
    QCOMPARE(f.messages.Log()[0].text,
             "7 szám 0 hibapontos variációját készíti 4 számra.\rCsak akkor lehetséges a(z) 5 "
             "találat elérése,\rha a fix számot is eltalálja.\r\rErre legközelebb is "
             "emlékeztesse a program?");

    // The rows went to the session's variation: positions into the seven numbers.
    const VariationStore& rows = f.session.Variation();
    QCOMPARE(rows.Count(), 35LL);
    QCOMPARE(rows.RowWidth(), 4);
    QCOMPARE((std::vector<int>(rows.Row(0), rows.Row(0) + 4)), (std::vector<int>{0, 1, 2, 3}));
    QCOMPARE((std::vector<int>(rows.Row(34), rows.Row(34) + 4)), (std::vector<int>{3, 4, 5, 6}));
    QVERIFY(f.session.variationExists);
    QVERIFY(!f.session.VariationPaused());
    QVERIFY(Action(window, "actionDeleteVariation")->isEnabled());
    // A finished variation is not made again over itself.
    QVERIFY(!Action(window, "actionStart")->isEnabled());
    QCOMPARE(Action(window, "actionStart")->property("hint").toString(),
             QStringLiteral(" A variáció elkészült. "));

    // The reminder stays off for the next variation.
    QVERIFY(!f.session.GetSettings().notices[kNoticeFixedNumbersReminder]);
    f.messages.QueueAnswer(Answer::Yes);
    Action(window, "actionDeleteVariation")->trigger();
    QVERIFY(Action(window, "actionStart")->isEnabled());
    f.messages.Clear();
    QVERIFY(RunStart(
        window, [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); },
        &f.messages));
    QCOMPARE(f.messages.Count(), std::size_t{0});
    QCOMPARE(f.session.Variation().Count(), 35LL);
}

void VariationWindowTest::deleteAsksFirst() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 6);
    QVERIFY(RunStart(
        window, [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); },
        &f.messages));
    QCOMPARE(f.session.Variation().Count(), 6LL);
    QAction* remove = Action(window, "actionDeleteVariation");
    QVERIFY(remove->isEnabled());

    f.messages.Clear();
    remove->trigger();
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Question);
    QCOMPARE(f.messages.LastText(), "Biztos törli a variáció listáját?");
    QCOMPARE(f.session.Variation().Count(), 6LL);
    QVERIFY(remove->isEnabled());

    f.messages.QueueAnswer(Answer::Yes);
    remove->trigger();
    QCOMPARE(f.session.Variation().Count(), 0LL);
    QVERIFY(!f.session.variationExists);
    QVERIFY(!remove->isEnabled());
    QVERIFY(Action(window, "actionStart")->isEnabled());
}

void VariationWindowTest::emptyResultShowsTheDiagnosis() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 10);
    // Five numbers cannot lie within two positions.
    f.session.Conditions().span = {true, 1, 2};
    f.messages.Clear();
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            QVERIFY(engine.isVisible());
            QCOMPARE(LabelText(engine, "rowCountLabel"),
                     QStringLiteral("0 számsor szükséges a játékhoz"));
            QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            auto* span = engine.findChild<QCheckBox*>(QStringLiteral("condition13"));
            QCOMPARE(span->text(), QStringLiteral("Terjedelem"));
            QVERIFY(span->isChecked());
        },
        &f.messages));
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Error);
    QVERIFY(f.messages.LastText().starts_with("Az alábbi feltételek nem teljesültek:\r"));
    QVERIFY(f.messages.LastText().find("Terjedelem") != std::string::npos);
    QVERIFY(!f.session.variationExists);
    QVERIFY(!Action(window, "actionDeleteVariation")->isEnabled());
}

void VariationWindowTest::progressIsShownWhileRunning() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    PrepareLongRun(f, window);
    f.messages.HoldNextQuestion();
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(f.messages.Holding(), kRunTimeout);
            QVERIFY(engine.Running());
            QVERIFY(Button(engine, "stopButton")->isEnabled());
            QCOMPARE(Button(engine, "backgroundButton")->text(), QStringLiteral("Háttérben"));
            // The worker waits at its 100 000th row; the next tick of the clock shows it.
            QTRY_COMPARE_WITH_TIMEOUT(LabelText(engine, "rowCountLabel"),
                                      QStringLiteral("100 000 számsor szükséges a játékhoz"), 3000);
            QCOMPARE(LabelText(engine, "costLabel"),
                     QStringLiteral("Variáció költsége: 22 500 000 forint"));
            QTRY_VERIFY_WITH_TIMEOUT(LabelText(engine, "durationLabel") !=
                                         QStringLiteral("Időtartam:  0:00:00  -  000"),
                                     3000);
            QVERIFY(LabelText(engine, "durationLabel")
                        .startsWith(QStringLiteral("Időtartam:  0:00:0")));
            const int percent =
                engine.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value();
            QVERIFY(percent >= 0 && percent < 100);
            QCOMPARE(LabelText(engine, "progressLabel"),
                     QStringLiteral("Folyamat: %1%").arg(percent));
            // No answer queued: the store is not allowed to grow, and the run ends as stopped.
            f.messages.Release();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout);
        },
        &f.messages));
    QCOMPARE(f.messages.Last().kind, MessageKind::WarningQuestion);
    QVERIFY(!f.session.variationExists);
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora Personal"));
}

void VariationWindowTest::stoppedRunsLeaveNoVariation() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    PrepareLongRun(f, window);
    f.messages.HoldNextQuestion();
    f.messages.QueueAnswer(Answer::Yes); // the store may grow; Stop ends the run anyway
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(f.messages.Holding(), kRunTimeout);
            QTest::mouseClick(Button(engine, "stopButton"), Qt::LeftButton);
            f.messages.Release();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout);
            QVERIFY(!engine.Finished());
        },
        &f.messages));
    QCOMPARE(f.messages.PendingAnswers(), std::size_t{0});
    QCOMPARE(f.session.Variation().Count(), 0LL);
    QVERIFY(!f.session.variationExists);
    QVERIFY(!f.session.VariationPaused());
    QVERIFY(!Action(window, "actionDeleteVariation")->isEnabled());

    // An engine window destroyed in the middle of a run stops the worker before it goes.
    Fixture g;
    for (int n = 1; n <= 30; ++n) {
        g.session.Ticket().Click(n, 0);
    }
    g.session.Conditions().span = {true, 1, 30};
    g.messages.HoldNextQuestion();
    g.messages.QueueAnswer(Answer::Yes);
    auto engine = std::make_unique<TBontas>(g.session, nullptr);
    QVERIFY(engine->BontasIndul());
    engine->show();
    QTRY_VERIFY_WITH_TIMEOUT(g.messages.Holding(), kRunTimeout);
    QTimer::singleShot(50, [&g] { g.messages.Release(); });
    engine.reset();
    QCOMPARE(g.session.Variation().Count(), 0LL);
    QVERIFY(!g.session.variationExists);
}

void VariationWindowTest::closingWhileRunningStopsTheRun() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    PrepareLongRun(f, window);
    f.messages.HoldNextQuestion();
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(f.messages.Holding(), kRunTimeout);
            // The window waits for the worker; Escape does the same as the close box.
            engine.close();
            QVERIFY(engine.isVisible());
            QTest::keyClick(&engine, Qt::Key_Escape);
            QVERIFY(engine.isVisible());
            f.messages.Release();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout);
        },
        &f.messages));
    QVERIFY(!f.session.variationExists);
    QCOMPARE(f.session.Variation().Count(), 0LL);
}

void VariationWindowTest::pauseAnsweredNoLeavesAPausedVariation() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    PrepareLongRun(f, window);
    f.messages.HoldNextQuestion();
    f.messages.QueueAnswers({Answer::Yes, Answer::No}); // grow, then do not go on
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(f.messages.Holding(), kRunTimeout);
            QTest::mouseClick(Button(engine, "pauseButton"), Qt::LeftButton);
            f.messages.Release();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            QVERIFY(engine.isVisible());
            QVERIFY(engine.Finished());
            QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            for (int i = 0; i < kConditionCount; ++i) {
                auto* box = engine.findChild<QCheckBox*>(QStringLiteral("condition%1").arg(i));
                QCOMPARE(box->isChecked(), i == 13);
            }
        },
        &f.messages));
    QCOMPARE(f.messages.Count(), std::size_t{2});
    QCOMPARE(f.messages.Last().kind, MessageKind::Question);
    QVERIFY(f.messages.LastText().ends_with("\r\rFolytatja a variációt?"));
    QVERIFY(f.session.VariationPaused());
    QVERIFY(f.session.variationExists);
    const long long rows = f.session.Variation().Count();
    QVERIFY(rows >= 100000 && rows < 142506);
    QVERIFY(Action(window, "actionDeleteVariation")->isEnabled());
}

void VariationWindowTest::pauseAnsweredYesRunsToTheEnd() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    f.session.GetSettings().currency = 1;
    f.session.GetSettings().prices[1] = 2.25;
    PrepareLongRun(f, window);
    f.messages.HoldNextQuestion();
    f.messages.QueueAnswers({Answer::Yes, Answer::Yes});
    QVERIFY(RunStart(
        window,
        [&](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(f.messages.Holding(), kRunTimeout);
            QTest::mouseClick(Button(engine, "pauseButton"), Qt::LeftButton);
            f.messages.Release();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            QCOMPARE(LabelText(engine, "rowCountLabel"),
                     QStringLiteral("142 506 számsor szükséges a játékhoz"));
            QCOMPARE(LabelText(engine, "costLabel"),
                     QStringLiteral("Variáció költsége: 320 638,50 euro"));
        },
        &f.messages));
    QCOMPARE(f.messages.Count(), std::size_t{2});
    QVERIFY(f.messages.LastText().ends_with("\r\rFolytatja a variációt?"));
    QCOMPARE(f.session.Variation().Count(), 142506LL);
    QVERIFY(!f.session.VariationPaused());
    QVERIFY(f.session.variationExists);
}

void VariationWindowTest::questionBoxesOfTheRunRestTheWindow() {
    TempHome home;
    QtMessages messages;
    SeededRandom random{5};
    Session session(MakeProgramFolders(home.Path()), messages, random);
    TFoablak window(session, {});
    messages.SetOwner(&window);
    window.show();
    MarkRange(window, 1, 30);
    session.Conditions().span = {true, 1, 30};

    // The worker's question is a real box on this thread. While it is up the clock stands
    // still and the buttons rest; "Nem" refuses the growth and the run ends as stopped.
    QString caption;
    bool buttonsRested = false;
    QString durationShown;
    QString durationLater;
    QVERIFY(RunStart(window, [&](TBontas& engine) {
        QElapsedTimer shown;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            if (!shown.isValid()) {
                shown.start();
                caption = box->windowTitle();
                buttonsRested = !Button(engine, "stopButton")->isEnabled() &&
                                !Button(engine, "pauseButton")->isEnabled() &&
                                !Button(engine, "backgroundButton")->isEnabled();
                durationShown = LabelText(engine, "durationLabel");
                return;
            }
            if (shown.elapsed() < 1300) {
                return;
            }
            durationLater = LabelText(engine, "durationLabel");
            watcher.stop();
            box->button(QMessageBox::No)->click();
        });
        watcher.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout);
    }));
    QCOMPARE(caption, QStringLiteral(" Figyelmeztetés!"));
    QVERIFY(buttonsRested);
    QVERIFY(!durationShown.isEmpty());
    QCOMPARE(durationLater, durationShown);
    QVERIFY(!session.variationExists);
    QVERIFY(!messages.beforeShow && !messages.afterShow);
}

void VariationWindowTest::savedVariationOpensAgain() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    FakeFileChooser chooser;
    window.SetChooser(chooser);
    MarkRange(window, 1, 7);
    ClickBox(window, 10, Qt::ShiftModifier);
    QVERIFY(RunStart(
        window, [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); },
        &f.messages));
    QCOMPARE(f.session.Variation().Count(), 35LL);
    QVERIFY(Action(window, "actionSaveVariation")->isEnabled());

    // Each save command asks for its own kind of file; the second filter of "Mentés
    // másként..." writes the variation.
    const std::string top = f.home.Path() + "hetes.top";
    const std::string tip = f.home.Path() + "hetes.tip";
    chooser.QueueChoice(top, 2);
    Action(window, "actionSaveAs")->trigger();
    QCOMPARE(chooser.Last().request.title, "  Állomány mentése");
    chooser.QueueChoice(tip, 1);
    Action(window, "actionSaveRow")->trigger();
    QCOMPARE(chooser.Last().request.title, "  Számsor mentése");
    Action(window, "actionSaveVariation")->trigger(); // cancelled
    QCOMPARE(chooser.Last().request.title, "  Variáció mentése");
    QVERIFY(std::filesystem::exists(top) && std::filesystem::exists(tip));

    // Another run opens it: a number-row file under the variation filter is asked again.
    Fixture g;
    TFoablak other(g.session, {});
    other.show();
    FakeFileChooser opener;
    other.SetChooser(opener);
    opener.QueueChoice(tip, 2);
    opener.QueueChoice(top, 2);
    Action(other, "actionOpen")->trigger();
    QCOMPARE(g.messages.LastText(), "Válassza ki a variáció állományát...");
    QCOMPARE(opener.Requests().size(), std::size_t{2});
    QCOMPARE(opener.Last().request.filterIndex, 2);
    QCOMPARE(g.session.Variation().Count(), 35LL);
    QCOMPARE(g.session.Ticket().Selected(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(g.session.Ticket().Fixed(), (std::vector<std::uint8_t>{10}));
    QVERIFY(other.Foszelveny()->Grid()->Box(10)->IsRaised());
    QVERIFY(Action(other, "actionDeleteVariation")->isEnabled());

    // Named on the command line (in capitals), the file is there at start and counts as new.
    Fixture h;
    const std::string named = h.home.Path() + "HETES.TOP";
    std::filesystem::copy_file(top, named);
    StartOptions options;
    options.commandLineFile = named;
    TFoablak started(h.session, options);
    started.Betoltes();
    QCOMPARE(h.session.Variation().Count(), 35LL);
    QCOMPARE(h.session.Ticket().Fixed(), (std::vector<std::uint8_t>{10}));
    QVERIFY(!h.session.Ticket().Unchanged());
    QVERIFY(Action(started, "actionDeleteVariation")->isEnabled());
}

void VariationWindowTest::testReportsAndInsertsMissingRows() {
    // A full variation holds every combination already: nothing to test.
    {
        Fixture g;
        TFoablak window(g.session, {});
        window.show();
        QAction* test = Action(window, "actionTest");
        QVERIFY(test != nullptr && !test->isEnabled());
        QVERIFY(window.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions().contains(test));
        MarkRange(window, 1, 6);
        QVERIFY(RunStart(
            window,
            [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); },
            &g.messages));
        QCOMPARE(g.session.Variation().Count(), 6LL);
        QVERIFY(!test->isEnabled());
        QCOMPARE(test->statusTip(),
                 QStringLiteral(" A variáció mérete elérte a teljes variáció szelvényszámát. "));
    }

    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 12);
    f.session.Conditions().errorPoints = 1;
    QVERIFY(RunStart(
        window, [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); },
        &f.messages));
    const long long rows = f.session.Variation().Count();
    QVERIFY(rows > 0 && rows < 792);
    QAction* testAction = Action(window, "actionTest");
    QVERIFY(testAction->isEnabled());
    QCOMPARE(testAction->statusTip(), QStringLiteral(" Variáció tesztje. "));

    // The reference: the literal single-threaded walk over the same input.
    VariationTest reference(f.session.MakeTestInput(5, true, 1), f.session.Variation());
    reference.BontasGepiEllenorzes(true);
    const VariationTestInput& input = reference.Input();
    const VariationTestResult expected = reference.Snapshot();
    QVERIFY(!expected.kept[4].empty() && expected.kept[3].empty());
    QVERIFY(InsertAllowed(input, expected, 4, 5, rows));
    f.messages.Clear();

    QVERIFY(RunTest(
        nullptr, [&] { testAction->trigger(); },
        [&](TBontTeszt& test) {
            QVERIFY(test.isModal());
            QCOMPARE(Child<QSpinBox>(test, "drawnSpin")->value(), 5);
            QCOMPARE(Child<QSpinBox>(test, "drawnSpin")->minimum(), 2);
            QCOMPARE(Child<QSpinBox>(test, "drawnSpin")->maximum(), 5);
            QCOMPARE(Child<QSpinBox>(test, "levelSpin")->maximum(), 4);
            QVERIFY(Child<QCheckBox>(test, "conditionsModeBox")->isChecked());
            QTRY_VERIFY_WITH_TIMEOUT(test.HasResult(), kRunTimeout);
            QVERIFY(!test.Running());
            QCOMPARE(ViewText(test, "reportView"), ToQt(BontasTesztLista(input, expected)));
            QCOMPARE(ViewText(test, "missingView"),
                     ToQt(BontasTesztHianyzoLista(input, expected, 4)));
            QCOMPARE(LabelText(test, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            QCOMPARE(LabelText(test, "remainingLabel"), QStringLiteral("Hátralévő: 0:00:00 "));
            QPushButton* insert = Child<QPushButton>(test, "insertButton");
            QVERIFY(insert->isEnabled());
            QVERIFY(!Child<QPushButton>(test, "stopButton")->isEnabled());
            // One error point: no draw of five hits fewer than four, so level 3 has nothing.
            Child<QSpinBox>(test, "levelSpin")->setValue(3);
            QVERIFY(!insert->isEnabled());
            QCOMPARE(insert->toolTip(),
                     QStringLiteral(
                         "3 találatot eredményező  teszt számsorok beillesztése a listába. "));
            QCOMPARE(ViewText(test, "missingView"),
                     ToQt(BontasTesztHianyzoLista(input, expected, 3)));
            Child<QSpinBox>(test, "levelSpin")->setValue(4);
            QVERIFY(insert->isEnabled());
        },
        &window));
    QCOMPARE(f.messages.Count(), std::size_t{0});
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora Personal"));

    // Opened again, the window shows the kept result; "Beillesztés" appends its cases.
    QVERIFY(RunTest(
        nullptr, [&] { testAction->trigger(); },
        [&](TBontTeszt& test) {
            QVERIFY(!test.Running() && test.HasResult());
            QCOMPARE(ViewText(test, "reportView"), ToQt(BontasTesztLista(input, expected)));
            QTest::mouseClick(Child<QPushButton>(test, "insertButton"), Qt::LeftButton);
            QVERIFY(!test.isVisible());
        },
        &window));
    const std::vector<std::vector<std::uint8_t>>& inserted = expected.kept[4];
    const VariationStore& store = f.session.Variation();
    QCOMPARE(store.Count(), rows + static_cast<long long>(inserted.size()));
    QCOMPARE(store.BlockEnds().back(), static_cast<std::int32_t>(store.Count()));
    for (std::size_t i = 0; i < inserted.size(); ++i) {
        const std::uint8_t* row = store.Row(rows + static_cast<long long>(i));
        QCOMPARE(std::vector<std::uint8_t>(row, row + 5), inserted[i]);
    }
    QVERIFY(f.session.Ticket().Extension().active);
    // Every combination left out of a one-error variation misses by one: with them all
    // inserted the variation is the full one.
    QCOMPARE(store.Count(), 792LL);
    QVERIFY(!testAction->isEnabled());
}

void VariationWindowTest::testResultLastsUntilSomethingChanges() {
    // Seven numbers, a row stored twice: the test of five drawn numbers finds the surplus.
    {
        Fixture f;
        for (int n = 1; n <= 7; ++n) {
            f.session.Ticket().Click(n, 0);
        }
        VariationStore& store = f.session.Variation();
        store.Reset(5, 7);
        QVERIFY(store.Reserve(3));
        const std::uint8_t first[5] = {0, 1, 2, 3, 4};
        const std::uint8_t last[5] = {2, 3, 4, 5, 6};
        store.Append(first);
        store.Append(last);
        store.Append(first);
        f.session.variationExists = true;
        TBontTeszt test(f.session, nullptr);
        QVERIFY(RunTest(
            &test, [&] { test.Start(); },
            [&](TBontTeszt& shown) {
                QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
                QCOMPARE(f.messages.Count(), std::size_t{1});
                QCOMPARE(f.messages.Last().kind, MessageKind::Error);
                QCOMPARE(f.messages.LastText(),
                         "1 számsor kétszer (vagy többször) szerepel a variáció listájában."
                         "\r\rLehetséges oka:\r    - Az import állománnyal beolvasott variáció "
                         "tartalma.");
                // Another drawn count outdates the finished result and closes the window.
                Child<QSpinBox>(shown, "drawnSpin")->setValue(4);
                QVERIFY(!shown.isVisible());
                QVERIFY(!shown.HasResult());
            },
            &test));
        QVERIFY(RunTest(
            &test, [&] { test.Start(); },
            [&](TBontTeszt& shown) {
                QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
                QVERIFY(ViewText(shown, "reportView")
                            .startsWith(QStringLiteral(
                                " Találati arányok elérésének esélyei 4 kihúzott szám esetén")));
                QVERIFY(!Child<QPushButton>(shown, "insertButton")->isEnabled());
            },
            &test));
        const QString kept = ViewText(test, "reportView");
        QVERIFY(RunTest(
            &test, [&] { test.Start(); },
            [&](TBontTeszt& shown) {
                QVERIFY(shown.HasResult() && !shown.Running());
                QCOMPARE(ViewText(shown, "reportView"), kept);
            },
            &test));
        // A changed variation is tested anew.
        f.session.BontTesztHozzaadas(1, {{0, 1, 2, 3, 5}});
        VariationTest reference(f.session.MakeTestInput(4, true, 1), store);
        reference.BontasGepiEllenorzes(true);
        const QString expected = ToQt(BontasTesztLista(reference.Input(), reference.Snapshot()));
        QVERIFY(expected != kept);
        QVERIFY(RunTest(
            &test, [&] { test.Start(); },
            [&](TBontTeszt& shown) {
                QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
                QCOMPARE(ViewText(shown, "reportView"), expected);
            },
            &test));
    }

    // 43 numbers against 100 000 rows: far more than the test lets run before Stop.
    Fixture f;
    for (int n = 1; n <= 43; ++n) {
        f.session.Ticket().Click(n, 0);
    }
    VariationStore& store = f.session.Variation();
    store.Reset(5, 43);
    QVERIFY(store.Reserve(100000));
    std::uint8_t row[5] = {0, 1, 2, 3, 4};
    for (int r = 0; r < 100000; ++r) {
        store.Append(row);
        int i = 4;
        while (row[i] == 38 + i) {
            --i;
        }
        ++row[i];
        for (int j = i + 1; j < 5; ++j) {
            row[j] = static_cast<std::uint8_t>(row[j - 1] + 1);
        }
    }
    f.session.variationExists = true;
    TBontTeszt test(f.session, nullptr);
    QVERIFY(RunTest(
        &test, [&] { test.Start(); },
        [&](TBontTeszt& shown) {
            QVERIFY(shown.Running());
            QVERIFY(Child<QPushButton>(shown, "stopButton")->isEnabled());
            QVERIFY(!Child<QPushButton>(shown, "insertButton")->isEnabled());
            // The first tick shows how far the test got.
            QTRY_VERIFY_WITH_TIMEOUT(
                LabelText(shown, "elapsedLabel") != QStringLiteral("Időtartam: 0:00:00"), 5000);
            QTest::mouseClick(Child<QPushButton>(shown, "stopButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!shown.Running(), kRunTimeout);
            QVERIFY(shown.isVisible());
            QVERIFY(!shown.HasResult());
            QVERIFY(!Child<QPushButton>(shown, "stopButton")->isEnabled());
            QVERIFY(!Child<QPushButton>(shown, "insertButton")->isEnabled());
            QVERIFY(ViewText(shown, "missingView").isEmpty());
            QVERIFY(LabelText(shown, "progressLabel") != QStringLiteral("Folyamat: 100%"));
            QVERIFY(ViewText(shown, "reportView").contains(QStringLiteral(" Minden eset")));
        },
        &test));
    // Nothing finished: the next opening starts over, and closing it waits for the worker.
    QVERIFY(RunTest(
        &test, [&] { test.Start(); },
        [&](TBontTeszt& shown) {
            QVERIFY(shown.Running());
            QCOMPARE(LabelText(shown, "progressLabel"), QStringLiteral("Folyamat: 0%"));
            shown.close();
            QTRY_VERIFY_WITH_TIMEOUT(!shown.isVisible(), kRunTimeout);
            QVERIFY(!shown.Running() && !shown.HasResult());
        },
        &test));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora Personal"));
}

QTEST_MAIN(VariationWindowTest)
#include "test_variation_window.moc"
