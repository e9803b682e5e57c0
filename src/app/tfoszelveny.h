#pragma once

#include <QObject>
#include <QPointer>

#include "session/session.h"

#include "ticket/tszelveny.h"

namespace velmora {

// The main ticket window: the grid of the current game bound to the session's marks. Clicks,
// Shift- and Ctrl-clicks and right-button painting go to the marking operation; after every
// change the boxes, captions, hints and the report text are refreshed.
class TFoszelveny : public QObject {
    Q_OBJECT
public:
    TFoszelveny(Session& session, QWidget* mainWindow);
    ~TFoszelveny() override;

    TSzelveny* Grid() const { return m_grid; }
    // Boxes, captions, hints and report text from the marks.
    void Refresh();
    // Positions and colours from the appearance settings.
    void Relayout();

private:
    void OnClicked(int number, Qt::KeyboardModifiers modifiers);

    Session& m_session;
    // Parented to the main window so that it floats over it; deleted with this object.
    QPointer<TSzelveny> m_grid;
};

} // namespace velmora
