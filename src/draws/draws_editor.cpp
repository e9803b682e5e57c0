#include "draws/draws_editor.h"

#include <algorithm>
#include <utility>

namespace velmora {

void DrawsEditor::ClearHistory() {
    m_history.clear();
    m_position = 0;
    m_row = 0;
    m_droppedOldest = false;
}

void DrawsEditor::Renumber(int fromRow) {
    std::vector<DrawRecord>& draws = m_store.MutableDraws();
    for (int row = std::max(fromRow, 1); row <= static_cast<int>(draws.size()); ++row) {
        draws[static_cast<std::size_t>(row - 1)].drawNo = row;
    }
}

void DrawsEditor::InsertRow(int row, DrawRecord draw) {
    std::vector<DrawRecord>& draws = m_store.MutableDraws();
    draws.insert(draws.begin() + (row - 1), draw);
    Renumber(row);
}

DrawRecord DrawsEditor::DeleteRow(int row) {
    std::vector<DrawRecord>& draws = m_store.MutableDraws();
    const DrawRecord gone = draws[static_cast<std::size_t>(row - 1)];
    draws.erase(draws.begin() + (row - 1));
    Renumber(row);
    return gone;
}

void DrawsEditor::Changed(int row) {
    m_row = std::min(row, m_store.Count());
    m_store.SetModified(true);
}

void DrawsEditor::Apply(Step& step, bool forward) {
    const int before = m_store.Count();
    switch (step.edit) {
    case DrawEdit::Append:
    case DrawEdit::Insert:
        if (forward) {
            if (step.droppedOldest) {
                step.oldest = DeleteRow(1);
            }
            InsertRow(step.row, step.draw);
        } else {
            DeleteRow(step.row);
            if (step.droppedOldest) {
                InsertRow(1, step.oldest);
            }
        }
        break;
    case DrawEdit::Modify: {
        // The history keeps the other version: applying it either way is an exchange.
        DrawRecord& current = m_store.MutableDraws()[static_cast<std::size_t>(step.row - 1)];
        std::swap(current, step.draw);
        current.drawNo = step.row;
        break;
    }
    case DrawEdit::Delete:
        if (forward) {
            step.draw = DeleteRow(step.row);
        } else {
            InsertRow(step.row, step.draw);
        }
        break;
    }
    m_ranges.Follow(before, m_store.Count());
    Changed(step.row);
}

void DrawsEditor::Push(Step step) {
    m_history.resize(m_position); // a new edit ends what could be redone
    Apply(step, true);
    m_history.push_back(step);
    m_position = m_history.size();
    m_droppedOldest = step.droppedOldest;
}

bool DrawsEditor::Append(const DrawRecord& draw) {
    const bool full = m_store.Count() >= kMaxDrawNo;
    Step step{DrawEdit::Append, full ? m_store.Count() : m_store.Count() + 1, draw, full, {}};
    Push(step);
    return true;
}

bool DrawsEditor::Insert(int row, const DrawRecord& draw) {
    const int count = m_store.Count();
    if (row < 1 || row > count + 1) {
        return false;
    }
    if (row == count + 1) {
        return Append(draw);
    }
    // Only an append makes room in a full database.
    if (count >= kMaxDrawNo) {
        return false;
    }
    Push(Step{DrawEdit::Insert, row, draw, false, {}});
    return true;
}

bool DrawsEditor::Modify(int row, const DrawRecord& draw) {
    if (row < 1 || row > m_store.Count()) {
        return false;
    }
    Push(Step{DrawEdit::Modify, row, draw, false, {}});
    return true;
}

bool DrawsEditor::Delete(int row) {
    if (row < 1 || row > m_store.Count()) {
        return false;
    }
    Push(Step{DrawEdit::Delete, row, {}, false, {}});
    return true;
}

bool DrawsEditor::Undo() {
    if (!CanUndo()) {
        return false;
    }
    --m_position;
    Apply(m_history[m_position], false);
    return true;
}

bool DrawsEditor::Redo() {
    if (!CanRedo()) {
        return false;
    }
    Apply(m_history[m_position], true);
    ++m_position;
    return true;
}

} // namespace velmora
