#pragma once

#include <QDialog>

#include "session/session.h"

class QPushButton;

namespace velmora {

class RangeField;

// "Véletlen számok": how many random numbers to mark on the main ticket.
class TVelSzam : public QDialog {
    Q_OBJECT
public:
    TVelSzam(Session& session, QWidget* parent);

    // Marks one number at once while fewer than two are free; otherwise opens the dialog.
    void Start();
    // Prepares the count field for the free numbers without showing the dialog.
    void Prepare();
    RangeField* CountField() const { return m_count; }
    int Maximum() const { return m_maximum; }
    // "Kijelölés": the numbers asked for, then the dialog closes.
    void MarkNumbers();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // An empty or zero count is reported and the count returns to the minimum.
    bool CheckCount();

    Session& m_session;
    RangeField* m_count = nullptr;
    int m_maximum = 1;
};

} // namespace velmora
