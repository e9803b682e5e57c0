#include "app/tfoszelveny.h"

#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

namespace velmora {

TFoszelveny::TFoszelveny(Session& session, QWidget* mainWindow)
    : QObject(mainWindow), m_session(session) {
    m_grid = new TSzelveny(mainWindow, session.Game(), kMainTicket, false, false, true,
                           QStringLiteral("  Főszelvény"));
    m_grid->SetClosable(false);
    connect(m_grid, &TSzelveny::boxClicked, this, &TFoszelveny::OnClicked);
    connect(m_grid, &TSzelveny::boxPainted, this,
            [this](int number) { m_session.PaintNumber(number); });
    connect(m_grid, &TSzelveny::paintingEnded, this,
            [this] { m_session.Ticket().ResetPainting(); });
    Relayout();
}

TFoszelveny::~TFoszelveny() {
    delete m_grid;
}

void TFoszelveny::OnClicked(int number, Qt::KeyboardModifiers modifiers) {
    const MarkKind kind = MarkKindFromKeys(modifiers.testFlag(Qt::ShiftModifier),
                                           modifiers.testFlag(Qt::ControlModifier),
                                           modifiers.testFlag(Qt::AltModifier));
    m_session.ClickNumber(number, kind);
}

void TFoszelveny::Relayout() {
    const Settings& settings = m_session.GetSettings();
    m_grid->Layout(SlotsOf(settings.appearance, kMainTicket, settings.scheme));
    m_session.Ticket().ApplyLayoutLooks();
    Refresh();
}

namespace {

// What a screen reader says of a number box: the number and how it is marked.
QString AccessibleName(const MainTicket& ticket, int number) {
    const char* kind = ticket.IsFixed(number)      ? ", fix szám"
                       : ticket.IsConstant(number) ? ", állandó szám"
                       : ticket.IsRandom(number)   ? ", véletlen szám"
                       : ticket.IsSelected(number) ? ", kijelölt szám"
                                                   : "";
    return QString::number(number) + QString::fromUtf8(kind);
}

} // namespace

void TFoszelveny::Refresh() {
    const MainTicket& ticket = m_session.Ticket();
    const bool hints = m_session.GetSettings().hints;
    const std::optional<HintStatistics> statistics = m_session.TicketHintStatistics();
    const HintStatistics* hintStatistics = statistics ? &*statistics : nullptr;
    for (int n = 1; n <= ticket.Game().maxNumber; ++n) {
        const CellLook& look = ticket.Look(n);
        m_grid->ApplyBoxLook(n, look.raised, look.bold, look.boxSlot, look.fontSlot);
        NumberBox* box = m_grid->Box(n);
        box->SetCaption(ToQt(ticket.CellCaption(n)));
        box->setToolTip(hints ? ToQt(ticket.CellHint(n, hintStatistics)) : QString());
        box->setAccessibleName(AccessibleName(ticket, n));
    }
    m_grid->SetReportText(ToQt(ticket.HeaderText()));
    m_grid->setWindowTitle(ToQt(ticket.ViewCaption()));
}

} // namespace velmora
