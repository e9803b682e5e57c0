// Takes the manual's pictures from the program itself: every window opened offscreen on the
// 5/90 game with the bundled draws and a small variation, saved into the folder named by
// VELMORA_HELP_IMAGES (the build's help_images target names help/images). Without it the
// program does nothing.

#include <QCheckBox>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include "common/help_files.h"
#include "common/platform.h"
#include "dialogs/help_window.h"
#include "dialogs/tnevjegy.h"
#include "draws/ui/thuzbe.h"
#include "draws/ui/thuzkeresszelveny.h"
#include "draws/ui/thuzlista.h"
#include "draws/ui/thuzszama.h"
#include "app/tvelszam.h"
#include "conditions/ui/tfeltetelek.h"
#include "reports/ui/tinfo.h"
#include "reports/ui/tnyomtopc.h"
#include "settings/ui/tbeallitasok.h"
#include "stats/ui/tstatisztika.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontellszelveny.h"
#include "variation/ui/tbontlista.h"
#include "variation/ui/tbontteszt.h"
#include "variation/ui/tminimalizalas.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

// The manual the build copies beside the executables.
StartOptions WithManual() {
    StartOptions options;
    options.environment.helpIndex = FindHelpIndex(ExecutableFolderPath());
    return options;
}

struct Program : SessionParts {
    Program() : SessionParts(7), window(session, WithManual()) {
        window.resize(1000, 160);
        window.show();
        window.Betoltes(); // the bundled 5/90 draws
        messages.Clear();
    }
    TFoablak window;
};

} // namespace

class HelpImages : public QObject {
    Q_OBJECT
private slots:
    void windows();

private:
    void Save(QWidget& widget, const char* name) {
        QCoreApplication::processEvents();
        QVERIFY2(widget.grab().save(m_folder + QLatin1Char('/') + QLatin1String(name)), name);
    }
    QString m_folder;
};

void HelpImages::windows() {
    m_folder = qEnvironmentVariable("VELMORA_HELP_IMAGES");
    if (m_folder.isEmpty()) {
        QSKIP("VELMORA_HELP_IMAGES is not set");
    }
    Program p;
    TFoablak& window = p.window;
    TSzelveny& ticket = *window.Foszelveny()->Grid();
    MarkRange(window, 1, 8);
    ClickBox(window, 10, Qt::ShiftModifier);
    ClickBox(window, 12, Qt::ControlModifier);
    // The tool bar is too long for one picture of the manual's width: the menu with the first
    // part, then the rest in pieces.
    auto* tools = Child<QToolBar>(window, "toolBar");
    window.resize(tools->sizeHint().width() + 60, 160);
    QCoreApplication::processEvents();
    const int menu = window.menuBar()->height();
    QVERIFY(window.grab(QRect(0, 0, 900, menu + tools->height()))
                .save(m_folder + QStringLiteral("/foablak.png")));
    for (int piece = 1; piece * 900 < tools->sizeHint().width(); ++piece) {
        QVERIFY(window.grab(QRect(piece * 900, menu, 900, tools->height()))
                    .save(m_folder + QStringLiteral("/foablak_eszkoztar%1.png").arg(piece)));
    }
    Save(ticket, "foszelveny.png");

    // The conditions: the first page with the favoured numbers on.
    p.messages.QueueAnswers({Answer::No, Answer::No});
    Action(window, "actionConditions")->trigger();
    TFeltetelek& conditions = *window.ConditionsDialog();
    conditions.ConditionBox(Condition::Sum)->click();
    conditions.Pages()->setCurrentIndex(5);
    Save(conditions, "feltetelek.png");
    conditions.close();
    p.session.Conditions().errorPoints = 1; // so that the test has something to find

    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [this](TBontas& engine) {
            QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout);
            Save(engine, "bontas.png");
        }));
    QVERIFY(p.session.Variation().Exists());

    Action(window, "actionListVariation")->trigger();
    TBontLista& list = *window.ListWindow();
    list.resize(list.width(), 440);
    Save(list, "bontlista.png");
    Save(*list.Ticket(), "bontlista_szelveny.png");
    list.close();

    Action(window, "actionCheckVariation")->trigger();
    for (int n : {1, 2, 3, 4, 7}) {
        window.CheckTicket()->Click(n, Qt::NoModifier);
    }
    Save(*window.CheckTicket()->Grid(), "ellenorzes.png");
    window.CheckTicket()->Grid()->close();
    window.ListWindow()->close();

    QVERIFY(WhileModal<TBontTeszt>(
        &window, [&] { Action(window, "actionTest")->trigger(); },
        [this](TBontTeszt& test) {
            QTRY_VERIFY_WITH_TIMEOUT(test.HasResult(), kRunTimeout);
            Save(test, "teszt.png");
        }));

    // A few seconds of minimising, stopped: the plot shows the rows falling.
    QVERIFY(WhileModal<TMinimalizalas>(
        &window, [&] { Action(window, "actionMinimise")->trigger(); },
        [this](TMinimalizalas& dialog) {
            QTest::mouseClick(Child<QPushButton>(dialog, "startButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(dialog.Plot()->Best().size() >= 4, 20000);
            QTest::mouseClick(Child<QPushButton>(dialog, "stopButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.Running(), 20000);
            Save(dialog, "minimalizalas.png");
            dialog.reject();
        }));
    Action(window, "actionUndoMinimise")->trigger();

    TInfo& info = *window.InfoWindow();
    info.Start();
    Save(info, "informaciok.png");
    info.close();

    TNyomtOpc& slips = *window.SlipDialog();
    slips.Prepare(p.session.Game(), {{1, 2, 3, 4, 10}, {1, 2, 3, 5, 10}});
    Save(slips, "szelvenyek.png");

    THuzLista& draws = *window.DrawsList();
    draws.Listazas();
    draws.resize(draws.width(), 440);
    Save(draws, "huzlista.png");
    QVERIFY(WhileModal<THuzBe>(
        &window, [&] { draws.Command("BovitesGomb")->trigger(); },
        [this](THuzBe& entry) {
            for (int n : {5, 17, 33, 61, 88}) {
                entry.Click(n, Qt::NoModifier);
            }
            Save(entry, "huzasbe.png");
        }));
    draws.KeresesStart();
    Save(*draws.Search()->Grid(), "kereses.png");
    draws.Search()->Grid()->close();
    draws.close();

    THuzSzama& range = *window.RangeDialog();
    QVERIFY(WhileModal<THuzSzama>(
        &window, [&] { Action(window, "actionTicketRange")->trigger(); },
        [this](THuzSzama& dialog) { Save(dialog, "huzasokszama.png"); }));
    Q_UNUSED(range);

    TStatisztika& stats = *window.StatisticsWindow();
    stats.KindAction(StatKind::DrawsSum)->trigger();
    QVERIFY(QTest::qWaitFor([&stats] { return !stats.Running(); }, kRunTimeout));
    Save(stats, "statisztika.png");
    stats.close();

    QVERIFY(WhileModal<TBeallitasok>(
        &window, [&] { Action(window, "actionSettings")->trigger(); },
        [this](TBeallitasok& settings) { Save(settings, "beallitasok.png"); }));
    QVERIFY(WhileModal<TVelSzam>(
        &window, [&] { Action(window, "actionRandomNumbers")->trigger(); },
        [this](TVelSzam& random) { Save(random, "veletlen.png"); }));
    QVERIFY(WhileModal<TNevjegy>(
        &window, [&] { Action(window, "actionAbout")->trigger(); },
        [this](TNevjegy& about) { Save(about, "nevjegy.png"); }));

    // The manual itself, at the page of the main window.
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(window.Help() != nullptr);
    window.Help()->resize(960, 480);
    Save(*window.Help(), "sugo.png");
}

QTEST_MAIN(HelpImages)
#include "make_help_images.moc"
