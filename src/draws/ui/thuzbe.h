#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

#include "common/messages.h"
#include "draws/draw_entry.h"
#include "settings/settings.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace velmora {

class TSzelveny;

// The draw entry dialog: the year and week of a draw, limited to fit between its neighbours,
// and its numbers picked on a number grid beside it (the extra number with SHIFT).
class THuzBe : public QDialog {
    Q_OBJECT
public:
    THuzBe(const Settings& settings, Messages& messages, QWidget* parent);
    ~THuzBe() override;

    // Start: prepares the dialog for appending, changing draw `row` or inserting before it.
    void Prepare(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                 int row);
    // Opens it; true when the user confirmed a draw that fits (Entry()).
    bool Start(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws, int row);
    DrawRecord Entry() const { return m_entry; }

    QSpinBox* YearField() const { return m_year; }
    QSpinBox* WeekField() const { return m_week; }
    // The grid of the numbers; a click marks a number of the drawing being entered.
    TSzelveny* Grid() const { return m_grid; }
    // Opens the grid for the first (0) or the second (1) drawing of the date.
    void ChooseDrawing(int drawing);
    void Click(int number, Qt::KeyboardModifiers modifiers);
    // "Rendben": the checks; false after the message when the draw does not fit.
    bool Confirm();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void YearChanged(int year);
    void ShowRows();
    std::uint8_t* Cells(int drawing);

    const Settings& m_settings;
    Messages& m_messages;
    DrawEdit m_mode = DrawEdit::Append;
    GameInfo m_game;
    const std::vector<DrawRecord>* m_draws = nullptr;
    int m_row = 1;
    EntryLimits m_limits;
    DrawRecord m_entry;
    int m_drawing = 0;     // the drawing the grid fills
    bool m_second = false; // the second drawing of the date is entered too
    QSpinBox* m_year = nullptr;
    QSpinBox* m_week = nullptr;
    std::array<QLabel*, 2> m_rows{};
    std::array<QPushButton*, 2> m_rowButtons{};
    QPointer<TSzelveny> m_grid;
};

} // namespace velmora
