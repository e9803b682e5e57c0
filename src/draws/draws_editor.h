#pragma once

#include <cstddef>
#include <vector>

#include "draws/draw_ranges.h"
#include "draws/draws_store.h"

// Editing the past draws as the draws list does: appending, inserting, changing and deleting
// draws, each draw numbered by its row, with an undo and redo history.
namespace velmora {

// Told when an append to a full database dropped its oldest draw.
inline constexpr const char* kOldestDrawDroppedText =
    "Az adatbázis legfeljebb 10 000 húzást tárol: a legrégebbi húzás kikerült a listából.";

// An edit as the history keeps it.
enum class DrawEdit { Append = 1, Modify = 2, Insert = 3, Delete = 4 };

class DrawsEditor {
public:
    DrawsEditor(DrawsStore& store, DrawRanges& ranges) : m_store(store), m_ranges(ranges) {}

    // Rows are 1-based. Each edit returns false, changing nothing, for a row outside the list.
    // A database holds at most kMaxDrawNo draws: appending to a full one drops the oldest draw
    // (DroppedOldest() tells).
    bool Append(const DrawRecord& draw);
    // Before row `row`; row count + 1 appends.
    bool Insert(int row, const DrawRecord& draw);
    bool Modify(int row, const DrawRecord& draw);
    bool Delete(int row);

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < m_history.size(); }
    bool Undo();
    bool Redo();
    // The row the last edit, undo or redo concerns (to select it), 0 when none.
    int CurrentRow() const { return m_row; }
    // The last append had to drop the oldest draw.
    bool DroppedOldest() const { return m_droppedOldest; }
    // A new load starts a new history.
    void ClearHistory();

private:
    struct Step {
        DrawEdit edit = DrawEdit::Append;
        int row = 0;
        DrawRecord draw; // the draw added or deleted, or the other version of a changed one
        bool droppedOldest = false;
        DrawRecord oldest;
    };
    void Push(Step step);
    void Apply(Step& step, bool forward);
    void InsertRow(int row, DrawRecord draw);
    DrawRecord DeleteRow(int row);
    void Renumber(int fromRow);
    void Changed(int row);

    DrawsStore& m_store;
    DrawRanges& m_ranges;
    std::vector<Step> m_history;
    std::size_t m_position = 0; // the steps that can be undone
    int m_row = 0;
    bool m_droppedOldest = false;
};

} // namespace velmora
