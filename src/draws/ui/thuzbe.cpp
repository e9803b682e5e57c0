#include "draws/ui/thuzbe.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// The look of an extra number on the grid: the fixed-number font.
constexpr int kSlotExtraFont = 10;

} // namespace

THuzBe::THuzBe(const Settings& settings, Messages& messages, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_messages(messages) {
    setObjectName(QStringLiteral("THuzBe"));
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("EvBe"));
    m_year->setAccessibleName(Q("Húzás éve"));
    m_week = new QSpinBox(this);
    m_week->setObjectName(QStringLiteral("HetBe"));
    m_week->setAccessibleName(Q("Játékhét"));
    auto* grid = new QGridLayout;
    auto* yearLabel = new QLabel(Q("           Húzás éve"), this);
    yearLabel->setBuddy(m_year);
    auto* weekLabel = new QLabel(Q("Játékhét"), this);
    weekLabel->setBuddy(m_week);
    grid->addWidget(yearLabel, 0, 0);
    grid->addWidget(m_year, 0, 1);
    grid->addWidget(weekLabel, 1, 0);
    grid->addWidget(m_week, 1, 1);
    for (int d = 0; d < 2; ++d) {
        m_rowButtons[static_cast<std::size_t>(d)] = new QPushButton(Q("Számsor"), this);
        m_rowButtons[static_cast<std::size_t>(d)]->setObjectName(
            QStringLiteral("Szamsor%1Gomb").arg(d + 1));
        m_rows[static_cast<std::size_t>(d)] = new QLabel(this);
        m_rows[static_cast<std::size_t>(d)]->setObjectName(
            QStringLiteral("Szamsor%1Lista").arg(d + 1));
        m_rows[static_cast<std::size_t>(d)]->setMinimumWidth(260);
        m_rows[static_cast<std::size_t>(d)]->setFrameShape(QFrame::Panel);
        m_rows[static_cast<std::size_t>(d)]->setFrameShadow(QFrame::Sunken);
        grid->addWidget(m_rowButtons[static_cast<std::size_t>(d)], 2 + d, 0);
        grid->addWidget(m_rows[static_cast<std::size_t>(d)], 2 + d, 1);
        connect(m_rowButtons[static_cast<std::size_t>(d)], &QPushButton::clicked, this,
                [this, d] { ChooseDrawing(d); });
    }
    auto* ok = new QPushButton(Q("Rendben"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Q("Mégse"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_year, &QSpinBox::valueChanged, this, &THuzBe::YearChanged);
}

THuzBe::~THuzBe() {
    delete m_grid;
}

std::uint8_t* THuzBe::Cells(int drawing) {
    return m_entry.numbers.data() + drawing * kSecondDrawingCell;
}

void THuzBe::Prepare(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                     int row) {
    m_mode = mode;
    m_draws = &draws;
    m_row = mode == DrawEdit::Append ? static_cast<int>(draws.size()) + 1 : row;
    if (m_grid == nullptr || m_game.gameId != game.gameId) {
        delete m_grid;
        m_grid = new TSzelveny(this, game, kNewDrawTicket, false, false, false,
                               Q("  Számsor beolvasása "));
        m_grid->setObjectName(QStringLiteral("THuzBeSzelveny"));
        m_grid->Layout(SlotsOf(m_settings.appearance, kNewDrawTicket, m_settings.scheme));
        connect(m_grid, &TSzelveny::boxClicked, this, &THuzBe::Click);
    }
    m_game = game;
    m_limits = EntryLimitsFor(mode, game, draws, row);
    m_entry = mode == DrawEdit::Modify && row >= 1 && row <= static_cast<int>(draws.size())
                  ? draws[static_cast<std::size_t>(row - 1)]
                  : DrawRecord{};
    const char* const captions[] = {"  Húzás beolvasása", "  Húzás módosítása", "  Húzás beszúrása",
                                    "  Húzás beszúrása"};
    setWindowTitle(Q(captions[static_cast<int>(mode) - 1]));
    {
        const QSignalBlocker block(m_year);
        m_year->setRange(m_limits.yearMin, m_limits.yearMax);
        m_year->setValue(m_limits.year);
    }
    m_year->setToolTip(ToQt(LimitsHint(m_limits.yearMin, m_limits.yearMax)));
    YearChanged(m_limits.year);
    m_second = EntryHasSecondDrawing(game, m_row);
    m_rows[1]->setVisible(m_second);
    m_rowButtons[1]->setVisible(m_second);
    m_drawing = 0;
    ShowRows();
}

bool THuzBe::Start(DrawEdit mode, const GameInfo& game, const std::vector<DrawRecord>& draws,
                   int row) {
    Prepare(mode, game, draws, row);
    if (mode == DrawEdit::Modify && game.extraCount == 1 && DrawHasExtra(game, m_entry)) {
        m_messages.Information("1. Törölje a plusz számot a szelvényről.\r2. Módosítsa az "
                               "adatokat.\r3. Jelölje ki a plusz számot.");
    }
    ChooseDrawing(0);
    return exec() == QDialog::Accepted;
}

void THuzBe::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The grid of the numbers opens beside the dialog.
    if (m_grid != nullptr) {
        m_grid->move(frameGeometry().topRight() + QPoint(8, 0));
        m_grid->show();
        m_grid->raise();
    }
}

void THuzBe::hideEvent(QHideEvent* event) {
    if (m_grid != nullptr) {
        m_grid->hide();
    }
    QDialog::hideEvent(event);
}

void THuzBe::YearChanged(int year) {
    if (m_draws == nullptr) {
        return;
    }
    const int week = m_mode == DrawEdit::Modify ? m_entry.drawWeek : m_limits.week;
    m_limits = WithYear(m_mode, m_game, *m_draws, m_row, m_limits, year);
    const QSignalBlocker block(m_week);
    m_week->setRange(m_limits.weekMin, m_limits.weekMax);
    m_week->setValue(std::clamp(week, m_limits.weekMin, m_limits.weekMax));
    m_week->setToolTip(ToQt(LimitsHint(m_limits.weekMin, m_limits.weekMax)));
}

void THuzBe::ChooseDrawing(int drawing) {
    m_drawing = std::clamp(drawing, 0, m_second ? 1 : 0);
    if (m_grid == nullptr) {
        return;
    }
    const std::uint8_t* cells = Cells(m_drawing);
    for (int n = 1; n <= m_game.maxNumber; ++n) {
        const bool marked =
            std::find(cells, cells + m_game.drawnCount, n) != cells + m_game.drawnCount;
        const bool extra = m_game.extraCount == 1 && cells[m_game.drawnCount] == n;
        m_grid->ApplyBoxLook(n, marked || extra, marked || extra,
                             marked || extra ? kSlotMarkedBox : kSlotUnmarkedBox,
                             extra ? kSlotExtraFont : kSlotNumber);
    }
    if (isVisible()) {
        m_grid->show();
        m_grid->raise();
    }
}

void THuzBe::Click(int number, Qt::KeyboardModifiers modifiers) {
    if (number < 1 || number > m_game.maxNumber) {
        return;
    }
    std::uint8_t* cells = Cells(m_drawing);
    const int drawn = m_game.drawnCount;
    std::uint8_t* end = cells + drawn;
    std::uint8_t* at = std::find(cells, end, number);
    DrawRecord dated = m_entry;
    dated.drawYear = m_year->value();
    dated.drawWeek = m_week->value();
    if ((modifiers & Qt::ShiftModifier) != 0 && m_game.extraCount == 1 &&
        DrawHasExtra(m_game, dated)) {
        if (at == end) {
            cells[drawn] = cells[drawn] == number ? 0 : static_cast<std::uint8_t>(number);
        }
    } else if (at != end) {
        std::rotate(at, at + 1, end); // out, and the others close up
        *(end - 1) = 0;
    } else if (cells[drawn - 1] == 0 && (m_game.extraCount == 0 || cells[drawn] != number)) {
        *std::find(cells, end, 0) = static_cast<std::uint8_t>(number);
        std::sort(cells, std::find(cells, end, 0));
    }
    ChooseDrawing(m_drawing);
    ShowRows();
}

void THuzBe::ShowRows() {
    for (int d = 0; d < (m_second ? 2 : 1); ++d) {
        const std::uint8_t* cells = Cells(d);
        QString text;
        for (int i = 0; i < m_game.drawnCount && cells[i] != 0; ++i) {
            text += QString::number(cells[i]) + QStringLiteral("  ");
        }
        if (m_game.extraCount == 1 && cells[m_game.drawnCount] != 0) {
            text += QStringLiteral("+ ") + QString::number(cells[m_game.drawnCount]);
        }
        m_rows[static_cast<std::size_t>(d)]->setText(text.trimmed());
    }
}

bool THuzBe::Confirm() {
    if (m_draws == nullptr) {
        return false;
    }
    m_entry.drawYear = m_year->value();
    m_entry.drawWeek = m_week->value();
    // A draw that carries no extra number keeps none.
    if (m_game.extraCount == 1 && !DrawHasExtra(m_game, m_entry)) {
        for (int d = 0; d < (m_second ? 2 : 1); ++d) {
            Cells(d)[m_game.drawnCount] = 0;
        }
    }
    const std::string refusal = CheckEntry(m_mode, m_game, *m_draws, m_row, m_entry);
    if (!refusal.empty()) {
        m_messages.Warning(refusal);
        return false;
    }
    accept();
    return true;
}

} // namespace velmora
