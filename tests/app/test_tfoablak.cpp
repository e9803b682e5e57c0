// The main window driven offscreen: marking, the commands' states, the game menu, the draws
// views, the file commands, closing and the exception log.

#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <functional>

#include "draws/ui/thuzszama.h"
#include "common/file_io.h"
#include "common/sha256.h"
#include "session/draws_update.h"
#include "support/draws_files.h"
#include "support/fake_file_chooser.h"
#include "support/http_test_server.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "app/tvelszam.h"
#include "ticket/qt_colours.h"
#include "variation/ui/tbontas.h"
#include "draws/ui/thuzlista.h"
#include "variation/ui/tbontlista.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    explicit Fixture(const StartOptions& options = {}) : SessionParts(3), window(session, options) {
        window.show();
    }
    // Runs the engine window that `trigger` opens to its end; returns its caption.
    QString RunEngine(const std::function<void()>& trigger) {
        QString caption;
        [&] {
            QVERIFY(WhileModal<TBontas>(&window, trigger, [&caption](TBontas& engine) {
                caption = engine.windowTitle();
                QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            }));
        }();
        return caption;
    }
    // Makes the plain variation of the marks through "Start".
    void Generate() {
        RunEngine([this] { Action(window, "actionStart")->trigger(); });
    }
    QString BoxCaption(int number) const {
        return window.Foszelveny()->Grid()->Box(number)->Caption();
    }
    TFoablak window;
};

} // namespace

class TFoablakTest : public QObject {
    Q_OBJECT
private slots:
    void clicksMarkTheThreeKinds();
    void rightButtonPaintsARow();
    void commandsShowTheirStates();
    void gameMenuSwitchesTheGame();
    void numberOrderView();
    void loadingStepBuildsTheDrawsAndTheViewsShowThem();
    void rangeDialogChecksItsFields();
    void missingDrawsAskToDownload();
    void filesSavedAndOpenedThroughTheDialogs();
    void restoreBringsBackADeletedVariation();
    void randomNumbersAreAskedForAndMarked();
    void webPagesOpenFromTheSettings();
    void examplesAreMadeFromADrawAndFromRandomNumbers();
    void aNewVersionIsAnnouncedAndInstalled();
    void exitQuestionDecidesAndSettingsAreWritten();
    void decliningToEndTheOtherCopyEndsThisOne();
    void exceptionsAreLoggedWithTheCounts();
};

void TFoablakTest::clicksMarkTheThreeKinds() {
    Fixture f;
    TFoablak& window = f.window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Magyar 5/90 lottó  -  Velmora Personal "));
    QCOMPARE(window.Foszelveny()->Grid()->windowTitle(), QStringLiteral("  Főszelvény"));
    MarkRange(window, 1, 5);
    ClickBox(window, 10, Qt::ShiftModifier);
    ClickBox(window, 20, Qt::ControlModifier);
    const MainTicket& t = f.session.Ticket();
    QCOMPARE(t.Selected(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 20}));
    QCOMPARE(t.Fixed(), (std::vector<std::uint8_t>{10}));
    QCOMPARE(t.Constant(), (std::vector<std::uint8_t>{20}));
    QVERIFY(window.Foszelveny()->Grid()->Box(10)->IsRaised());
    QCOMPARE(window.Foszelveny()->Grid()->ReportText(),
             ToQt(" Kijelölve  :  7 szám\r  - fix     :  1\r  - állandó :  1\r"
                  "  - véletlen:  0\r Számsorrend: Változatlan"));
    QCOMPARE(window.Foszelveny()->Grid()->Box(10)->toolTip(),
             ToQt(" Fix szám: 10\r 1. fix szám \r 7. szám a számsoron belül "));
    QCOMPARE(window.FullVariationText(), QStringLiteral("Teljes variáció: 15 számsor"));

    ClickBox(window, 3);
    ClickBox(window, 10, Qt::ShiftModifier);
    QCOMPARE(t.Selected(), (std::vector<std::uint8_t>{1, 2, 4, 5, 20}));
    QVERIFY(!window.Foszelveny()->Grid()->Box(3)->IsRaised());
    QCOMPARE(window.FullVariationText(), QString());

    Action(window, "actionMarkAll")->trigger();
    QCOMPARE(t.MarkedCount(), 90);
    f.messages.QueueAnswer(Answer::Yes);
    Action(window, "actionClearAll")->trigger();
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QCOMPARE(t.MarkedCount(), 0);
}

void TFoablakTest::rightButtonPaintsARow() {
    Fixture f;
    TSzelveny* grid = f.window.Foszelveny()->Grid();
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid));
    ClickBox(f.window, 12, Qt::ShiftModifier);
    NumberBox* first = grid->Box(11);
    QTest::mousePress(first, Qt::RightButton, Qt::NoModifier, first->rect().center());
    QCOMPARE(f.session.Ticket().MarkedCount(), 1); // pressing alone paints nothing
    for (int n : {11, 11, 12, 13, 14}) {
        NumberBox* box = grid->Box(n);
        QMouseEvent move(
            QEvent::MouseMove, first->mapFromGlobal(box->mapToGlobal(box->rect().center())),
            box->mapToGlobal(box->rect().center()), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(first, &move);
    }
    QTest::mouseRelease(first, Qt::RightButton, Qt::NoModifier, first->rect().center());
    QCOMPARE(f.session.Ticket().Selected(), (std::vector<std::uint8_t>{11, 13, 14}));
    QCOMPARE(f.session.Ticket().Fixed(), (std::vector<std::uint8_t>{12}));
}

void TFoablakTest::commandsShowTheirStates() {
    Fixture f;
    TFoablak& window = f.window;
    QAction* start = Action(window, "actionStart");
    QCOMPARE(start->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    auto* tools = Child<QToolBar>(window, "toolBar");
    QVERIFY(tools->actions().contains(start));
    QMenu* menu = qobject_cast<QMenu*>(start->parent());
    QCOMPARE(menu->title(), QStringLiteral("     Variáció     "));
    QAction* saveAs = Action(window, "actionSaveAs");
    QCOMPARE(qobject_cast<QToolButton*>(tools->widgetForAction(saveAs))->text(),
             QStringLiteral("Mentés másként..."));
    auto* clearButton = Child<QToolButton>(window, "clearButton");

    // A row's worth of numbers is not a variation yet; the hints are those of the command model.
    MarkRange(window, 1, 5);
    QVERIFY(!start->isEnabled() && !menu->menuAction()->isEnabled() && !saveAs->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral(" Nincs kijelölt számsor. "));
    QCOMPARE(saveAs->statusTip(), QStringLiteral(" Nincs elmentésre váró adat. "));
    QVERIFY(clearButton->isEnabled());
    QCOMPARE(clearButton->toolTip(), QStringLiteral(" Számok törlése. "));
    ClickBox(window, 6);
    QVERIFY(start->isEnabled() && menu->menuAction()->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral(" Variáció készítése. "));
    QVERIFY(!Action(window, "actionDeleteVariation")->isEnabled());

    // Without the "Hint" setting the hints do not show.
    f.session.GetSettings().hints = false;
    ClickBox(window, 7);
    QCOMPARE(start->statusTip(), QString());
    QCOMPARE(start->toolTip(), start->text());
}

void TFoablakTest::gameMenuSwitchesTheGame() {
    Fixture f;
    TFoablak& window = f.window;
    ClickBox(window, 7);
    window.GameAction(8)->trigger(); // declined: the game and its marks stay
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QVERIFY(window.GameAction(0)->isChecked());
    QCOMPARE(f.session.Ticket().MarkedCount(), 1);

    f.messages.QueueAnswer(Answer::Yes);
    window.GameAction(8)->trigger();
    QVERIFY(window.GameAction(8)->isChecked());
    QCOMPARE(window.windowTitle(), QStringLiteral("Magyar Kenó - 10 számra  -  Velmora Personal "));
    QCOMPARE(window.Foszelveny()->Grid()->BoxCount(), 80);
    QCOMPARE(window.GameAction(1)->shortcut(), QKeySequence(Qt::Key_F6));
    window.GameAction(1)->trigger();
    QCOMPARE(f.session.Game().gameId, 1);
    QCOMPARE(window.Foszelveny()->Grid()->BoxCount(), 45);
}

void TFoablakTest::numberOrderView() {
    Fixture f;
    for (int n : {30, 10, 20}) {
        ClickBox(f.window, n);
    }
    Action(f.window, "order1")->trigger();
    Action(f.window, "actionViewOrder")->trigger();
    TSzelveny* grid = f.window.Foszelveny()->Grid();
    QCOMPARE(grid->windowTitle(), QStringLiteral("  Számsorrend"));
    QCOMPARE(f.BoxCaption(10), QStringLiteral("1."));
    QCOMPARE(f.BoxCaption(31), QStringLiteral("-"));
    QVERIFY(grid->ReportText().endsWith(QStringLiteral("Számsorrend: Növekvő")));
    Action(f.window, "order2")->trigger();
    QCOMPARE(f.BoxCaption(30), QStringLiteral("1."));
    QVERIFY(Action(f.window, "order2")->isChecked());
    Action(f.window, "actionViewNormal")->trigger();
    QCOMPARE(f.BoxCaption(30), QStringLiteral("30"));
}

void TFoablakTest::loadingStepBuildsTheDrawsAndTheViewsShowThem() {
    Fixture f;
    QAction* timesDrawn = Action(f.window, "actionViewTimesDrawn");
    QVERIFY(!timesDrawn->isEnabled());
    f.window.Betoltes();
    // First start: the folder message and the marking help, nothing else.
    QCOMPARE(f.messages.Count(), std::size_t{2});
    QCOMPARE(f.messages.Log()[1].kind, MessageKind::Notice);
    QCOMPARE(f.session.Draws().Count(), 3573);
    QVERIFY(timesDrawn->isEnabled());
    QCOMPARE(timesDrawn->statusTip(), QStringLiteral(" Hányszor húzták ki eddig a számokat "));

    std::vector<int> expected(90, 0);
    for (const DrawRecord& d : f.session.Draws().Draws()) {
        for (int c = 0; c < 5; ++c) {
            ++expected[static_cast<std::size_t>(d.numbers[static_cast<std::size_t>(c)] - 1)];
        }
    }
    timesDrawn->trigger();
    QCOMPARE(f.window.Foszelveny()->Grid()->windowTitle(), QStringLiteral("  Hányszor húzták..."));
    QCOMPARE(f.BoxCaption(1), QString::number(expected[0]));
    QCOMPARE(f.BoxCaption(90), QString::number(expected[89]));
    Action(f.window, "actionViewDrawsSince")->trigger();
    QCOMPARE(f.BoxCaption(77), QStringLiteral("-")); // drawn in the last draw of the list
    QVERIFY(f.window.Foszelveny()->Grid()->Box(5)->toolTip().contains(
        QStringLiteral("Statisztika:\n 1 - 3 573. húzások alapján \n 3 573 db számsor \n"
                       " 17 865 db szám")));

    // The second start builds nothing and asks nothing.
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(f.window.close());
    FakeMessages again;
    const auto second = f.Another(again);
    TFoablak next(*second, {});
    next.Betoltes();
    QCOMPARE(again.Count(), std::size_t{0});
    QVERIFY(second->Draws().HasDatabase());
}

void TFoablakTest::rangeDialogChecksItsFields() {
    Fixture f;
    f.window.Betoltes();
    f.messages.Clear();
    THuzSzama* dialog = f.window.RangeDialog();
    dialog->Prepare(RangeMode::TicketStatistics, f.session.Draws().Count());
    dialog->show();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("  Húzások száma"));
    QCOMPARE(dialog->LastField()->Text(), QStringLiteral("3573"));
    QVERIFY(dialog->AllDraws()->isChecked());
    dialog->FirstField()->SetText(QStringLiteral("0"));
    QVERIFY(!dialog->Confirm());
    QCOMPARE(f.messages.LastText(), "Érvénytelen paraméter.\r\rElső húzás sorszáma "
                                    "értékhatárok:\r    - minimum : 1\r    - maximum: 3572");
    QCOMPARE(dialog->FirstField()->Text(), QStringLiteral("1"));
    dialog->FirstField()->SetText(QStringLiteral("3000"));
    dialog->LastField()->SetText(QStringLiteral("2999"));
    QVERIFY(!dialog->Confirm());
    QCOMPARE(dialog->LastField()->Text(), QStringLiteral("3001"));
    QVERIFY(dialog->Confirm());
    QCOMPARE(f.session.Ranges().GetHuzSzamaElso(), 3000);

    // The views count over the chosen range only: two draws of five numbers.
    f.session.SetTicketView(TicketView::TimesDrawn);
    int total = 0;
    for (int n = 1; n <= 90; ++n) {
        total += f.BoxCaption(n) == QStringLiteral("-") ? 0 : f.BoxCaption(n).toInt();
    }
    QCOMPARE(total, 10);
    QString tooLong = QStringLiteral("12345");
    int position = 0;
    QCOMPARE(dialog->FirstField()->validate(tooLong, position), QValidator::Invalid);
}

// A missing database: Yes downloads it from the program's host (a loopback server here, over
// Qt's network), No ends the program.
void TFoablakTest::missingDrawsAskToDownload() {
    Fixture f;
    TempHome site;
    const GameInfo croatian = LoadGameInfo(6);
    const std::string served = site.Path() + "hu/download/Database/" + DatabaseFile(6);
    std::filesystem::create_directories(site.Path() + "hu/download/Database");
    QVERIFY(ReplaceFile(served, SerializeDraws(SampleDraws(croatian, 300), 6)));
    HttpTestServer server(site.Path());
    QVERIFY(server.Running());
    f.window.Betoltes();
    f.messages.QueueAnswer(Answer::Yes); // the download question
    f.window.GameAction(6)->trigger();
    const auto last = f.messages.Log().end();
    QCOMPARE(last[-1].text, kNoHostText);
    QCOMPARE(last[-2].kind, MessageKind::ErrorQuestion);
    QCOMPARE(last[-2].text, "Nem található a(z) Horvát 6/45 lottó húzásainak listája."
                            "\r\rLetölti a húzások listáját?");
    QVERIFY(!Action(f.window, "actionTicketRange")->isEnabled());
    QCOMPARE(Action(f.window, "actionViewTimesDrawn")->statusTip(),
             QStringLiteral(" Hiányzik a húzások listája. "));
    QVERIFY2(!Action(f.window, "actionOperatorUpdate")->isVisible(), "no Hungarian results");

    // With the host set, Yes brings the list.
    f.session.GetSettings().downloadHost = server.Url();
    f.session.GetSettings().downloadTimeout = 2;
    f.window.GameAction(0)->trigger();
    f.messages.QueueAnswer(Answer::Yes);
    f.window.GameAction(6)->trigger();
    QCOMPARE(f.messages.LastText(), "Horvát 6/45 lottó - húzások listája sikeresen letöltve.");
    QCOMPARE(f.session.Draws().Count(), 300);
    QVERIFY(Action(f.window, "actionTicketRange")->isEnabled());
    QVERIFY(std::filesystem::is_empty(f.home.Path() + "Dat/Cache"));
    // No ends the program, through the usual exit question.
    f.messages.QueueAnswers({Answer::No, Answer::Yes});
    f.window.GameAction(7)->trigger();
    QTRY_VERIFY(!f.window.isVisible());
    QCOMPARE(f.messages.LastText(), "Biztos kilép a programból?");
}

void TFoablakTest::filesSavedAndOpenedThroughTheDialogs() {
    Fixture f;
    FakeFileChooser chooser;
    f.window.SetChooser(chooser);
    MarkRange(f.window, 1, 7);
    ClickBox(f.window, 10, Qt::ShiftModifier);
    f.Generate();
    QCOMPARE(f.session.Variation().Store().Count(), 35LL);

    // Each save command asks for its own kind of file; the second filter of "Mentés
    // másként..." writes the variation.
    const std::string top = f.home.Path() + "hetes.top";
    const std::string tip = f.home.Path() + "hetes.tip";
    chooser.QueueChoice(top, 2);
    Action(f.window, "actionSaveAs")->trigger();
    QCOMPARE(chooser.Last().request.title, "  Állomány mentése");
    chooser.QueueChoice(tip, 1);
    Action(f.window, "actionSaveRow")->trigger();
    QCOMPARE(chooser.Last().request.title, "  Számsor mentése");
    Action(f.window, "actionSaveVariation")->trigger(); // cancelled
    QCOMPARE(chooser.Last().request.title, "  Variáció mentése");
    QVERIFY(std::filesystem::exists(top) && std::filesystem::exists(tip));

    // Another run opens it: a number-row file under the variation filter is asked again.
    Fixture g;
    FakeFileChooser opener;
    g.window.SetChooser(opener);
    opener.QueueChoice(tip, 2);
    opener.QueueChoice(top, 2);
    Action(g.window, "actionOpen")->trigger();
    QCOMPARE(g.messages.LastText(), "Válassza ki a variáció állományát...");
    QCOMPARE(opener.Requests().size(), std::size_t{2});
    QCOMPARE(g.session.Variation().Store().Count(), 35LL);
    QVERIFY(g.window.Foszelveny()->Grid()->Box(10)->IsRaised());
    QVERIFY(Action(g.window, "actionDeleteVariation")->isEnabled());

    // Named on the command line (in capitals), the file is there at start and counts as new.
    StartOptions options;
    options.commandLineFile = f.home.Path() + "HETES.TOP";
    std::filesystem::copy_file(top, options.commandLineFile);
    Fixture h(options);
    h.window.Betoltes();
    QCOMPARE(h.session.Variation().Store().Count(), 35LL);
    QVERIFY(!h.session.Ticket().Unchanged());
    QVERIFY(Action(h.window, "actionDeleteVariation")->isEnabled());
    // A number-row file opened from the file manager: the ticket and no variation.
    StartOptions rowOptions;
    rowOptions.commandLineFile = tip;
    Fixture r(rowOptions);
    r.window.Betoltes();
    QCOMPARE(r.session.Ticket().MarkedCount(), f.session.Ticket().MarkedCount());
    QVERIFY(r.window.Foszelveny()->Grid()->Box(10)->IsRaised());
    QVERIFY(!r.session.Variation().Exists());
    QVERIFY(!r.session.Ticket().Unchanged());
}

// "Visszatöltés": off until a variation is lost; then it brings the variation back and lists
// it.
void TFoablakTest::restoreBringsBackADeletedVariation() {
    Fixture f;
    QAction* restore = Action(f.window, "actionRestore");
    QVERIFY(!restore->isEnabled());
    QCOMPARE(restore->toolTip(), QString::fromUtf8(" Nincs visszatöltésre alkalmas állomány. "));
    MarkRange(f.window, 1, 7);
    f.Generate();
    f.messages.QueueAnswer(Answer::Yes);
    Action(f.window, "actionDeleteVariation")->trigger();
    QVERIFY(!f.session.Variation().Exists());
    QVERIFY(restore->isEnabled());
    f.messages.QueueAnswer(Answer::Yes);
    restore->trigger();
    QCOMPARE(f.session.Variation().Store().Count(), 21LL);
    QVERIFY(f.window.ListWindow()->isVisible());
    QVERIFY(f.window.Foszelveny()->Grid()->Box(7)->IsRaised());
}

// "Véletlen számok": the dialog asks how many within the free numbers, refuses a count of 0,
// and marks the count asked for; one free number is marked without the dialog.
void TFoablakTest::randomNumbersAreAskedForAndMarked() {
    Fixture f;
    QAction* random = Action(f.window, "actionRandomNumbers");
    QCOMPARE(random->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
    MarkRange(f.window, 1, 80);
    QVERIFY(WhileModal<TVelSzam>(
        &f.window, [&] { random->trigger(); },
        [&](TVelSzam& dialog) {
            QCOMPARE(dialog.windowTitle(), QString::fromUtf8("  Véletlen számok"));
            QCOMPARE(dialog.Maximum(), 10);
            QCOMPARE(dialog.CountField()->Text(), QStringLiteral("1"));
            dialog.CountField()->SetText(QStringLiteral("0"));
            emit dialog.CountField()->editingFinished();
            QCOMPARE(f.messages.LastText(), "Érvénytelen paraméter.\r\rVéletlen számok "
                                            "mennyisége értékhatárok:\r    - minimum : 1\r    - "
                                            "maximum: 10");
            QCOMPARE(dialog.CountField()->Text(), QStringLiteral("1"));
            QTest::mouseDClick(dialog.CountField()->Edit(), Qt::LeftButton);
            QCOMPARE(dialog.CountField()->Text(), QStringLiteral("10"));
            dialog.CountField()->SetText(QStringLiteral("9"));
            Child<QPushButton>(dialog, "KijelolesGomb")->click();
        }));
    QCOMPARE(f.session.Ticket().Random().size(), std::size_t{9});
    QVERIFY(random->isEnabled());
    random->trigger(); // one free number: no dialog
    QCOMPARE(f.session.Ticket().MarkedCount(), 90);
    QVERIFY(!random->isEnabled());
}

// "Velmora a weben" and "Variációk letöltése..." open the addresses of the settings, and say
// so when none is set.
void TFoablakTest::webPagesOpenFromTheSettings() {
    Fixture f;
    QList<QUrl> opened;
    f.window.openAddress = [&opened](const QUrl& url) { opened.push_back(url); };
    Action(f.window, "actionWebPage")->trigger();
    QCOMPARE(f.messages.LastText(), "A program honlapjának címe nincs megadva a beállításokban.");
    f.session.GetSettings().variationsPage = "https://example.org/variaciok";
    Action(f.window, "actionDownloadVariations")->trigger();
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/variaciok"))});
}

// "Húzások alapján": the draws list offers only the example command; the chosen draw's
// numbers become the example row, every number is marked and the example is generated under
// its caption. "Véletlen számokkal" does the same from random numbers.
void TFoablakTest::examplesAreMadeFromADrawAndFromRandomNumbers() {
    Fixture f;
    f.window.Betoltes();
    f.window.GameAction(2)->trigger(); // 7/35: its bundled draws
    const DrawsStore& draws = f.session.Draws();
    QVERIFY(draws.Count() > 2);
    const int last = draws.Count();
    Action(f.window, "actionExampleFromDraw")->trigger();
    THuzLista& list = *f.window.DrawsList();
    QVERIFY(list.isVisible() && list.ExampleMode());
    QVERIFY(!list.Command("BovitesGomb")->isVisible());
    QVERIFY(list.Command("ProbabontasGomb")->isVisible());
    list.SelectRow(last);
    QCOMPARE(f.RunEngine([&] { list.Command("ProbabontasGomb")->trigger(); }),
             QStringLiteral("  Példabontás készítése a(z) %1. húzás számsora alapján").arg(last));
    const VariationDocument& variation = f.session.Variation();
    QVERIFY(variation.Exists() && variation.Example());
    QCOMPARE(f.session.Ticket().MarkedCount(), 35);
    const ConditionSet& set = f.session.Conditions();
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        sum += draws.At(last - 1).numbers[static_cast<std::size_t>(i)];
    }
    QVERIFY(set.sum.active);
    QCOMPARE(set.sum.minimum, sum);
    QCOMPARE(set.hitRatio.lastDraw, last - 1);
    QVERIFY(variation.ListTitle().find("példabontása") != std::string::npos);
    Action(f.window, "actionListVariation")->trigger();
    QCOMPARE(f.window.ListWindow()->windowTitle(), QString::fromUtf8("  Példabontás listája"));
    QCOMPARE(f.window.ListWindow()->Ticket()->windowTitle(),
             QString::fromUtf8("  Példabontás 1. számsora"));

    f.messages.QueueAnswers({Answer::Yes, Answer::Yes, Answer::Yes});
    QCOMPARE(f.RunEngine([&] { Action(f.window, "actionExampleRandom")->trigger(); }),
             QString::fromUtf8("  Példabontás készítése véletlen számsor alapján"));
    QVERIFY(variation.Exists() && variation.Example());
    QCOMPARE(f.session.Conditions().hitRatio.lastDraw, last);
}

// The maker's host names a newer version: at start-up the tool button appears with its hint;
// "Új verzió keresése..." asks, downloads the installer (checked against its digest), hands
// it to the system and ends the program.
void TFoablakTest::aNewVersionIsAnnouncedAndInstalled() {
    TempHome site;
    const std::string installer = "a package";
    std::filesystem::create_directories(site.Path() + "hu/download");
    QVERIFY(ReplaceFile(site.Path() + "hu/download/Velmora-2401.deb", installer));
    QVERIFY(ReplaceFile(
        site.Path() + "hu/download/version.txt",
        "2401\nVelmora-2401.deb\n" +
            Sha256Hex(std::vector<std::uint8_t>(installer.begin(), installer.end())) + "\n"));
    HttpTestServer server(site.Path());
    QVERIFY(server.Running());
    Fixture f;
    f.session.GetSettings().downloadHost = server.Url();
    f.session.GetSettings().onlineCheckAddress = server.Url("/hu/download/version.txt");
    QList<QUrl> opened;
    f.window.openAddress = [&opened](const QUrl& url) { opened.push_back(url); };
    f.window.Betoltes();
    QAction* button = f.window.findChild<QAction*>(QStringLiteral("VerzioErtesitoGomb"));
    QVERIFY(button != nullptr);
    QTRY_VERIFY(button->isVisible());
    QCOMPARE(button->statusTip(),
             QString::fromUtf8(
                 " Megjelent a Velmora Personal 2.4.0.1 \n Kattintson, frissítse a programot... "));
    QAction* check = Action(f.window, "actionNewVersion");
    QCOMPARE(check->text(), QString::fromUtf8("Új verzió letöltése..."));
    // The online commands are back once the check is over.
    QVERIFY(check->isEnabled() && Action(f.window, "actionUpdateDatabase")->isEnabled());

    f.messages.QueueAnswers({Answer::Yes, Answer::Yes}); // install; leave the program
    check->trigger();
    QCOMPARE(opened.size(), 1);
    QFile downloaded(opened.front().toLocalFile());
    QVERIFY(downloaded.open(QIODevice::ReadOnly));
    QCOMPARE(downloaded.readAll().toStdString(), installer);
    QTRY_VERIFY(!f.window.isVisible());
}

void TFoablakTest::exitQuestionDecidesAndSettingsAreWritten() {
    Fixture f;
    f.window.GameAction(3)->trigger();
    QVERIFY(!f.window.close());
    QCOMPARE(f.messages.Last().kind, MessageKind::Confirmation);
    QCOMPARE(f.messages.LastText(), "Biztos kilép a programból?");

    // Keeping the marks on the way out saves them first.
    FakeFileChooser chooser;
    f.window.SetChooser(chooser);
    const int marks = f.session.Game().rowLength + 1;
    MarkRange(f.window, 1, marks);
    const std::string saved = f.home.Path() + "kilepes.tip";
    chooser.QueueChoice(saved, 1);
    f.messages.QueueAnswers({Answer::Yes, Answer::No});
    QVERIFY(f.window.close());
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QCOMPARE(chooser.Last().request.title, "  Számsor mentése");
    SessionParts g;
    g.session.ApplyGame(3);
    QVERIFY(g.session.LoadNumberRow(saved));
    QCOMPARE(g.session.Ticket().MarkedCount(), marks);
    QFile ini(QString::fromStdString(f.home.Path() + "Velmora.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(ini.readAll()).startsWith(QStringLiteral("[Velmora]\nGame=3\n")));
}

void TFoablakTest::decliningToEndTheOtherCopyEndsThisOne() {
    StartOptions options;
    options.otherCopyPid = 1;
    Fixture f(options);
    f.window.Foszelveny()->Grid()->show();
    QSignalSpy ended(&f.window, &TFoablak::programEnded);
    f.window.Betoltes(); // "Nem": the other copy stays, this one goes
    QCOMPARE(ended.count(), 1);
    QCOMPARE(f.messages.Last().kind, MessageKind::WarningQuestion);
    QVERIFY(f.messages.LastText().starts_with("Már fut egy példánya a Velmora Personal"));
    QVERIFY(!f.window.isVisible());
    QVERIFY(f.window.Foszelveny() == nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), widget->metaObject()->className());
    }
}

void TFoablakTest::exceptionsAreLoggedWithTheCounts() {
    Fixture f;
    f.window.Betoltes();
    MarkRange(f.window, 1, 6);
    f.Generate();
    f.messages.Clear();
    f.window.VelmoraException("std::runtime_error", "hiba");
    QCOMPARE(f.messages.Last().kind, MessageKind::ErrorQuestion);
    QFile log(QString::fromStdString(f.home.Path() + "List/VelmoraError.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines[0], QStringLiteral("2026. 12. 06. 06:27:50: std::runtime_error - hiba"));
    QVERIFY(lines.contains(QStringLiteral("DataBase: 3573")));
    QVERIFY(lines.contains(QStringLiteral("Variation: 6")));
    QVERIFY(lines.contains(QStringLiteral("Variation N: 6")));
}

QTEST_MAIN(TFoablakTest)
#include "test_tfoablak.moc"
