#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>

#include <array>

#include <functional>
#include <map>
#include <memory>

#include "draws/draws_editor.h"
#include "draws/draws_search.h"

class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class QTableView;
class QToolBar;

namespace velmora {

class Session;
class TSzelveny;
class THuzBe;
class THuzKeresSzelveny;

// The draws of the current game as the list shows them, read from the store when a line is
// painted.
class DrawsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DrawsModel(QObject* parent) : QAbstractTableModel(parent) {}

    void Reset(const DrawsStore* store, const GameInfo& game);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const DrawsStore* m_store = nullptr;
    GameInfo m_game;
    int m_rows = 0;
    int m_cells = 0;
};

// The draws list window: the draws of the current game, where draws are appended, inserted,
// changed and deleted, with undo and redo and an explicit save.
class THuzLista : public QDialog {
    Q_OBJECT
public:
    // `chooseRange` opens the draw range dialog for the database range.
    THuzLista(Session& session, std::function<void()> chooseRange, QWidget* parent);
    ~THuzLista() override;

    // Opens the list (or shows it again) at the last draw.
    void Listazas();
    // Opens the list to choose the draw of an example variation: the tool bar holds only
    // "Példabontás készítése  " and "Hasznos információ".
    void PeldabontasStart();
    bool ExampleMode() const { return m_exampleMode; }
    // After the draws were loaded again: a new list and a new history.
    void Reload();
    QTableView* Table() const { return m_table; }
    QAction* Command(const char* name) const;
    THuzBe* EntryDialog();
    // The selected draw's row (1-based), 0 when none.
    int SelectedRow() const;
    void SelectRow(int row);

    // The commands; each refreshes the list and the buttons.
    void BovitesGombClick();   // append
    void BeszurasGombClick();  // insert before the selected draw
    void ModositasGombClick(); // change the selected draw
    void TorlesGombClick();    // delete the selected draw, after the question
    void VisszaGombClick();    // undo
    void MegseGombClick();     // redo
    bool MentesGombClick();    // save

    // "Nyomtatás...": the main window's print commands of the draws list.
    void SetPrintMenu(QMenu* menu);

    // The draws search whose results the list shows and steps through.
    THuzKeresSzelveny* Search();
    // "Keresés...": the search ticket with the list.
    void KeresesStart();
    // The list's own search: the numbers of the selected draw.
    void KeresesGombClick();
    // The result panel: shown while some drawing of the range holds some of the numbers.
    void KeresPanelBe();
    bool SearchShown() const;
    QComboBox* SearchBox() const { return m_searchBox; }
    void ElsoreKeresGombClick();
    void VisszaKeresGombClick();
    void TovabbKeresGombClick();
    void UtolsoraKeresGombClick();
    // The drawing selected: its row and which of the date.
    DrawPosition SelectedDrawing() const;
    // The small ticket that shows the selected draw (null before the list was shown).
    TSzelveny* DrawTicket() const { return m_drawTicket; }

signals:
    // The draws changed (the main window refreshes what it shows of them).
    void drawsChanged();
    // "Példabontás készítése  ": the draw of row `row` (1-based) makes an example variation.
    void exampleDrawChosen(int row);
    // "Hasznos információ" of the example mode.
    void exampleInformationRequested();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void Edit(DrawEdit mode);
    // The small ticket beside the list shows the selected draw's numbers.
    void ShowDrawTicket();
    void SelectDrawing(DrawPosition at);
    // The drawing of the chosen level after (or before) the selected one; false when none.
    bool Step(DrawPosition from, bool forward);
    int ChosenLevel() const;
    void SetSearchHints();
    void Changed();
    void SetStates();
    int PageRows() const;
    // The example mode shows its two commands in place of the editing ones.
    void SetExampleMode(bool example);

    Session& m_session;
    std::function<void()> m_chooseRange;
    DrawsEditor m_editor;
    DrawsModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QToolBar* m_tools = nullptr;
    std::map<std::string, QAction*> m_commands;
    bool m_exampleMode = false;
    THuzBe* m_entry = nullptr;
    THuzKeresSzelveny* m_search = nullptr;
    QPointer<TSzelveny> m_drawTicket;
    bool m_drawTicketShown = true;
    QWidget* m_searchPanel = nullptr;
    QComboBox* m_searchBox = nullptr;
    std::vector<int> m_searchLevels; // per entry of the box: a count, kExtraClass or kAnyHits
    std::array<QPushButton*, 4> m_searchButtons{}; // first, previous, next, last
};

} // namespace velmora
