#include "ticket/tszelveny.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "ticket/number_box.h"
#include "ticket/qt_colours.h"

namespace velmora {

TicketSlots SlotsOf(const TicketAppearance& table, int kind, int scheme) {
    TicketSlots slotValues{};
    for (int s = 0; s < kAppearanceSlots; ++s) {
        slotValues[static_cast<std::size_t>(s)] = AppearanceValue(table, kind, scheme, s);
    }
    return slotValues;
}

namespace {

void Place(QWidget* widget, const Rect& rect) {
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

} // namespace

TSzelveny::TSzelveny(QWidget* owner, const GameInfo& game, int kind, bool showDelete, bool showExit,
                     bool showReport, const QString& caption)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), m_game(game), m_kind(kind) {
    m_options = {kind, showDelete, showExit, showReport};
    setWindowTitle(caption);
    setObjectName(QStringLiteral("ticket%1").arg(kind));
    setAutoFillBackground(true);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(font().pointSize());
    setFont(tahoma);

    if (showReport) {
        m_reportPanel = new QFrame(this);
        m_reportPanel->setObjectName(QStringLiteral("reportPanel"));
        m_reportPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_reportPanel->setLineWidth(3);
        m_reportPanel->setAutoFillBackground(true);
        m_reportLabel = new QLabel(m_reportPanel);
        m_reportLabel->setObjectName(QStringLiteral("reportLabel"));
        m_reportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont courier(QStringLiteral("Courier New"));
        courier.setStyleHint(QFont::TypeWriter);
        courier.setPointSize(8);
        m_reportLabel->setFont(courier);
    }
    if (showDelete || showExit) {
        m_buttonPanel = new QWidget(this);
        QFont arial(QStringLiteral("Arial"));
        arial.setPointSize(8);
        if (showExit) {
            m_exitButton = new QPushButton(QStringLiteral("Kilépés"), m_buttonPanel);
            m_exitButton->setFont(arial);
        }
        if (showDelete) {
            m_deleteButton = new QPushButton(QStringLiteral("Törlés"), m_buttonPanel);
            m_deleteButton->setFont(arial);
            m_deleteButton->setToolTip(QStringLiteral(" Kijelölt számsor törlése. "));
        }
    }
    for (int n = 1; n <= game.maxNumber; ++n) {
        auto* box = new NumberBox(n, this);
        connect(box, &NumberBox::pressed, this, &TSzelveny::OnPressed);
        connect(box, &NumberBox::released, this, &TSzelveny::OnReleased);
        connect(box, &NumberBox::moved, this, &TSzelveny::OnMoved);
        m_boxes.push_back(box);
    }
    m_boxSlots.resize(m_boxes.size());
}

QColor TSzelveny::SlotColour(int slot) const {
    return AppearanceColour(m_slots[static_cast<std::size_t>(slot)]);
}

void TSzelveny::Layout(const TicketSlots& slotValues) {
    m_slots = slotValues;
    m_layout = ComputeTicketLayout(m_game, m_options, slotValues[kSlotBoxSize]);

    QPalette p = palette();
    p.setColor(QPalette::Window, SlotColour(kSlotBackground));
    setPalette(p);

    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        Place(m_boxes[i], m_layout.boxes[i]);
        m_boxes[i]->SetFontLook(slotValues[kSlotNumberSize], m_boxes[i]->font().bold());
        m_boxes[i]->SetColours(SlotColour(m_boxSlots[i].box), SlotColour(m_boxSlots[i].font));
    }
    if (m_reportPanel != nullptr) {
        Place(m_reportPanel, m_layout.reportPanel);
        QPalette panel = m_reportPanel->palette();
        panel.setColor(QPalette::Window, SlotColour(kSlotReportPanel));
        panel.setColor(QPalette::WindowText, SlotColour(kSlotReportText));
        m_reportPanel->setPalette(panel);
    }
    if (m_buttonPanel != nullptr) {
        Place(m_buttonPanel, m_layout.buttonPanel);
    }
    // The layout's size is the least; the user may make the window larger.
    setMinimumSize(m_layout.clientWidth, m_layout.clientHeight);
    resize(m_layout.clientWidth, m_layout.clientHeight);
    FitToWindow();
}

void TSzelveny::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitToWindow();
}

void TSzelveny::FitToWindow() {
    // The boxes keep their places; the panels take the room the window has beyond them.
    const int extraWidth = std::max(width() - m_layout.clientWidth, 0);
    const int extraHeight = std::max(height() - m_layout.clientHeight, 0);
    if (m_reportPanel != nullptr) {
        const Rect& r = m_layout.reportPanel;
        m_reportPanel->setGeometry(r.left, r.top, r.width + extraWidth, r.height + extraHeight);
        m_reportLabel->setGeometry(m_reportPanel->contentsRect().adjusted(2, 2, -2, -2));
    }
    if (m_buttonPanel != nullptr) {
        const Rect& r = m_layout.buttonPanel;
        m_buttonPanel->setGeometry(r.left, r.top + extraHeight, r.width + extraWidth, r.height);
        const int half = m_buttonPanel->width() / 2 - 4;
        if (m_exitButton != nullptr) {
            const Rect& b = m_layout.exitButton;
            m_exitButton->setGeometry(b.left, b.top, half, b.height);
        }
        if (m_deleteButton != nullptr) {
            const Rect& b = m_layout.deleteButton;
            const int inset = b.left - b.width; // the delete button starts half a panel in
            m_deleteButton->setGeometry(inset + half, b.top, half, b.height);
        }
    }
}

int TSzelveny::ReportWidthFor(const QString& text) const {
    const QFontMetrics metrics(m_reportLabel->font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    // The sunken frame and the label's inset on both sides, and a character to spare.
    return widest + 2 * (m_reportPanel->frameWidth() + 2) + metrics.averageCharWidth();
}

void TSzelveny::ApplyAppearance(const TicketAppearance& table, int scheme) {
    Layout(SlotsOf(table, m_kind, scheme));
    update();
}

void TSzelveny::ApplyBoxLook(int number, bool raised, bool bold, int boxSlot, int fontSlot) {
    NumberBox* box = Box(number);
    if (box == nullptr) {
        return;
    }
    m_boxSlots[static_cast<std::size_t>(number - 1)] = {boxSlot, fontSlot};
    box->SetRaised(raised);
    box->SetFontLook(m_slots[kSlotNumberSize], bold);
    box->SetColours(SlotColour(boxSlot), SlotColour(fontSlot));
}

NumberBox* TSzelveny::Box(int number) const {
    if (number < 1 || number > static_cast<int>(m_boxes.size())) {
        return nullptr;
    }
    return m_boxes[static_cast<std::size_t>(number - 1)];
}

void TSzelveny::SetReportText(const QString& text) {
    if (m_reportLabel == nullptr) {
        return;
    }
    m_reportLabel->setText(text);
    // Narrow grids grow to their report; they never shrink back, so the window stays put
    // while the text changes.
    const int needed = ReportWidthFor(text);
    if (needed > m_options.reportMinWidth) {
        m_options.reportMinWidth = needed;
        if (!m_layout.boxes.empty() && needed > m_layout.reportPanel.width) {
            Layout(m_slots);
        }
    }
}

QString TSzelveny::ReportText() const {
    return m_reportLabel != nullptr ? m_reportLabel->text() : QString();
}

int TSzelveny::NumberAt(QPoint globalPosition) const {
    const QPoint local = mapFromGlobal(globalPosition);
    for (NumberBox* box : m_boxes) {
        if (box->geometry().contains(local)) {
            return box->Number();
        }
    }
    return 0;
}

void TSzelveny::OnPressed(int number, Qt::MouseButton /*button*/,
                          Qt::KeyboardModifiers /*modifiers*/) {
    m_pressedNumber = number;
}

void TSzelveny::OnReleased(int number, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                           QPoint globalPosition) {
    if (button == Qt::LeftButton && number == m_pressedNumber &&
        NumberAt(globalPosition) == number) {
        emit boxClicked(number, modifiers);
    } else if (button == Qt::RightButton) {
        emit paintingEnded();
    }
    m_pressedNumber = 0;
}

void TSzelveny::OnMoved(QPoint globalPosition, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers) {
    if (buttons != Qt::RightButton || modifiers != Qt::NoModifier) {
        return;
    }
    const int number = NumberAt(globalPosition);
    if (number != 0) {
        emit boxPainted(number);
    }
}

void TSzelveny::closeEvent(QCloseEvent* event) {
    if (m_closable) {
        event->accept();
    } else {
        event->ignore();
    }
}

void PlaceBeside(QWidget& ticket, const QWidget& window) {
    QPoint place = window.frameGeometry().topRight() + QPoint(8, 0);
    if (const QScreen* shown = window.screen()) {
        const QRect area = shown->availableGeometry();
        const int width = ticket.frameGeometry().width();
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - width)));
    }
    ticket.move(place);
}

} // namespace velmora
