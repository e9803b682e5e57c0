#include "ticket/number_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora {

NumberBox::NumberBox(int number, QWidget* parent)
    : QFrame(parent), m_number(number), m_caption(QString::number(number)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setObjectName(QStringLiteral("box%1").arg(number));
    setAccessibleName(QString::number(number));
}

void NumberBox::SetCaption(const QString& caption) {
    if (caption != m_caption) {
        m_caption = caption;
        update();
    }
}

void NumberBox::SetRaised(bool raised) {
    m_raised = raised;
    setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
}

void NumberBox::SetColours(const QColor& background, const QColor& text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
}

void NumberBox::SetFontLook(int pointSize, bool bold) {
    QFont f = font();
    f.setPointSize(pointSize > 0 ? pointSize : 8);
    f.setBold(bold);
    setFont(f);
}

void NumberBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
}

void NumberBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(m_number, event->button(), event->modifiers());
}

void NumberBox::mouseReleaseEvent(QMouseEvent* event) {
    emit released(m_number, event->button(), event->modifiers(), event->globalPosition().toPoint());
}

void NumberBox::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->globalPosition().toPoint(), event->buttons(), event->modifiers());
}

} // namespace velmora
