#pragma once

#include <QObject>
#include <QPointer>

#include "draws/draws_search.h"
#include "settings/settings.h"

namespace velmora {

class Session;
class TSzelveny;

// The draws search ticket: the numbers (and the extra number, with SHIFT) of a row to look for
// in the past draws, and the summary of how many draws of the database range hold how many of
// them.
class THuzKeresSzelveny : public QObject {
    Q_OBJECT
public:
    THuzKeresSzelveny(Session& session, QWidget* owner);
    ~THuzKeresSzelveny() override;

    // Shows the ticket (a fresh row the first time).
    void Open();
    void Click(int number, Qt::KeyboardModifiers modifiers);
    // Searches `row` as if it had been marked (the list's own search of a draw).
    void SetRow(const DrawSearchRow& row);
    // Searches again over the current database range.
    void Search();
    const DrawSearchRow& Row() const { return m_row; }
    const DrawSearchCounts& Counts() const { return m_counts; }
    TSzelveny* Grid() const { return m_grid; }
    QString Summary() const;

signals:
    // New counts: the list's result panel follows.
    void countsChanged();

private:
    void Show();

    Session& m_session;
    QWidget* m_owner;
    QPointer<TSzelveny> m_grid;
    DrawSearchRow m_row;
    DrawSearchCounts m_counts;
    QString m_summary;
};

} // namespace velmora
