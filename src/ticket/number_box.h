#pragma once

#include <QFrame>
#include <QString>

namespace velmora {

// One square number box of a ticket: a bevelled panel with a centred caption. Mouse events go
// to the ticket, which knows what they mean.
class NumberBox : public QFrame {
    Q_OBJECT
public:
    NumberBox(int number, QWidget* parent);

    int Number() const { return m_number; }
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    // Raised marks the number; lowered leaves it unmarked.
    void SetRaised(bool raised);
    bool IsRaised() const { return m_raised; }
    void SetColours(const QColor& background, const QColor& text);
    void SetFontLook(int pointSize, bool bold);

signals:
    void pressed(int number, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void released(int number, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                  QPoint globalPosition);
    void moved(QPoint globalPosition, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int m_number;
    QString m_caption;
    bool m_raised = false;
};

} // namespace velmora
