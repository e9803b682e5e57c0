#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/help_window.h"
#include "draws/draws_download.h"
#include "session/file_commands.h"
#include "session/new_version.h"
#include "session/example_variation.h"
#include "session/session.h"
#include "session/startup.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QUrl;

namespace velmora {

class QtFileChooser;
class TBontTeszt;
class TFoszelveny;
class THuzSzama;
class TFeltetelek;
class TStatisztika;
class TInfo;
class TNyomtOpc;
class THuzLista;
class TBontLista;
class TBontEllSzelveny;
class TBeallitasok;

struct StartOptions {
    std::string commandLineFile;
    StartEnvironment environment;
    int otherCopyPid = 0; // another running copy found at entry
};

// The main window: menus, tool bar, status bar and the floating main ticket. It ties every
// command to its operation and shows each command's state and hint as the command model gives
// them.
class TFoablak : public QMainWindow {
    Q_OBJECT
public:
    TFoablak(Session& session, const StartOptions& options);
    ~TFoablak() override;

    // Start-up ended the program: the window closes without questions.
    bool Forced() const { return m_forced; }
    // The loading step, once every window exists.
    void Betoltes();
    // The game menu.
    void LottoSelect(GameId id);
    // Every exception that reaches the application ends here.
    void VelmoraException(const std::string& errorClass, const std::string& message);

    TFoszelveny* Foszelveny() const { return m_ticket; }
    // The user manual at the page of `front` (the window in front); nothing when the manual is
    // missing.
    void OpenHelp(const QWidget* front);
    // The manual's window once it has been opened.
    HelpWindow* Help() const { return m_help; }
    // Shows the main ticket floating over the upper left of the window.
    void ShowTicket();
    QAction* GameAction(GameId id) const;
    // The draw range dialog (created on first use).
    THuzSzama* RangeDialog();
    // The conditions dialog (created on first use).
    TFeltetelek* ConditionsDialog();
    // "Kijelölés..." / "Listázás..." of the "Feltételek" menu.
    void OpenConditions();
    // The variation list (created on first use) and "Listázás" of the "Variáció" menu.
    TBontLista* ListWindow();
    void ListVariation();
    // The check ticket (created on first use) and "Ellenőrzés..." of the "Variáció" menu.
    TBontEllSzelveny* CheckTicket();
    void CheckVariation();
    // "Rendezés" (true) and "Eredeti sorrend" of the "Szerkesztés" submenu.
    void ChangeRowOrder(bool sort);
    // "Variáció bővítése", "Bővítmény hozzáadása" and "Bővítmény törlése" of "Szerkesztés".
    void ToggleExtension();
    void CommitExtension();
    void UndoExtension();
    // "Variáció minimalizálása...": the search's window; its result replaces the rows.
    void MinimiseVariation();
    // The list's "Törlés": rows chosen in the range dialog are deleted.
    void DeleteRows();
    // The draws list (created on first use) and "Listázás" of the "Adatbázis" menu.
    THuzLista* DrawsList();
    void ListDraws();
    // "Nyomtatás" of "Variáció": the variation list report to "bontlist.rtf" (opened) or on
    // paper.
    void PrintRows(bool toFile);
    // "Szelvények kitöltése...": the slips of the variation, after the checks.
    void FillSlips();
    TNyomtOpc* SlipDialog();
    // "Nyomtatás..." of "Adatbázis": the draws list report to "huzlist.rtf" (opened) or on paper.
    void PrintDraws(bool toFile);
    // "Húzások száma..." of "Adatbázis": the database range; an open search follows it.
    void ChooseDatabaseRange();
    // The information window (created on first use) and "Információk..." of "Variáció".
    TInfo* InfoWindow();
    // The statistics window (created on first use), opened by the statistics tool button.
    TStatisztika* StatisticsWindow();
    void OpenStatistics();
    QString FullVariationText() const;
    // The settings dialog (created on first use) and "Beállítások..." of the "Fájl" menu.
    TBeallitasok* SettingsDialog();
    void OpenSettings();
    // The open and save dialogs; a test puts a scripted chooser in their place.
    FileChooser& Chooser() const { return *m_chooser; }
    void SetChooser(FileChooser& chooser) { m_chooser = &chooser; }
    // Opens a web address; the default browser unless a test puts something in its place.
    std::function<void(const QUrl&)> openAddress;
    // Where downloads go through (a test puts its own here); Qt's network otherwise.
    std::function<std::unique_ptr<Fetcher>()> makeFetcher;

signals:
    // The window closed because the program must end (start-up refused, or the user kept the
    // other running copy): the application leaves its event loop.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const StartOptions& options);
    void BuildCommands();
    // The help commands, shown only when the manual is there.
    void SetUpHelp(const std::string& indexPath);
    void BuildGameMenu(QMenu* menu);
    QAction* AddAction(QMenu* menu, const QString& text, const char* objectName,
                       const QKeySequence& shortcut = {});
    // Binds an action to a command of the command model.
    void Bind(QAction* action, Command command);
    void VelmoraIni();
    void CreateTicketWindow();
    void DestroyTicketWindow();
    void OnTicketChanged();
    void RefreshCommands();
    void SetView(TicketView view);
    // Loads the current game's draws and shows what the main window offers with or without
    // them (the question about a missing list only once the program has started).
    void LoadDraws();
    void VanAdatbazisAction();
    void NincsAdatbazisAction();
    void OpenTicketRange();
    void ApplyHints();
    // The settings dialog's "Alkalmaz": messages, hints and every ticket grid follow.
    void ApplySettings();
    void ShowAbout();
    // "Variáció" menu: "Start" runs the engine window; "Törlés" drops the variation.
    void StartVariation();
    // A generation, with the engine window's caption when one is given; an example run marks
    // the variation as an example.
    void RunGeneration(const QString& caption, bool example);
    // The "Példabontás" commands; from a draw the draws list opens to choose it.
    void StartExample(ExampleSource source);
    void ExampleFromDraw(int row);
    // The ticket emptied with its questions and the extension counts cleared; false when the
    // user kept the ticket.
    bool EmptyTicketForExample();
    // The hit ratio of an example compares with every draw.
    void AllDrawsForExample();
    // The conditions of the example row over every number of the game, then the generation.
    void BuildExample(ExampleSource source, int drawArgument);
    // "Módosítás...": the variation made again through its conditions.
    void ModifyVariation();
    // The condition editor's ties to the windows.
    void SetConditionHooks();
    void DeleteVariation();
    // "Teszt...": the test window; the missing rows it hands back join the variation.
    void TestVariation();
    TBontTeszt* TestDialog();
    // "Megnyitás...", the save dialog and the "Variáció" menu's "Mentés".
    void OpenCommand();
    // The new-version check: quietly at start-up (the tool button appears for a newer
    // version), and "Új verzió keresése..." with its questions and the installer.
    void CheckNewVersionQuietly();
    void ShowNewVersion(const VersionFile& file);
    void UjVerzio();
    // The online commands of "Adatbázis": the maker's database of the current game or of all
    // games, and the operator's up-to-date results file.
    void DownloadDatabases(bool all);
    void UpdateFromOperatorCommand();
    std::unique_ptr<Fetcher> MakeFetcher();
    // While one online command works the others wait: they are disabled for its time.
    class OnlineCommandsOff {
    public:
        explicit OnlineCommandsOff(const std::vector<QAction*>& commands);
        ~OnlineCommandsOff();
        OnlineCommandsOff(const OnlineCommandsOff&) = delete;
        OnlineCommandsOff& operator=(const OnlineCommandsOff&) = delete;

    private:
        std::vector<QPointer<QAction>> m_disabled;
    };
    // Before a download: unsaved draws offered to be saved, the draws list closed.
    bool MayDownload();
    // After new draws: loaded again, and the commands follow.
    void DrawsReloaded();
    // "Visszatöltés": the last variation's backup, then the variation list when it holds rows.
    // A web page or a file in the program the system opens it with (`openAddress` in tests).
    void OpenAddress(const QUrl& address);
    void RestoreLastVariation();
    void SaveCommand(SaveRequest request);
    void SaveVariationCommand();
    // The number-row or variation file named on the command line.
    void OpenCommandLineFile();

    Session& m_session;
    StartOptions m_options;
    QPointer<TFoszelveny> m_ticket;
    bool m_forced = false;
    std::unique_ptr<QtFileChooser> m_fileDialogs;
    FileChooser* m_chooser = nullptr;

    QActionGroup* m_gameGroup = nullptr;
    std::map<GameId, QAction*> m_gameActions;
    std::array<QAction*, 4> m_orderActions{};
    // The actions whose state the command model gives.
    std::vector<std::pair<QAction*, Command>> m_bound;
    bool m_started = false;
    QLabel* m_fullVariation = nullptr;
    QLabel* m_variationRows = nullptr;
    int m_exceptionDepth = 0;
    THuzSzama* m_rangeDialog = nullptr;
    TBontTeszt* m_testDialog = nullptr; // kept: it shows its finished result again
    TFeltetelek* m_conditionsDialog = nullptr;
    TBontLista* m_listWindow = nullptr;
    TBontEllSzelveny* m_checkTicket = nullptr;
    TStatisztika* m_statistics = nullptr;
    THuzLista* m_drawsList = nullptr;
    TInfo* m_info = nullptr;
    TNyomtOpc* m_slips = nullptr;
    TBeallitasok* m_settingsDialog = nullptr;
    QAction* m_conditionsAction = nullptr;
    QAction* m_extensionAction = nullptr;
    QAction* m_operatorUpdateAction = nullptr;
    QAction* m_newVersionAction = nullptr;
    QAction* m_topicsAction = nullptr;    // "Témakörök"
    QAction* m_whatsThisAction = nullptr; // "Mi ez?"
    QString m_helpIndex;                  // empty: the manual is missing
    QPointer<HelpWindow> m_help;
    QAction* m_newVersionButton = nullptr; // "VerzioErtesitoGomb"
    QAction* m_newVersionSeparator = nullptr;
    std::vector<QAction*> m_onlineCommands;
    QAction* m_operatorAction = nullptr; // GameName + " honlapja"
    QMenu* m_drawsPrintMenu = nullptr;   // "Nyomtatás..." of "Adatbázis"
    // The commands the list window shows as its own buttons.
    std::vector<QAction*> m_listCommands;
    // Shown in the middle of the window while the variation is being extended.
    QLabel* m_extensionImage = nullptr;
};

} // namespace velmora
