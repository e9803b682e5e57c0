#include "dialogs/qt_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "dialogs/tuzenetablak.h"
#include "ticket/qt_colours.h"

namespace velmora {

QtMessages::QtMessages(QObject* parent) : QObject(parent) {}

QtMessages::~QtMessages() {
    delete m_wait;
}

TUzenetAblak* QtMessages::WaitWindow() {
    if (m_wait == nullptr) {
        m_wait = new TUzenetAblak();
    }
    return m_wait;
}

void QtMessages::ShowWait(const std::string& text, WaitPosition position) {
    QMetaObject::invokeMethod(
        this, [this, text, position] { WaitWindow()->ShowText(ToQt(text), position); },
        QThread::currentThread() == thread() ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
}

void QtMessages::HideWait() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_wait != nullptr) {
                m_wait->HideWindow();
            }
        },
        QThread::currentThread() == thread() ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
}

Answer QtMessages::Present(MessageKind kind, const std::string& text) {
    if (QThread::currentThread() == thread()) {
        return ShowBox(kind, text);
    }
    Answer answer = Answer::No;
    QMetaObject::invokeMethod(
        this, [this, kind, &text, &answer] { answer = ShowBox(kind, text); },
        Qt::BlockingQueuedConnection);
    return answer;
}

Answer QtMessages::ShowBox(MessageKind kind, const std::string& text) {
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (kind) {
    case MessageKind::Error:
    case MessageKind::RangeError:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::ErrorQuestion:
        icon = QMessageBox::Critical;
        buttons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::No;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::WarningQuestion:
        icon = QMessageBox::Warning;
        buttons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::No;
        break;
    case MessageKind::Confirmation:
    case MessageKind::Question:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::No;
        break;
    case MessageKind::ThreeWayQuestion:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        defaultButton = QMessageBox::No;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Notice:
        icon = QMessageBox::Information;
        buttons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::No;
        break;
    }

    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = m_owner.data();
    }
    // A box of a minimised window would stay out of sight: its windows come back first.
    for (QWidget* window = owner; window != nullptr; window = window->parentWidget()) {
        window = window->window();
        if (window->isMinimized()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
    }
    QMessageBox box(icon, QString::fromUtf8(MessageCaption(kind)), ToQt(text), buttons, owner);
    box.setDefaultButton(defaultButton);
    if (QAbstractButton* yes = box.button(QMessageBox::Yes)) {
        yes->setText(QStringLiteral("Igen"));
    }
    if (QAbstractButton* no = box.button(QMessageBox::No)) {
        no->setText(QStringLiteral("Nem"));
    }
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QStringLiteral("Mégse"));
    }
    const int result = box.exec();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace velmora
