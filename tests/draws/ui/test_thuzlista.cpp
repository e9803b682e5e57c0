// The draws list opened from the main window, offscreen: entering, changing, deleting, undoing
// and saving draws.

#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include "draws/ui/thuzbe.h"
#include "draws/ui/thuzlista.h"
#include "support/session_parts.h"
#include "support/window_driver.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() : SessionParts(6), window(session, {}) {
        window.show();
        window.Betoltes(); // the bundled 5/90 draws
        messages.Clear();
    }
    THuzLista& List() { return *window.DrawsList(); }
    QString Cell(int row, int column) {
        return List().Table()->model()->index(row - 1, column).data().toString();
    }
    // Runs a list command that opens the entry dialog and enters `numbers` there.
    bool Enter(const char* command, std::initializer_list<int> clicks, bool confirm = true) {
        return WhileModal<THuzBe>(
            &window, [&] { List().Command(command)->trigger(); },
            [&](THuzBe& entry) {
                for (int n : clicks) {
                    entry.Click(n, Qt::NoModifier);
                }
                if (confirm) {
                    QVERIFY(entry.Confirm());
                }
            });
    }
    TFoablak window;
};

} // namespace

class THuzListaTest : public QObject {
    Q_OBJECT
private slots:
    void drawsAreEnteredChangedUndoneAndSaved();
    void refusedAndCancelledEntriesChangeNothing();
};

void THuzListaTest::drawsAreEnteredChangedUndoneAndSaved() {
    Fixture f;
    Action(f.window, "actionListDraws")->trigger();
    THuzLista& list = f.List();
    QVERIFY(list.isVisible());
    const int draws = f.session.Draws().Count();
    QCOMPARE(list.Table()->model()->rowCount(), draws);
    QCOMPARE(list.Table()->model()->columnCount(), 8);
    QCOMPARE(list.Table()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("1."));
    QCOMPARE(list.SelectedRow(), draws);
    QVERIFY(!list.Command("MentesGomb")->isVisible());

    // Appended after the last draw (2025, week 34): week 35 of 2025.
    QVERIFY(f.Enter("BovitesGomb", {47, 7, 37, 17, 27}));
    QCOMPARE(f.session.Draws().Count(), draws + 1);
    QCOMPARE(f.Cell(draws + 1, 0), QString::number(draws + 1));
    QCOMPARE(f.Cell(draws + 1, 2), QStringLiteral("35"));
    QCOMPARE(f.Cell(draws + 1, 3), QStringLiteral("7"));
    QCOMPARE(f.Cell(draws + 1, 7), QStringLiteral("47"));
    QCOMPARE(list.SelectedRow(), draws + 1);
    QVERIFY(list.Command("MentesGomb")->isVisible());
    QVERIFY(Action(f.window, "actionSaveDraws")->isEnabled());

    // Changed: 47 out, 48 in.
    QVERIFY(f.Enter("ModositasGomb", {47, 48}));
    QCOMPARE(f.Cell(draws + 1, 7), QStringLiteral("48"));
    list.VisszaGombClick();
    QCOMPARE(f.Cell(draws + 1, 7), QStringLiteral("47"));
    list.MegseGombClick();
    QCOMPARE(f.Cell(draws + 1, 7), QStringLiteral("48"));

    // Deleted after the question, and back with an undo.
    f.messages.QueueAnswer(Answer::Yes);
    list.TorlesGombClick();
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt húzást?");
    QCOMPARE(f.session.Draws().Count(), draws);
    list.VisszaGombClick();
    QCOMPARE(f.session.Draws().Count(), draws + 1);

    // Saved, the draw is there when the program starts again.
    QVERIFY(list.MentesGombClick());
    QCOMPARE(f.messages.LastText(), "Adatbázis elmentve.");
    QVERIFY(!list.Command("MentesGomb")->isVisible());
    FakeMessages quiet;
    const auto again = f.Another(quiet);
    again->ApplyGame(0);
    QVERIFY(again->LoadDraws());
    QCOMPARE(again->Draws().Count(), draws + 1);
    QCOMPARE(again->Draws().Draws().back().numbers[4], 48);

    const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QVERIFY(list.grab().save(shots + QStringLiteral("/huzaslista.png")));
    }
}

void THuzListaTest::refusedAndCancelledEntriesChangeNothing() {
    Fixture f;
    Action(f.window, "actionListDraws")->trigger();
    const std::vector<DrawRecord> before = f.session.Draws().Draws();
    // Four numbers of five: the entry says so and stays open.
    QVERIFY(WhileModal<THuzBe>(
        &f.window, [&] { f.List().Command("BovitesGomb")->trigger(); },
        [&](THuzBe& entry) {
            QCOMPARE(entry.windowTitle(), QStringLiteral("  Húzás beolvasása"));
            QCOMPARE(entry.YearField()->minimum(), 2025);
            QCOMPARE(entry.YearField()->maximum(), 2025);
            QCOMPARE(entry.WeekField()->value(), 35);
            for (int n : {1, 2, 3, 4}) {
                entry.Click(n, Qt::NoModifier);
            }
            QVERIFY(!entry.Confirm());
            QCOMPARE(f.messages.LastText(), "Jelöljön ki 5 számot a számsoron.");
            QVERIFY(entry.isVisible());
            entry.Click(5, Qt::NoModifier);
            entry.Click(6, Qt::NoModifier); // a sixth number is not taken
            entry.reject();
        }));
    QCOMPARE(f.session.Draws().Draws(), before);
    QVERIFY(!f.session.Draws().DatabaseModified());
    QVERIFY(!f.List().Command("VisszaGomb")->isEnabled());
    QCOMPARE(f.List().Command("VisszaGomb")->toolTip(),
             QStringLiteral(" Nincs visszavonható művelet. "));
}

QTEST_MAIN(THuzListaTest)
#include "test_thuzlista.moc"
