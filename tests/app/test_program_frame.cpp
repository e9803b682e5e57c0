// The program's frame offscreen: the application's set-up (captions, Qt's texts and formats),
// the main window's place on the screen, the main ticket's report panel on every grid shape,
// the status bar's variation rows and the draw range dialog's "all draws" box.

#include <QCheckBox>
#include <QFrame>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QStatusBar>
#include <QtTest>

#include <clocale>

#include <filesystem>

#include "app/app_platform.h"
#include "common/program_location.h"
#include "draws/ui/thuzszama.h"
#include "support/fake_file_chooser.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() { window.show(); }
    TFoablak window{session, {}};
};

} // namespace

class ProgramFrameTest : public QObject {
    Q_OBJECT
private slots:
    void mainTicketReportFitsAndFollowsTheWindow();
    void statusBarShowsTheRowsOfTheVariationInHand();
    void allDrawsBoxFollowsTheFields();
    void restoredMainWindowLiesOnTheScreen();
    void aTicketBesideAWindowStaysOnTheScreen();
    // Last: they change the whole test program's locale and translations.
    void applicationKeepsCaptionsAndSpeaksHungarian();
    void installedProgramKeepsTheUsersFilesInQtsDataFolder();
};

void ProgramFrameTest::mainTicketReportFitsAndFollowsTheWindow() {
    // Three columns (Croatian 6/45), five (7/35 and Keno) and ten (5/90).
    for (const GameId game : {6, 2, 8, 0}) {
        Fixture f;
        f.window.GameAction(game)->trigger();
        TSzelveny* grid = f.window.Foszelveny()->Grid();
        QCOMPARE(grid->BoxCount(), f.session.Game().maxNumber);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid));
        auto* panel = Child<QFrame>(*grid, "reportPanel");
        auto* label = Child<QLabel>(*grid, "reportLabel");
        QVERIFY(panel != nullptr && label != nullptr);
        const auto fits = [&] {
            const QStringList lines = label->text().split(QLatin1Char('\n'));
            QCOMPARE(lines.size(), 5);
            for (const QString& line : lines) {
                QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->width(),
                         qPrintable(QStringLiteral("game %1: %2").arg(game).arg(line)));
            }
            QVERIFY(panel->contentsRect().contains(label->geometry()));
            QCOMPARE(panel->geometry().right(), grid->rect().right());
            QCOMPARE(panel->geometry().bottom(), grid->rect().bottom());
            for (int n = 1; n <= grid->BoxCount(); ++n) {
                QVERIFY(grid->rect().contains(grid->Box(n)->geometry()));
                QVERIFY(!grid->Box(n)->geometry().intersects(panel->geometry()));
            }
        };
        fits();
        // The text fits before any change, so the marks do not make the window jump.
        const QSize least = grid->size();
        MarkRange(f.window, 1, 3);
        QCOMPARE(grid->size(), least);
        // The panel follows the window; the window does not shrink below its layout.
        grid->resize(least + QSize(70, 40));
        fits();
        grid->resize(least - QSize(30, 30));
        QCOMPARE(grid->size(), least);
        fits();
    }
}

void ProgramFrameTest::statusBarShowsTheRowsOfTheVariationInHand() {
    Fixture f;
    FakeFileChooser chooser;
    f.window.SetChooser(chooser);
    QCOMPARE(LabelText(f.window, "variationRows"), QString());
    MarkRange(f.window, 1, 7);
    QVERIFY(WhileModal<TBontas>(
        &f.window, [&] { Action(f.window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    const QString rows = QStringLiteral("21 számsor szükséges a játékhoz");
    QCOMPARE(LabelText(f.window, "variationRows"), rows);
    QVERIFY(f.window.statusBar()->isAncestorOf(Child<QLabel>(f.window, "variationRows")));
    const std::string top = f.home.Path() + "hetes.top";
    chooser.QueueChoice(top, 2);
    Action(f.window, "actionSaveAs")->trigger();
    QVERIFY(std::filesystem::exists(top));

    // Opened in another run, and imported from an export, the variation shows the same way.
    const std::string exported = f.home.Path() + "hetes.csv";
    QVERIFY(f.session.Variation().Export(exported, ExportFormat::Csv));
    for (const auto& [file, filter] : {std::pair{top, 2}, std::pair{exported, 3}}) {
        Fixture g;
        FakeFileChooser opener;
        g.window.SetChooser(opener);
        opener.QueueChoice(file, filter);
        Action(g.window, "actionOpen")->trigger();
        QCOMPARE(g.session.Variation().Store().Count(), 21LL);
        QCOMPARE(LabelText(g.window, "variationRows"), rows);
        g.messages.QueueAnswer(Answer::Yes);
        Action(g.window, "actionDeleteVariation")->trigger();
        QCOMPARE(LabelText(g.window, "variationRows"), QString());
    }
}

void ProgramFrameTest::allDrawsBoxFollowsTheFields() {
    Fixture f;
    f.window.Betoltes();
    THuzSzama* dialog = f.window.RangeDialog();
    const int count = f.session.Draws().Count();
    dialog->Prepare(RangeMode::TicketStatistics, count);
    dialog->show();
    QVERIFY(dialog->AllDraws()->isChecked());
    const QString all = QString::number(count);
    const QString lessOne = QString::number(count - 1);
    struct Step {
        QString first;
        QString last;
        bool ticked;
    };
    const Step steps[] = {
        {QStringLiteral("2"), all, false},     {QStringLiteral("1"), all, true},
        {QStringLiteral("1"), lessOne, false}, {QStringLiteral("10"), lessOne, false},
        {QStringLiteral(""), all, false},      {QStringLiteral("1"), all, true},
    };
    for (const Step& step : steps) {
        dialog->FirstField()->SetText(step.first);
        dialog->LastField()->SetText(step.last);
        QVERIFY2(dialog->AllDraws()->isChecked() == step.ticked,
                 qPrintable(step.first + QLatin1Char('-') + step.last));
    }
    // Typed and stepped changes untick it too; ticking it sets the full range again.
    dialog->FirstField()->setFocus();
    dialog->FirstField()->stepBy(1);
    QVERIFY(!dialog->AllDraws()->isChecked());
    dialog->AllDraws()->click();
    QCOMPARE(dialog->FirstField()->Text(), QStringLiteral("1"));
    QCOMPARE(dialog->LastField()->Text(), all);
    QVERIFY(dialog->AllDraws()->isChecked());
    QTest::keyClick(dialog->LastField(), Qt::Key_Backspace);
    QVERIFY(!dialog->AllDraws()->isChecked());

    // Row ranges have their own " Minden számsor"; mode 4's box is no range and stays.
    dialog->PrepareRows(RangeMode::InsertRows, 20, {1, 20}, false);
    QVERIFY(dialog->AllDraws()->isChecked());
    dialog->LastField()->SetText(QStringLiteral("19"));
    QVERIFY(!dialog->AllDraws()->isChecked());
    dialog->PrepareRows(RangeMode::DeleteRows, 20, {1, 20}, true);
    dialog->AllDraws()->click();
    dialog->FirstField()->SetText(QStringLiteral("3"));
    QVERIFY(dialog->AllDraws()->isChecked());
    QVERIFY(dialog->LastBlockChosen());
}

void ProgramFrameTest::restoredMainWindowLiesOnTheScreen() {
    Fixture f;
    const QRect area(100, 50, 800, 600);
    // Placed once shown, and again after being maximised and restored.
    for (int pass = 0; pass < 2; ++pass) {
        PlaceOnScreen(f.window, area);
        QCOMPARE(f.window.frameGeometry().topLeft(), area.topLeft());
        QVERIFY2(area.contains(f.window.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(f.window.frameGeometry().x())
                                .arg(f.window.frameGeometry().y())
                                .arg(f.window.frameGeometry().width())
                                .arg(f.window.frameGeometry().height())));
        QVERIFY(area.contains(f.window.geometry()));
        f.window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.window.showNormal();
    }
}

// A ticket goes to the right of its window, unless that would leave the screen.
void ProgramFrameTest::aTicketBesideAWindowStaysOnTheScreen() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    QWidget ticket;
    window.resize(200, 100);
    ticket.resize(300, 200);
    window.move(area.topLeft());
    window.show();
    ticket.show();
    PlaceBeside(ticket, window);
    QCOMPARE(ticket.frameGeometry().left(), window.frameGeometry().right() + 8);
    window.move(area.right() - 250, area.top());
    PlaceBeside(ticket, window);
    QCOMPARE(ticket.frameGeometry().right(), area.right());
}

void ProgramFrameTest::applicationKeepsCaptionsAndSpeaksHungarian() {
    const QString testName = QCoreApplication::applicationName();
    std::setlocale(LC_NUMERIC, "C.UTF-8"); // what a system's locale leaves there
    SetUpApplication(*qApp);
    QCOMPARE(std::string(std::setlocale(LC_NUMERIC, nullptr)), std::string("C"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Velmora Personal"));
    // Qt appends a display name, once one is set, to every caption: the program sets none, so
    // the display name still follows the application's name.
    QCoreApplication::setApplicationName(testName);
    QCOMPARE(QGuiApplication::applicationDisplayName(), testName);
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Magyar 5/90 lottó  -  Velmora Personal "));

    // Dates, sizes and Qt's own dialog texts in Hungarian, whatever the system's language.
    QCOMPARE(QLocale().language(), QLocale::Hungarian);
    QCOMPARE(QLocale().territory(), QLocale::Hungary);
    QCOMPARE(QLocale().toString(QDate(2026, 12, 6), QLocale::ShortFormat),
             QStringLiteral("2026. 12. 06."));
    QCOMPARE(QLocale().formattedDataSize(12), QStringLiteral("12 bájt"));
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QVERIFY2(QFile::exists(translations + QStringLiteral("/qtbase_hu.qm")),
             qPrintable(translations));
    QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Date Modified"),
             QStringLiteral("Módosítás dátuma"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Mégse"));
}

// velmora-cli has no Qt, so the core finds the user's data folder itself; both programs of an
// installed copy must share the folder Qt gives the desktop program.
void ProgramFrameTest::installedProgramKeepsTheUsersFilesInQtsDataFolder() {
    SetUpApplication(*qApp);
    const QByteArray home = qgetenv("HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    for (const char* xdg : {"", "/tmp/velmora-xdg-data", "/tmp/velmora-xdg-data/", "relative"}) {
        qputenv("XDG_DATA_HOME", xdg);
        const QString qt = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        // The same folder: Qt keeps a doubled '/' that the core does not write.
        QCOMPARE(QDir::cleanPath(QString::fromStdString(UserDataFolder(xdg, home.toStdString()))),
                 QDir::cleanPath(qt));
    }
    if (dataHome.isNull()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", dataHome);
    }
}

QTEST_MAIN(ProgramFrameTest)
#include "test_program_frame.moc"
