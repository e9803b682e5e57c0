#include "app/tfoablak.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include <algorithm>
#include <ctime>

#include "app/tfoszelveny.h"
#include "app/tvelszam.h"
#include "conditions/ui/tfeltetelek.h"
#include "variation/ui/tbontellszelveny.h"
#include "variation/ui/tbontlista.h"
#include "variation/variation_file.h"
#include "common/platform.h"
#include "dialogs/help_window.h"
#include "dialogs/qt_fetcher.h"
#include "dialogs/qt_file_chooser.h"
#include "dialogs/qt_messages.h"
#include "dialogs/tnevjegy.h"
#include "draws/bundled_draws.h"
#include "draws/ui/thuzkeresszelveny.h"
#include "draws/ui/thuzlista.h"
#include "draws/ui/thuzszama.h"
#include "session/draws_update.h"
#include "session/example_variation.h"
#include "session/new_version.h"
#include "session/exception_log.h"
#include "reports/list_report.h"
#include "reports/ui/report_output.h"
#include "reports/ui/tinfo.h"
#include "reports/ui/tnyomtopc.h"
#include "settings/ui/tbeallitasok.h"
#include "stats/ui/tstatisztika.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontteszt.h"
#include "variation/ui/tminimalizalas.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// Hints are kept on the action; they show only while the "Hint" setting is on.
void SetState(QAction* action, const CommandState& state) {
    action->setEnabled(state.enabled);
    action->setProperty("hint", ToQt(state.hint));
}

void ShowHint(QAction* action, bool hintsOn) {
    const QString hint = hintsOn ? action->property("hint").toString() : QString();
    action->setStatusTip(hint);
    // A hint of two lines keeps its line break in the tooltip.
    action->setToolTip(hint.isEmpty() ? action->text() : QString(hint).replace(u'\r', u'\n'));
    // "Mi ez?" tells the hint even while the hints are off.
    action->setWhatsThis(action->property("hint").toString().replace(u'\r', u'\n').trimmed());
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
    m_session.Editor().SetHooks({}); // they point at this window
}

void TFoablak::FormCreate(const StartOptions& options) {
    if (!PrepareStart(m_session, options.environment)) {
        m_forced = true;
        return;
    }
    BuildCommands();
    SetConditionHooks();
    m_session.onTicketChanged = [this] { OnTicketChanged(); };

    bool resetOrder = false;
    const GameId game = GameForCommandLineFile(
        options.commandLineFile, m_session.GetSettings().game, m_session.GetMessages(), resetOrder);
    if (resetOrder) {
        m_session.SetNumberOrder(NumberOrder::Unchanged);
    }
    m_session.ApplyGame(game);
    VelmoraIni();
    CreateTicketWindow();
    NincsAdatbazisAction(); // until the loading step has read the draws
    SetUpHelp(options.environment.helpIndex.value_or(std::string()));
}

void TFoablak::SetUpHelp(const std::string& indexPath) {
    m_helpIndex = ToQt(indexPath);
    const bool present = !m_helpIndex.isEmpty();
    for (QAction* action : {m_topicsAction, m_whatsThisAction}) {
        action->setEnabled(present);
        action->setVisible(present);
        action->setProperty("hint", present ? QString() : Q(" Hiányzik a Súgó állománya. "));
        ShowHint(action, m_session.GetSettings().hints);
    }
    if (present) {
        qApp->installEventFilter(new HelpKeys([this](QWidget* front) { OpenHelp(front); }, this));
    }
}

void TFoablak::OpenHelp(const QWidget* front) {
    if (m_helpIndex.isEmpty()) {
        return;
    }
    if (m_help == nullptr) {
        m_help = new HelpWindow(m_helpIndex, this);
    }
    m_help->OpenFor(front);
}

void TFoablak::Bind(QAction* action, Command command) {
    m_bound.emplace_back(action, command);
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
    QAction* open = AddAction(file, Q("Megnyitás..."), "actionOpen");
    Bind(open, Command::Open);
    QAction* restore = AddAction(file, Q("Visszatöltés"), "actionRestore");
    Bind(restore, Command::Restore);
    connect(restore, &QAction::triggered, this, &TFoablak::RestoreLastVariation);
    QAction* saveAs = AddAction(file, Q("Mentés másként..."), "actionSaveAs");
    Bind(saveAs, Command::SaveAs);
    QAction* settingsAction = AddAction(file, Q("Beállítások..."), "actionSettings");
    settingsAction->setIconText(settingsAction->text());
    connect(settingsAction, &QAction::triggered, this, &TFoablak::OpenSettings);
    // A tool button drops a trailing "..." of its action's text unless told otherwise.
    open->setIconText(open->text());
    saveAs->setIconText(saveAs->text());
    connect(open, &QAction::triggered, this, &TFoablak::OpenCommand);
    connect(saveAs, &QAction::triggered, this, [this] { SaveCommand(SaveRequest::Any); });
    file->addSeparator();
    QAction* exit = AddAction(file, Q("Kilépés"), "actionExit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* row = bar->addMenu(Q("     Számsor     "));
    QAction* markAll =
        AddAction(row, Q("Kijelölés mind"), "actionMarkAll", QKeySequence(Q("Ctrl+M")));
    Bind(markAll, Command::MarkAll);
    connect(markAll, &QAction::triggered, this, [this] { m_session.MarkAll(); });
    QAction* randomNumbers =
        AddAction(row, Q("Véletlen számok"), "actionRandomNumbers", QKeySequence(Q("Ctrl+W")));
    Bind(randomNumbers, Command::RandomNumbers);
    connect(randomNumbers, &QAction::triggered, this, [this] {
        TVelSzam dialog(m_session, this);
        dialog.Start();
        OnTicketChanged();
    });
    QMenu* order = row->addMenu(Q("Számsorrend"));
    auto* orderGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        const auto kind = static_cast<NumberOrder>(i);
        QAction* action = order->addAction(Q(NumberOrderName(kind)));
        action->setObjectName(QStringLiteral("order%1").arg(i));
        action->setCheckable(true);
        orderGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, kind] { m_session.SetNumberOrder(kind); });
        m_orderActions[static_cast<std::size_t>(i)] = action;
    }
    m_orderActions[0]->setChecked(true);
    QAction* saveRow = AddAction(row, Q("Mentés"), "actionSaveRow");
    Bind(saveRow, Command::SaveNumberRow);
    connect(saveRow, &QAction::triggered, this, [this] { SaveCommand(SaveRequest::NumberRow); });
    QMenu* clear = row->addMenu(Q("Törlés"));
    QAction* clearMenu = clear->menuAction();
    Bind(clearMenu, Command::ClearMenu);
    const struct {
        const char* text;
        const char* name;
        const char* keys;
        Command command;
        void (Session::*run)();
    } clearItems[] = {
        {"Minden szám", "actionClearAll", "Ctrl+T", Command::ClearAll, &Session::ClearAll},
        {"Variáció számai", "actionClearVariation", "", Command::ClearVariation,
         &Session::ClearVariationNumbers},
        {"Fix számok", "actionClearFixed", "", Command::ClearFixed, &Session::ClearFixed},
        {"Állandó számok", "actionClearConstant", "", Command::ClearConstant,
         &Session::ClearConstant},
        {"Véletlen számok", "actionClearRandom", "", Command::ClearRandom, &Session::ClearRandom},
    };
    for (const auto& item : clearItems) {
        QAction* action = AddAction(clear, Q(item.text), item.name, QKeySequence(Q(item.keys)));
        Bind(action, item.command);
        connect(action, &QAction::triggered, this, [this, run = item.run] { (m_session.*run)(); });
    }

    QMenu* ticket = bar->addMenu(Q("     Főszelvény     "));
    QAction* newTicket =
        AddAction(ticket, Q("Új főszelvény"), "actionNewTicket", QKeySequence(Q("Ctrl+U")));
    Bind(newTicket, Command::NewTicket);
    connect(newTicket, &QAction::triggered, this, [this] {
        if (m_session.NewTicket()) {
            SetView(TicketView::Normal);
        }
    });
    ticket->addSeparator();
    const struct {
        const char* text;
        const char* name;
        const char* keys;
        TicketView view;
    } views[] = {
        {"Normál alak", "actionViewNormal", "Ctrl+N", TicketView::Normal},
        {"Hányszor húzták", "actionViewTimesDrawn", "", TicketView::TimesDrawn},
        {"Hány húzás óta...", "actionViewDrawsSince", "", TicketView::DrawsSince},
        {"Számok sorrendje", "actionViewOrder", "Ctrl+S", TicketView::NumberOrder},
    };
    for (const auto& item : views) {
        QAction* action = AddAction(ticket, Q(item.text), item.name, QKeySequence(Q(item.keys)));
        connect(action, &QAction::triggered, this, [this, view = item.view] { SetView(view); });
        if (item.view == TicketView::TimesDrawn) {
            Bind(action, Command::ViewTimesDrawn);
        } else if (item.view == TicketView::DrawsSince) {
            Bind(action, Command::ViewDrawsSince);
        }
    }
    ticket->addSeparator();
    QAction* ticketRange =
        AddAction(ticket, Q("Húzások száma..."), "actionTicketRange", QKeySequence(Q("Ctrl+H")));
    Bind(ticketRange, Command::TicketRange);
    connect(ticketRange, &QAction::triggered, this, &TFoablak::OpenTicketRange);

    QMenu* conditions = bar->addMenu(Q("     Feltételek     "));
    m_conditionsAction =
        AddAction(conditions, Q("Kijelölés..."), "actionConditions", QKeySequence(Q("Ctrl+F")));
    Bind(m_conditionsAction, Command::Conditions);
    connect(m_conditionsAction, &QAction::triggered, this, &TFoablak::OpenConditions);
    QAction* clearConditions = AddAction(conditions, Q("Törlés"), "actionClearConditions");
    Bind(clearConditions, Command::ClearConditions);
    connect(clearConditions, &QAction::triggered, this, [this] {
        m_session.Editor().ClearButtonClick();
        RefreshCommands();
    });

    QMenu* variation = bar->addMenu(Q("     Variáció     "));
    Bind(variation->menuAction(), Command::VariationMenu);
    QAction* start = AddAction(variation, Q("Start"), "actionStart", QKeySequence(Q("Ctrl+B")));
    Bind(start, Command::Start);
    QAction* list =
        AddAction(variation, Q("Listázás"), "actionListVariation", QKeySequence(Q("Ctrl+L")));
    Bind(list, Command::ListVariation);
    connect(list, &QAction::triggered, this, &TFoablak::ListVariation);
    QAction* information =
        AddAction(variation, Q("Információk..."), "actionInformation", QKeySequence(Q("Ctrl+I")));
    Bind(information, Command::Information);
    information->setIconText(information->text());
    connect(information, &QAction::triggered, this, [this] {
        if (m_session.Variation().Exists()) {
            InfoWindow()->Start();
        }
    });
    QMenu* edit = variation->addMenu(Q("Szerkesztés"));
    m_extensionAction = AddAction(edit, Q("Variáció bővítése"), "actionToggleExtension");
    m_extensionAction->setCheckable(true);
    Bind(m_extensionAction, Command::ToggleExtension);
    connect(m_extensionAction, &QAction::triggered, this, &TFoablak::ToggleExtension);
    QAction* commit = AddAction(edit, Q("Bővítmény hozzáadása"), "actionCommitExtension");
    Bind(commit, Command::CommitExtension);
    connect(commit, &QAction::triggered, this, &TFoablak::CommitExtension);
    QAction* undo = AddAction(edit, Q("Bővítmény törlése"), "actionUndoExtension");
    Bind(undo, Command::UndoExtension);
    connect(undo, &QAction::triggered, this, &TFoablak::UndoExtension);
    edit->addSeparator();
    QAction* minimise = AddAction(edit, Q("Variáció minimalizálása..."), "actionMinimise");
    Bind(minimise, Command::Minimise);
    connect(minimise, &QAction::triggered, this, &TFoablak::MinimiseVariation);
    QAction* undoMinimise = AddAction(edit, Q("Minimalizálás visszavonása"), "actionUndoMinimise");
    Bind(undoMinimise, Command::UndoMinimise);
    connect(undoMinimise, &QAction::triggered, this, [this] {
        m_session.Variation().UndoReplace();
        RefreshCommands();
    });
    edit->addSeparator();
    QAction* sort = AddAction(edit, Q("Rendezés"), "actionSortRows");
    Bind(sort, Command::SortRows);
    connect(sort, &QAction::triggered, this, [this] { ChangeRowOrder(true); });
    QAction* original = AddAction(edit, Q("Eredeti sorrend"), "actionOriginalOrder");
    Bind(original, Command::OriginalOrder);
    connect(original, &QAction::triggered, this, [this] { ChangeRowOrder(false); });
    m_listCommands = {sort, original, m_extensionAction, commit, undo};
    QAction* check =
        AddAction(variation, Q("Ellenőrzés..."), "actionCheckVariation", QKeySequence(Q("Ctrl+E")));
    Bind(check, Command::CheckVariation);
    connect(check, &QAction::triggered, this, &TFoablak::CheckVariation);
    variation->addSeparator();
    QAction* test = AddAction(variation, Q("Teszt..."), "actionTest");
    Bind(test, Command::Test);
    test->setIconText(test->text());
    variation->addSeparator();
    QAction* saveVariation = AddAction(variation, Q("Mentés"), "actionSaveVariation");
    Bind(saveVariation, Command::SaveVariation);
    QAction* modify = AddAction(variation, Q("Módosítás..."), "actionModifyVariation",
                                QKeySequence(Q("Ctrl+Alt+M")));
    Bind(modify, Command::ModifyVariation);
    connect(modify, &QAction::triggered, this, &TFoablak::ModifyVariation);
    QMenu* printVariation = variation->addMenu(Q("Nyomtatás"));
    Bind(printVariation->menuAction(), Command::Information);
    QAction* rowsToFile =
        AddAction(printVariation, Q("Nyomtatás állományba"), "actionPrintRowsToFile");
    connect(rowsToFile, &QAction::triggered, this, [this] { PrintRows(true); });
    QAction* rowsOnPaper = AddAction(printVariation, Q("Lista nyomtatása"), "actionPrintRows",
                                     QKeySequence(Q("Ctrl+P")));
    connect(rowsOnPaper, &QAction::triggered, this, [this] { PrintRows(false); });
    QAction* slips = AddAction(printVariation, Q("Szelvények kitöltése..."), "actionFillSlips");
    connect(slips, &QAction::triggered, this, &TFoablak::FillSlips);
    QAction* deleteVariation = AddAction(variation, Q("Törlés"), "actionDeleteVariation");
    Bind(deleteVariation, Command::DeleteVariation);
    connect(start, &QAction::triggered, this, &TFoablak::StartVariation);
    connect(test, &QAction::triggered, this, &TFoablak::TestVariation);
    connect(saveVariation, &QAction::triggered, this, &TFoablak::SaveVariationCommand);
    connect(deleteVariation, &QAction::triggered, this, &TFoablak::DeleteVariation);

    QMenu* database = bar->addMenu(Q("     Adatbázis     "));
    QAction* listDraws =
        AddAction(database, Q("Listázás"), "actionListDraws", QKeySequence(Q("Ctrl+A")));
    Bind(listDraws, Command::ListDraws);
    connect(listDraws, &QAction::triggered, this, &TFoablak::ListDraws);
    QAction* searchDraws =
        AddAction(database, Q("Keresés..."), "actionSearchDraws", QKeySequence(Q("Ctrl+K")));
    Bind(searchDraws, Command::SearchDraws);
    searchDraws->setIconText(searchDraws->text());
    connect(searchDraws, &QAction::triggered, this, [this] {
        if (m_session.Draws().HasDatabase()) {
            DrawsList()->KeresesStart();
        }
    });
    QAction* databaseRange = AddAction(database, Q("Húzások száma..."), "actionDatabaseRange",
                                       QKeySequence(Q("Ctrl+Alt+H")));
    Bind(databaseRange, Command::DatabaseRange);
    connect(databaseRange, &QAction::triggered, this, &TFoablak::ChooseDatabaseRange);
    QAction* saveDraws = AddAction(database, Q("Mentés"), "actionSaveDraws");
    Bind(saveDraws, Command::SaveDraws);
    connect(saveDraws, &QAction::triggered, this, [this] {
        m_session.Draws().AdatbazisMentese(m_session.DatabasePath(), true, m_session.GetMessages());
        RefreshCommands();
    });

    QMenu* printDraws = database->addMenu(Q("Nyomtatás..."));
    Bind(printDraws->menuAction(), Command::ListDraws);
    QAction* drawsToFile =
        AddAction(printDraws, Q("Nyomtatás állományba"), "actionPrintDrawsToFile");
    connect(drawsToFile, &QAction::triggered, this, [this] { PrintDraws(true); });
    QAction* drawsOnPaper = AddAction(printDraws, Q("Lista nyomtatása"), "actionPrintDraws",
                                      QKeySequence(Q("Ctrl+Alt+P")));
    connect(drawsOnPaper, &QAction::triggered, this, [this] { PrintDraws(false); });
    m_drawsPrintMenu = printDraws;
    database->addSeparator();
    m_operatorUpdateAction =
        AddAction(database, Q("Húzások naprakész listája..."), "actionOperatorUpdate");
    connect(m_operatorUpdateAction, &QAction::triggered, this,
            &TFoablak::UpdateFromOperatorCommand);
    QAction* updateDatabase =
        AddAction(database, Q("Adatbázis frissítése..."), "actionUpdateDatabase");
    connect(updateDatabase, &QAction::triggered, this, [this] { DownloadDatabases(false); });
    QAction* downloadAll =
        AddAction(database, Q("Teljes adatbázis letöltése"), "actionDownloadAllDatabases");
    connect(downloadAll, &QAction::triggered, this, [this] { DownloadDatabases(true); });
    database->addSeparator();
    m_operatorAction = AddAction(database, QString(), "actionOperatorPage");
    connect(m_operatorAction, &QAction::triggered, this,
            [this] { OpenAddress(QUrl(ToQt(OperatorAddress(m_session.Game().gameId)))); });

    QMenu* examples = bar->addMenu(Q("     Példabontás     "));
    const struct {
        const char* text;
        const char* name;
        Command command;
        ExampleSource source;
    } exampleItems[] = {
        {"Húzások alapján", "actionExampleFromDraw", Command::ExampleFromDraw, ExampleSource::Draw},
        {"Véletlen számokkal", "actionExampleRandom", Command::ExampleRandom,
         ExampleSource::Random},
        {"Saját számokkal", "actionExampleOwn", Command::ExampleOwn, ExampleSource::OwnNumbers},
    };
    std::vector<QAction*> exampleActions;
    for (const auto& item : exampleItems) {
        QAction* action = AddAction(examples, Q(item.text), item.name);
        Bind(action, item.command);
        connect(action, &QAction::triggered, this,
                [this, source = item.source] { StartExample(source); });
        exampleActions.push_back(action);
    }

    QMenu* help = bar->addMenu(Q("     Súgó     "));
    m_topicsAction = AddAction(help, Q("Témakörök"), "actionHelpTopics");
    // F1 itself is caught for the whole program (HelpKeys), so that it also works over a modal
    // window; here it is only shown beside the command.
    m_topicsAction->setShortcut(Qt::Key_F1);
    m_topicsAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_topicsAction, &QAction::triggered, this, [this] {
        QWidget* front = QApplication::activeModalWidget();
        OpenHelp(front != nullptr ? front : this);
    });
    help->addSeparator();
    m_newVersionAction = AddAction(help, Q("Új verzió keresése..."), "actionNewVersion");
    m_newVersionAction->setProperty("hint", Q(" Új verzió keresése, letöltése, telepítése. "));
    connect(m_newVersionAction, &QAction::triggered, this, &TFoablak::UjVerzio);
    ShowHint(m_newVersionAction, m_session.GetSettings().hints);
    const struct {
        const char* text;
        const char* name;
        std::string Settings::*address;
        const char* missing;
    } pages[] = {
        {"Velmora a weben", "actionWebPage", &Settings::webPage,
         "A program honlapjának címe nincs megadva a beállításokban."},
        {"Variációk letöltése...", "actionDownloadVariations", &Settings::variationsPage,
         "A variációk letöltési oldalának címe nincs megadva a beállításokban."},
    };
    for (const auto& page : pages) {
        QAction* action = AddAction(help, Q(page.text), page.name);
        connect(action, &QAction::triggered, this, [this, page] {
            const std::string& address = m_session.GetSettings().*page.address;
            if (address.empty()) {
                m_session.GetMessages().Information(page.missing);
            } else {
                OpenAddress(QUrl(ToQt(address)));
            }
        });
    }
    help->addSeparator();
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
    tools->addAction(open);
    tools->addAction(restore);
    tools->addAction(saveAs);
    tools->addAction(settingsAction);
    // Shown once a newer version is known, where the tool bar never hides it.
    m_newVersionSeparator = tools->addSeparator();
    m_newVersionSeparator->setVisible(false);
    m_newVersionButton = tools->addAction(Q(" Új verzió letöltése"));
    m_newVersionButton->setObjectName(QStringLiteral("VerzioErtesitoGomb"));
    m_newVersionButton->setVisible(false);
    connect(m_newVersionButton, &QAction::triggered, this, &TFoablak::UjVerzio);
    tools->addSeparator();
    tools->addAction(markAll);
    tools->addAction(randomNumbers);
    addMenuButton(order, Q("Számsorrend"), "orderButton");
    QToolButton* clearButton = addMenuButton(clear, Q("Törlés"), "clearButton");
    connect(clearMenu, &QAction::changed, clearButton, [clearMenu, clearButton] {
        clearButton->setEnabled(clearMenu->isEnabled());
        clearButton->setToolTip(clearMenu->toolTip());
        clearButton->setStatusTip(clearMenu->statusTip());
    });
    tools->addAction(newTicket);
    tools->addSeparator();
    tools->addAction(m_conditionsAction);
    tools->addAction(start);
    tools->addAction(information);
    tools->addAction(test);
    tools->addAction(m_extensionAction);
    QAction* drawsButton = tools->addAction(Q("Listázás"));
    drawsButton->setObjectName(QStringLiteral("AdatbazisGomb"));
    Bind(drawsButton, Command::ListDraws);
    connect(drawsButton, &QAction::triggered, this, &TFoablak::ListDraws);
    QAction* searchButton = tools->addAction(Q("Keresés..."));
    searchButton->setObjectName(QStringLiteral("AdatKeresGomb"));
    searchButton->setIconText(searchButton->text());
    Bind(searchButton, Command::SearchDraws);
    connect(searchButton, &QAction::triggered, searchDraws, &QAction::trigger);
    m_onlineCommands = {m_operatorUpdateAction, updateDatabase, downloadAll, m_newVersionAction,
                        m_newVersionButton};
    QAction* statistics = tools->addAction(Q("Statisztika"));
    statistics->setObjectName(QStringLiteral("StatisztikaGomb"));
    Bind(statistics, Command::Statistics);
    connect(statistics, &QAction::triggered, this, &TFoablak::OpenStatistics);
    tools->addSeparator();
    for (QAction* action : exampleActions) {
        tools->addAction(action);
    }
    tools->addSeparator();
    tools->addAction(m_topicsAction);

    // The pop-up's "Mi ez?": the next click on a control shows its hint.
    m_whatsThisAction = new QAction(Q("Mi ez?"), this);
    m_whatsThisAction->setObjectName(QStringLiteral("actionWhatsThis"));
    connect(m_whatsThisAction, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_whatsThisAction->isVisible()) {
            return; // the manual is missing
        }
        QMenu popup(this);
        popup.setObjectName(QStringLiteral("whatsThisMenu"));
        popup.addAction(m_whatsThisAction);
        popup.exec(mapToGlobal(at));
    });

    m_extensionImage = new QLabel(Q("Variáció bővítése"), this);
    m_extensionImage->setObjectName(QStringLiteral("extensionImage"));
    m_extensionImage->setAlignment(Qt::AlignCenter);
    QFont large = m_extensionImage->font();
    large.setPointSize(large.pointSize() * 3);
    large.setBold(true);
    m_extensionImage->setFont(large);
    m_extensionImage->setStyleSheet(QStringLiteral("color: rgb(176, 164, 132);"));
    setCentralWidget(m_extensionImage);
    m_extensionImage->hide();

    // The rows of the variation in hand, however it came: generated, opened or imported.
    m_variationRows = new QLabel(this);
    m_variationRows->setObjectName(QStringLiteral("variationRows"));
    statusBar()->addPermanentWidget(m_variationRows);
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

void TFoablak::OpenAddress(const QUrl& address) {
    if (openAddress) {
        openAddress(address);
    } else {
        QDesktopServices::openUrl(address);
    }
}

void TFoablak::VelmoraIni() {
    const GameId id = m_session.Game().gameId;
    setWindowTitle(ToQt(m_session.MainWindowCaption()));
    m_operatorAction->setText(ToQt(GameName(id) + " honlapja"));
    // Only the Hungarian operator's games have a results file to update from.
    m_operatorUpdateAction->setVisible(!OperatorResultsFile(id).empty());
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
    // An open conditions dialog follows the ticket: new numbers, a loaded file, a variation.
    if (m_conditionsDialog != nullptr && m_conditionsDialog->isVisible()) {
        m_session.Editor();
        m_conditionsDialog->Update();
    }
}

void TFoablak::RefreshCommands() {
    const CommandModel& commands = m_session.Commands();
    for (const auto& [action, command] : m_bound) {
        SetState(action, commands.State(command));
    }
    m_fullVariation->setText(ToQt(commands.FullVariationText()));
    const VariationDocument& variation = m_session.Variation();
    m_variationRows->setText(variation.Exists() ? ToQt(NeededRowsText(variation.Store().Count()))
                                                : QString());
    m_conditionsAction->setText(ToQt(commands.ConditionsCaption()));
    const bool extending = m_session.Variation().Extending();
    m_extensionAction->setChecked(extending);
    m_extensionImage->setVisible(extending);
    if (m_listWindow != nullptr) {
        m_listWindow->Follow();
    }
    if (m_checkTicket != nullptr) {
        m_checkTicket->Follow();
    }
    // The information of a variation that is gone goes with it.
    if (m_info != nullptr && m_info->isVisible() && !m_session.Variation().Exists()) {
        m_info->Clear();
    }
    ApplyHints();
    const auto order = static_cast<std::size_t>(m_session.Ticket().Order());
    m_orderActions[order]->setChecked(true);
}

void TFoablak::OpenCommand() {
    velmora::OpenCommand(m_session, Chooser());
    OnTicketChanged();
}

void TFoablak::RestoreLastVariation() {
    const bool wholeVariation = m_session.Backup().Kind() == "top";
    const bool restored = m_session.Backup().Restore(m_session);
    OnTicketChanged();
    if (restored && wholeVariation && m_session.Variation().Exists()) {
        ListVariation();
    }
}

void TFoablak::SaveCommand(SaveRequest request) {
    velmora::SaveCommand(m_session, Chooser(), request);
    OnTicketChanged();
}

void TFoablak::SaveVariationCommand() {
    velmora::SaveVariationCommand(m_session, Chooser());
    OnTicketChanged();
}

TFeltetelek* TFoablak::ConditionsDialog() {
    if (m_conditionsDialog == nullptr) {
        VariationDocument& variation = m_session.Variation();
        TFeltetelek::Links links;
        links.variationExists = [&variation] { return variation.Exists(); };
        links.extensionMode = [this] { return m_session.Ticket().Extension().active; };
        links.deleteVariation = [this, &variation] {
            const bool deleted = variation.AskThenDelete();
            RefreshCommands();
            return deleted;
        };
        links.chooseHitRatioDraws = [this] {
            if (!RangeDialog()->Open(RangeMode::HitRatio, m_session.Draws().Count())) {
                return false;
            }
            const DrawRange range = m_session.Ranges().Get(RangeMode::HitRatio);
            m_session.Editor().SetHitRatioDraws(range.first, range.last);
            return true;
        };
        m_conditionsDialog =
            new TFeltetelek(m_session.Editor(), m_session.Conditions(), std::move(links), this);
        connect(m_conditionsDialog, &TFeltetelek::conditionsChanged, this,
                &TFoablak::RefreshCommands);
        connect(m_conditionsDialog, &TFeltetelek::startRequested, this, &TFoablak::StartVariation);
    }
    return m_conditionsDialog;
}

void TFoablak::SetConditionHooks() {
    ConditionEditor::Hooks hooks;
    hooks.closeDialog = [this] {
        if (m_conditionsDialog != nullptr) {
            m_conditionsDialog->hide();
        }
    };
    hooks.backupLastVariation = [this] { m_session.Backup().BackUp(); };
    hooks.deleteVariation = [this] { m_session.Variation().Delete(); };
    hooks.confirmVariationDelete = [this] { return m_session.Variation().AskThenDelete(); };
    hooks.conditionListCommand = [this](bool) {
        if (m_conditionsAction != nullptr) {
            RefreshCommands();
        }
    };
    // After "Törlés" the hit ratio's draw range is all draws again.
    hooks.afterClear = [this] {
        m_session.Ranges().HitRatio() = {1, std::max(1, m_session.Draws().Count())};
        RefreshCommands();
    };
    hooks.showDistributionPage = [this] {
        if (m_conditionsDialog != nullptr) {
            m_conditionsDialog->Pages()->setCurrentIndex(0);
        }
    };
    m_session.Editor().SetHooks(std::move(hooks));
}

void TFoablak::OpenConditions() {
    VariationDocument& variation = m_session.Variation();
    // A variation made without conditions is dropped first (after its question).
    if (variation.Exists() && !m_session.Conditions().AnyActive() && !variation.Paused() &&
        !m_session.Ticket().Extension().active && !variation.AskThenDelete()) {
        return;
    }
    Settings& settings = m_session.GetSettings();
    const MainTicket& ticket = m_session.Ticket();
    if (!ticket.Fixed().empty() && settings.notices[kNoticeConditionsFixed]) {
        m_session.GetMessages().Notice(
            std::to_string(ticket.NumbersToChoose()) + " szám variációja egy szelvényen.\r" +
                "A kijelölt " + std::to_string(ticket.Fixed().size()) +
                " fix számot minden feltétel esetében figyelmen kívül hagyja  a program.",
            settings.notices[kNoticeConditionsFixed]);
    }
    TFeltetelek* dialog = ConditionsDialog();
    m_session.Editor(); // prepared for the current ticket
    const QWidget* grid = m_ticket != nullptr ? m_ticket->Grid() : nullptr;
    const QRect ticketArea =
        grid != nullptr ? grid->frameGeometry() : QRect(mapToGlobal(QPoint(0, 0)), QSize(0, 0));
    dialog->FeltetelStart(ticketArea);
    RefreshCommands();
}

TBontLista* TFoablak::ListWindow() {
    if (m_listWindow == nullptr) {
        m_listWindow = new TBontLista(m_session.Variation(), m_session.Ticket(),
                                      m_session.GetSettings(), m_session.GetMessages(), this);
        m_listWindow->AddCommands(m_listCommands);
        connect(m_listWindow, &TBontLista::deleteRowsRequested, this, &TFoablak::DeleteRows);
    }
    return m_listWindow;
}

void TFoablak::ListVariation() {
    if (m_session.Variation().Exists()) {
        ListWindow()->SetCheckTicket(CheckTicket());
        ListWindow()->BontListaStart();
    }
}

TBontEllSzelveny* TFoablak::CheckTicket() {
    if (m_checkTicket == nullptr) {
        m_checkTicket =
            new TBontEllSzelveny(m_session.Variation(), m_session.Ticket(), m_session.GetSettings(),
                                 m_session.GetMessages(), this);
        // An added or modified row: the list shows it, selected.
        connect(m_checkTicket, &TBontEllSzelveny::rowsChanged, this, [this](long long row) {
            if (m_session.Variation().Exists()) {
                ListWindow()->SetCheckTicket(m_checkTicket);
                ListWindow()->BontListaStart(row + 1);
            }
            RefreshCommands();
        });
    }
    return m_checkTicket;
}

void TFoablak::CheckVariation() {
    VariationDocument& variation = m_session.Variation();
    if (!variation.Exists()) {
        return;
    }
    if (variation.Paused()) {
        m_session.GetMessages().Warning(
            "Megszakított, nem befejezett variáció.\r\rA variáció nem értékelhető.");
    }
    CheckTicket()->Open();
    // The list opens with the ticket so its search can follow the counts.
    if (variation.Store().Count() <= kMaxFileRows) {
        ListWindow()->SetCheckTicket(CheckTicket());
        if (!ListWindow()->isVisible()) {
            ListWindow()->BontListaStart();
        }
    }
}

void TFoablak::ChangeRowOrder(bool sort) {
    VariationDocument& variation = m_session.Variation();
    if (!variation.Exists()) {
        return;
    }
    // The list's current row is selected again at its new place.
    const VariationStore& store = variation.Store();
    const bool listed = m_listWindow != nullptr && m_listWindow->isVisible();
    long long current = listed ? m_listWindow->SelectedLine() - 1 : -1;
    if (current >= 0 && store.IsSorted()) {
        current = store.OrderTable()[static_cast<std::size_t>(current)]; // generation index
    }
    if (sort) {
        if (!variation.SortRows()) {
            return;
        }
    } else {
        variation.RestoreOrder();
    }
    if (listed) {
        long long line = current;
        if (current >= 0 && store.IsSorted()) {
            const auto& order = store.OrderTable();
            line = std::find(order.begin(), order.end(), static_cast<std::uint32_t>(current)) -
                   order.begin();
        }
        m_listWindow->BontListaStart(line + 1);
    }
    RefreshCommands();
}

void TFoablak::ToggleExtension() {
    m_session.Variation().ToggleExtension();
    RefreshCommands();
}

void TFoablak::CommitExtension() {
    VariationDocument& variation = m_session.Variation();
    if (!variation.CanCommitExtension()) {
        return;
    }
    if (m_listWindow != nullptr) {
        m_listWindow->close();
    }
    variation.CommitExtension();
    m_session.GetMessages().Information("Bővítmény beillesztve.");
    RefreshCommands();
}

void TFoablak::MinimiseVariation() {
    VariationDocument& variation = m_session.Variation();
    if (!variation.CanMinimise()) {
        return;
    }
    TMinimalizalas window(variation, m_session.GetMessages(), this);
    window.Start();
    RefreshCommands();
}

void TFoablak::UndoExtension() {
    m_session.Variation().UndoExtension();
    RefreshCommands();
}

void TFoablak::DeleteRows() {
    VariationDocument& variation = m_session.Variation();
    const long long count = variation.Store().Count();
    if (count < 1 || count > kMaxFileRows || variation.DrawsList()) {
        return;
    }
    variation.RestoreOrder();
    const auto selected =
        static_cast<int>(m_listWindow != nullptr ? std::max(1LL, m_listWindow->SelectedLine()) : 1);
    THuzSzama* dialog = RangeDialog();
    if (!dialog->OpenRows(RangeMode::DeleteRows, static_cast<int>(count), {selected, selected},
                          variation.CanUndoExtension())) {
        RefreshCommands();
        return;
    }
    const DrawRange range = m_session.Ranges().Get(RangeMode::DeleteRows);
    const bool deleted = variation.DeleteRows(range.first, range.last, dialog->LastBlockChosen());
    RefreshCommands();
    // The list shows the first row after the deleted ones, or the last row.
    if (deleted && variation.Exists() && m_listWindow != nullptr && !dialog->LastBlockChosen()) {
        m_listWindow->AktSorKijelol(range.first);
    }
}

TInfo* TFoablak::InfoWindow() {
    if (m_info == nullptr) {
        m_info = new TInfo(m_session, this);
        connect(m_info, &TInfo::testRequested, this, &TFoablak::TestVariation);
        connect(m_info, &TInfo::statisticsRequested, this, &TFoablak::OpenStatistics);
    }
    return m_info;
}

THuzLista* TFoablak::DrawsList() {
    if (m_drawsList == nullptr) {
        m_drawsList = new THuzLista(
            m_session, [this] { ChooseDatabaseRange(); }, this);
        m_drawsList->SetPrintMenu(m_drawsPrintMenu);
        // New or changed draws: the ticket's counts and the commands follow.
        connect(m_drawsList, &THuzLista::drawsChanged, this, [this] {
            m_session.SetTicketView(m_session.Ticket().View());
            RefreshCommands();
        });
        connect(m_drawsList, &THuzLista::exampleDrawChosen, this, &TFoablak::ExampleFromDraw);
        // "Hasznos információ": the Keno notice again, even when it was turned off.
        connect(m_drawsList, &THuzLista::exampleInformationRequested, this, [this] {
            bool& remind = m_session.GetSettings().notices[kNoticeExampleKeno];
            remind = true;
            const std::string notice = KenoExampleNotice(m_session.Game(), ExampleSource::Draw);
            if (!notice.empty()) {
                m_session.GetMessages().Notice(notice, remind);
            }
        });
    }
    return m_drawsList;
}

void TFoablak::ChooseDatabaseRange() {
    if (!m_session.Draws().HasDatabase() ||
        !RangeDialog()->Open(RangeMode::Database, m_session.Draws().Count())) {
        return;
    }
    // An open search counts over the new range.
    if (m_drawsList != nullptr && m_drawsList->SearchShown()) {
        m_drawsList->Search()->Search();
        m_drawsList->UtolsoraKeresGombClick();
        m_drawsList->ElsoreKeresGombClick();
    }
}

void TFoablak::PrintRows(bool toFile) {
    const VariationDocument& variation = m_session.Variation();
    if (!variation.Exists()) {
        return;
    }
    Messages& messages = m_session.GetMessages();
    messages.ShowWait(toFile ? "Nyomtatás állományba" : "Nyomtatás előkészítése",
                      WaitPosition::Centre);
    const std::vector<std::string> lines =
        VariationListReport(m_session.Game(), variation.Store(), variation.RowSource(),
                            variation.ListTitle(), m_session.GetClock().Now());
    messages.HideWait();
    if (!toFile) {
        PrintReportOnPaper(this, lines, QStringLiteral("bontlist"), 9);
        return;
    }
    const std::string path = m_session.Folders().list + "bontlist.rtf";
    if (WriteReportFile(messages, path, lines, 8)) {
        const QUrl file = QUrl::fromLocalFile(ToQt(path));
        OpenAddress(file);
    }
}

TNyomtOpc* TFoablak::SlipDialog() {
    if (m_slips == nullptr) {
        m_slips = new TNyomtOpc(m_session.GetMessages(), this);
    }
    m_slips->pdfFolder = m_session.Folders().list;
    return m_slips;
}

void TFoablak::FillSlips() {
    const VariationDocument& variation = m_session.Variation();
    Messages& messages = m_session.GetMessages();
    if (!variation.Exists()) {
        return;
    }
    const GameInfo& game = m_session.Game();
    if (!HasSlips(game.gameId)) {
        messages.Warning("A kiválasztott játék esetében nem elérhető a funkció.");
        return;
    }
    if (variation.Paused() && !messages.Question("Mégis kitölti a szelvényeket?")) {
        return;
    }
    const long long count = variation.Store().Count();
    if (count > kMaxSlipRows) {
        messages.Warning("Több mint 1000 számsor nyomtatását kérte.\r\rAz aktuális verzió ezt nem "
                         "teszi lehetővé.");
        return;
    }
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(count));
    const ExportSource source = variation.RowSource();
    for (long long r = 0; r < count; ++r) {
        RowNumbers(variation.Store(), source, r, rows[static_cast<std::size_t>(r)]);
    }
    TNyomtOpc* dialog = SlipDialog();
    dialog->Prepare(game, std::move(rows));
    dialog->exec();
}

void TFoablak::PrintDraws(bool toFile) {
    if (!m_session.Draws().HasDatabase()) {
        return;
    }
    Messages& messages = m_session.GetMessages();
    messages.ShowWait(toFile ? "Nyomtatás állományba" : "Nyomtatás előkészítése",
                      WaitPosition::Centre);
    const std::vector<std::string> lines =
        DrawsListReport(m_session.Game(), m_session.Draws().Draws(), m_session.GetClock().Now());
    messages.HideWait();
    if (!toFile) {
        PrintReportOnPaper(this, lines, QStringLiteral("huzlist"), 9);
        return;
    }
    const std::string path = m_session.Folders().list + "huzlist.rtf";
    if (WriteReportFile(messages, path, lines, 8)) {
        const QUrl file = QUrl::fromLocalFile(ToQt(path));
        OpenAddress(file);
    }
}

void TFoablak::ListDraws() {
    if (m_session.Draws().HasDatabase()) {
        DrawsList()->Listazas();
    }
}

TStatisztika* TFoablak::StatisticsWindow() {
    if (m_statistics == nullptr) {
        m_statistics = new TStatisztika(
            m_session,
            [this](RangeMode mode) {
                if (!RangeDialog()->Open(mode, m_session.Draws().Count())) {
                    return false;
                }
                // The main ticket shows its counts over the new range.
                m_session.SetTicketView(m_session.Ticket().View());
                return true;
            },
            this);
    }
    return m_statistics;
}

void TFoablak::OpenStatistics() {
    if (!m_session.Draws().HasDatabase()) {
        return;
    }
    TStatisztika* window = StatisticsWindow();
    window->show();
    window->raise();
}

void TFoablak::ModifyVariation() {
    VariationDocument& variation = m_session.Variation();
    // As the conditions dialog's "Módosítás": the variation goes after its question, then
    // the conditions open for editing.
    if (!m_session.Ticket().Extension().active && !variation.Paused() && variation.Exists() &&
        !variation.AskThenDelete()) {
        RefreshCommands();
        return;
    }
    OpenConditions();
}

void TFoablak::StartVariation() {
    RunGeneration(QString(), false);
}

void TFoablak::RunGeneration(const QString& caption, bool example) {
    if (m_conditionsDialog != nullptr && m_conditionsDialog->isVisible()) {
        // The dialog closes as its own "Kilépés" closes it.
        if (!m_conditionsDialog->close()) {
            return;
        }
    }
    const StartCheck check = m_session.Variation().StartChecks();
    if (check == StartCheck::OpenConditions) {
        OpenConditions();
        return;
    }
    if (check == StartCheck::Go) {
        m_session.Variation().BeforeGeneration();
        TBontas engine(m_session.Variation(), m_session.GetSettings(), m_session.GetMessages(),
                       this);
        if (engine.BontasIndul()) {
            if (!caption.isEmpty()) {
                engine.setWindowTitle(caption);
            }
            engine.exec();
        }
    }
    if (example && m_session.Variation().Exists()) {
        m_session.Variation().SetExample(true);
        // An open list shows the example.
        if (m_listWindow != nullptr && m_listWindow->isVisible()) {
            ListVariation();
        }
    }
    RefreshCommands();
}

// --- Example variations ------------------------------------------------------------------

void TFoablak::StartExample(ExampleSource source) {
    Settings& settings = m_session.GetSettings();
    bool& remind = settings.notices[kNoticeExampleKeno];
    const std::string notice = KenoExampleNotice(m_session.Game(), source);
    if (!notice.empty() && remind) {
        m_session.GetMessages().Notice(notice, remind);
    }
    if (source == ExampleSource::Draw) {
        DrawsList()->PeldabontasStart();
        return; // the draw chosen there goes on in ExampleFromDraw
    }
    MainTicket& ticket = m_session.Ticket();
    if (source == ExampleSource::Random) {
        if (!EmptyTicketForExample()) {
            return;
        }
        AllDrawsForExample();
        m_session.MarkRandomNumbers(m_session.Game().rowLength);
    } else {
        ExtensionTargets& extension = ticket.Extension();
        if (!extension.active && (extension.selectedCount > 0 || extension.Committed())) {
            if (!m_session.GetMessages().WarningQuestion(
                    "Nem fejezte be a bővített variáció számsorának cseréjét.\r\rHa elindítja a "
                    "most aktuális számsor variációját, a program törli az előző (még tárolt) "
                    "variációt és újat generál.\r\rMégis folytatja?")) {
                return;
            }
            extension = ExtensionTargets{};
        }
        AllDrawsForExample();
    }
    BuildExample(source, m_session.Conditions().hitRatio.lastDraw);
}

void TFoablak::ExampleFromDraw(int row) {
    const DrawsStore& draws = m_session.Draws();
    if (row < 1 || row > draws.Count() || !EmptyTicketForExample()) {
        return;
    }
    if (row > 2) {
        m_session.Conditions().hitRatio.lastDraw = row - 1;
        m_session.Ranges().HitRatio().last = row - 1;
    }
    // The first numbers of the drawing in ascending order (all twenty of a Keno draw are
    // drawn; the example takes the first of them).
    const GameInfo& game = m_session.Game();
    const DrawRecord& draw = draws.At(row - 1);
    std::vector<int> numbers(draw.numbers.begin(), draw.numbers.begin() + game.drawnCount);
    numbers.erase(std::remove(numbers.begin(), numbers.end(), 0), numbers.end());
    std::sort(numbers.begin(), numbers.end());
    numbers.resize(std::min<std::size_t>(numbers.size(), static_cast<std::size_t>(game.rowLength)));
    for (const int number : numbers) {
        m_session.ClickNumber(number, MarkKind::Constant);
    }
    BuildExample(ExampleSource::Draw, row);
}

bool TFoablak::EmptyTicketForExample() {
    m_session.ClearAll();
    MainTicket& ticket = m_session.Ticket();
    if (ticket.MarkedCount() > 0) {
        OnTicketChanged();
        return false;
    }
    ticket.Extension() = ExtensionTargets{};
    return true;
}

void TFoablak::AllDrawsForExample() {
    const int last = std::max(1, m_session.Draws().Count());
    m_session.Ranges().HitRatio() = {1, last};
    m_session.Conditions().hitRatio.firstDraw = 1;
    m_session.Conditions().hitRatio.lastDraw = last;
}

void TFoablak::BuildExample(ExampleSource source, int drawArgument) {
    MainTicket& ticket = m_session.Ticket();
    m_session.SetNumberOrder(NumberOrder::Ascending);
    if (static_cast<int>(ticket.Selected().size()) != m_session.Game().rowLength) {
        OnTicketChanged();
        return;
    }
    // The conditions' data of the example row alone, then every number of the game.
    ExampleInput input;
    input.game = m_session.Game();
    input.row = ticket.Selected();
    input.data = m_session.Editor().Data();
    input.draws = m_session.Draws().HasDatabase() ? &m_session.Draws().Draws() : nullptr;
    input.firstDraw = m_session.Conditions().hitRatio.firstDraw;
    input.lastDraw = m_session.Conditions().hitRatio.lastDraw;
    input.drawArgument = drawArgument;
    // Marking clears the conditions: the example's are set after it.
    m_session.MarkAll();
    ExampleConditions(input, m_session.Conditions());
    m_session.Editor();
    if (m_conditionsDialog != nullptr) {
        m_conditionsDialog->Refresh();
    }
    OnTicketChanged();
    RunGeneration(ToQt(ExampleTitle(source, drawArgument)), true);
}

TBontTeszt* TFoablak::TestDialog() {
    if (m_testDialog == nullptr) {
        m_testDialog = new TBontTeszt(m_session.Variation(), m_session.Ticket(),
                                      m_session.GetSettings(), m_session.GetMessages(), this);
    }
    return m_testDialog;
}

void TFoablak::TestVariation() {
    VariationDocument& variation = m_session.Variation();
    if (!variation.Exists()) {
        return;
    }
    TBontTeszt* test = TestDialog();
    while (test->Start() == TBontTeszt::kInsertRequested) {
        const std::vector<std::vector<std::uint8_t>> missing = test->InsertRows();
        if (missing.empty()) {
            break;
        }
        // Two missing rows or more: the user chooses which; cancelling goes back to the test.
        DrawRange range{1, 1};
        const auto count = static_cast<int>(std::min<std::size_t>(missing.size(), INT32_MAX));
        if (count >= 2) {
            if (!RangeDialog()->OpenRows(RangeMode::InsertRows, count, {1, count}, false)) {
                continue;
            }
            range = m_session.Ranges().Get(RangeMode::InsertRows);
        }
        const std::vector<std::vector<std::uint8_t>> rows(missing.begin() + (range.first - 1),
                                                          missing.begin() + range.last);
        const long long firstNew = variation.Store().Count() + 1;
        variation.RestoreOrder();
        if (variation.HasRoomFor(static_cast<long long>(rows.size())) &&
            variation.AddRows(AddMode::TestRows, rows)) {
            RefreshCommands();
            ListWindow()->BontListaStart(firstNew);
        }
        break;
    }
    RefreshCommands();
}

void TFoablak::DeleteVariation() {
    m_session.Variation().DeleteCommand();
    RefreshCommands();
}

void TFoablak::SetView(TicketView view) {
    m_session.SetTicketView(view);
}

THuzSzama* TFoablak::RangeDialog() {
    if (m_rangeDialog == nullptr) {
        m_rangeDialog = new THuzSzama(this, m_session.Ranges(), m_session.GetMessages());
    }
    return m_rangeDialog;
}

void TFoablak::OpenTicketRange() {
    if (!m_session.Draws().HasDatabase()) {
        return;
    }
    if (RangeDialog()->Open(RangeMode::TicketStatistics, m_session.Draws().Count())) {
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
    RefreshCommands();
}

void TFoablak::ApplyHints() {
    const bool on = m_session.GetSettings().hints;
    for (QAction* action : findChildren<QAction*>()) {
        ShowHint(action, on);
    }
}

void TFoablak::NincsAdatbazisAction() {
    m_session.GetMessages().HideWait();
    RefreshCommands();
    const TicketView view = m_session.Ticket().View();
    if (view == TicketView::TimesDrawn || view == TicketView::DrawsSince) {
        SetView(TicketView::Normal);
    }
    if (!m_started) {
        return;
    }
    const bool download = m_session.GetMessages().ErrorQuestion(
        "Nem található a(z) " + GameName(m_session.Game().gameId) +
        " húzásainak listája.\r\rLetölti a húzások listáját?");
    if (!download) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    const Settings& settings = m_session.GetSettings();
    if (settings.downloadHost.empty()) {
        m_session.GetMessages().Error(kNoHostText);
        return;
    }
    const std::unique_ptr<Fetcher> fetcher = MakeFetcher();
    if (DownloadDatabase(*fetcher, m_session.GetMessages(), m_session.Folders(), settings,
                         m_session.Game().gameId, true) == UpdateResult::Changed) {
        DrawsReloaded();
    }
}

TFoablak::OnlineCommandsOff::OnlineCommandsOff(const std::vector<QAction*>& commands) {
    for (QAction* command : commands) {
        if (command != nullptr && command->isEnabled()) {
            command->setEnabled(false);
            m_disabled.push_back(command);
        }
    }
}

TFoablak::OnlineCommandsOff::~OnlineCommandsOff() {
    for (const QPointer<QAction>& command : m_disabled) {
        if (command != nullptr) {
            command->setEnabled(true);
        }
    }
}

std::unique_ptr<Fetcher> TFoablak::MakeFetcher() {
    if (makeFetcher) {
        return makeFetcher();
    }
    const Settings& settings = m_session.GetSettings();
    return std::make_unique<QtFetcher>(dynamic_cast<QtMessages*>(&m_session.GetMessages()),
                                       settings.downloadTimeout, ToQt(settings.onlineCheckAddress));
}

void TFoablak::DrawsReloaded() {
    m_session.LoadDraws();
    RefreshCommands();
}

bool TFoablak::MayDownload() {
    // Unsaved draws are offered to be saved first; the list window goes, as its draws do.
    m_session.Draws().HuzTorlesEng(m_session.DatabasePath(), m_session.GetMessages());
    if (m_drawsList != nullptr) {
        m_drawsList->close();
    }
    return true;
}

void TFoablak::DownloadDatabases(bool all) {
    const OnlineCommandsOff busy(m_onlineCommands);
    Messages& messages = m_session.GetMessages();
    const Settings& settings = m_session.GetSettings();
    if (settings.downloadHost.empty()) {
        messages.Error(kNoHostText);
        return;
    }
    const GameId game = m_session.Game().gameId;
    const std::string question =
        all ? "Minden játék húzásainak frissítése a program honlapjáról.\r\rForrás: " +
                  settings.downloadHost + "\r\rFrissíti a teljes adatbázist?"
            : GameName(game) + " - húzásainak frissítése a program honlapjáról.\r\rForrás: " +
                  settings.downloadHost + "\r\rFrissíti az adatbázist?";
    if (!messages.Confirm(question) || !MayDownload()) {
        return;
    }
    const std::unique_ptr<Fetcher> fetcher = MakeFetcher();
    const bool changed =
        all ? DownloadAllDatabases(*fetcher, messages, m_session.Folders(), settings)
            : DownloadDatabase(*fetcher, messages, m_session.Folders(), settings, game, true) ==
                  UpdateResult::Changed;
    if (changed) {
        DrawsReloaded();
        DrawsList()->Listazas();
    }
}

void TFoablak::UpdateFromOperatorCommand() {
    const OnlineCommandsOff busy(m_onlineCommands);
    if (!MayDownload()) {
        return;
    }
    const std::unique_ptr<Fetcher> fetcher = MakeFetcher();
    const DrawsStore& draws = m_session.Draws();
    const UpdateResult result = UpdateFromOperator(
        *fetcher, m_session.GetMessages(), m_session.Folders(), m_session.GetSettings(),
        m_session.Game().gameId, draws.HasDatabase() ? draws.Count() : 0);
    if (result == UpdateResult::Changed) {
        DrawsReloaded();
        DrawsList()->Listazas();
    }
}

void TFoablak::LottoSelect(GameId id) {
    if (!m_session.SelectGame(id)) {
        VelmoraIni(); // keep the tick on the current game
        return;
    }
    // The statistics and the draws list of the other game go with their windows.
    delete m_statistics;
    m_statistics = nullptr;
    delete m_drawsList;
    m_drawsList = nullptr;
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
    // The new-version check runs once the window is up, on an empty ticket only.
    if (m_session.GetSettings().searchNewVersion && m_session.Ticket().MarkedCount() == 0 &&
        !m_session.Variation().Exists() && !m_session.GetSettings().downloadHost.empty()) {
        QTimer::singleShot(0, this, &TFoablak::CheckNewVersionQuietly);
    }
}

void TFoablak::CheckNewVersionQuietly() {
    const OnlineCommandsOff busy(m_onlineCommands);
    const std::unique_ptr<Fetcher> fetcher = MakeFetcher();
    VersionFile file;
    if (fetcher->IsOnline() &&
        FetchVersionFile(*fetcher, m_session.GetMessages(), m_session.Folders(),
                         m_session.GetSettings(), file, false) &&
        IsNewer(file)) {
        ShowNewVersion(file);
    }
}

void TFoablak::ShowNewVersion(const VersionFile& file) {
    if (!m_newVersionButton->isVisible()) {
        QApplication::beep();
    }
    m_newVersionSeparator->setVisible(true);
    m_newVersionButton->setVisible(true);
    m_newVersionButton->setProperty("hint", ToQt(NewVersionHint(file)));
    m_newVersionAction->setText(Q("Új verzió letöltése..."));
    m_newVersionAction->setProperty("hint", Q(" Új verzió letöltése, telepítése."));
    const bool hintsOn = m_session.GetSettings().hints;
    for (QAction* action : {m_newVersionButton, m_newVersionAction}) {
        ShowHint(action, hintsOn);
    }
}

void TFoablak::UjVerzio() {
    const OnlineCommandsOff busy(m_onlineCommands);
    Messages& messages = m_session.GetMessages();
    const std::unique_ptr<Fetcher> fetcher = MakeFetcher();
    VersionFile file;
    if (!FetchVersionFile(*fetcher, messages, m_session.Folders(), m_session.GetSettings(), file,
                          true)) {
        return;
    }
    std::string installer;
    const InstallerResult result = OfferNewVersion(*fetcher, messages, m_session.Folders(),
                                                   m_session.GetSettings(), file, installer);
    if (IsNewer(file)) {
        ShowNewVersion(file);
    }
    if (result != InstallerResult::Ready) {
        return;
    }
    // The system's package installer takes it; the program ends as its exit command ends it.
    OpenAddress(QUrl::fromLocalFile(ToQt(installer)));
    close();
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
        // Nothing of this copy may stay: the floating ticket would keep the program alive.
        DestroyTicketWindow();
        event->accept();
        emit programEnded();
        return;
    }
    if (!m_session.GetMessages().Confirm("Biztos kilép a programból?")) {
        event->ignore();
        return;
    }
    // The discard question asks about unsaved draws as well; keeping the marks means saving
    // them before they go.
    if (!m_session.AskDiscardTicket()) {
        velmora::SaveCommand(m_session, Chooser(), SaveRequest::Any);
    }
    m_session.Variation().Delete();
    if (m_session.GetSettings().saveOnExit) {
        WriteSettings(m_session.Folders(), m_session.GetSettings(), m_session.GetMessages());
    }
    DestroyTicketWindow();
    event->accept();
}

TBeallitasok* TFoablak::SettingsDialog() {
    if (m_settingsDialog == nullptr) {
        m_settingsDialog = new TBeallitasok(m_session.GetSettings(), m_session.Folders(),
                                            m_session.GetMessages(), this);
        connect(m_settingsDialog, &TBeallitasok::applied, this, &TFoablak::ApplySettings);
    }
    return m_settingsDialog;
}

void TFoablak::OpenSettings() {
    SettingsDialog()->BeallitasokStart(m_session.Game());
}

void TFoablak::ApplySettings() {
    m_session.ApplyMessageSettings();
    // Every ticket grid of the program hangs below this window: the main ticket through its
    // marks, the others keeping the looks their windows gave their boxes.
    const Settings& settings = m_session.GetSettings();
    const TSzelveny* mainGrid = m_ticket != nullptr ? m_ticket->Grid() : nullptr;
    for (TSzelveny* grid : findChildren<TSzelveny*>()) {
        if (grid != mainGrid) {
            grid->ApplyAppearance(settings.appearance, settings.scheme);
        }
    }
    if (m_ticket != nullptr) {
        m_ticket->Relayout();
    }
    // The backup kind may have changed: the restore looks for the other file.
    m_session.Backup().LookUp();
    RefreshCommands();
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
    state.time = m_session.GetClock().Now();
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
    state.drawCount = m_session.Draws().Count();
    state.variationRows = m_session.Variation().Store().Count();
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
