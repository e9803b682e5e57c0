#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

#include "common/messages.h"

class QLabel;

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

private:
    QLabel* m_label;
    std::vector<QPointer<QWidget>> m_disabled;
};

} // namespace velmora
