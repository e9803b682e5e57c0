#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

#include "game/game_catalogue.h"
#include "game/ticket_layout.h"
#include "game/ticket_appearance.h"

class QFrame;
class QLabel;
class QPushButton;

namespace velmora {

class NumberBox;

// The slots of one ticket kind in the scheme in use.
using TicketSlots = std::array<std::int32_t, kAppearanceSlots>;

TicketSlots SlotsOf(const TicketAppearance& table, int kind, int scheme);

// A floating ticket window: the numbers 1..MaxNumber as a grid of boxes, a report panel and up
// to two buttons. It lays out, colours and forwards box events; what a click means belongs to
// the window's owner.
class TSzelveny : public QWidget {
    Q_OBJECT
public:
    TSzelveny(QWidget* owner, const GameInfo& game, int kind, bool showDelete, bool showExit,
              bool showReport, const QString& caption);

    // Recomputes positions, sizes and colours from the appearance slots.
    void Layout(const TicketSlots& slotValues);

    // The settings' appearance of this ticket's kind in `scheme`: laid out again, every box
    // keeping the slots its owner last gave it.
    void ApplyAppearance(const TicketAppearance& table, int scheme);

    // Colours one box from the slots in use.
    void ApplyBoxLook(int number, bool raised, bool bold, int boxSlot, int fontSlot);

    NumberBox* Box(int number) const;
    int BoxCount() const { return static_cast<int>(m_boxes.size()); }
    void SetReportText(const QString& text);
    QString ReportText() const;
    QPushButton* ExitButton() const { return m_exitButton; }
    QPushButton* DeleteButton() const { return m_deleteButton; }
    int Kind() const { return m_kind; }
    const TicketLayout& CurrentLayout() const { return m_layout; }
    // The number whose box lies under a screen position, or 0.
    int NumberAt(QPoint globalPosition) const;
    // While false the window ignores the user's close button (the main ticket stays).
    void SetClosable(bool closable) { m_closable = closable; }

signals:
    void boxClicked(int number, Qt::KeyboardModifiers modifiers);
    void boxPainted(int number);
    void paintingEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The report panel and the buttons follow the window's size.
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnPressed(int number, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void OnReleased(int number, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                    QPoint globalPosition);
    void OnMoved(QPoint globalPosition, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    QColor SlotColour(int slot) const;
    // How wide the report panel must be for every line of `text` in the panel's font.
    int ReportWidthFor(const QString& text) const;
    void FitToWindow();

    GameInfo m_game;
    int m_kind;
    TicketOptions m_options;
    TicketSlots m_slots{};
    TicketLayout m_layout;
    std::vector<NumberBox*> m_boxes;
    // The box and font slot of every box, so that new colours reach a box as its owner left it.
    struct BoxSlots {
        int box = kSlotUnmarkedBox;
        int font = kSlotNumber;
    };
    std::vector<BoxSlots> m_boxSlots;
    QFrame* m_reportPanel = nullptr;
    QLabel* m_reportLabel = nullptr;
    QWidget* m_buttonPanel = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    int m_pressedNumber = 0;
    bool m_closable = true;
};

// Puts `ticket` beside `window`, on its right, and on the screen: where the window leaves no
// room on its right, the ticket goes as far right as the screen allows.
void PlaceBeside(QWidget& ticket, const QWidget& window);

} // namespace velmora
