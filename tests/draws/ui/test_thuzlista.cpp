// The draws list opened from the main window, offscreen: entering, changing, deleting, undoing
// and saving draws.

#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QUrl>
#include <QtTest>

#include "common/file_io.h"
#include "draws/ui/thuzbe.h"
#include "draws/ui/thuzkeresszelveny.h"
#include "draws/ui/thuzlista.h"
#include "support/session_parts.h"
#include "support/temp_home.h"
#include "support/window_driver.h"
#include "ticket/tszelveny.h"

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
    void searchStepsThroughTheDrawsOfACount();
    void theOperatorsPageOpensInTheBrowser();
    void aFailedSaveKeepsTheEditsAndTheFile();
    void drawsAVariationWasMeasuredAgainstStay();
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
    // The small ticket shows the selected draw; its button hides and shows it.
    QVERIFY(list.DrawTicket() != nullptr && list.DrawTicket()->isVisible());
    QCOMPARE(list.DrawTicket()->windowTitle(), QStringLiteral("  %1. húzás").arg(draws));
    list.Command("ToolButton4")->trigger();
    QVERIFY(!list.DrawTicket()->isVisible());
    QCOMPARE(list.Command("ToolButton4")->toolTip(),
             QStringLiteral(" Segédszelvény megjelenítése. "));
    list.Command("ToolButton4")->trigger();
    QVERIFY(list.DrawTicket()->isVisible());

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
        QVERIFY(list.DrawTicket()->grab().save(shots + QStringLiteral("/huzaslista_szelveny.png")));
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

// The last bundled draw, 6 24 77 88 89, searched in all draws: the panel offers the counts
// found, and the buttons step through the draws of one count.
void THuzListaTest::searchStepsThroughTheDrawsOfACount() {
    Fixture f;
    Action(f.window, "AdatKeresGomb")->trigger();
    THuzLista& list = f.List();
    QVERIFY(list.isVisible());
    THuzKeresSzelveny& search = *list.Search();
    QVERIFY(search.Grid()->isVisible());
    QCOMPARE(search.Grid()->windowTitle(), QStringLiteral("  Számsor keresés"));
    QVERIFY(!list.SearchShown());
    for (int n : {6, 24, 77, 88, 89}) {
        search.Click(n, Qt::NoModifier);
    }
    search.Click(1, Qt::NoModifier); // a sixth number is not taken
    QCOMPARE(search.Row().numbers.size(), std::size_t{5});
    QVERIFY(list.SearchShown());
    QComboBox* box = list.SearchBox();
    QCOMPARE(box->itemText(0), QStringLiteral("Minden találat"));
    QCOMPARE(box->itemText(1), QStringLiteral("    5   találat"));
    QVERIFY(search.Summary().contains(
        QStringLiteral("1 - %1. húzások alapján.").arg(f.session.Draws().Count())));

    // The threes, one after the other, each holding three of the numbers.
    const int threes = box->findText(QStringLiteral("    3   találat"));
    QVERIFY(threes > 0);
    box->setCurrentIndex(threes);
    list.ElsoreKeresGombClick();
    const GameInfo game = f.session.Game();
    const auto hits = [&] {
        const DrawPosition at = list.SelectedDrawing();
        return DrawingHits(game, f.session.Draws().At(at.row - 1), at.set, search.Row());
    };
    QCOMPARE(hits(), 3);
    const int first = list.SelectedRow();
    list.TovabbKeresGombClick();
    QCOMPARE(hits(), 3);
    QVERIFY(list.SelectedRow() > first);
    list.VisszaKeresGombClick();
    QCOMPARE(list.SelectedRow(), first);
    list.UtolsoraKeresGombClick();
    const int last = list.SelectedRow();
    list.TovabbKeresGombClick(); // past the last: the last
    QCOMPARE(list.SelectedRow(), last);
    QCOMPARE(Child<QPushButton>(list, "UtolsoraKeresGomb")->toolTip(),
             QStringLiteral(" Az utolsó 3 találatos számsor kiválasztva. "));

    // The list's own search takes the selected draw's numbers.
    list.SelectRow(1);
    list.KeresesGombClick();
    const DrawRecord& oldest = f.session.Draws().At(0);
    QCOMPARE(search.Row().numbers,
             std::vector<std::uint8_t>(oldest.numbers.begin(), oldest.numbers.begin() + 5));
    // A range that holds none of the numbers hides the panel.
    f.session.Ranges().SetLHuzSzamaElso(1);
    f.session.Ranges().SetLHuzSzamaUtolso(1);
    search.SetRow({{2, 3, 4}, 0});
    QVERIFY(!list.SearchShown());
}

void THuzListaTest::theOperatorsPageOpensInTheBrowser() {
    Fixture f;
    QUrl opened;
    f.window.openAddress = [&opened](const QUrl& address) { opened = address; };
    QAction* page = Action(f.window, "actionOperatorPage");
    QCOMPARE(page->text(), QStringLiteral("Magyar 5/90 lottó honlapja"));
    page->trigger();
    QCOMPARE(opened, QUrl(QStringLiteral("https://www.szerencsejatek.hu")));
    // The draws list report goes to the list folder's "huzlist.rtf", which is then opened; the
    // list offers the same commands.
    Action(f.window, "actionPrintDrawsToFile")->trigger();
    const std::string report = f.session.Folders().list + "huzlist.rtf";
    QCOMPARE(opened, QUrl::fromLocalFile(QString::fromStdString(report)));
    std::vector<std::uint8_t> rtf;
    QVERIFY(ReadFileBytes(report, 1 << 22, rtf));
    QVERIFY(std::string(rtf.begin(), rtf.end()).find("nyer\\'f5sz\\'e1mai") != std::string::npos);
    Action(f.window, "actionListDraws")->trigger();
    QVERIFY(f.List().Command("NyomtatasGomb")->menu() != nullptr);
    // Games of one operator share its page.
    QCOMPARE(OperatorAddress(16), OperatorAddress(0));
    QCOMPARE(QString::fromStdString(OperatorAddress(7)), QStringLiteral("https://www.lutrija.hr"));
}

// A disk that takes no more: the edits stay in memory, undoable, and the file as it was.
void THuzListaTest::aFailedSaveKeepsTheEditsAndTheFile() {
    Fixture f;
    Action(f.window, "actionListDraws")->trigger();
    THuzLista& list = f.List();
    const std::string path = f.session.DatabasePath();
    std::vector<std::uint8_t> before;
    QVERIFY(ReadFileBytes(path, kMaxDatabaseSize, before));
    QVERIFY(f.Enter("BovitesGomb", {1, 2, 3, 4, 5}));
    {
        const FileSizeLimit full(1000);
        QVERIFY(!list.MentesGombClick());
    }
    QCOMPARE(f.messages.Log()[f.messages.Count() - 2].text,
             "Hiba történt a(z) " + path + " mentése során.");
    std::vector<std::uint8_t> after;
    QVERIFY(ReadFileBytes(path, kMaxDatabaseSize, after));
    QCOMPARE(after, before);
    QVERIFY(f.session.Draws().DatabaseModified());
    QVERIFY(list.Command("MentesGomb")->isVisible());
    const int count = f.session.Draws().Count();
    list.VisszaGombClick();
    QCOMPARE(f.session.Draws().Count(), count - 1);
}

// While a variation holds a hit-ratio condition over draws 3000..3100, those draws cannot be
// changed, and none at or before the last of them can be deleted or have one inserted before.
void THuzListaTest::drawsAVariationWasMeasuredAgainstStay() {
    Fixture f;
    MarkRange(f.window, 1, 6);
    VariationStore& store = f.session.Variation().Store();
    store.Reset(5, 6);
    QVERIFY(store.Reserve(1));
    const std::uint8_t row[] = {0, 1, 2, 3, 4};
    store.Append(row);
    HitRatioCondition& ratio = f.session.Conditions().hitRatio;
    ratio.active = true;
    ratio.searched = true;
    ratio.firstDraw = 3000;
    ratio.lastDraw = 3100;
    Action(f.window, "actionListDraws")->trigger();
    THuzLista& list = f.List();
    const struct {
        int row;
        bool modify, insertAndDelete;
    } cases[] = {{3050, false, false}, {2000, true, false}, {3200, true, true}};
    for (const auto& c : cases) {
        list.SelectRow(c.row);
        QCOMPARE(list.Command("ModositasGomb")->isEnabled(), c.modify);
        QCOMPARE(list.Command("TorlesGomb")->isEnabled(), c.insertAndDelete);
        QCOMPARE(list.Command("BeszurasGomb")->isEnabled(), c.insertAndDelete);
    }
    list.SelectRow(3050);
    QCOMPARE(list.Command("ModositasGomb")->toolTip(),
             QStringLiteral(" Nem módosítható a húzás. "));
    QCOMPARE(list.Command("TorlesGomb")->toolTip(), QStringLiteral(" Nem törölhető a húzás. "));
}

QTEST_MAIN(THuzListaTest)
#include "test_thuzlista.moc"
