#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

#include "game/ticket_appearance.h"

namespace velmora {

// The settings dialog's "Minta": a few number boxes, a button and an information panel drawn
// with one ticket's colours and sizes, so that a change shows before it is applied.
class TicketSample : public QWidget {
    Q_OBJECT
public:
    using Slots = std::array<std::int32_t, kAppearanceSlots>;

    explicit TicketSample(QWidget* parent);

    // The slots to draw with and which number kinds the ticket shows (fixed, constant, plus,
    // random: one box each beside the unmarked and the marked box); the unmarked box's number
    // is written with `unmarkedFontSlot`, the marked one's with the "szám" slot.
    void SetLook(const Slots& slotValues, const std::array<bool, 4>& numberKinds, bool reportPanel,
                 int unmarkedFontSlot);
    const Slots& Look() const { return m_slots; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Slots m_slots{};
    std::array<bool, 4> m_numberKinds{};
    int m_unmarkedFontSlot = kSlotNumber;
    bool m_reportPanel = true;
};

} // namespace velmora
