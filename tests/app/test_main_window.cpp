// The main window driven offscreen: marking on the main ticket, the game menu and closing.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "app/tfoablak.h"
#include "app/tfoszelveny.h"
#include "dialogs/qt_file_chooser.h"
#include "dialogs/qt_messages.h"
#include "dialogs/tnevjegy.h"
#include "dialogs/tuzenetablak.h"
#include "draws/ui/thuzszama.h"
#include "fakes/fake_file_chooser.h"
#include "fakes/fake_messages.h"
#include "session/temp_home.h"
#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

using namespace velmora;
using velmora::testing::FakeFileChooser;
using velmora::testing::FakeMessages;
using velmora::testing::TempHome;

namespace {

struct Fixture {
    TempHome home;
    FakeMessages messages;
    SeededRandom random{3};
    Session session{MakeProgramFolders(home.Path()), messages, random};
};

void ClickBox(TFoablak& window, int number, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    NumberBox* box = window.Foszelveny()->Grid()->Box(number);
    QVERIFY(box != nullptr);
    QTest::mouseClick(box, Qt::LeftButton, modifiers, box->rect().center());
}

// Runs `drive` on the file dialog once it is up, then closes the dialog if `drive` left it open.
void WhenFileDialogShows(std::function<void(QFileDialog&)> drive) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, drive = std::move(drive)] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                drive(*dialog);
                if (dialog->isVisible()) {
                    dialog->reject();
                }
                return;
            }
        }
    });
    poll->start(20);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void clicksMarkTheThreeKinds();
    void rightButtonPaintsARow();
    void gameMenuSwitchesTheGame();
    void exitQuestionDecidesAndSettingsAreWritten();
    void numberOrderView();
    void waitWindowKeepsItsFirstText();
    void aboutBox();
    void loadingStepBuildsTheDrawsAndTheViewsShowThem();
    void rangeDialogChecksItsFields();
    void missingDrawsAskToDownload();
    void messageBoxesDefaultToNo();
    void fileDialogReportsTheChosenFilter();
};

void MainWindowTest::clicksMarkTheThreeKinds() {
    Fixture f;
    TFoablak window(f.session, {});
    QVERIFY(!window.Forced());
    window.show();
    window.Foszelveny()->Grid()->show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Magyar 5/90 lottó  -  Velmora Personal "));
    QCOMPARE(window.Foszelveny()->Grid()->windowTitle(), QStringLiteral("  Főszelvény"));

    for (int n : {1, 2, 3, 4, 5}) {
        ClickBox(window, n);
    }
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
    QVERIFY(t.Fixed().empty());
    QVERIFY(!window.Foszelveny()->Grid()->Box(3)->IsRaised());
    QCOMPARE(window.FullVariationText(), QString());

    auto* markAll = window.findChild<QAction*>(QStringLiteral("actionMarkAll"));
    QVERIFY(markAll != nullptr && markAll->isEnabled());
    markAll->trigger();
    QCOMPARE(t.MarkedCount(), 90);
    QVERIFY(!markAll->isEnabled());
    QCOMPARE(markAll->statusTip(), QStringLiteral(" Minden szám kijelölve. "));
    f.messages.QueueAnswer(Answer::Yes);
    window.findChild<QAction*>(QStringLiteral("actionClearAll"))->trigger();
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QCOMPARE(t.MarkedCount(), 0);
}

void MainWindowTest::rightButtonPaintsARow() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    TSzelveny* grid = window.Foszelveny()->Grid();
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid));
    ClickBox(window, 12, Qt::ShiftModifier);
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

void MainWindowTest::gameMenuSwitchesTheGame() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    ClickBox(window, 7);

    // Declining the discard question keeps the game and its marks.
    window.GameAction(8)->trigger();
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QCOMPARE(f.session.Game().gameId, 0);
    QVERIFY(window.GameAction(0)->isChecked());
    QCOMPARE(f.session.Ticket().MarkedCount(), 1);

    f.messages.QueueAnswer(Answer::Yes);
    window.GameAction(8)->trigger();
    QCOMPARE(f.session.Game().gameId, 8);
    QVERIFY(window.GameAction(8)->isChecked());
    QCOMPARE(window.windowTitle(), QStringLiteral("Magyar Kenó - 10 számra  -  Velmora Personal "));
    QCOMPARE(window.Foszelveny()->Grid()->BoxCount(), 80);
    QCOMPARE(f.session.Ticket().MarkedCount(), 0);

    window.GameAction(8)->trigger(); // the current game again: nothing happens
    QCOMPARE(f.session.Game().gameId, 8);

    // F6 chooses the 6/45 game; an empty ticket needs no question.
    const std::size_t before = f.messages.Count();
    QCOMPARE(window.GameAction(1)->shortcut(), QKeySequence(Qt::Key_F6));
    window.GameAction(1)->trigger();
    QCOMPARE(f.session.Game().gameId, 1);
    QCOMPARE(f.messages.Count(), before);
    QCOMPARE(window.Foszelveny()->Grid()->BoxCount(), 45);
}

void MainWindowTest::exitQuestionDecidesAndSettingsAreWritten() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    window.GameAction(3)->trigger();
    QVERIFY(!window.close());
    QCOMPARE(f.messages.Last().kind, MessageKind::Confirmation);
    QCOMPARE(f.messages.LastText(), "Biztos kilép a programból?");
    QVERIFY(window.isVisible());

    // Keeping the marks on the way out saves them first.
    FakeFileChooser chooser;
    window.SetChooser(chooser);
    const int marks = f.session.Game().rowLength + 1;
    for (int n = 1; n <= marks; ++n) {
        ClickBox(window, n);
    }
    const std::string saved = f.home.Path() + "kilepes.tip";
    chooser.QueueChoice(saved, 1);
    f.messages.QueueAnswers({Answer::Yes, Answer::No});
    QVERIFY(window.close());
    QCOMPARE(f.messages.LastText(), "Biztos törli a kijelölt számokat?");
    QCOMPARE(chooser.Requests().size(), std::size_t{1});
    QVERIFY(chooser.Last().save);
    QCOMPARE(chooser.Last().request.title, "  Számsor mentése");
    Fixture g;
    g.session.ApplyGame(3);
    QVERIFY(g.session.LoadNumberRow(saved));
    QCOMPARE(g.session.Ticket().MarkedCount(), marks);

    QFile ini(QString::fromStdString(f.home.Path() + "Velmora.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    QVERIFY(text.startsWith(QStringLiteral("[Velmora]\nGame=3\n")));
}

void MainWindowTest::numberOrderView() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    for (int n : {30, 10, 20}) {
        ClickBox(window, n);
    }
    window.findChild<QAction*>(QStringLiteral("order1"))->trigger();
    window.findChild<QAction*>(QStringLiteral("actionViewOrder"))->trigger();
    TSzelveny* grid = window.Foszelveny()->Grid();
    QCOMPARE(grid->windowTitle(), QStringLiteral("  Számsorrend"));
    QCOMPARE(grid->Box(10)->Caption(), QStringLiteral("1."));
    QCOMPARE(grid->Box(30)->Caption(), QStringLiteral("3."));
    QCOMPARE(grid->Box(31)->Caption(), QStringLiteral("-"));
    QVERIFY(grid->ReportText().endsWith(QStringLiteral("Számsorrend: Növekvő")));
    window.findChild<QAction*>(QStringLiteral("order2"))->trigger();
    QCOMPARE(grid->Box(30)->Caption(), QStringLiteral("1."));
    window.findChild<QAction*>(QStringLiteral("actionViewNormal"))->trigger();
    QCOMPARE(grid->Box(30)->Caption(), QStringLiteral("30"));
    QCOMPARE(grid->windowTitle(), QStringLiteral("  Főszelvény"));
}

void MainWindowTest::waitWindowKeepsItsFirstText() {
    TUzenetAblak wait;
    wait.ShowText(QStringLiteral("Betöltés"), 0);
    wait.ShowText(QStringLiteral("Mentés"), 1);
    QCOMPARE(wait.Text(), QStringLiteral("Betöltés..."));
    QCOMPARE(wait.windowTitle(), QStringLiteral("Türelmét kérem..."));
    wait.HideWindow();
    QVERIFY(!wait.isVisible());
    wait.ShowText(QStringLiteral("Mentés"), 1);
    QCOMPARE(wait.Text(), QStringLiteral("Mentés..."));
    wait.HideWindow();
}

void MainWindowTest::aboutBox() {
    TNevjegy about(nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("  Névjegy"));
    auto* version = about.findChild<QLabel*>(QStringLiteral("versionLabel"));
    QVERIFY(version != nullptr);
    QCOMPARE(version->text(), QStringLiteral("Verzió: 2.3.0.0"));
    QVERIFY(about.findChild<QLabel*>(QStringLiteral("programName"))->text() ==
            QStringLiteral("Velmora Personal"));
}

void MainWindowTest::loadingStepBuildsTheDrawsAndTheViewsShowThem() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    auto* timesDrawn = window.findChild<QAction*>(QStringLiteral("actionViewTimesDrawn"));
    QVERIFY(!timesDrawn->isEnabled());
    window.Betoltes();
    // First start: the folder message and the marking help, nothing else.
    QCOMPARE(f.messages.Count(), std::size_t{2});
    QCOMPARE(f.messages.Log()[1].kind, MessageKind::Notice);
    QVERIFY(f.session.HasDraws());
    QCOMPARE(f.session.Draws().Count(), 3573);
    QVERIFY(timesDrawn->isEnabled());
    QCOMPARE(timesDrawn->statusTip(), QStringLiteral(" Hányszor húzták ki eddig a számokat "));

    // The same counts as a direct count over the whole range.
    std::vector<int> expected(90, 0);
    for (const DrawRecord& d : f.session.Draws().Draws()) {
        for (int c = 0; c < 5; ++c) {
            ++expected[static_cast<std::size_t>(d.numbers[static_cast<std::size_t>(c)] - 1)];
        }
    }
    timesDrawn->trigger();
    TSzelveny* grid = window.Foszelveny()->Grid();
    QCOMPARE(grid->windowTitle(), QStringLiteral("  Hányszor húzták..."));
    QCOMPARE(grid->Box(1)->Caption(), QString::number(expected[0]));
    QCOMPARE(grid->Box(90)->Caption(), QString::number(expected[89]));
    window.findChild<QAction*>(QStringLiteral("actionViewDrawsSince"))->trigger();
    QCOMPARE(grid->windowTitle(), QStringLiteral("  Hány húzás óta nem került elő..."));
    // 6, 24, 77, 88 and 89 came up in the last draw of the list.
    QCOMPARE(grid->Box(77)->Caption(), QStringLiteral("-"));
    QVERIFY(grid->Box(1)->Caption() != QStringLiteral("-"));
    QVERIFY(grid->Box(5)->toolTip().contains(
        QStringLiteral("Statisztika:\n 1 - 3 573. húzások alapján \n 3 573 db számsor \n"
                       " 17 865 db szám")));

    // The second start builds nothing and asks nothing: the settings of the first are kept.
    f.messages.QueueAnswer(Answer::Yes);
    QVERIFY(window.close());
    FakeMessages again;
    Session second(MakeProgramFolders(f.home.Path()), again, f.random);
    TFoablak next(second, {});
    next.Betoltes();
    QCOMPARE(again.Count(), std::size_t{0});
    QVERIFY(second.HasDraws());
}

void MainWindowTest::rangeDialogChecksItsFields() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    window.Betoltes();
    f.messages.Clear();
    THuzSzama* dialog = window.RangeDialog();
    dialog->Prepare(kRangeTicketStatistics, f.session.Draws().Count());
    dialog->show();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("  Húzások száma"));
    QCOMPARE(dialog->FirstField()->Text(), QStringLiteral("1"));
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
    QCOMPARE(f.session.Ranges().GetHuzSzamaUtolso(), 3001);

    // The views count over the chosen range only: two draws.
    f.session.SetTicketView(kViewTimesDrawn);
    int total = 0;
    for (int n = 1; n <= 90; ++n) {
        const QString caption = window.Foszelveny()->Grid()->Box(n)->Caption();
        total += caption == QStringLiteral("-") ? 0 : caption.toInt();
    }
    QCOMPARE(total, 10);
    QString tooLong = QStringLiteral("12345");
    int position = 0;
    QCOMPARE(dialog->FirstField()->validate(tooLong, position), QValidator::Invalid);
}

void MainWindowTest::missingDrawsAskToDownload() {
    Fixture f;
    TFoablak window(f.session, {});
    window.show();
    window.Betoltes();
    f.messages.QueueAnswer(Answer::Yes); // the download question
    window.GameAction(6)->trigger();
    QCOMPARE(f.messages.Last().kind, MessageKind::ErrorQuestion);
    QCOMPARE(f.messages.LastText(), "Nem található a(z) Horvát 6/45 lottó húzásainak listája."
                                    "\r\rLetölti a húzások listáját?");
    QVERIFY(!window.findChild<QAction*>(QStringLiteral("actionTicketRange"))->isEnabled());
    QCOMPARE(window.findChild<QAction*>(QStringLiteral("actionViewTimesDrawn"))->statusTip(),
             QStringLiteral(" Hiányzik a húzások listája. "));
    QVERIFY(window.isVisible());

    // No ends the program, through the usual exit question.
    f.messages.QueueAnswers({Answer::No, Answer::Yes});
    window.GameAction(7)->trigger();
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(f.messages.LastText(), "Biztos kilép a programból?");

    // Back to a game with draws: the commands return.
    Fixture g;
    TFoablak other(g.session, {});
    other.Betoltes();
    QVERIFY(other.findChild<QAction*>(QStringLiteral("actionTicketRange"))->isEnabled());
}

void MainWindowTest::messageBoxesDefaultToNo() {
    QtMessages messages;
    QString caption;
    QString text;
    bool defaultIsNo = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        caption = box->windowTitle();
        text = box->text();
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(messages.WarningQuestion("Első sor\rMásodik sor"));
    QCOMPARE(caption, QStringLiteral(" Figyelmeztetés!"));
    QCOMPARE(text, QStringLiteral("Első sor\nMásodik sor"));
    QVERIFY(defaultIsNo);

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        box->button(QMessageBox::Cancel)->click();
    });
    QCOMPARE(messages.ThreeWayQuestion("Nyomtat?"), Answer::Cancel);

    // A worker thread's question waits for the user-interface thread.
    std::atomic<int> result{-1};
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = messages.Question("Folytatja?") ? 1 : 0; }));
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    clicker.start(10);
    worker->start();
    QTRY_COMPARE(result.load(), 1);
    worker->wait();

    messages.SetApprove(false);
    QVERIFY(messages.Confirm("Biztos?"));
}

void MainWindowTest::fileDialogReportsTheChosenFilter() {
    TempHome folder;
    QFile existing(QString::fromStdString(folder.Path() + "meglevo.top"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtFileChooser chooser;
    FileDialogRequest request;
    request.title = "  Állomány betöltése";
    request.filters = {{"Számsor állománya (*.tip)", "tip"},
                       {"Variáció állománya (*.top)", "top"},
                       {"Variáció import állománya (*.csv)", "csv"}};
    request.filterIndex = 2;
    request.folder = folder.Path();

    // The dialog opens on the requested filter and folder; the file typed is the one chosen.
    QString title;
    QString filter;
    QString directory;
    WhenFileDialogShows([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filter = dialog.selectedNameFilter();
        directory = dialog.directory().absolutePath() + QLatin1Char('/');
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setText(QStringLiteral("meglevo.top"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    std::optional<FileChoice> choice = chooser.ChooseOpen(request);
    QCOMPARE(title, QStringLiteral("  Állomány betöltése"));
    QCOMPARE(filter, QStringLiteral("Variáció állománya (*.top)"));
    QCOMPARE(directory, QString::fromStdString(folder.Path()));
    QVERIFY(choice.has_value());
    QCOMPARE(choice->path, folder.Path() + "meglevo.top");
    QCOMPARE(choice->filterIndex, 2);

    // Saving: the user picks the first filter; a bare name gets that filter's extension.
    request.title = "  Állomány mentése";
    request.defaultExtension = "top";
    WhenFileDialogShows([](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(types != nullptr && name != nullptr);
        QCOMPARE(types->currentIndex(), 1);
        QTest::keyClick(types, Qt::Key_Up);
        name->setText(QStringLiteral("uj"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    choice = chooser.ChooseSave(request);
    QVERIFY(choice.has_value());
    QCOMPARE(choice->path, folder.Path() + "uj.tip");
    QCOMPARE(choice->filterIndex, 1);

    WhenFileDialogShows([](QFileDialog& dialog) { dialog.reject(); });
    QVERIFY(!chooser.ChooseSave(request).has_value());
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
