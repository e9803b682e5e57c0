#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

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

    // The window that owns the boxes (the main window once it exists).
    void SetOwner(QWidget* owner) { m_owner = owner; }
    QWidget* Owner() const { return m_owner.data(); }

    // Run around every box (a running job's progress timer stops while the user reads).
    std::function<void()> beforeShow;
    std::function<void()> afterShow;

    void ShowWait(const std::string& text, int positionMode) override;
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
