#include "app/tfoablak.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <ctime>

#include "app/tfoszelveny.h"
#include "common/platform.h"
#include "dialogs/qt_file_chooser.h"
#include "dialogs/tnevjegy.h"
#include "draws/bundled_draws.h"
#include "draws/ui/thuzszama.h"
#include "session/exception_log.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontteszt.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// Hints are kept on the action; they show only while the "Hint" setting is on.
void SetState(QAction* action, bool enabled, const std::string& hint) {
    action->setEnabled(enabled);
    if (!hint.empty()) {
        action->setProperty("hint", ToQt(hint));
    }
}

void ShowHint(QAction* action, bool hintsOn) {
    const QString hint = hintsOn ? action->property("hint").toString() : QString();
    action->setStatusTip(hint);
    action->setToolTip(hint.isEmpty() ? action->text() : hint);
}

} // namespace

TFoablak::TFoablak(Session& session, const StartOptions& options)
    : QMainWindow(nullptr), m_session(session), m_options(options) {
    setObjectName(QStringLiteral("TFoablak"));
    m_fileDialogs = std::make_unique<QtFileChooser>(this);
    m_chooser = m_fileDialogs.get();
    FormCreate(options);
}

TFoablak::~TFoablak() {
    DestroyTicketWindow();
    m_session.onTicketChanged = nullptr;
}

void TFoablak::FormCreate(const StartOptions& options) {
    if (!PrepareStart(m_session, options.environment)) {
        m_forced = true;
        return;
    }
    BuildCommands();
    m_session.onTicketChanged = [this] { OnTicketChanged(); };

    bool resetOrder = false;
    const GameId game = GameForCommandLineFile(
        options.commandLineFile, m_session.GetSettings().game, m_session.GetMessages(), resetOrder);
    if (resetOrder) {
        m_session.SetNumberOrder(0);
    }
    m_session.ApplyGame(game);
    VelmoraIni();
    CreateTicketWindow();
    NincsAdatbazisAction(); // until the loading step has read the draws
}

QAction* TFoablak::AddAction(QMenu* menu, const QString& text, const char* objectName,
                             const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // The floating tickets pass their keys on to the main window.
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    return action;
}

void TFoablak::BuildGameMenu(QMenu* menu) {
    m_gameGroup = new QActionGroup(this);
    m_gameGroup->setExclusive(true);
    QMenu* keno = menu->addMenu(Q("Magyar Kenó "));
    for (GameId id = kFirstKeno; id <= kLastKeno; ++id) {
        QAction* action = keno->addAction(ToQt(KenoMenuCaption(id)));
        m_gameActions[id] = action;
    }
    for (GameId id : LottoMenuOrder()) {
        QAction* action = menu->addAction(ToQt(GameName(id)));
        m_gameActions[id] = action;
    }
    m_gameActions[0]->setShortcut(Qt::Key_F5);
    m_gameActions[1]->setShortcut(Qt::Key_F6);
    m_gameActions[2]->setShortcut(Qt::Key_F7);
    for (GameId id : {0, 1, 2}) {
        m_gameActions[id]->setShortcutContext(Qt::ApplicationShortcut);
    }
    for (auto& [id, action] : m_gameActions) {
        action->setCheckable(true);
        action->setData(id);
        action->setObjectName(QStringLiteral("game%1").arg(id));
        m_gameGroup->addAction(action);
        const GameId tag = id;
        connect(action, &QAction::triggered, this, [this, tag] { LottoSelect(tag); });
    }
}

void TFoablak::BuildCommands() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(Q("     Fájl     "));
    QMenu* games = file->addMenu(Q("Játék"));
    BuildGameMenu(games);
    m_open = AddAction(file, Q("Megnyitás..."), "actionOpen");
    m_saveAs = AddAction(file, Q("Mentés másként..."), "actionSaveAs");
    // A tool button drops a trailing "..." of its action's text unless told otherwise.
    m_open->setIconText(m_open->text());
    m_saveAs->setIconText(m_saveAs->text());
    connect(m_open, &QAction::triggered, this, &TFoablak::OpenCommand);
    connect(m_saveAs, &QAction::triggered, this, [this] { SaveCommand(""); });
    file->addSeparator();
    QAction* exit = AddAction(file, Q("Kilépés"), "actionExit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* row = bar->addMenu(Q("     Számsor     "));
    m_markAll = AddAction(row, Q("Kijelölés mind"), "actionMarkAll", QKeySequence(Q("Ctrl+M")));
    connect(m_markAll, &QAction::triggered, this, [this] { m_session.MarkAll(); });
    QMenu* order = row->addMenu(Q("Számsorrend"));
    auto* orderGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        QAction* action = order->addAction(Q(kNumberOrderNames[static_cast<std::size_t>(i)]));
        action->setObjectName(QStringLiteral("order%1").arg(i));
        action->setCheckable(true);
        orderGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { SetNumberOrder(i); });
        m_orderActions[static_cast<std::size_t>(i)] = action;
    }
    m_orderActions[0]->setChecked(true);
    m_saveRow = AddAction(row, Q("Mentés"), "actionSaveRow");
    connect(m_saveRow, &QAction::triggered, this, [this] { SaveCommand("tip"); });
    QMenu* clear = row->addMenu(Q("Törlés"));
    m_clearMenuAction = clear->menuAction();
    m_clearAll = AddAction(clear, Q("Minden szám"), "actionClearAll", QKeySequence(Q("Ctrl+T")));
    m_clearVariation = AddAction(clear, Q("Variáció számai"), "actionClearVariation");
    m_clearFixed = AddAction(clear, Q("Fix számok"), "actionClearFixed");
    m_clearConstant = AddAction(clear, Q("Állandó számok"), "actionClearConstant");
    m_clearRandom = AddAction(clear, Q("Véletlen számok"), "actionClearRandom");
    connect(m_clearAll, &QAction::triggered, this, [this] { m_session.ClearAll(); });
    connect(m_clearVariation, &QAction::triggered, this,
            [this] { m_session.ClearVariationNumbers(); });
    connect(m_clearFixed, &QAction::triggered, this, [this] { m_session.ClearFixed(); });
    connect(m_clearConstant, &QAction::triggered, this, [this] { m_session.ClearConstant(); });
    connect(m_clearRandom, &QAction::triggered, this, [this] { m_session.ClearRandom(); });

    QMenu* ticket = bar->addMenu(Q("     Főszelvény     "));
    m_newTicket =
        AddAction(ticket, Q("Új főszelvény"), "actionNewTicket", QKeySequence(Q("Ctrl+U")));
    connect(m_newTicket, &QAction::triggered, this, [this] {
        if (m_session.NewTicket()) {
            SetView(kViewNormal);
        }
    });
    ticket->addSeparator();
    m_viewNormal =
        AddAction(ticket, Q("Normál alak"), "actionViewNormal", QKeySequence(Q("Ctrl+N")));
    m_viewTimesDrawn = AddAction(ticket, Q("Hányszor húzták"), "actionViewTimesDrawn");
    m_viewDrawsSince = AddAction(ticket, Q("Hány húzás óta..."), "actionViewDrawsSince");
    m_viewOrder =
        AddAction(ticket, Q("Számok sorrendje"), "actionViewOrder", QKeySequence(Q("Ctrl+S")));
    ticket->addSeparator();
    m_ticketRange =
        AddAction(ticket, Q("Húzások száma..."), "actionTicketRange", QKeySequence(Q("Ctrl+H")));
    connect(m_viewNormal, &QAction::triggered, this, [this] { SetView(kViewNormal); });
    connect(m_viewTimesDrawn, &QAction::triggered, this, [this] { SetView(kViewTimesDrawn); });
    connect(m_viewDrawsSince, &QAction::triggered, this, [this] { SetView(kViewDrawsSince); });
    connect(m_viewOrder, &QAction::triggered, this, [this] { SetView(kViewNumberOrder); });
    connect(m_ticketRange, &QAction::triggered, this, &TFoablak::OpenTicketRange);

    m_variationMenu = bar->addMenu(Q("     Variáció     "));
    m_start = AddAction(m_variationMenu, Q("Start"), "actionStart", QKeySequence(Q("Ctrl+B")));
    m_variationMenu->addSeparator();
    m_test = AddAction(m_variationMenu, Q("Teszt..."), "actionTest");
    m_test->setIconText(m_test->text());
    m_variationMenu->addSeparator();
    m_saveVariation = AddAction(m_variationMenu, Q("Mentés"), "actionSaveVariation");
    m_deleteVariation = AddAction(m_variationMenu, Q("Törlés"), "actionDeleteVariation");
    connect(m_start, &QAction::triggered, this, &TFoablak::StartVariation);
    connect(m_test, &QAction::triggered, this, &TFoablak::TestVariation);
    connect(m_saveVariation, &QAction::triggered, this, &TFoablak::SaveVariationCommand);
    connect(m_deleteVariation, &QAction::triggered, this, &TFoablak::DeleteVariation);

    QMenu* help = bar->addMenu(Q("     Súgó     "));
    QAction* about = AddAction(help, Q("Névjegy"), "actionAbout");
    connect(about, &QAction::triggered, this, &TFoablak::ShowAbout);

    QToolBar* tools = addToolBar(Q("Eszköztár"));
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addMenuButton = [tools](QMenu* menu, const QString& text, const char* objectName) {
        auto* button = new QToolButton(tools);
        button->setText(text);
        button->setObjectName(QString::fromLatin1(objectName));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        tools->addWidget(button);
        return button;
    };
    addMenuButton(games, Q("Játék"), "gameButton");
    tools->addAction(m_open);
    tools->addAction(m_saveAs);
    tools->addSeparator();
    tools->addAction(m_markAll);
    addMenuButton(order, Q("Számsorrend"), "orderButton");
    QToolButton* clearButton = addMenuButton(clear, Q("Törlés"), "clearButton");
    connect(m_clearMenuAction, &QAction::changed, clearButton, [this, clearButton] {
        clearButton->setEnabled(m_clearMenuAction->isEnabled());
        clearButton->setToolTip(m_clearMenuAction->toolTip());
        clearButton->setStatusTip(m_clearMenuAction->statusTip());
    });
    tools->addAction(m_newTicket);
    tools->addSeparator();
    tools->addAction(m_start);
    tools->addAction(m_test);

    m_fullVariation = new QLabel(this);
    m_fullVariation->setObjectName(QStringLiteral("fullVariation"));
    m_fullVariation->setMinimumWidth(250);
    statusBar()->addPermanentWidget(m_fullVariation);
}

QAction* TFoablak::GameAction(GameId id) const {
    const auto it = m_gameActions.find(id);
    return it == m_gameActions.end() ? nullptr : it->second;
}

QString TFoablak::FullVariationText() const {
    return m_fullVariation != nullptr ? m_fullVariation->text() : QString();
}

void TFoablak::VelmoraIni() {
    const GameId id = m_session.Game().gameId;
    setWindowTitle(ToQt(m_session.MainWindowCaption()));
    if (QAction* action = GameAction(id)) {
        action->setChecked(true);
    }
}

void TFoablak::CreateTicketWindow() {
    m_ticket = new TFoszelveny(m_session, this);
    OnTicketChanged();
    if (isVisible()) {
        ShowTicket();
    }
}

void TFoablak::ShowTicket() {
    if (m_ticket == nullptr) {
        return;
    }
    TSzelveny* grid = m_ticket->Grid();
    grid->move(geometry().topLeft() + QPoint(40, 110));
    grid->show();
}

void TFoablak::DestroyTicketWindow() {
    delete m_ticket;
}

void TFoablak::OnTicketChanged() {
    if (m_ticket == nullptr || m_ticket->Grid()->BoxCount() != m_session.Game().maxNumber) {
        return;
    }
    m_ticket->Refresh();
    RefreshCommands();
}

void TFoablak::RefreshCommands() {
    const TicketCommandStates s = m_session.CommandStates();
    SetState(m_clearMenuAction, s.clearAll.enabled, s.clearAll.hint);
    SetState(m_clearAll, s.clearAll.enabled, s.clearAllItemHint);
    SetState(m_clearRandom, s.clearRandom.enabled, s.clearRandom.hint);
    SetState(m_clearFixed, s.clearFixed.enabled, s.clearFixed.hint);
    SetState(m_clearConstant, s.clearConstant.enabled, s.clearConstant.hint);
    SetState(m_clearVariation, s.clearVariation.enabled, s.clearVariation.hint);
    SetState(m_newTicket, s.newTicket.enabled, s.newTicket.hint);
    SetState(m_markAll, s.markAll.enabled, s.markAll.hint);
    // Saving needs what a variation needs: more numbers than a row holds.
    const bool savable = s.conditionsAvailable;
    SetState(m_saveAs, savable,
             savable ? " Számsor, variáció, export állományok mentése. "
                     : " Nincs elmentésre váró adat. ");
    SetState(m_saveRow, savable, savable ? " Számsor és feltételek mentése. " : "");
    m_fullVariation->setText(ToQt(s.fullVariationText));
    RefreshVariationCommands();
    ApplyHints();
    const int order = m_session.Ticket().NumberOrder();
    m_orderActions[static_cast<std::size_t>(order)]->setChecked(true);
}

void TFoablak::RefreshVariationCommands() {
    const bool exists = m_session.variationExists;
    // A variation needs at least one number more than a row holds; a finished one is made
    // again only after the marks change, while a paused or extended one goes on.
    const bool goesOn = m_session.VariationPaused() || m_session.Ticket().Extension().active;
    const bool startable = m_session.CommandStates().conditionsAvailable && (!exists || goesOn);
    if (startable) {
        SetState(m_start, true, " Variáció készítése. ");
    } else {
        SetState(m_start, false, exists ? " A variáció elkészült. " : " Nincs kijelölt számsor. ");
    }
    m_variationMenu->menuAction()->setEnabled(startable || exists);
    // The test needs a variation that is not already every combination.
    if (exists) {
        const MainTicket& ticket = m_session.Ticket();
        const long long total = Bontas::TeljBontSzelvszam(
            static_cast<int>(ticket.Selected().size()),
            m_session.Game().rowLength - static_cast<int>(ticket.Fixed().size()));
        const bool testable = m_session.Variation().Count() < total;
        SetState(m_test, testable,
                 testable ? " Variáció tesztje. "
                          : " A variáció mérete elérte a teljes variáció szelvényszámát. ");
    } else {
        m_test->setEnabled(false);
    }
    m_saveVariation->setEnabled(exists);
    m_deleteVariation->setEnabled(exists);
}

void TFoablak::OpenCommand() {
    m_session.OpenCommand(Chooser());
    OnTicketChanged();
}

void TFoablak::SaveCommand(const std::string& requested) {
    m_session.SaveCommand(Chooser(), requested);
    OnTicketChanged();
}

void TFoablak::SaveVariationCommand() {
    m_session.SaveVariationCommand(Chooser());
    OnTicketChanged();
}

void TFoablak::StartVariation() {
    if (m_session.StartChecks()) {
        TBontas engine(m_session, this);
        if (engine.BontasIndul()) {
            engine.exec();
        }
    }
    RefreshCommands();
}

TBontTeszt* TFoablak::TestDialog() {
    if (m_testDialog == nullptr) {
        m_testDialog = new TBontTeszt(m_session, this);
    }
    return m_testDialog;
}

void TFoablak::TestVariation() {
    if (!m_session.variationExists) {
        return;
    }
    TBontTeszt* test = TestDialog();
    if (test->Start() == TBontTeszt::kInsertRequested) {
        const std::vector<std::vector<std::uint8_t>> rows = test->InsertRows();
        if (!rows.empty() &&
            m_session.BontSzamsorHozzaadasEllenorzes(static_cast<long long>(rows.size()))) {
            m_session.BontTesztHozzaadas(0, rows);
        }
    }
    RefreshCommands();
}

void TFoablak::DeleteVariation() {
    m_session.DeleteVariationCommand();
    RefreshCommands();
}

void TFoablak::SetView(int view) {
    m_session.SetTicketView(view);
}

THuzSzama* TFoablak::RangeDialog() {
    if (m_rangeDialog == nullptr) {
        m_rangeDialog = new THuzSzama(this, m_session.Ranges(), m_session.GetMessages());
    }
    return m_rangeDialog;
}

void TFoablak::OpenTicketRange() {
    if (!m_session.HasDraws()) {
        return;
    }
    if (RangeDialog()->Open(kRangeTicketStatistics, m_session.Draws().Count())) {
        m_session.SetTicketView(m_session.Ticket().View());
    }
}

void TFoablak::LoadDraws() {
    if (m_session.LoadDraws()) {
        VanAdatbazisAction();
    } else {
        NincsAdatbazisAction();
    }
}

void TFoablak::VanAdatbazisAction() {
    SetState(m_ticketRange, true, " ...a főszelvényen megjelenített statisztikai adatokhoz. ");
    SetState(m_viewTimesDrawn, true, " Hányszor húzták ki eddig a számokat ");
    SetState(m_viewDrawsSince, true, " Hány húzás óta nem sorsolták ki a számokat ");
    ApplyHints();
}

void TFoablak::ApplyHints() {
    const bool on = m_session.GetSettings().hints;
    for (QAction* action : findChildren<QAction*>()) {
        ShowHint(action, on);
    }
}

void TFoablak::NincsAdatbazisAction() {
    m_session.GetMessages().HideWait();
    const std::string missing = " Hiányzik a húzások listája. ";
    SetState(m_ticketRange, false, missing);
    SetState(m_viewTimesDrawn, false, missing);
    SetState(m_viewDrawsSince, false, missing);
    ApplyHints();
    const int view = m_session.Ticket().View();
    if (view == kViewTimesDrawn || view == kViewDrawsSince) {
        SetView(kViewNormal);
    }
    if (!m_started) {
        return;
    }
    const bool download = m_session.GetMessages().ErrorQuestion(
        "Nem található a(z) " + GameName(m_session.Game().gameId) +
        " húzásainak listája.\r\rLetölti a húzások listáját?");
    // The download itself joins when the program can fetch the lists; until then Yes leaves the
    // program as it is.
    if (!download) {
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TFoablak::SetNumberOrder(int order) {
    m_session.SetNumberOrder(order);
}

void TFoablak::LottoSelect(GameId id) {
    if (!m_session.SelectGame(id)) {
        VelmoraIni(); // keep the tick on the current game
        return;
    }
    DestroyTicketWindow();
    VelmoraIni();
    CreateTicketWindow();
    LoadDraws();
}

void TFoablak::Betoltes() {
    if (m_forced) {
        return;
    }
    if (m_options.otherCopyPid != 0) {
        const bool endOther = m_session.GetMessages().WarningQuestion(
            "Már fut egy példánya a Velmora Personal programnak.\r\r"
            "Ha leállítja az előző példányt, annak minden adata törlésre kerül.\r"
            "Most még el tudja menteni az előző példány adatait.\r\r"
            "Mégis leállítja a Velmora Personal program előző példányát?");
        if (!endOther) {
            m_forced = true;
            close();
            return;
        }
        InstanceLock::EndProcess(m_options.otherCopyPid);
    }
    RunLoadingStep(m_session);
    BuildMissingDatabases(m_session.Folders(), BundledDrawsFolder(), m_session.GetMessages());
    m_started = true;
    LoadDraws();
    OpenCommandLineFile();
}

void TFoablak::OpenCommandLineFile() {
    const std::string& path = m_options.commandLineFile;
    const QString extension = QFileInfo(QString::fromStdString(path)).suffix();
    if (extension.compare(QLatin1String("tip"), Qt::CaseInsensitive) != 0 &&
        extension.compare(QLatin1String("top"), Qt::CaseInsensitive) != 0) {
        return;
    }
    m_session.OpenFile(path);
    // Opened from outside the program: nothing says it is kept anywhere yet.
    m_session.Ticket().SetUnchanged(false);
    OnTicketChanged();
}

void TFoablak::closeEvent(QCloseEvent* event) {
    if (m_forced) {
        event->accept();
        return;
    }
    if (!m_session.GetMessages().Confirm("Biztos kilép a programból?")) {
        event->ignore();
        return;
    }
    // The discard question asks about unsaved draws as well; keeping the marks means saving
    // them before they go.
    if (!m_session.AskDiscardTicket()) {
        m_session.SaveCommand(Chooser(), "");
    }
    m_session.DeleteVariation();
    if (m_session.GetSettings().saveOnExit) {
        WriteSettings(m_session.Folders(), m_session.GetSettings(), m_session.GetMessages());
    }
    DestroyTicketWindow();
    event->accept();
}

void TFoablak::ShowAbout() {
    TNevjegy about(this);
    about.exec();
}

void TFoablak::VelmoraException(const std::string& errorClass, const std::string& message) {
    // An error raised while the error box itself is up must not stack boxes without end.
    if (m_exceptionDepth > 0) {
        return;
    }
    ++m_exceptionDepth;
    Messages& messages = m_session.GetMessages();
    messages.HideWait();

    CrashState state;
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &state.time);
    state.errorClass = errorClass;
    state.errorMessage = message;
    // The main window first, then the others by class name, so that logs compare easily.
    std::vector<WindowEntry> others;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != this) {
            others.push_back({window->metaObject()->className(), FromQt(window->windowTitle())});
        }
    }
    std::sort(others.begin(), others.end(),
              [](const WindowEntry& a, const WindowEntry& b) { return a.className < b.className; });
    state.visibleWindows.push_back({"TFoablak", FromQt(windowTitle())});
    state.visibleWindows.insert(state.visibleWindows.end(), others.begin(), others.end());
    state.gameId = m_session.Game().gameId;
    state.selectedCount = static_cast<int>(m_session.Ticket().Selected().size());
    state.constantCount = static_cast<int>(m_session.Ticket().Constant().size());
    state.fixedCount = static_cast<int>(m_session.Ticket().Fixed().size());
    state.systemName = OperatingSystemName();
    state.systemVersion = OperatingSystemVersion();

    const std::string logPath = m_session.Folders().list + "VelmoraError.log";
    AppendExceptionLog(logPath, ExceptionLogLines(state));
    const bool quit = messages.ErrorQuestion(CriticalErrorText(message, logPath));
    --m_exceptionDepth;
    if (quit) {
        m_forced = true;
        QCoreApplication::exit(1);
    }
}

} // namespace velmora
