#include "settings/ui/ticket_sample.h"

#include <QPainter>
#include <QStyleOptionButton>

#include <vector>

#include "ticket/qt_colours.h"

namespace velmora {

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 4;
constexpr int kLargestBox = 38;
constexpr int kPanelHeight = 44;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 24;
// The number boxes of the sample: unmarked, marked, then one for each number kind.
constexpr int kMostBoxes = 6;

struct SampleBox {
    int number;
    bool raised;
    int fontSlot;
};

void DrawBevel(QPainter& painter, const QRect& rect, bool raised) {
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    painter.setPen(raised ? light : dark);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(raised ? dark : light);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

} // namespace

TicketSample::TicketSample(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Minta"));
    setAccessibleName(QStringLiteral("Minta"));
    setMinimumSize(sizeHint());
}

QSize TicketSample::sizeHint() const {
    return {2 * kMargin + kMostBoxes * (kLargestBox + kGap),
            2 * kMargin + kLargestBox + 2 * kGap + kPanelHeight + kButtonHeight};
}

void TicketSample::SetLook(const Slots& slotValues, const std::array<bool, 4>& numberKinds,
                           bool reportPanel, int unmarkedFontSlot) {
    m_slots = slotValues;
    m_unmarkedFontSlot = unmarkedFontSlot;
    m_numberKinds = numberKinds;
    m_reportPanel = reportPanel;
    update();
}

void TicketSample::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const auto colour = [this](int slot) {
        return AppearanceColour(m_slots[static_cast<std::size_t>(slot)]);
    };
    painter.fillRect(rect(), colour(kSlotBackground));

    std::vector<SampleBox> boxes = {{1, false, m_unmarkedFontSlot}, {2, true, kSlotNumber}};
    const int kindSlots[] = {kSlotFixedNumber, kSlotConstantNumber, kSlotPlusNumber,
                             kSlotRandomNumber};
    for (std::size_t i = 0; i < m_numberKinds.size(); ++i) {
        if (m_numberKinds[i]) {
            boxes.push_back({static_cast<int>(boxes.size()) + 1, true, kindSlots[i]});
        }
    }
    const int size = m_slots[kSlotBoxSize];
    QFont numbers(QStringLiteral("Tahoma"));
    numbers.setPointSize(m_slots[kSlotNumberSize]);
    int left = kMargin;
    for (const SampleBox& box : boxes) {
        const QRect cell(left, kMargin, size, size);
        painter.fillRect(cell, colour(box.raised ? kSlotMarkedBox : kSlotUnmarkedBox));
        DrawBevel(painter, cell.adjusted(0, 0, -1, -1), box.raised);
        numbers.setBold(box.raised);
        painter.setFont(numbers);
        painter.setPen(colour(box.fontSlot));
        painter.drawText(cell, Qt::AlignCenter, QString::number(box.number));
        left += size + kGap;
    }

    int top = kMargin + size + 2 * kGap;
    if (m_reportPanel) {
        const QRect panel(kMargin, top, width() - 2 * kMargin, kPanelHeight);
        painter.fillRect(panel, colour(kSlotReportPanel));
        DrawBevel(painter, panel.adjusted(0, 0, -1, -1), false);
        QFont courier(QStringLiteral("Courier New"));
        courier.setStyleHint(QFont::TypeWriter);
        courier.setPointSize(8);
        painter.setFont(courier);
        painter.setPen(colour(kSlotReportText));
        painter.drawText(panel.adjusted(6, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromUtf8(" Kijelölve  : %1 szám").arg(boxes.size() - 1));
        top += kPanelHeight + kGap;
    }

    // A button as the ticket's own buttons look.
    painter.setFont(font());
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = QRect(width() - kMargin - kButtonWidth, top, kButtonWidth, kButtonHeight);
    button.text = QString::fromUtf8("Kilépés");
    button.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButton, &button, &painter, this);
}

} // namespace velmora
