// The manual from the main window offscreen: F1 over each kind of window, "Témakörök" and its
// tool button, "Mi ez?", and a start without the manual.

#include <QSpinBox>
#include <QTextBrowser>
#include <QToolBar>
#include <QWhatsThis>
#include <QtTest>

#include "common/help_files.h"
#include "common/platform.h"
#include "conditions/ui/tfeltetelek.h"
#include "dialogs/help_window.h"
#include "draws/ui/thuzszama.h"
#include "support/session_parts.h"
#include "support/window_driver.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

// The manual the build copies beside the test programs.
StartOptions WithManual() {
    StartOptions options;
    options.environment.helpIndex = FindHelpIndex(ExecutableFolderPath());
    return options;
}

struct Fixture : SessionParts {
    explicit Fixture(const StartOptions& options = WithManual())
        : SessionParts(2), window(session, options) {
        window.show();
    }
    // F1 pressed on `target`; the page the manual then shows, or "<closed>".
    QString F1On(QWidget* target) {
        QTest::keyClick(target, Qt::Key_F1);
        HelpWindow* help = window.Help();
        return help != nullptr && help->isVisible() ? help->CurrentPage()
                                                    : QStringLiteral("<closed>");
    }
    TFoablak window;
};

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void f1OpensThePageOfTheWindowInFront();
    void f1OverAModalWindowOpensItsPageAboveIt();
    void topicsCommandAndButton();
    void whatsThisTellsTheHints();
    void missingManualIsReportedAndItsCommandsGo();
};

void HelpTest::f1OpensThePageOfTheWindowInFront() {
    Fixture f;
    QVERIFY2(!f.window.Help(), "nothing opens before it is asked for");
    QCOMPARE(f.F1On(&f.window), QStringLiteral("foablak.html"));
    HelpWindow& help = *f.window.Help();
    QVERIFY(help.Browser()->toPlainText().contains(QStringLiteral("Témakörök")));
    QCOMPARE(help.windowTitle(), QStringLiteral("  Súgó - A főablak"));
    QCOMPARE(help.windowModality(), Qt::NonModal);

    // The main ticket and the conditions dialog, each its own page; F1 over the manual brings
    // its contents.
    QCOMPARE(f.F1On(f.window.Foszelveny()->Grid()), QStringLiteral("foszelveny.html"));
    MarkRange(f.window, 1, 8);
    Action(f.window, "actionConditions")->trigger();
    TFeltetelek* conditions = f.window.ConditionsDialog();
    QVERIFY(conditions->isVisible());
    QCOMPARE(f.F1On(conditions->ErrorPointsField()), QStringLiteral("feltetelek.html"));
    QCOMPARE(f.F1On(help.Browser()), QStringLiteral("index.html"));

    // Only F1 alone: Shift+F1 is What's This.
    help.close();
    QTest::keyClick(&f.window, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(!help.isVisible());
    QWhatsThis::leaveWhatsThisMode();

    // The links of the page lead on, and back returns.
    QCOMPARE(f.F1On(&f.window), QStringLiteral("foablak.html"));
    help.Browser()->setSource(QUrl(QStringLiteral("bontas.html")));
    QCOMPARE(help.CurrentPage(), QStringLiteral("bontas.html"));
    Child<QAbstractButton>(help, "backButton")->click();
    QCOMPARE(help.CurrentPage(), QStringLiteral("foablak.html"));
    Child<QAbstractButton>(help, "contentsButton")->click();
    QCOMPARE(help.CurrentPage(), QStringLiteral("index.html"));
}

void HelpTest::f1OverAModalWindowOpensItsPageAboveIt() {
    Fixture f;
    f.window.Betoltes(); // the draws, for the draw range dialog
    QString page;
    Qt::WindowModality modality = Qt::NonModal;
    QVERIFY(WhileModal<THuzSzama>(
        &f.window, [&] { Action(f.window, "actionTicketRange")->trigger(); },
        [&](THuzSzama& dialog) {
            page = f.F1On(&dialog);
            modality = f.window.Help()->windowModality();
            f.window.Help()->close();
        }));
    QCOMPARE(page, QStringLiteral("huzasokszama.html"));
    QCOMPARE(modality, Qt::ApplicationModal);
    // Without the modal window the manual no longer blocks the others.
    QCOMPARE(f.F1On(&f.window), QStringLiteral("foablak.html"));
    QCOMPARE(f.window.Help()->windowModality(), Qt::NonModal);
}

void HelpTest::topicsCommandAndButton() {
    Fixture f;
    QAction* topics = Action(f.window, "actionHelpTopics");
    QVERIFY(topics != nullptr && topics->isEnabled() && topics->isVisible());
    QCOMPARE(topics->text(), QStringLiteral("Témakörök"));
    QCOMPARE(topics->shortcut(), QKeySequence(Qt::Key_F1));
    auto* tools = Child<QToolBar>(f.window, "toolBar");
    QVERIFY(tools->actions().contains(topics));
    topics->trigger();
    QVERIFY(f.window.Help()->isVisible());
    QCOMPARE(f.window.Help()->CurrentPage(), QStringLiteral("foablak.html"));
}

void HelpTest::whatsThisTellsTheHints() {
    Fixture f;
    // A command tells its hint, even with the hints off; a control without a What's This of
    // its own answers with its tooltip.
    MarkRange(f.window, 1, 3);
    NumberBox* box = f.window.Foszelveny()->Grid()->Box(2);
    QVERIFY(box->whatsThis().isEmpty());
    QVERIFY(!box->toolTip().trimmed().isEmpty());
    QCOMPARE(WhatsThisText(box), box->toolTip().trimmed());
    QHelpEvent query(QEvent::QueryWhatsThis, QPoint(1, 1), box->mapToGlobal(QPoint(1, 1)));
    query.ignore();
    QCoreApplication::sendEvent(box, &query);
    QVERIFY(query.isAccepted());
    f.session.GetSettings().hints = false;
    ClickBox(f.window, 4);
    QCOMPARE(Action(f.window, "actionClearAll")->statusTip(), QString()); // the hints are off
    QCOMPARE(Action(f.window, "actionClearAll")->whatsThis(),
             QStringLiteral("Minden kijelölt szám törlése."));
    QCOMPARE(Action(f.window, "actionStart")->whatsThis(),
             QStringLiteral("Nincs kijelölt számsor."));
    QWidget plain;
    QCOMPARE(WhatsThisText(&plain), QString());

    QAction* whatsThis = Action(f.window, "actionWhatsThis");
    QCOMPARE(whatsThis->text(), QStringLiteral("Mi ez?"));
    whatsThis->trigger();
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

void HelpTest::missingManualIsReportedAndItsCommandsGo() {
    StartOptions options;
    options.environment.helpIndex = std::string();
    Fixture f(options);
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Log()[0].kind, MessageKind::Warning);
    QCOMPARE(f.messages.LastText(), "Hiányzik a Súgó állománya.");
    for (const char* name : {"actionHelpTopics", "actionWhatsThis"}) {
        QAction* action = Action(f.window, name);
        QVERIFY2(!action->isEnabled() && !action->isVisible(), name);
        QCOMPARE(action->statusTip(), QStringLiteral(" Hiányzik a Súgó állománya. "));
    }
    QCOMPARE(f.F1On(&f.window), QStringLiteral("<closed>"));
    QVERIFY(!f.window.Help());
}

QTEST_MAIN(HelpTest)
#include "test_help.moc"
