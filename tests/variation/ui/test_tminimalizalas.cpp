// "Variáció minimalizálása...": from the main window's menu, offscreen; the search runs, its
// result replaces the rows, and "Minimalizálás visszavonása" brings the rows before back.

#include <QSpinBox>
#include <QtTest>

#include "support/session_parts.h"
#include "support/window_driver.h"
#include "reports/ui/tinfo.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontteszt.h"
#include "variation/ui/tminimalizalas.h"

using namespace velmora;
using namespace velmora::testing;

class TMinimalizalasTest : public QObject {
    Q_OBJECT
private slots:
    void minimisesFromTheMenuAndUndoes();
};

void TMinimalizalasTest::minimisesFromTheMenuAndUndoes() {
    SessionParts f(5);
    TFoablak window(f.session, {});
    window.show();
    QAction* minimise = Action(window, "actionMinimise");
    QAction* undo = Action(window, "actionUndoMinimise");
    MarkRange(window, 1, 12);
    auto generate = [&] {
        QVERIFY(WhileModal<TBontas>(
            &window, [&] { Action(window, "actionStart")->trigger(); },
            [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    };
    QVERIFY(!minimise->isEnabled()); // no variation yet
    QCOMPARE(minimise->toolTip(), QStringLiteral(" Nincs kész hibapontos variáció. "));
    f.session.Conditions().errorPoints = 1;
    generate();
    QCOMPARE(f.session.Variation().Store().Count(), 65);
    QVERIFY(minimise->isEnabled());
    QVERIFY(!undo->isEnabled());
    f.messages.Clear();

    const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    QVERIFY(WhileModal<TMinimalizalas>(
        &window, [&] { minimise->trigger(); },
        [&](TMinimalizalas& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Variáció minimalizálása"));
            QCOMPARE(LabelText(dialog, "titleLabel"),
                     QStringLiteral("12 szám 1 hibapontos variációja 65 számsorra"));
            QCOMPARE(LabelText(dialog, "boundLabel"),
                     QStringLiteral("Alsó korlát: 22 számsor (feltételek nélkül)"));
            QCOMPARE(LabelText(dialog, "bestLabel"), QStringLiteral("65"));
            Child<QSpinBox>(dialog, "secondsSpin")->setValue(60);
            QTest::mouseClick(Child<QPushButton>(dialog, "startButton"), Qt::LeftButton);
            QVERIFY(dialog.Running());
            QVERIFY(!Child<QSpinBox>(dialog, "secondsSpin")->isEnabled());
            // Stopped after two seconds of progress: the best variation so far is kept.
            QTRY_VERIFY_WITH_TIMEOUT(dialog.Plot()->Best().size() >= 3, 10000);
            QTest::mouseClick(Child<QPushButton>(dialog, "stopButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.Running(), 10000);
            const std::vector<QPointF>& best = dialog.Plot()->Best();
            QVERIFY(best.back().y() < 65);
            for (std::size_t i = 1; i < best.size(); ++i) {
                QVERIFY(best[i].y() <= best[i - 1].y());
            }
            if (!shots.isEmpty()) {
                dialog.grab().save(shots + QStringLiteral("/minimalizalas.png"));
            }
            QTest::mouseClick(Child<QPushButton>(dialog, "exitButton"), Qt::LeftButton);
        }));
    const long long rows = f.session.Variation().Store().Count();
    QVERIFY(rows < 65);
    QCOMPARE(f.messages.LastText(), MinimisedText(rows, 65));
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(f.session.Variation().Store().Count(), 65);
    QVERIFY(!undo->isEnabled());

    // The information window and the test window show the rows beside the lower bound.
    const QString bound = QStringLiteral(
        "A variáció 65 számsorból áll; alsó korlát 12 számra, 1 hibaponttal, feltételek nélkül: "
        "22 számsor.");
    Action(window, "actionInformation")->trigger();
    auto* info = window.findChild<TInfo*>();
    QVERIFY(info != nullptr);
    QCOMPARE(LabelText(*info, "boundLabel"), bound);
    info->close();
    QVERIFY(WhileModal<TBontTeszt>(
        &window, [&] { Action(window, "actionTest")->trigger(); },
        [&](TBontTeszt& test) {
            QCOMPARE(LabelText(test, "boundLabel"), bound);
            QTRY_VERIFY_WITH_TIMEOUT(test.HasResult(), kRunTimeout);
            test.KilepesGombClick();
        }));
}

QTEST_MAIN(TMinimalizalasTest)
#include "test_tminimalizalas.moc"
