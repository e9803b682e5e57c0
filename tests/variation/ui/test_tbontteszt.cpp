// The variation test window, from the main window's "Teszt..." and on its own, offscreen.

#include <QCheckBox>
#include <QSpinBox>
#include <QToolBar>
#include <QtTest>

#include "draws/ui/thuzszama.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "ticket/qt_colours.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontlista.h"
#include "variation/ui/tbontteszt.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

QSpinBox* Spin(TBontTeszt& test, const char* name) {
    return Child<QSpinBox>(test, name);
}

QPushButton* Button(TBontTeszt& test, const char* name) {
    return Child<QPushButton>(test, name);
}

// A test window of the session's variation, and a way to open it and work it.
struct TestWindow {
    explicit TestWindow(Session& session)
        : window(session.Variation(), session.Ticket(), session.GetSettings(),
                 session.GetMessages(), nullptr) {}
    bool Open(std::function<void(TBontTeszt&)> drive) {
        return WhileModal<TBontTeszt>(
            &window, [this] { window.Start(); }, std::move(drive));
    }
    TBontTeszt window;
};

// The rows of a variation given as positions, over `numbers` marked numbers.
void SetRows(SessionParts& parts, int numbers, const std::vector<std::vector<std::uint8_t>>& rows) {
    for (int n = 1; n <= numbers; ++n) {
        parts.session.Ticket().Click(n, MarkKind::Variation);
    }
    VariationStore& store = parts.session.Variation().Store();
    store.Reset(5, numbers);
    QVERIFY(store.Reserve(static_cast<long long>(rows.size())));
    for (const auto& row : rows) {
        store.Append(row.data());
    }
}

} // namespace

class TBontTesztTest : public QObject {
    Q_OBJECT
private slots:
    void reportsAndInsertsMissingRows();
    void aResultLastsUntilSomethingChanges();
    void stopAndCloseEndARunningTest();
    void reopensAtItsOwnSize();
};

void TBontTesztTest::reportsAndInsertsMissingRows() {
    SessionParts f(5);
    TFoablak window(f.session, {});
    window.show();
    QAction* testAction = Action(window, "actionTest");
    QVERIFY(window.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions().contains(testAction));
    MarkRange(window, 1, 12);
    f.session.Conditions().errorPoints = 1;
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    const long long rows = f.session.Variation().Store().Count();
    QVERIFY(rows > 0 && rows < 792);
    QVERIFY(testAction->isEnabled());

    // The reference: the literal single-threaded walk over the same input.
    VariationTest reference(f.session.Variation().MakeTestInput(5, true, 1),
                            f.session.Variation().Store());
    reference.BontasGepiEllenorzes(true);
    const VariationTestInput& input = reference.Input();
    const VariationTestResult expected = reference.Snapshot();
    QVERIFY(!expected.kept[4].empty() && expected.kept[3].empty());
    f.messages.Clear();

    QVERIFY(WhileModal<TBontTeszt>(
        &window, [&] { testAction->trigger(); },
        [&](TBontTeszt& test) {
            QCOMPARE(Spin(test, "drawnSpin")->value(), 5);
            QCOMPARE(Spin(test, "drawnSpin")->minimum(), 2);
            QCOMPARE(Spin(test, "drawnSpin")->maximum(), 5);
            QCOMPARE(Spin(test, "levelSpin")->maximum(), 4);
            QVERIFY(Child<QCheckBox>(test, "conditionsModeBox")->isChecked());
            QTRY_VERIFY_WITH_TIMEOUT(test.HasResult(), kRunTimeout);
            QCOMPARE(ViewText(test, "reportView"), ToQt(BontasTesztLista(input, expected)));
            QCOMPARE(ViewText(test, "missingView"),
                     ToQt(BontasTesztHianyzoLista(input, expected, 4)));
            QCOMPARE(LabelText(test, "progressLabel"), QStringLiteral("Folyamat: 100%"));
            QCOMPARE(LabelText(test, "remainingLabel"), QStringLiteral("Hátralévő: 0:00:00 "));
            QPushButton* insert = Button(test, "insertButton");
            QVERIFY(insert->isEnabled());
            QVERIFY(!Button(test, "stopButton")->isEnabled());
            // One error point: no draw of five hits fewer than four, so level 3 has nothing.
            Spin(test, "levelSpin")->setValue(3);
            QVERIFY(!insert->isEnabled());
            QCOMPARE(insert->toolTip(),
                     QStringLiteral(
                         "3 találatot eredményező  teszt számsorok beillesztése a listába. "));
            QCOMPARE(ViewText(test, "missingView"),
                     ToQt(BontasTesztHianyzoLista(input, expected, 3)));
            Spin(test, "levelSpin")->setValue(4);
        }));
    QCOMPARE(f.messages.Count(), std::size_t{0});

    // Opened again, the window shows the kept result; "Beillesztés" asks which of the missing
    // rows to append: cancelled, the test window comes back; rows 2..3 make one block.
    const std::vector<std::vector<std::uint8_t>>& missing = expected.kept[4];
    const auto insertRows = [&](const std::function<void(THuzSzama&)>& choose) {
        QVERIFY(WhileModal<TBontTeszt>(
            &window, [&] { testAction->trigger(); },
            [&](TBontTeszt& test) {
                QTRY_VERIFY_WITH_TIMEOUT(!test.Running() && test.HasResult(), kRunTimeout);
                WhenModal<THuzSzama>(&window, choose);
                QTest::mouseClick(Button(test, "insertButton"), Qt::LeftButton);
                QVERIFY(!test.isVisible());
            }));
    };
    bool testCameBack = false;
    insertRows([&](THuzSzama& range) {
        QCOMPARE(range.windowTitle(), QStringLiteral("  Számsorok hozzáadása"));
        QCOMPARE(range.AllDraws()->text(), QStringLiteral(" Minden számsor"));
        QVERIFY(range.AllDraws()->isChecked());
        QCOMPARE(range.LastField()->Text(), QString::number(missing.size()));
        WhenModal<TBontTeszt>(&window, [&](TBontTeszt& test) {
            testCameBack = test.HasResult();
            WhenModal<THuzSzama>(&window, [](THuzSzama& again) {
                again.FirstField()->SetText(QStringLiteral("2"));
                again.LastField()->SetText(QStringLiteral("3"));
                QVERIFY(again.Confirm());
            });
            QTest::mouseClick(Button(test, "insertButton"), Qt::LeftButton);
        });
        range.reject();
    });
    QVERIFY(testCameBack);
    const VariationStore& store = f.session.Variation().Store();
    QCOMPARE(store.Count(), rows + 2);
    QCOMPARE(store.BlockEnds().back(), static_cast<std::int32_t>(store.Count()));
    const auto rowAt = [&store](long long r) {
        return std::vector<std::uint8_t>(store.Row(r), store.Row(r) + 5);
    };
    QCOMPARE(rowAt(rows), missing[1]);
    QCOMPARE(rowAt(rows + 1), missing[2]);
    QVERIFY(f.session.Ticket().Extension().active);
    QCOMPARE(window.ListWindow()->SelectedLine(), rows + 1); // the list shows the first new row

    // Every combination left out of a one-error variation misses by one: with them all
    // inserted the variation is the full one, and there is nothing left to test.
    insertRows([](THuzSzama& range) { QVERIFY(range.Confirm()); });
    QCOMPARE(store.Count(), 792LL);
    QVERIFY(!testAction->isEnabled());
    QCOMPARE(testAction->statusTip(),
             QStringLiteral(" A variáció mérete elérte a teljes variáció szelvényszámát. "));
}

void TBontTesztTest::aResultLastsUntilSomethingChanges() {
    // Seven numbers, a row stored twice: the test of five drawn numbers finds the surplus.
    SessionParts f;
    SetRows(f, 7, {{0, 1, 2, 3, 4}, {2, 3, 4, 5, 6}, {0, 1, 2, 3, 4}});
    TestWindow test(f.session);
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
        QCOMPARE(f.messages.Count(), std::size_t{1});
        QCOMPARE(f.messages.Last().kind, MessageKind::Error);
        QCOMPARE(f.messages.LastText(),
                 "1 számsor kétszer (vagy többször) szerepel a variáció listájában.\r\rLehetséges "
                 "oka:\r    - Az import állománnyal beolvasott variáció tartalma.");
        // Another drawn count outdates the finished result and closes the window.
        Spin(shown, "drawnSpin")->setValue(4);
        QVERIFY(!shown.isVisible());
        QVERIFY(!shown.HasResult());
    }));
    QString kept;
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
        kept = ViewText(shown, "reportView");
        QVERIFY(kept.startsWith(
            QStringLiteral(" Találati arányok elérésének esélyei 4 kihúzott szám esetén")));
        QVERIFY(!Button(shown, "insertButton")->isEnabled());
    }));
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QVERIFY(shown.HasResult() && !shown.Running());
        QCOMPARE(ViewText(shown, "reportView"), kept);
    }));
    // A changed variation is tested anew.
    f.session.Variation().AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 5}});
    VariationTest reference(f.session.Variation().MakeTestInput(4, true, 1),
                            f.session.Variation().Store());
    reference.BontasGepiEllenorzes(true);
    const QString expected = ToQt(BontasTesztLista(reference.Input(), reference.Snapshot()));
    QVERIFY(expected != kept);
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QTRY_VERIFY_WITH_TIMEOUT(shown.HasResult(), kRunTimeout);
        QCOMPARE(ViewText(shown, "reportView"), expected);
    }));
}

void TBontTesztTest::stopAndCloseEndARunningTest() {
    // 43 numbers against 100 000 rows: far more than the test lets run before Stop.
    SessionParts f;
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> row = {0, 1, 2, 3, 4};
    for (int r = 0; r < 100000; ++r) {
        rows.push_back(row);
        int i = 4;
        while (row[static_cast<std::size_t>(i)] == 38 + i) {
            --i;
        }
        ++row[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < 5; ++j) {
            row[static_cast<std::size_t>(j)] =
                static_cast<std::uint8_t>(row[static_cast<std::size_t>(j - 1)] + 1);
        }
    }
    SetRows(f, 43, rows);
    TestWindow test(f.session);
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QVERIFY(shown.Running());
        QVERIFY(Button(shown, "stopButton")->isEnabled());
        QVERIFY(!Button(shown, "insertButton")->isEnabled());
        // The first tick shows how far the test got.
        QTRY_VERIFY_WITH_TIMEOUT(
            LabelText(shown, "elapsedLabel") != QStringLiteral("Időtartam: 0:00:00"), 5000);
        QTest::mouseClick(Button(shown, "stopButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!shown.Running(), kRunTimeout);
        QVERIFY(shown.isVisible());
        QVERIFY(!shown.HasResult());
        QVERIFY(!Button(shown, "stopButton")->isEnabled());
        QVERIFY(ViewText(shown, "missingView").isEmpty());
        QVERIFY(LabelText(shown, "progressLabel") != QStringLiteral("Folyamat: 100%"));
        QVERIFY(ViewText(shown, "reportView").contains(QStringLiteral(" Minden eset")));
    }));
    // Nothing finished: the next opening starts over, and closing it waits for the worker.
    QVERIFY(test.Open([&](TBontTeszt& shown) {
        QVERIFY(shown.Running());
        QCOMPARE(LabelText(shown, "progressLabel"), QStringLiteral("Folyamat: 0%"));
        shown.close();
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isVisible(), kRunTimeout);
        QVERIFY(!shown.Running() && !shown.HasResult());
    }));
    // The task-bar text is the caption again, and no display name was set for Qt to append.
    QVERIFY(test.window.windowIconText().isEmpty());
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void TBontTesztTest::reopensAtItsOwnSize() {
    SessionParts f(5);
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 12);
    f.session.Conditions().errorPoints = 1;
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    // Every opening shows the window at the size of its contents: there is nothing to
    // stretch, so the user cannot resize it. (Where it reopens depends on the window manager's
    // frame, which an offscreen test does not have.)
    for (int opening = 0; opening < 2; ++opening) {
        QVERIFY(WhileModal<TBontTeszt>(
            &window, [&] { Action(window, "actionTest")->trigger(); },
            [&](TBontTeszt& test) {
                QVERIFY(QTest::qWaitForWindowExposed(&test));
                QTRY_VERIFY_WITH_TIMEOUT(test.HasResult(), kRunTimeout);
                QCOMPARE(test.minimumSize(), test.maximumSize());
                QCOMPARE(test.size(), test.sizeHint());
            }));
    }
}

QTEST_MAIN(TBontTesztTest)
#include "test_tbontteszt.moc"
