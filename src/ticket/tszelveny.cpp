#include "ticket/tszelveny.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

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
        m_reportLabel->setGeometry(m_reportPanel->contentsRect().adjusted(2, 2, -2, -2));
    }
    if (m_buttonPanel != nullptr) {
        Place(m_buttonPanel, m_layout.buttonPanel);
        if (m_exitButton != nullptr) {
            Place(m_exitButton, m_layout.exitButton);
        }
        if (m_deleteButton != nullptr) {
            Place(m_deleteButton, m_layout.deleteButton);
        }
    }
    setFixedSize(m_layout.clientWidth, m_layout.clientHeight);
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
    if (m_reportLabel != nullptr) {
        m_reportLabel->setText(text);
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

} // namespace velmora
