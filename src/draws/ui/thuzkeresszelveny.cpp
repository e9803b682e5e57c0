#include "draws/ui/thuzkeresszelveny.h"

#include <QPushButton>

#include <algorithm>

#include "session/session.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

namespace velmora {

namespace {

// The look of an extra number on the grid: the fixed-number font.
constexpr int kSlotExtraFont = 10;

} // namespace

THuzKeresSzelveny::THuzKeresSzelveny(Session& session, QWidget* owner)
    : QObject(owner), m_session(session), m_owner(owner) {}

THuzKeresSzelveny::~THuzKeresSzelveny() {
    delete m_grid;
}

void THuzKeresSzelveny::Open() {
    const GameInfo& game = m_session.Game();
    if (m_grid == nullptr || m_grid->BoxCount() != game.maxNumber) {
        delete m_grid;
        m_grid = new TSzelveny(m_owner, game, kDrawSearchTicket, false, true, true,
                               QStringLiteral("  Számsor keresés"));
        m_grid->setObjectName(QStringLiteral("THuzKeresSzelveny"));
        const Settings& settings = m_session.GetSettings();
        m_grid->Layout(SlotsOf(settings.appearance, kDrawSearchTicket, settings.scheme));
        connect(m_grid, &TSzelveny::boxClicked, this, &THuzKeresSzelveny::Click);
        if (m_grid->ExitButton() != nullptr) {
            connect(m_grid->ExitButton(), &QPushButton::clicked, m_grid, &QWidget::hide);
        }
        m_row = DrawSearchRow{};
        // Beside the window it serves.
        if (m_owner != nullptr) {
            m_grid->move(m_owner->frameGeometry().topRight() + QPoint(8, 0));
        }
    }
    Search();
    m_grid->show();
    m_grid->raise();
}

void THuzKeresSzelveny::Click(int number, Qt::KeyboardModifiers modifiers) {
    const GameInfo& game = m_session.Game();
    if (number < 1 || number > game.maxNumber) {
        return;
    }
    std::vector<std::uint8_t>& numbers = m_row.numbers;
    const auto at = std::find(numbers.begin(), numbers.end(), number);
    if ((modifiers & Qt::ShiftModifier) != 0 && game.extraCount == 1) {
        if (at == numbers.end()) {
            m_row.extra = m_row.extra == number ? 0 : number;
        }
    } else if (at != numbers.end()) {
        numbers.erase(at);
    } else if (static_cast<int>(numbers.size()) < game.drawnCount && m_row.extra != number) {
        numbers.push_back(static_cast<std::uint8_t>(number));
    }
    Search();
}

void THuzKeresSzelveny::SetRow(const DrawSearchRow& row) {
    m_row = row;
    Search();
}

void THuzKeresSzelveny::Search() {
    const GameInfo& game = m_session.Game();
    const DrawRanges& ranges = m_session.Ranges();
    const int first = ranges.GetLHuzSzamaElso();
    const int last = ranges.GetLHuzSzamaUtolso();
    m_counts = SearchDraws(game, m_session.Draws().Draws(), first, last, m_row);
    std::string status = " Kijelölve: " + std::to_string(m_row.numbers.size()) + " szám";
    if (game.extraCount == 1 && m_row.extra == 0) {
        status += "\r Nincs kijelölve plusz szám.\r Számsor keresése a húzások listájában. ";
    }
    m_summary = ToQt(status + "\r\r" + SearchSummaryText(game, first, last, m_counts));
    Show();
    emit countsChanged();
}

QString THuzKeresSzelveny::Summary() const {
    return m_summary;
}

void THuzKeresSzelveny::Show() {
    if (m_grid == nullptr) {
        return;
    }
    const GameInfo& game = m_session.Game();
    for (int n = 1; n <= game.maxNumber; ++n) {
        const bool marked =
            std::find(m_row.numbers.begin(), m_row.numbers.end(), n) != m_row.numbers.end();
        const bool extra = m_row.extra == n;
        m_grid->ApplyBoxLook(n, marked || extra, marked || extra,
                             marked || extra ? kSlotMarkedBox : kSlotUnmarkedBox,
                             extra ? kSlotExtraFont : kSlotNumber);
    }
    m_grid->SetReportText(m_summary);
}

} // namespace velmora
