#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

#include "common/messages.h"

class QLabel;
class QMenu;
class QPushButton;

namespace velmora {

// The please-wait window shown during long operations: one centred line, every other window
// disabled while it is up.
class TUzenetAblak : public QWidget {
    Q_OBJECT
public:
    TUzenetAblak();

    // Shows "text..." unless the window is already up (then the first text stays). AtCursor puts
    // it near the mouse cursor, other modes in the middle of the screen.
    void ShowText(const QString& text, WaitPosition position);
    void HideWindow();
    QString Text() const;
    // While `cancel` is set the window offers "Mégse", which calls it (a download that can
    // stop); an empty function takes the button away.
    void SetCancel(std::function<void()> cancel);
    QPushButton* CancelButton() const { return m_cancelButton; }

private:
    QLabel* m_label;
    QPushButton* m_cancelButton;
    std::function<void()> m_cancel;
    std::vector<QPointer<QWidget>> m_disabled;
    std::vector<std::pair<QPointer<QMenu>, bool>> m_menuCommands;
};

} // namespace velmora
