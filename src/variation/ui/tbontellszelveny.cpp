#include "variation/ui/tbontellszelveny.h"

#include <QEvent>
#include <QPushButton>

#include <algorithm>

#include "session/variation_document.h"
#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

namespace velmora {

TBontEllSzelveny::TBontEllSzelveny(VariationDocument& variation, const MainTicket& ticket,
                                   const Settings& settings, Messages& messages, QWidget* owner)
    : QObject(owner), m_variation(variation), m_ticket(ticket), m_settings(settings),
      m_messages(messages), m_owner(owner) {}

TBontEllSzelveny::~TBontEllSzelveny() {
    delete m_grid;
}

bool TBontEllSzelveny::GameHasPlus() const {
    return m_ticket.Game().extraCount == 1;
}

bool TBontEllSzelveny::Selectable(int number) const {
    // A row to add or modify is made of variation numbers; the fixed ones follow every row.
    return m_ticket.IsSelected(number) || (m_mode == Mode::Check && m_ticket.IsFixed(number));
}

int TBontEllSzelveny::RowNumbersToMark() const {
    return m_ticket.Game().rowLength - static_cast<int>(m_ticket.Fixed().size());
}

std::vector<std::uint8_t> TBontEllSzelveny::MarkedPositions() const {
    const std::vector<std::uint8_t>& numbers = m_ticket.Selected();
    std::vector<std::uint8_t> positions;
    for (std::uint8_t n : m_check.numbers) {
        const auto at = std::find(numbers.begin(), numbers.end(), n);
        if (at != numbers.end()) {
            positions.push_back(static_cast<std::uint8_t>(at - numbers.begin()));
        }
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

bool TBontEllSzelveny::Confirm() {
    if (m_mode == Mode::Check) {
        emit searchRequested();
        return false;
    }
    if (m_rows == nullptr || static_cast<int>(m_check.numbers.size()) != RowNumbersToMark()) {
        return false;
    }
    // A row the variation holds already would be there twice.
    BitSet128 wanted;
    for (std::uint8_t n : m_check.numbers) {
        wanted.Add(n);
    }
    for (std::uint8_t n : m_ticket.Fixed()) {
        wanted.Add(n);
    }
    for (long long r = 0; r < m_rows->Count(); ++r) {
        const BitSet128& row = m_rows->Row(r);
        if (r != m_modifyRow && row.low == wanted.low && row.high == wanted.high) {
            m_messages.Error(kRepeatedRowText);
            return false;
        }
    }
    const std::vector<std::vector<std::uint8_t>> rows = {MarkedPositions()};
    long long changed = m_modifyRow;
    if (m_mode == Mode::Add) {
        if (!m_variation.HasRoomFor(1)) {
            return false;
        }
        m_variation.RestoreOrder();
        if (!m_variation.AddRows(AddMode::CheckRow, rows)) {
            return false;
        }
        changed = m_variation.Store().Count() - 1;
    } else if (!m_variation.AddRows(AddMode::Replace, rows, m_modifyRow)) {
        return false;
    }
    Close();
    emit rowsChanged(changed);
    return true;
}

void TBontEllSzelveny::Open(Mode mode, long long row) {
    const GameInfo& game = m_ticket.Game();
    if (m_grid == nullptr || m_grid->BoxCount() != game.maxNumber) {
        delete m_grid;
        m_grid = new TSzelveny(m_owner, game, kVariationCheckTicket, true, true, true, QString());
        m_grid->setObjectName(QStringLiteral("TBontEllSzelveny"));
        m_grid->Layout(SlotsOf(m_settings.appearance, kVariationCheckTicket, m_settings.scheme));
        connect(m_grid, &TSzelveny::boxClicked, this, &TBontEllSzelveny::Click);
        m_grid->DeleteButton()->setText(QStringLiteral("OK"));
        connect(m_grid->DeleteButton(), &QPushButton::clicked, this, [this] { Confirm(); });
        connect(m_grid->ExitButton(), &QPushButton::clicked, this, &TBontEllSzelveny::Close);
        m_grid->installEventFilter(this);
        // First below the main ticket; later where the user left it.
        if (m_owner != nullptr) {
            m_grid->move(m_owner->geometry().topLeft() + QPoint(40, 490));
        }
    }
    m_mode = mode;
    m_modifyRow = mode == Mode::Modify ? row : -1;
    const char* const titles[] = {"  Variáció ellenőrzés", "  Számsor beolvasása",
                                  "  Számsor módosítása"};
    const char* const hints[] = {" Számsor keresése a variáció listájában. ",
                                 " Számsor beillesztése a variációba. ", " Számsor módosítása. "};
    const auto index = static_cast<std::size_t>(mode);
    m_grid->setWindowTitle(mode == Mode::Check && m_variation.Example()
                               ? QStringLiteral("  Példabontás ellenőrzés")
                               : QString::fromUtf8(titles[index]));
    m_grid->DeleteButton()->setToolTip(QString::fromUtf8(hints[index]));
    const VariationStore& store = m_variation.Store();
    if (store.Count() > 100000) {
        m_messages.ShowWait("Variáció ellenőrzése", WaitPosition::Centre);
    }
    try {
        m_rows = std::make_unique<RowSets>(store, m_variation.RowSource());
    } catch (const std::bad_alloc&) {
        m_messages.HideWait();
        m_messages.NoMemory();
        return;
    }
    m_messages.HideWait();
    m_revision = store.Revision();
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
    const VariationStore& store = m_variation.Store();
    if (m_rows != nullptr && (!m_variation.Exists() || m_rows->Count() != store.Count() ||
                              m_revision != store.Revision())) {
        Close();
    }
}

bool TBontEllSzelveny::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::Close && m_rows != nullptr) {
        Close();
    }
    return QObject::eventFilter(watched, event);
}

void TBontEllSzelveny::Click(int number, Qt::KeyboardModifiers modifiers) {
    if (!Selectable(number) || m_rows == nullptr) {
        return;
    }
    std::vector<std::uint8_t>& marked = m_check.numbers;
    const auto at = std::find(marked.begin(), marked.end(), static_cast<std::uint8_t>(number));
    const bool plus =
        modifiers.testFlag(Qt::ShiftModifier) && GameHasPlus() && m_mode == Mode::Check;
    if (at != marked.end()) {
        marked.erase(at);
        if (m_check.plus == number) {
            m_check.plus = 0;
        }
    } else if (m_mode != Mode::Check && static_cast<int>(marked.size()) >= RowNumbersToMark()) {
        return; // a row holds no more
    } else if (!plus || m_check.plus == 0 || m_mode != Mode::Check) {
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
    // Only a check counts: a row being entered is no search for the list.
    m_counts = m_rows != nullptr && m_mode == Mode::Check
                   ? CountHits(*m_rows, m_check, rowLength, GameHasPlus())
                   : CheckCounts{};
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
    std::string text = " Kijelölve: " + std::to_string(m_check.numbers.size()) + " szám\r\r";
    if (m_mode == Mode::Check) {
        text += CheckCountsText(m_counts, game.rowLength, GameHasPlus());
    }
    m_grid->SetReportText(ToQt(text));
    // In add and modify mode the OK button waits for a whole row.
    const bool whole = static_cast<int>(m_check.numbers.size()) == RowNumbersToMark();
    m_grid->DeleteButton()->setEnabled(m_mode == Mode::Check || whole);
    if (m_mode != Mode::Check) {
        m_grid->DeleteButton()->setToolTip(
            QString::fromUtf8(!whole                ? " Számsor beillesztése a variációba. "
                              : m_mode == Mode::Add ? " Számsor hozzáadása a variáció listájához. "
                                                    : " Módosított számsor beillesztése. "));
    }
}

} // namespace velmora
