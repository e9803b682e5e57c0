#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

#include "common/messages.h"
#include "game/main_ticket.h"
#include "settings/settings.h"
#include "variation/row_check.h"

class QWidget;

namespace velmora {

class TSzelveny;
class VariationDocument;

// The check ticket in check mode: the user marks a row (SHIFT marks the plus number) and the
// ticket counts how many rows of the variation reach each hit level against it.
class TBontEllSzelveny : public QObject {
    Q_OBJECT
public:
    enum class Mode { Check, Add, Modify };

    TBontEllSzelveny(VariationDocument& variation, const MainTicket& ticket,
                     const Settings& settings, Messages& messages, QWidget* owner);
    ~TBontEllSzelveny() override;

    // BEStart: a fresh check row over the current variation. In add and modify mode the ticket
    // edits one row (`row`: the 0-based row modify mode replaces).
    void Open(Mode mode = Mode::Check, long long row = -1);
    Mode CurrentMode() const { return m_mode; }
    // The OK button: in check mode it asks the list for the row that holds most of the marked
    // numbers; in add and modify mode the marked row joins the variation (a row it already
    // holds is refused with the repeated-row message). False when nothing changed.
    bool Confirm();
    // BEVege: the check row and the counts are cleared.
    void Close();

    // After the variation changed: a new, edited or deleted variation closes the ticket.
    void Follow();
    // A click on a box: marks or unmarks the number (the plus number with SHIFT).
    void Click(int number, Qt::KeyboardModifiers modifiers);

    const CheckRow& Row() const { return m_check; }
    const CheckCounts& Counts() const { return m_counts; }
    // The hit level of a stored row against the check row (-1: the "5+1" level).
    int Level(long long row) const;
    TSzelveny* Grid() const { return m_grid; }

signals:
    void countsChanged();
    // A row was added (`row` the new last one) or replaced.
    void rowsChanged(long long row);
    // Check mode's OK: the list shows the row that holds most of the marked numbers.
    void searchRequested();

protected:
    // The window's own close button closes the ticket as "Kilépés" does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Selectable(int number) const;
    // The marked numbers as positions of the variation numbers, ascending.
    std::vector<std::uint8_t> MarkedPositions() const;
    int RowNumbersToMark() const;
    bool GameHasPlus() const;
    void Recount();
    void Show();

    VariationDocument& m_variation;
    const MainTicket& m_ticket;
    const Settings& m_settings;
    Messages& m_messages;
    Mode m_mode = Mode::Check;
    long long m_modifyRow = -1;
    QWidget* m_owner;
    QPointer<TSzelveny> m_grid;
    std::unique_ptr<RowSets> m_rows;
    std::uint64_t m_revision = 0; // of the store when the rows were taken
    CheckRow m_check;
    CheckCounts m_counts;
};

} // namespace velmora
