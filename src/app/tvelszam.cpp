#include "app/tvelszam.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "draws/ui/thuzszama.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

const char* const kCountName = "Véletlen számok mennyisége";
constexpr int kMinimum = 1;

} // namespace

TVelSzam::TVelSzam(Session& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setObjectName(QStringLiteral("TVelSzam"));
    setWindowTitle(QStringLiteral("  Véletlen számok"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_count = new RangeField(this);
    m_count->setObjectName(QStringLiteral("countField"));
    m_count->Configure(kMinimum, 2);
    m_count->setAccessibleName(ToQt(kCountName));
    m_count->Edit()->installEventFilter(this);
    auto* label = new QLabel(ToQt(kCountName), this);
    label->setBuddy(m_count);
    form->addRow(label, m_count);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    auto* mark = new QPushButton(ToQt("Kijelölés"), this);
    mark->setObjectName(QStringLiteral("KijelolesGomb"));
    mark->setDefault(true);
    auto* cancel = new QPushButton(ToQt("Mégse"), this);
    cancel->setObjectName(QStringLiteral("MegseGomb"));
    buttons->addStretch();
    buttons->addWidget(mark);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(mark, &QPushButton::clicked, this, &TVelSzam::MarkNumbers);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_count, &QAbstractSpinBox::editingFinished, this, [this] {
        if (isVisible()) {
            CheckCount();
        }
    });
}

void TVelSzam::Start() {
    const MainTicket& ticket = m_session.Ticket();
    const int free = m_session.Game().maxNumber - ticket.MarkedCount();
    if (free <= 0) {
        return;
    }
    if (free < 2) {
        m_session.MarkRandomNumbers(1);
        return;
    }
    Prepare();
    exec();
}

void TVelSzam::Prepare() {
    m_maximum = std::max(kMinimum, m_session.Ticket().RandomNumbersMaximum());
    if (m_maximum < 2) {
        m_maximum = kMinimum;
    }
    m_count->Configure(m_maximum, 2);
    m_count->SetValue(kMinimum);
    m_count->setToolTip(ToQt(" Minimum  : " + std::to_string(kMinimum) +
                             "\n Maximum : " + std::to_string(m_maximum) + " "));
}

bool TVelSzam::CheckCount() {
    const int count = m_count->Text().toInt();
    if (count >= kMinimum && count <= m_maximum) {
        return true;
    }
    m_session.GetMessages().RangeError(kCountName, kMinimum, m_maximum);
    m_count->SetValue(kMinimum);
    return false;
}

void TVelSzam::MarkNumbers() {
    if (!CheckCount()) {
        return;
    }
    m_session.MarkRandomNumbers(m_count->Text().toInt());
    accept();
}

bool TVelSzam::eventFilter(QObject* watched, QEvent* event) {
    // A double click swaps the count between its limits.
    if (watched == m_count->Edit() && event->type() == QEvent::MouseButtonDblClick) {
        m_count->SetValue(m_count->Text().toInt() == kMinimum ? m_maximum : kMinimum);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velmora
