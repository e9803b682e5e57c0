// The statistics window opened from the main window's tool bar, offscreen.

#include <QCheckBox>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>
#include <numeric>
#include <random>

#include "support/session_parts.h"
#include "support/temp_home.h"
#include "support/window_driver.h"
#include "stats/ui/stat_diagram.h"
#include "stats/ui/tstatisztika.h"
#include "variation/ui/tbontas.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() : SessionParts(4), window(session, {}) {
        window.show();
        window.Betoltes(); // the bundled 5/90 draws
        messages.Clear();
    }
    // Asks for a statistic and waits until it is shown.
    const StatResult& Run(StatKind kind) {
        TStatisztika& stats = *window.StatisticsWindow();
        stats.KindAction(kind)->trigger();
        static const StatResult none;
        const bool ended = QTest::qWaitFor([&stats] { return !stats.Running(); }, kRunTimeout);
        return ended && stats.Shown() != nullptr ? *stats.Shown() : none;
    }
    TFoablak window;
};

} // namespace

class TStatisztikaTest : public QObject {
    Q_OBJECT
private slots:
    void drawStatisticsAreShownAndStored();
    void variationStatisticsFollowTheVariation();
    void diagramsAreSavedAsPngAndSvg();
    void closingStopsAStatisticAndKeepsNothing();
};

void TStatisztikaTest::drawStatisticsAreShownAndStored() {
    Fixture f;
    QAction* button = Action(f.window, "StatisztikaGomb");
    QVERIFY(button->isEnabled());
    button->trigger();
    TStatisztika& stats = *f.window.StatisticsWindow();
    QVERIFY(stats.isVisible());
    QCOMPARE(stats.windowTitle(), QStringLiteral("  Statisztika"));

    const StatResult& sums = f.Run(StatKind::DrawsSum);
    QCOMPARE(stats.windowTitle(), QStringLiteral("  Statisztika - Adatbázis: Számsorok összege"));
    const int draws = f.session.Draws().Count();
    QCOMPARE(stats.Header(),
             QStringLiteral("Tartomány: 1 - %1. húzások alapján 5 kihúzott szám").arg(draws));
    QCOMPARE(sums.bars.size(), std::size_t{426});
    QCOMPARE(sums.samples, static_cast<long long>(draws));
    QCOMPARE(stats.Diagram()->Bars().size(), std::size_t{426});
    QVERIFY(!stats.Table()->isVisible());
    // The bar under the mouse tells its exact value.
    const int bar = stats.Diagram()->BarAt(stats.Diagram()->rect().center());
    QVERIFY(bar >= 0);
    QVERIFY(stats.Diagram()->BarText(bar).startsWith(QStringLiteral("Összeg: ")));

    // Asked again, the stored result is shown at once: the same object.
    const StatResult* stored = stats.Shown();
    f.Run(StatKind::DrawsEvenOdd);
    QVERIFY(stats.Table()->isVisible());
    QCOMPARE(stats.Table()->rowCount(), 2);
    QCOMPARE(stats.Table()->columnCount(), 6);
    stats.KindAction(StatKind::DrawsSum)->trigger();
    QVERIFY(!stats.Running());
    QCOMPARE(stats.Shown(), stored);
    // Sorted, the bars run from the most frequent sum down.
    Child<QPushButton>(stats, "CsokkenoGomb")->click();
    const auto& sorted = stats.Diagram()->Bars();
    QVERIFY(
        std::is_sorted(sorted.begin(), sorted.end(),
                       [](const DiagramBar& a, const DiagramBar& b) { return a.value > b.value; }));

    // A narrower database range makes it anew; the reset command says what it dropped.
    f.session.Ranges().SetLHuzSzamaElso(draws - 9);
    QCOMPARE(f.Run(StatKind::DrawsSum).samples, 10LL);
    Child<QAction>(stats, "stat100")->trigger();
    QCOMPARE(f.messages.LastText(), "Adatbázis - tárolt lekérdezések törölve.");
    QVERIFY(stats.Shown() == nullptr);

    // The main ticket's counts: the extra-number-free 5/90 over the ticket range.
    const StatResult& times = f.Run(StatKind::TimesDrawn);
    QCOMPARE(stats.windowTitle(), QStringLiteral("  Statisztika - Főszelvény: Hányszor húzták"));
    QCOMPARE(times.values.size(), std::size_t{90});
    QCOMPARE(times.totals[0], 5LL * draws);
}

void TStatisztikaTest::variationStatisticsFollowTheVariation() {
    Fixture f;
    MarkRange(f.window, 1, 7);
    QVERIFY(WhileModal<TBontas>(
        &f.window, [&f] { Action(f.window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    QCOMPARE(f.session.Variation().Store().Count(), 21LL);
    Action(f.window, "StatisztikaGomb")->trigger();
    TStatisztika& stats = *f.window.StatisticsWindow();
    // 21 rows of five of 1..7: each number is in 15 of them.
    const StatResult& frequency = f.Run(StatKind::VariationFrequency);
    QCOMPARE(stats.windowTitle(),
             QStringLiteral("  Statisztika - Variáció listájába került 7 szám gyakorisága"));
    QCOMPARE(stats.Header(), QStringLiteral("Tartomány: Variáció 21 számsora, 5 szám"));
    QCOMPARE(frequency.bars.size(), std::size_t{7});
    QCOMPARE(frequency.bars.front()[1], 15);
    // Even-odd of the rows: 2, 4 and 6 are the even numbers; every row holds one to three.
    const StatResult& evenOdd = f.Run(StatKind::VariationEvenOdd);
    QCOMPARE(evenOdd.table[1], (std::vector<std::int32_t>{0, 0, 3, 12, 6, 0, 0}));
    QCOMPARE(stats.Table()->item(1, 2)->text(), QStringLiteral("12"));
    // A changed variation is counted anew; what was shown of it goes first, even when the
    // new statistic cannot be made.
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(f.session.Variation().DeleteRows(1, 1));
    QCOMPARE(f.Run(StatKind::VariationEvenOdd).samples, 20LL);
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(f.session.Variation().DeleteRows(1, 1));
    f.session.Variation().Store().Reset(5, 7); // no rows: nothing can be made
    stats.KindAction(StatKind::VariationEvenOdd)->trigger();
    QVERIFY(stats.Shown() == nullptr);
    Child<QCheckBox>(stats, "option2")->setChecked(true); // redrawn without a result
}

// 200 000 rows of five: hit ratios compare a million numbers, the most allowed, and take long
// enough to be stopped; one row more is refused.
void TStatisztikaTest::closingStopsAStatisticAndKeepsNothing() {
    Fixture f;
    for (int n = 1; n <= 30; ++n) {
        f.session.ClickNumber(n, MarkKind::Variation);
    }
    VariationStore& store = f.session.Variation().Store();
    store.Reset(5, 30);
    QVERIFY(store.Reserve(200001));
    std::mt19937 random(3);
    std::vector<std::uint8_t> positions(30);
    std::iota(positions.begin(), positions.end(), std::uint8_t{0});
    for (int r = 0; r < 200000; ++r) {
        std::shuffle(positions.begin(), positions.end(), random);
        std::sort(positions.begin(), positions.begin() + 5);
        store.Append(positions.data());
    }
    Action(f.window, "StatisztikaGomb")->trigger();
    TStatisztika& stats = *f.window.StatisticsWindow();
    QAction* hitRatios = stats.KindAction(StatKind::VariationHitRatios);
    hitRatios->trigger();
    QVERIFY(stats.Running());
    QVERIFY(!f.window.isEnabled()); // the other windows wait
    QTRY_VERIFY(stats.Progress().startsWith(QStringLiteral(" Statisztika - adatok kigyűjtése:  ")));
    stats.close();
    QTRY_VERIFY_WITH_TIMEOUT(!stats.Running(), kRunTimeout);
    QVERIFY(f.window.isEnabled());
    QVERIFY(stats.Shown() == nullptr);
    QVERIFY(!hitRatios->icon().isNull()); // the command shows it was stopped
    // Nothing was kept: asked again, it runs again.
    stats.show();
    hitRatios->trigger();
    QVERIFY(stats.Running());
    stats.close();
    QTRY_VERIFY_WITH_TIMEOUT(!stats.Running(), kRunTimeout);

    store.Append(positions.data());
    f.messages.Clear();
    stats.show();
    hitRatios->trigger();
    QVERIFY(!stats.Running());
    QCOMPARE(f.messages.LastText(), std::string(kHitRatioRefusedText));
}

// With VELMORA_SCREENSHOTS set, the window is saved there as well.
void TStatisztikaTest::diagramsAreSavedAsPngAndSvg() {
    Fixture f;
    Action(f.window, "StatisztikaGomb")->trigger();
    TStatisztika& stats = *f.window.StatisticsWindow();
    f.Run(StatKind::DrawsSum);
    Child<QCheckBox>(stats, "option1")->setChecked(true); // " Zoom"
    QCOMPARE(Child<QCheckBox>(stats, "option1")->text(), QStringLiteral(" Zoom"));
    // Zoomed, the sums no draw reached at either end are left out.
    const auto& zoomed = stats.Diagram()->Bars();
    QVERIFY(zoomed.size() < 426);
    QVERIFY(zoomed.front().value > 0 && zoomed.back().value > 0);
    TempHome folder;
    const QString png = QString::fromStdString(folder.Path() + "sum.png");
    const QString svg = QString::fromStdString(folder.Path() + "sum.svg");
    QVERIFY(stats.Diagram()->Save(png));
    QVERIFY(stats.Diagram()->Save(svg));
    QImage image(png);
    QVERIFY(!image.isNull() && image.width() >= 480);
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<svg"));
    const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QVERIFY(stats.grab().save(shots + QStringLiteral("/statisztika_osszeg.png")));
        f.Run(StatKind::DrawsEvenOdd);
        QVERIFY(stats.grab().save(shots + QStringLiteral("/statisztika_paros.png")));
    }
}

QTEST_MAIN(TStatisztikaTest)
#include "test_tstatisztika.moc"
