#pragma once

#include <QObject>
#include <QPointer>

#include "common/messages.h"

class QWidget;

namespace velmora {

class TUzenetAblak;

// Message boxes with the program's captions, icons and default No. Safe to call from a worker
// thread: the box is shown on the user-interface thread while the caller waits.
class QtMessages : public QObject, public Messages {
    Q_OBJECT
public:
    explicit QtMessages(QObject* parent = nullptr);
    ~QtMessages() override;

    // The window that owns the boxes (the main window once it exists); while a modal window
    // is open, its boxes are that window's.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void ShowWait(const std::string& text, WaitPosition position) override;
    void HideWait() override;
    TUzenetAblak* WaitWindow();

protected:
    Answer Present(MessageKind kind, const std::string& text) override;

private:
    Answer ShowBox(MessageKind kind, const std::string& text);

    QPointer<QWidget> m_owner;
    TUzenetAblak* m_wait = nullptr;
};

} // namespace velmora
