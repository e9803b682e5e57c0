// The variation list opened from the main window, offscreen.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "common/file_io.h"
#include "draws/ui/thuzszama.h"
#include "support/fake_file_chooser.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "ticket/tszelveny.h"
#include "variation/ui/tbontas.h"
#include "ticket/number_box.h"
#include "variation/ui/tbontellszelveny.h"
#include "variation/ui/tbontlista.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() : SessionParts(9) {
        window.show();
        window.LottoSelect(1); // 6/45
    }
    // The full variation of the first `count` numbers, made with "Start".
    void MakeVariation(int count) {
        MarkRange(window, 1, count);
        QVERIFY(WhileModal<TBontas>(
            &window, [this] { Action(window, "actionStart")->trigger(); },
            [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
        QVERIFY(session.Variation().Exists());
    }
    // Opens rows of a csv file as the variation ("Megnyitás..."; unsorted, as in the file).
    void OpenRows(const std::string& text) {
        const std::string path = home.Path() + "rows.csv";
        QVERIFY(ReplaceFile(path, text));
        chooser.QueueChoice(path, 3);
        window.SetChooser(chooser);
        Action(window, "actionOpen")->trigger();
    }
    // Opens the variation list ("Lista").
    TBontLista& List() {
        Action(window, "actionListVariation")->trigger();
        return *window.ListWindow();
    }
    // Clicks `numbers` on the check ticket.
    TBontEllSzelveny& Enter(std::initializer_list<int> numbers) {
        for (int n : numbers) {
            window.CheckTicket()->Click(n, Qt::NoModifier);
        }
        return *window.CheckTicket();
    }
    long long Rows() { return session.Variation().Store().Count(); }
    FakeFileChooser chooser; // outlives the window that holds it
    TFoablak window{session, {}};
};

QString Cell(TBontLista& list, int row, int column) {
    return list.Table()->model()->index(row, column).data().toString();
}

} // namespace

class TBontListaTest : public QObject {
    Q_OBJECT
private slots:
    void listShowsEveryRowAndTheSelectedRowsProfile();
    void listFollowsTheVariation();
    void checkTicketCountsTheRowsPerLevel();
    void sortAndOriginalOrderKeepTheSelectedRow();
    void rowsAreAddedAndModifiedOnTheCheckTicket();
    void aRepeatedRowIsReportedOncePerSelection();
    void extensionsAreMarkedCommittedAndDeleted();
    void aDrawsListRowShowsItsDraw();
    void screenshot();
};

// C(12, 6) = 924 rows: the first and the last line, paging to the ends, and the profile of a
// row against the whole variation.
void TBontListaTest::listShowsEveryRowAndTheSelectedRowsProfile() {
    Fixture f;
    QAction* list = Action(f.window, "actionListVariation");
    QVERIFY(!list->isEnabled());
    f.MakeVariation(12);
    QVERIFY(list->isEnabled());
    TBontLista& window = f.List();
    QVERIFY(window.isVisible());
    QCOMPARE(window.Table()->model()->rowCount(), 924);
    QCOMPARE(window.Table()->model()->columnCount(), 7);
    QCOMPARE(Cell(window, 0, 0), QStringLiteral("1"));
    QCOMPARE(Cell(window, 0, 6), QStringLiteral("6"));
    QCOMPARE(Cell(window, 923, 1), QStringLiteral("7"));
    QCOMPARE(window.SelectedLine(), 1LL);
    QCOMPARE(window.Profile(), (std::vector<long long>{36, 225, 400, 225, 36, 0}));
    QVERIFY(window.Ticket()->ReportText().startsWith(QStringLiteral("  Variáció 1. számsora")));
    window.HatraGombClick();
    QCOMPARE(window.SelectedLine(), 924LL);
    window.HatraLapozGombClick(); // at the end: stays
    QCOMPARE(window.SelectedLine(), 924LL);
    window.EloreLapozGombClick();
    QVERIFY(window.SelectedLine() < 924);
    window.EloreGombClick();
    QCOMPARE(window.SelectedLine(), 1LL);
    window.EloreLapozGombClick(); // at the start: stays
    QCOMPARE(window.SelectedLine(), 1LL);
    QCOMPARE(f.messages.Count(), std::size_t{0}); // no row is repeated
}

void TBontListaTest::listFollowsTheVariation() {
    Fixture f;
    f.MakeVariation(8);
    TBontLista& window = f.List();
    QCOMPARE(window.Table()->model()->rowCount(), 28);
    window.HatraGombClick();
    f.messages.QueueAnswer(Answer::Yes);
    Action(f.window, "actionDeleteVariation")->trigger();
    QVERIFY(!f.session.Variation().Exists());
    QVERIFY(!window.isVisible());
}

// Marking a row on the check ticket counts the rows per level; a number outside the variation
// cannot be marked; deleting the variation closes the ticket.
void TBontListaTest::checkTicketCountsTheRowsPerLevel() {
    Fixture f;
    f.MakeVariation(12);
    Action(f.window, "actionCheckVariation")->trigger();
    TBontEllSzelveny& check = *f.window.CheckTicket();
    QVERIFY(check.Grid()->isVisible());
    for (int n = 1; n <= 6; ++n) {
        NumberBox* box = check.Grid()->Box(n);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
    }
    QCOMPARE(check.Counts().levels, (std::vector<long long>{36, 225, 400, 225, 36, 1}));
    QVERIFY(check.Grid()->ReportText().contains(QStringLiteral(" » 6 találat:       1")));
    QCOMPARE(check.Level(0), 6); // the row 1 2 3 4 5 6

    // The list opened with the ticket and searches the levels it counts.
    TBontLista& list = *f.window.ListWindow();
    QVERIFY(list.isVisible());
    QVERIFY(list.SearchShown());
    QComboBox* box = list.SearchBox();
    QCOMPARE(box->count(), 7);
    QCOMPARE(box->itemText(0), QStringLiteral("Minden találat"));
    QCOMPARE(box->itemText(1), QStringLiteral("      6 találat"));
    box->setCurrentIndex(1); // level 6: the one row
    list.ElsoreKeresGombClick();
    QCOMPARE(list.SelectedLine(), 1LL);
    list.TovabbKeresGombClick(); // no later one: the last one, which it is
    QCOMPARE(list.SelectedLine(), 1LL);
    box->setCurrentIndex(2); // level 5: 36 rows, each found in turn
    list.ElsoreKeresGombClick();
    long long found = 1;
    long long previous = list.SelectedLine();
    QCOMPARE(check.Level(previous - 1), 5);
    for (list.TovabbKeresGombClick(); list.SelectedLine() != previous;
         list.TovabbKeresGombClick()) {
        QVERIFY(list.SelectedLine() > previous);
        QCOMPARE(check.Level(list.SelectedLine() - 1), 5);
        previous = list.SelectedLine();
        ++found;
    }
    QCOMPARE(found, 36LL);
    list.VisszaKeresGombClick();
    QVERIFY(list.SelectedLine() < previous);
    list.UtolsoraKeresGombClick();
    QCOMPARE(list.SelectedLine(), previous);
    check.Click(30, Qt::NoModifier);
    QCOMPARE(check.Row().numbers.size(), std::size_t{6});
    QCOMPARE(check.Grid()->Box(30)->Caption(), QStringLiteral("-"));
    check.Click(6, Qt::NoModifier); // unmarked again: five marked
    QCOMPARE(check.Counts().levels.back(), 7LL);
    f.messages.QueueAnswer(Answer::Yes);
    Action(f.window, "actionDeleteVariation")->trigger();
    QVERIFY(!check.Grid()->isVisible());
    QVERIFY(check.Row().numbers.empty());
}

// Rows imported out of order: "Rendezés" sorts them and the list keeps the selected row;
// "Eredeti sorrend" brings back the file's order and the row's old line.
void TBontListaTest::sortAndOriginalOrderKeepTheSelectedRow() {
    Fixture f;
    f.OpenRows("1;2;3;4;5;6\r\n7;8;9;10;11;12\r\n1;2;3;4;5;7\r\n");
    QVERIFY(f.session.Variation().Exists());
    TBontLista& list = f.List();
    list.AktSorKijelol(3);
    QAction* sort = Action(f.window, "actionSortRows");
    QAction* original = Action(f.window, "actionOriginalOrder");
    QVERIFY(sort->isEnabled());
    QVERIFY(!original->isEnabled());
    sort->trigger();
    QCOMPARE(Cell(list, 1, 6), QStringLiteral("7")); // 1 2 3 4 5 7 is now second
    QCOMPARE(list.SelectedLine(), 2LL);
    QVERIFY(!sort->isEnabled());
    QCOMPARE(original->toolTip(),
             QStringLiteral(" Variáció indexeinek visszarendezése - az eredeti állapot szerint. "));
    original->trigger();
    QCOMPARE(Cell(list, 2, 6), QStringLiteral("7"));
    QCOMPARE(list.SelectedLine(), 3LL);
    QVERIFY(sort->isEnabled());
}

// "Hozzáadás" and "Módosítás" open the check ticket on one row: OK waits for a whole row, a
// row the variation holds already is refused, an added row becomes the last line.
void TBontListaTest::rowsAreAddedAndModifiedOnTheCheckTicket() {
    Fixture f;
    f.OpenRows("1;2;3;4;5;6\r\n7;8;9;10;11;12\r\n");
    TBontLista& list = f.List();
    TBontEllSzelveny& check = *f.window.CheckTicket();
    auto* add = Child<QPushButton>(list, "BontListBovitesGomb");
    auto* modify = Child<QPushButton>(list, "BontListModositasGomb");
    QVERIFY(add->isEnabled() && modify->isEnabled());

    add->click();
    QCOMPARE(check.CurrentMode(), TBontEllSzelveny::Mode::Add);
    QCOMPARE(check.Grid()->windowTitle(), QStringLiteral("  Számsor beolvasása"));
    f.Enter({1, 2, 3, 4, 5});
    QVERIFY(!check.Grid()->DeleteButton()->isEnabled());
    f.Enter({6, 7}); // a row holds six: 7 is ignored
    QCOMPARE(check.Row().numbers.size(), std::size_t{6});
    QVERIFY(check.Grid()->DeleteButton()->isEnabled());
    f.messages.Clear();
    QVERIFY(!check.Confirm()); // 1 2 3 4 5 6 is there already
    QCOMPARE(f.messages.LastText(), std::string(kRepeatedRowText));
    QCOMPARE(f.Rows(), 2LL);
    QVERIFY(f.Enter({6, 12}).Confirm());
    QCOMPARE(f.Rows(), 3LL);
    QCOMPARE(list.SelectedLine(), 3LL);
    QCOMPARE(Cell(list, 2, 6), QStringLiteral("12"));
    QVERIFY(f.session.Ticket().Extension().active);

    list.AktSorKijelol(1);
    modify->click();
    QCOMPARE(check.CurrentMode(), TBontEllSzelveny::Mode::Modify);
    QVERIFY(f.Enter({1, 2, 3, 4, 5, 9}).Confirm());
    QCOMPARE(f.Rows(), 3LL);
    QCOMPARE(Cell(list, 0, 6), QStringLiteral("9"));
    QCOMPARE(list.SelectedLine(), 1LL);
    // The profile is of the rows as they are now: 9 with 7..12, five with 1 2 3 4 5 12.
    QCOMPARE(list.Profile(), (std::vector<long long>{1, 0, 0, 0, 1, 0}));
    // A row being entered is no search: the list's search panel stays hidden.
    add->click();
    f.Enter({1});
    QVERIFY(!list.SearchShown());
    // The window's own close button closes the ticket as "Kilépés" does.
    check.Grid()->close();
    QVERIFY(check.Row().numbers.empty());
}

// An imported file may hold a row twice: selecting it shows the full-hit count 1 and the
// error once.
void TBontListaTest::aRepeatedRowIsReportedOncePerSelection() {
    Fixture f;
    f.OpenRows("1;2;3;4;5;6\r\n7;8;9;10;11;12\r\n1;2;3;4;5;6\r\n");
    f.messages.Clear();
    TBontLista& list = f.List(); // line 1 is selected: a repeated row
    QCOMPARE(list.Profile().back(), 1LL);
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.LastText(), std::string(kRepeatedRowText));
    list.AktSorKijelol(2);
    QCOMPARE(list.Profile().back(), 0LL);
    QCOMPARE(f.messages.Count(), std::size_t{1});
    list.AktSorKijelol(3);
    QCOMPARE(f.messages.Count(), std::size_t{2});
    // Sorting keeps the repeated row selected and says so once more, not once per restart.
    f.messages.Clear();
    Action(f.window, "actionSortRows")->trigger();
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(list.Profile().back(), 1LL);
}

// Rows added by hand in extension mode: the list marks their blocks, "Bővítmény hozzáadása"
// joins them to the body, and the list's "Törlés" deletes the last block or a range of rows.
void TBontListaTest::extensionsAreMarkedCommittedAndDeleted() {
    Fixture f;
    f.OpenRows("1;2;3;4;5;6\r\n3;4;5;6;7;8\r\n1;2;3;6;7;8\r\n");
    QAction* toggle = Action(f.window, "actionToggleExtension");
    QAction* commit = Action(f.window, "actionCommitExtension");
    QAction* undo = Action(f.window, "actionUndoExtension");
    QVERIFY(toggle->isEnabled() && !toggle->isChecked() && !commit->isEnabled());
    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QVERIFY(Child<QLabel>(f.window, "extensionImage")->isVisible());
    QAction* open = Action(f.window, "actionOpen");
    QVERIFY(!open->isEnabled());
    QCOMPARE(open->property("hint").toString(),
             QStringLiteral(" Aktív a variáció bővítése opció - a funkció nem elérhető.  "));

    TBontLista& list = f.List();
    const auto addRow = [&](std::initializer_list<int> numbers) {
        Child<QPushButton>(list, "BontListBovitesGomb")->click();
        QVERIFY(f.Enter(numbers).Confirm());
    };
    addRow({1, 2, 3, 4, 5, 7});
    QVERIFY(commit->isEnabled() && undo->isEnabled());
    // The body's line numbers are grey; the added block starts underlined, on beige.
    QAbstractItemModel* model = list.Table()->model();
    const auto background = [model](int row, int column) {
        return model->index(row, column).data(Qt::BackgroundRole).value<QColor>();
    };
    QCOMPARE(background(0, 0), QColor(212, 208, 200));
    QCOMPARE(background(0, 1), QColor(255, 251, 240));
    QCOMPARE(background(3, 0), QColor(240, 236, 225));
    QVERIFY(!model->index(2, 0).data(Qt::FontRole).value<QFont>().underline());
    QVERIFY(model->index(3, 0).data(Qt::FontRole).value<QFont>().underline());
    // The list offers the same commands as the menu.
    QVERIFY(Child<QToolButton>(list, "actionCommitExtensionButton")->isEnabled());

    f.messages.Clear();
    commit->trigger();
    QCOMPARE(f.messages.LastText(), "Bővítmény beillesztve.");
    QVERIFY(!list.isVisible());
    QVERIFY(!commit->isEnabled());
    QCOMPARE(f.session.Ticket().Extension().committedMark, 4LL);

    // The last block goes through the deletion dialog's box, after the confirmation.
    f.List();
    addRow({1, 2, 3, 4, 5, 8});
    QCOMPARE(f.session.Variation().Store().BlockEnds(), (std::vector<std::int32_t>{3, 4, 5}));
    auto* remove = Child<QPushButton>(list, "BontSzamsorokTorleseGomb");
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(WhileModal<THuzSzama>(
        &f.window, [&] { remove->click(); },
        [](THuzSzama& range) {
            QCOMPARE(range.windowTitle(), QStringLiteral("  Számsorok törlése"));
            QCOMPARE(range.FirstField()->Text(), QStringLiteral("5"));
            QCheckBox* lastBlock = range.AllDraws();
            QCOMPARE(lastBlock->text(), QStringLiteral(" Bővítmény törlése"));
            QVERIFY(lastBlock->isEnabled());
            lastBlock->setChecked(true);
            QVERIFY(!range.FirstField()->isEnabled());
            QVERIFY(range.Confirm());
        }));
    QCOMPARE(f.messages.LastText(), "A törlés művelete nem visszavonható.\r\rBiztos törli a "
                                    "listába utoljára beillesztett számsorokat?");
    QCOMPARE(f.Rows(), 4LL);

    // A range of rows: one row is a range too; the rows after it move up.
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(WhileModal<THuzSzama>(
        &f.window, [&] { remove->click(); },
        [](THuzSzama& range) {
            range.FirstField()->SetText(QStringLiteral("2"));
            range.LastField()->SetText(QStringLiteral("2"));
            QVERIFY(range.Confirm());
        }));
    QCOMPARE(f.Rows(), 3LL);
    QCOMPARE(f.session.Variation().Store().BlockEnds(), (std::vector<std::int32_t>{2, 3}));
    QVERIFY(list.isVisible());
    QCOMPARE(list.SelectedLine(), 2LL);
    QCOMPARE(Cell(list, 1, 6), QStringLiteral("8"));

    // The check ticket's OK finds the row that holds most of its numbers.
    Action(f.window, "actionCheckVariation")->trigger();
    f.Enter({1, 2, 3, 6, 7, 8});
    list.AktSorKijelol(3);
    f.window.CheckTicket()->Confirm();
    QCOMPARE(list.SelectedLine(), 2LL);
    toggle->trigger();
    QVERIFY(!toggle->isChecked() && open->isEnabled());
}

// With VELMORA_SCREENSHOTS set to a folder, the list and its ticket are saved there.
void TBontListaTest::screenshot() {
    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (folder.isEmpty()) {
        QSKIP("VELMORA_SCREENSHOTS is not set");
    }
    Fixture f;
    f.MakeVariation(12);
    TBontLista& window = f.List();
    window.AktSorKijelol(100);
    QCoreApplication::processEvents();
    QVERIFY(window.grab().save(folder + QStringLiteral("/bontlista.png")));
    QVERIFY(window.Ticket()->grab().save(folder + QStringLiteral("/bontlista_szelveny.png")));
    Action(f.window, "actionCheckVariation")->trigger();
    TBontEllSzelveny& check = f.Enter({1, 3, 5, 7, 9, 11});
    QVERIFY(check.Grid()->grab().save(folder + QStringLiteral("/ellenorzes.png")));

    // The first two rows deleted and added again in extension mode, each a block of its own;
    // then the deletion dialog.
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(f.session.Variation().DeleteRows(1, 2));
    Action(f.window, "actionToggleExtension")->trigger();
    for (int last : {6, 7}) {
        f.window.CheckTicket()->Open(TBontEllSzelveny::Mode::Add);
        QVERIFY(f.Enter({1, 2, 3, 4, 5, last}).Confirm());
    }
    window.resize(window.width(), 420);
    QCoreApplication::processEvents();
    window.AktSorKijelol(923);
    window.HatraGombClick();
    QVERIFY(window.grab().save(folder + QStringLiteral("/bontlista_bovites.png")));
    THuzSzama* range = f.window.RangeDialog();
    range->PrepareRows(RangeMode::DeleteRows, 924, {924, 924}, true);
    QVERIFY(range->grab().save(folder + QStringLiteral("/szamsorok_torlese.png")));
}

// A row taken from the draws list shows its draw in the "Húzás" column before its numbers.
void TBontListaTest::aDrawsListRowShowsItsDraw() {
    VariationStore store;
    store.Reset(6, 45);
    store.Reserve(2);
    const std::uint8_t rows[2][6] = {{3, 9, 17, 22, 31, 40}, {1, 2, 3, 4, 5, 6}};
    for (const std::uint8_t* row : rows) {
        store.AppendRaw(row);
    }
    ExportSource source;
    source.drawsList = true;
    source.rowDraws = {1201, 0};
    VariationRowsModel model(nullptr);
    model.Reset(&store, source);
    QCOMPARE(model.columnCount(), 2 + 6);
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString::fromUtf8("Húzás"));
    QCOMPARE(model.index(0, 1).data().toInt(), 1201);
    QCOMPARE(model.index(0, 2).data().toInt(), 3);
    QCOMPARE(model.index(1, 7).data().toInt(), 6);
    QVERIFY(!model.index(1, 1).data().isValid()); // a draw no longer in the list
    source.drawsList = false;
    source.numbers = {10, 20, 30, 40, 50, 60};
    store.Reset(6, 6);
    model.Reset(&store, source);
    QCOMPARE(model.columnCount(), 1);
}

QTEST_MAIN(TBontListaTest)
#include "test_tbontlista.moc"
