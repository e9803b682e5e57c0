#include "dialogs/tuzenetablak.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace velmora {

TUzenetAblak::TUzenetAblak()
    : QWidget(nullptr,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TUzenetAblak"));
    setWindowTitle(QStringLiteral("Türelmét kérem..."));
    setFixedSize(384, 72);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, QColor(0, 128, 128));
    setPalette(p);
    m_label = new QLabel(this);
    m_label->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Tahoma"));
    f.setBold(true);
    m_label->setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    m_cancelButton = new QPushButton(QStringLiteral("Mégse"), this);
    m_cancelButton->setObjectName(QStringLiteral("MegseGomb"));
    m_cancelButton->hide();
    layout->addWidget(m_cancelButton, 0, Qt::AlignCenter);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_cancel) {
            m_cancel();
        }
    });
}

void TUzenetAblak::SetCancel(std::function<void()> cancel) {
    m_cancel = std::move(cancel);
    m_cancelButton->setVisible(static_cast<bool>(m_cancel));
    setFixedSize(384, m_cancel ? 104 : 72);
}

void TUzenetAblak::ShowText(const QString& text, WaitPosition position) {
    if (isVisible()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_label->setText(text + QStringLiteral("..."));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    QPoint topLeft;
    if (position == WaitPosition::AtCursor) {
        topLeft = QCursor::pos() - QPoint(30, 30);
        topLeft.setX(std::min(topLeft.x(), area.width() - width() - 20));
        topLeft.setY(std::min(topLeft.y(), area.height() - height() - 40));
    } else {
        topLeft = area.center() - QPoint(width() / 2, height() / 2);
    }
    move(topLeft);
    m_disabled.clear();
    // A menu follows its window's state and, enabled again, enables its command as well,
    // whatever state the command was in: each command's state is kept and given back.
    m_menuCommands.clear();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(window)) {
            m_menuCommands.emplace_back(menu, menu->menuAction()->isEnabled());
        }
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isEnabled() && qobject_cast<QMenu*>(window) == nullptr) {
            window->setEnabled(false);
            m_disabled.push_back(window);
        }
    }
    show();
}

void TUzenetAblak::HideWindow() {
    if (!isVisible()) {
        return;
    }
    for (const QPointer<QWidget>& window : m_disabled) {
        if (window != nullptr) {
            window->setEnabled(true);
        }
    }
    m_disabled.clear();
    for (const auto& [menu, enabled] : m_menuCommands) {
        if (menu != nullptr) {
            menu->menuAction()->setEnabled(enabled);
        }
    }
    m_menuCommands.clear();
    QApplication::restoreOverrideCursor();
    hide();
}

QString TUzenetAblak::Text() const {
    return m_label->text();
}

} // namespace velmora
