#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

#include "common/messages.h"
#include "game/main_ticket.h"
#include "settings/settings.h"
#include "variation/row_check.h"
#include "variation/variation_export.h"

class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace velmora {

class TBontEllSzelveny;
class TSzelveny;
class VariationDocument;

// The rows of the variation as the list shows them, read from the store when a line is
// painted: no text or widget is kept per row.
class VariationRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit VariationRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

    // Shows `store` (which must outlive the model or be reset) with the numbers of `source`.
    void Reset(const VariationStore* store, ExportSource source);
    // In extension mode the blocks of the list take turns in two background colours.
    void SetExtending(bool extending);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The first column of numbers: after the line number, and in a draws-list variation after
    // the draw the row was taken from.
    int NumbersColumn() const { return m_source.drawsList ? 2 : 1; }

private:
    // How the list marks a line: the body's line numbers grey, the first line of each later
    // block underlined, every second block beige while the variation is being extended.
    struct LineLook {
        bool body = false;
        bool blockStart = false;
        bool alternate = false;
    };
    LineLook Look(int row) const;

    const VariationStore* m_store = nullptr;
    bool m_extending = false;
    ExportSource m_source;
    int m_rows = 0;  // at the last reset
    int m_width = 0; // numbers of a row, fixed numbers included
};

// The variation list: one line per row, paging, and beside it a small ticket that shows the
// selected row and its hit profile against the whole variation.
class TBontLista : public QDialog {
    Q_OBJECT
public:
    TBontLista(VariationDocument& variation, const MainTicket& ticket, const Settings& settings,
               Messages& messages, QWidget* parent);
    ~TBontLista() override;

    // BontListaStart: shows the list of the current variation (refused above a million rows).
    // False when it was refused.
    bool BontListaStart(long long line = 1);
    // After the variation changed: the list shows it again, or closes when it is gone.
    void Follow();
    // Selects and shows a line (1-based).
    void AktSorKijelol(long long line);
    long long SelectedLine() const { return m_selected; }
    QTableView* Table() const { return m_table; }
    TSzelveny* Ticket() const { return m_ticket; }
    // The hit profile of the selected row, entry h - 1 for h hits.
    const std::vector<long long>& Profile() const { return m_profile; }

    // The check ticket whose counts the search panel follows.
    void SetCheckTicket(TBontEllSzelveny* check);
    // The search panel: shown while the check ticket counts rows at some level.
    void KeresPanelBe();
    bool SearchShown() const;
    QComboBox* SearchBox() const { return m_searchBox; }
    // Searching rows of the chosen level from the selected line.
    void TovabbKeresGombClick();   // the next one; past the last, the last
    void VisszaKeresGombClick();   // the one before; before the first, the first
    void ElsoreKeresGombClick();   // the first
    void UtolsoraKeresGombClick(); // the last

    // "Hozzáadás" and "Módosítás": the check ticket edits a row.
    void BontListBovitesGombClick();
    void BontListModositasGombClick();
    // The main window's commands that work on the list (order, extension, deletion), as
    // buttons that follow their state and hints.
    void AddCommands(const std::vector<QAction*>& actions);
    // The check ticket's OK: the first row that holds most of its numbers.
    void FindCheckRow();

    // Paging.
    void EloreGombClick();      // the first line
    void HatraGombClick();      // the last line
    void EloreLapozGombClick(); // a page up
    void HatraLapozGombClick(); // a page down

signals:
    // "Törlés": the user wants to choose rows to delete.
    void deleteRowsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SzelvKijelzes();
    // Forgets the rows shown and closes.
    void Drop();
    // Whether the rows shown are the stored ones.
    bool Current() const;
    // The row found from `from` in the given direction, selected; false when none.
    bool SelectFound(long long from, bool forward);
    int ChosenLevel() const;
    void SetSearchHints();
    void SetEditButtons();
    int PageLines() const;

    VariationDocument& m_variation;
    const MainTicket& m_mainTicket;
    const Settings& m_settings;
    Messages& m_messages;
    VariationRowsModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QPointer<TSzelveny> m_ticket;
    std::unique_ptr<RowSets> m_rows;
    std::uint64_t m_revision = 0; // of the store when the rows were taken
    TBontEllSzelveny* m_check = nullptr;
    QWidget* m_searchPanel = nullptr;
    QComboBox* m_searchBox = nullptr;
    std::vector<int> m_searchLevels; // per entry of the box: a level, -1 "5+1", or kAnyLevel
    std::array<QPushButton*, 4> m_searchButtons{}; // next, back, first, last
    QPushButton* m_addButton = nullptr;
    QPushButton* m_modifyButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QHBoxLayout* m_commands = nullptr;
    std::vector<long long> m_profile;
    long long m_selected = 0;
};

} // namespace velmora
