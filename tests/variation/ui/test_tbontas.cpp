// The engine window driven from the main window's "Start", offscreen.

#include <QCheckBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QtTest>

#include "dialogs/qt_messages.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() : SessionParts(5) { window.show(); }
    // 30 numbers with a condition every row meets: the store reaches its first 100 000 rows and
    // asks whether it may grow (142 506 rows in all).
    void PrepareLongRun() {
        MarkRange(window, 1, 30);
        session.Conditions().span = {true, 1, 30};
        messages.Clear();
    }
    // Presses "Start" and runs `drive` on the engine window.
    bool Start(std::function<void(TBontas&)> drive) {
        return WhileModal<TBontas>(
            &window, [this] { Action(window, "actionStart")->trigger(); }, std::move(drive));
    }
    // Runs `atQuestion` on the engine window while its worker waits for the answer to `text`.
    void AtQuestion(const std::string& text, std::function<void(TBontas&)> atQuestion) {
        messages.onPresent = [text, atQuestion](const FakeMessages::Shown& shown) {
            auto* engine = qobject_cast<TBontas*>(QApplication::activeModalWidget());
            if (engine != nullptr && shown.text.find(text) != std::string::npos) {
                atQuestion(*engine);
            }
        };
    }
    TFoablak window{session, {}};
};

QPushButton* Button(TBontas& engine, const char* name) {
    return Child<QPushButton>(engine, name);
}

void WaitForTheEnd(TBontas& engine) {
    QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
}

const char* const kGrow = "Engedélyezi a szabad memória lefoglalását?";
const char* const kGoOn = "Folytatja a variációt?";

} // namespace

class TBontasTest : public QObject {
    Q_OBJECT
private slots:
    void finishedRunShowsItsResult();
    void emptyResultShowsTheDiagnosis();
    void aQuestionOfTheRunRestsTheWindow();
    void stopCloseAndDestroyLeaveNoVariation();
    void pauseLeavesAPausedVariationOrGoesOn();
    void realMessageBoxesBelongToTheRun();
};

void TBontasTest::finishedRunShowsItsResult() {
    Fixture f;
    MarkRange(f.window, 1, 7);
    ClickBox(f.window, 10, Qt::ShiftModifier);
    f.messages.Clear();
    QVERIFY(f.Start([&](TBontas& engine) {
        QVERIFY(engine.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(engine.windowTitle(), QStringLiteral("  Variáció készítése"));
        // Sized to its contents, with nothing to stretch: no room below the buttons.
        QCOMPARE(engine.minimumSize(), engine.maximumSize());
        QCOMPARE(engine.size(), engine.sizeHint());
        WaitForTheEnd(engine);
        QVERIFY(engine.Finished());
        QCOMPARE(LabelText(engine, "headlineLabel"),
                 QStringLiteral("7 szám 0 hibapontos variációja 4 számra"));
        QCOMPARE(LabelText(engine, "rowCountLabel"),
                 QStringLiteral("35 számsor szükséges a játékhoz"));
        QCOMPARE(LabelText(engine, "costLabel"), QStringLiteral("Variáció költsége: 7 875 forint"));
        QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: 100%"));
        QVERIFY(LabelText(engine, "durationLabel").startsWith(QStringLiteral("Időtartam:  0:00:")));
        QCOMPARE(Child<QProgressBar>(engine, "progressBar")->value(), 100);
        QVERIFY(!Button(engine, "stopButton")->isEnabled());
        QVERIFY(!Button(engine, "pauseButton")->isEnabled());
        for (QCheckBox* box : engine.findChildren<QCheckBox*>()) {
            QVERIFY2(!box->isChecked(), qPrintable(box->text()));
        }
        QCOMPARE(Button(engine, "backgroundButton")->text(), QStringLiteral("Kilépés"));
        QTest::mouseClick(Button(engine, "backgroundButton"), Qt::LeftButton);
        QVERIFY(!engine.isVisible());
    }));

    // A new variation with a fixed number starts with the reminder; No switches it off.
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Log()[0].kind, MessageKind::Notice);
    QCOMPARE(f.messages.Log()[0].text,
             "7 szám 0 hibapontos variációját készíti 4 számra.\rCsak akkor lehetséges a(z) 5 "
             "találat elérése,\rha a fix számot is eltalálja.\r\rErre legközelebb is "
             "emlékeztesse a program?");
    QVERIFY(!f.session.GetSettings().notices[kNoticeFixedNumbersReminder]);

    // The rows went to the variation: positions into the seven numbers.
    const VariationStore& rows = f.session.Variation().Store();
    QCOMPARE(rows.Count(), 35LL);
    QCOMPARE((std::vector<int>(rows.Row(34), rows.Row(34) + 4)), (std::vector<int>{3, 4, 5, 6}));
    QVERIFY(!f.session.Variation().Paused());
    QVERIFY(Action(f.window, "actionDeleteVariation")->isEnabled());
    QCOMPARE(LabelText(f.window, "variationRows"),
             QStringLiteral("35 számsor szükséges a játékhoz"));
    QVERIFY(!Action(f.window, "actionStart")->isEnabled());

    // Deleted, it is made again, without the reminder.
    f.messages.QueueAnswer(Answer::Yes);
    Action(f.window, "actionDeleteVariation")->trigger();
    QVERIFY(!f.session.Variation().Exists());
    f.messages.Clear();
    QVERIFY(f.Start(WaitForTheEnd));
    QCOMPARE(f.messages.Count(), std::size_t{0});
    QCOMPARE(f.session.Variation().Store().Count(), 35LL);
}

void TBontasTest::emptyResultShowsTheDiagnosis() {
    Fixture f;
    MarkRange(f.window, 1, 10);
    f.session.Conditions().span = {true, 1, 2}; // five numbers cannot lie within two positions
    f.messages.Clear();
    QVERIFY(f.Start([&](TBontas& engine) {
        WaitForTheEnd(engine);
        QVERIFY(engine.isVisible());
        QCOMPARE(LabelText(engine, "rowCountLabel"),
                 QStringLiteral("0 számsor szükséges a játékhoz"));
        auto* span = Child<QCheckBox>(engine, "condition13");
        QCOMPARE(span->text(), QStringLiteral("Terjedelem"));
        QVERIFY(span->isChecked());
    }));
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Error);
    QVERIFY(f.messages.LastText().starts_with("Az alábbi feltételek nem teljesültek:\r"));
    QVERIFY(f.messages.LastText().find("Terjedelem") != std::string::npos);
    QVERIFY(!f.session.Variation().Exists());
}

void TBontasTest::aQuestionOfTheRunRestsTheWindow() {
    Fixture f;
    f.PrepareLongRun();
    bool asked = false;
    f.AtQuestion(kGrow, [&](TBontas& engine) {
        asked = true;
        QVERIFY(engine.Running());
        // The count the worker asks about is shown; the buttons rest while the user reads.
        QCOMPARE(LabelText(engine, "rowCountLabel"),
                 QStringLiteral("100 000 számsor szükséges a játékhoz"));
        QCOMPARE(LabelText(engine, "costLabel"),
                 QStringLiteral("Variáció költsége: 22 500 000 forint"));
        QVERIFY(!Button(engine, "stopButton")->isEnabled());
        QVERIFY(!Button(engine, "backgroundButton")->isEnabled());
        const int percent = Child<QProgressBar>(engine, "progressBar")->value();
        QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: %1%").arg(percent));
        // Gone to the background, the run shows its progress in the task bar, where the main
        // window stands by its caption.
        QApplication::setActiveWindow(nullptr);
        // The window may have lost the focus to the question already: it is told again.
        QEvent change(QEvent::ActivationChange);
        QApplication::sendEvent(&engine, &change);
        const QString taskBar = QStringLiteral("%1% - Variáció").arg(percent);
        QCOMPARE(engine.windowIconText(), taskBar);
        QCOMPARE(f.window.windowIconText(), taskBar);
        QCOMPARE(f.window.windowTitle(), taskBar);
        QCOMPARE(engine.windowTitle(), QStringLiteral("  Variáció készítése"));
    });
    // No answer queued: the store may not grow, and the run ends as stopped.
    QVERIFY(f.Start(
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout); }));
    QVERIFY(asked);
    QVERIFY(!f.session.Variation().Exists());
    QVERIFY(f.window.windowIconText().isEmpty());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Magyar 5/90 lottó  -  Velmora Personal "));
    // No display name either, which Qt would append to every caption.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void TBontasTest::stopCloseAndDestroyLeaveNoVariation() {
    // Stop during the run; then closing (and Escape) while it runs: the window waits for the
    // worker and closes when it is back.
    for (const bool stopButton : {true, false}) {
        Fixture f;
        f.PrepareLongRun();
        f.messages.QueueAnswer(Answer::Yes); // the store may grow: the stop ends the run
        f.AtQuestion(kGrow, [stopButton](TBontas& engine) {
            if (stopButton) {
                engine.StopGombClick();
                return;
            }
            engine.close();
            QTest::keyClick(&engine, Qt::Key_Escape);
            QVERIFY(engine.isVisible());
        });
        QVERIFY(f.Start([](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(!engine.isVisible(), kRunTimeout);
            QVERIFY(!engine.Finished());
        }));
        QCOMPARE(f.messages.PendingAnswers(), std::size_t{0});
        QVERIFY(!f.session.Variation().Exists());
        QVERIFY(!f.session.Variation().Paused());
        QVERIFY(!Action(f.window, "actionDeleteVariation")->isEnabled());
    }

    // An engine window destroyed in the middle of a run stops the worker before it goes; the
    // worker's question is answered meanwhile.
    SessionParts g(5);
    for (int n = 1; n <= 30; ++n) {
        g.session.Ticket().Click(n, MarkKind::Variation);
    }
    g.session.Conditions().span = {true, 1, 30};
    g.messages.QueueAnswer(Answer::Yes);
    auto engine = std::make_unique<TBontas>(g.session.Variation(), g.session.GetSettings(),
                                            g.session.GetMessages(), nullptr);
    QVERIFY(engine->BontasIndul());
    engine->show();
    engine.reset();
    QVERIFY(!g.session.Variation().Exists());
}

void TBontasTest::pauseLeavesAPausedVariationOrGoesOn() {
    for (const Answer goOn : {Answer::No, Answer::Yes}) {
        Fixture f;
        f.session.GetSettings().currency = 1;
        f.session.GetSettings().prices[1] = 2.25;
        f.PrepareLongRun();
        f.messages.QueueAnswers({Answer::Yes, goOn}); // grow, then go on or not
        f.AtQuestion(kGrow, [](TBontas& engine) { engine.MegszakitGombClick(); });
        QVERIFY(f.Start([&](TBontas& engine) {
            WaitForTheEnd(engine);
            QVERIFY(engine.isVisible());
            QVERIFY(engine.Finished());
            QCOMPARE(LabelText(engine, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            for (int i = 0; i < kConditionCount; ++i) {
                QCOMPARE(Child<QCheckBox>(engine, qPrintable(QStringLiteral("condition%1").arg(i)))
                             ->isChecked(),
                         i == 13);
            }
            if (goOn == Answer::Yes) {
                QCOMPARE(LabelText(engine, "costLabel"),
                         QStringLiteral("Variáció költsége: 320 638,50 euro"));
            }
        }));
        QCOMPARE(f.messages.Count(), std::size_t{2});
        QCOMPARE(f.messages.Last().kind, MessageKind::Question);
        QVERIFY(f.messages.LastText().ends_with(std::string("\r\r") + kGoOn));
        const long long rows = f.session.Variation().Store().Count();
        if (goOn == Answer::No) {
            QVERIFY(f.session.Variation().Paused());
            QVERIFY(rows >= 100000 && rows < 142506);
            QVERIFY(Action(f.window, "actionStart")->isEnabled()); // a paused run goes on
        } else {
            QVERIFY(!f.session.Variation().Paused());
            QCOMPARE(rows, 142506LL);
        }
    }
}

void TBontasTest::realMessageBoxesBelongToTheRun() {
    TempHome home;
    QtMessages messages;
    SeededRandom random{5};
    FixedClock clock;
    Session session(MakeProgramFolders(home.Path()), messages, random, clock);
    TFoablak window(session, {});
    messages.SetOwner(&window);
    window.show();
    MarkRange(window, 1, 30);
    session.Conditions().span = {true, 1, 30};

    // The worker's question is a real box of the engine window. While it is up the clock stands
    // still and the buttons rest; "Nem" refuses the growth and the run ends as stopped.
    QString caption;
    bool buttonsRested = false;
    QString durationShown;
    QString durationLater;
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [&](TBontas& engine) {
            QElapsedTimer shown;
            QTimer watcher;
            QObject::connect(&watcher, &QTimer::timeout, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) {
                    return;
                }
                if (!shown.isValid()) {
                    shown.start();
                    caption = box->windowTitle();
                    buttonsRested = box->parentWidget() == &engine &&
                                    !Button(engine, "stopButton")->isEnabled() &&
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
    QVERIFY(!session.Variation().Exists());
}

QTEST_MAIN(TBontasTest)
#include "test_tbontas.moc"
