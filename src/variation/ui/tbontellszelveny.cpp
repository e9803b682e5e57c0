#include "variation/ui/tbontellszelveny.h"

#include <algorithm>

#include "session/variation_document.h"
#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

namespace velmora {

TBontEllSzelveny::TBontEllSzelveny(VariationDocument& variation, const MainTicket& ticket,
                                   const Settings& settings, QWidget* owner)
    : QObject(owner), m_variation(variation), m_ticket(ticket), m_settings(settings),
      m_owner(owner) {}

TBontEllSzelveny::~TBontEllSzelveny() {
    delete m_grid;
}

bool TBontEllSzelveny::GameHasPlus() const {
    return m_ticket.Game().extraCount == 1;
}

bool TBontEllSzelveny::Selectable(int number) const {
    return m_ticket.IsSelected(number) || m_ticket.IsFixed(number);
}

void TBontEllSzelveny::Open() {
    const GameInfo& game = m_ticket.Game();
    if (m_grid == nullptr || m_grid->BoxCount() != game.maxNumber) {
        delete m_grid;
        m_grid = new TSzelveny(m_owner, game, kVariationCheckTicket, false, false, true,
                               QString::fromUtf8("  Variáció ellenőrzés"));
        m_grid->setObjectName(QStringLiteral("TBontEllSzelveny"));
        m_grid->Layout(SlotsOf(m_settings.appearance, kVariationCheckTicket, m_settings.scheme));
        connect(m_grid, &TSzelveny::boxClicked, this, &TBontEllSzelveny::Click);
    }
    m_rows = std::make_unique<RowSets>(m_variation.Store(), m_variation.RowSource());
    m_check = CheckRow{};
    Recount();
    m_grid->show();
    m_grid->raise();
}

void TBontEllSzelveny::Close() {
    m_check = CheckRow{};
    m_counts = CheckCounts{};
    m_rows.reset();
    if (m_grid != nullptr) {
        m_grid->hide();
    }
    emit countsChanged();
}

void TBontEllSzelveny::Follow() {
    if (m_rows != nullptr &&
        (!m_variation.Exists() || m_rows->Count() != m_variation.Store().Count())) {
        Close();
    }
}

void TBontEllSzelveny::Click(int number, Qt::KeyboardModifiers modifiers) {
    if (!Selectable(number) || m_rows == nullptr) {
        return;
    }
    std::vector<std::uint8_t>& marked = m_check.numbers;
    const auto at = std::find(marked.begin(), marked.end(), static_cast<std::uint8_t>(number));
    const bool plus = modifiers.testFlag(Qt::ShiftModifier) && GameHasPlus();
    if (at != marked.end()) {
        marked.erase(at);
        if (m_check.plus == number) {
            m_check.plus = 0;
        }
    } else if (!plus || m_check.plus == 0) {
        marked.push_back(static_cast<std::uint8_t>(number));
        if (plus) {
            m_check.plus = number;
        }
    }
    Recount();
}

int TBontEllSzelveny::Level(long long row) const {
    if (m_rows == nullptr || row < 0 || row >= m_rows->Count()) {
        return 0;
    }
    return RowHitLevel(m_rows->Row(row), m_check, m_ticket.Game().rowLength, GameHasPlus());
}

void TBontEllSzelveny::Recount() {
    const int rowLength = m_ticket.Game().rowLength;
    m_counts =
        m_rows != nullptr ? CountHits(*m_rows, m_check, rowLength, GameHasPlus()) : CheckCounts{};
    Show();
    emit countsChanged();
}

void TBontEllSzelveny::Show() {
    if (m_grid == nullptr) {
        return;
    }
    const GameInfo& game = m_ticket.Game();
    for (int n = 1; n <= game.maxNumber; ++n) {
        NumberBox* box = m_grid->Box(n);
        const bool marked = std::find(m_check.numbers.begin(), m_check.numbers.end(),
                                      static_cast<std::uint8_t>(n)) != m_check.numbers.end();
        const int font = n == m_check.plus        ? kSlotPlusNumber
                         : m_ticket.IsFixed(n)    ? kSlotFixedNumber
                         : m_ticket.IsConstant(n) ? kSlotConstantNumber
                         : m_ticket.IsRandom(n)   ? kSlotRandomNumber
                                                  : kSlotNumber;
        m_grid->ApplyBoxLook(n, marked, marked, marked ? kSlotMarkedBox : kSlotUnmarkedBox, font);
        box->SetCaption(Selectable(n) ? QString::number(n) : QStringLiteral("-"));
        box->setToolTip(Selectable(n) ? QStringLiteral(" Szám: %1 ").arg(n)
                                      : QString::fromUtf8(" - nem szerepel a variációban. "));
        box->setAccessibleName(QString::number(n) +
                               (marked ? QString::fromUtf8(", kijelölve") : QString()));
    }
    const std::string text = " Kijelölve: " + std::to_string(m_check.numbers.size()) + " szám\r\r" +
                             CheckCountsText(m_counts, game.rowLength, GameHasPlus());
    m_grid->SetReportText(ToQt(text));
}

} // namespace velmora
