#include "variation/ui/tbontlista.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "common/hu_format.h"
#include "session/variation_document.h"
#include "variation/ui/tbontellszelveny.h"
#include "ticket/number_box.h"
#include "ticket/qt_colours.h"
#include "ticket/tszelveny.h"
#include "variation/variation_file.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kTooLongText = " Az aktuális verzió nem listáz 1 milliónál több számsort. ";

} // namespace

// --- The rows ---------------------------------------------------------------------------------

void VariationRowsModel::Reset(const VariationStore* store, ExportSource source) {
    beginResetModel();
    m_store = store;
    m_source = std::move(source);
    m_rows =
        store != nullptr ? static_cast<int>(std::min<long long>(store->Count(), kMaxFileRows)) : 0;
    std::vector<int> numbers;
    m_width = 0;
    if (m_store != nullptr && m_store->Count() > 0) {
        RowNumbers(*m_store, m_source, 0, numbers);
        m_width = static_cast<int>(numbers.size());
    }
    endResetModel();
}

void VariationRowsModel::SetExtending(bool extending) {
    if (extending == m_extending) {
        return;
    }
    m_extending = extending;
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
    }
}

VariationRowsModel::LineLook VariationRowsModel::Look(int row) const {
    LineLook look;
    const VariationStore& store = *m_store;
    const long long body = store.savedBaseCount;
    if (body > 0) {
        const long long original =
            store.IsSorted() && static_cast<std::size_t>(row) < store.OrderTable().size()
                ? store.OrderTable()[static_cast<std::size_t>(row)]
                : row;
        look.body = original < body;
    }
    if (store.IsSorted()) {
        return look; // blocks are rows in their generation order
    }
    // The block of a row: how many blocks end at or before it.
    const std::vector<std::int32_t>& ends = store.BlockEnds();
    const auto after = std::upper_bound(ends.begin(), ends.end(), row);
    look.blockStart = row > 0 && after != ends.begin() && *(after - 1) == row;
    look.alternate = m_extending && (after - ends.begin()) % 2 == 1;
    return look;
}

int VariationRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int VariationRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumbersColumn() + m_width;
}

QVariant VariationRowsModel::data(const QModelIndex& index, int role) const {
    // The store may have changed since the last reset: nothing beyond either is read.
    if (!index.isValid() || m_store == nullptr || index.row() >= m_rows ||
        index.row() >= m_store->Count()) {
        return {};
    }
    if (role == Qt::FontRole && index.column() == 0) {
        QFont bold;
        bold.setBold(true);
        bold.setUnderline(Look(index.row()).blockStart);
        return bold;
    }
    if (role == Qt::BackgroundRole) {
        const LineLook look = Look(index.row());
        if (index.column() == 0 && look.body) {
            return QColor(212, 208, 200);
        }
        return look.alternate ? QColor(240, 236, 225) : QColor(255, 251, 240);
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    if (index.column() == 0) {
        return index.row() + 1;
    }
    std::vector<int> numbers;
    RowNumbers(*m_store, m_source, index.row(), numbers);
    if (index.column() < NumbersColumn()) {
        const auto row = static_cast<std::size_t>(index.row());
        return row < m_source.rowDraws.size() && m_source.rowDraws[row] > 0
                   ? QVariant(m_source.rowDraws[row])
                   : QVariant();
    }
    const auto at = static_cast<std::size_t>(index.column() - NumbersColumn());
    return at < numbers.size() ? QVariant(numbers[at]) : QVariant();
}

QVariant VariationRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    // The number columns are too narrow for the caption: it stands over the line numbers.
    if (section == 0) {
        return Q("Számsor");
    }
    return section < NumbersColumn() ? Q("Húzás") : QString();
}

// --- The window -------------------------------------------------------------------------------

TBontLista::TBontLista(VariationDocument& variation, const MainTicket& ticket,
                       const Settings& settings, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Window), m_variation(variation), m_mainTicket(ticket),
      m_settings(settings), m_messages(messages) {
    setObjectName(QStringLiteral("TBontLista"));
    setWindowTitle(Q("  Variáció listája"));
    auto* layout = new QVBoxLayout(this);
    m_model = new VariationRowsModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("BontTabla"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setDefaultSectionSize(25);
    m_table->setAccessibleName(Q("Variáció listája"));
    // The model stays, so one connection serves every list shown.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() + 1 != m_selected) {
                    m_selected = current.row() + 1;
                    SzelvKijelzes();
                }
            });
    layout->addWidget(m_table);

    auto* buttons = new QHBoxLayout;
    const auto add = [this, buttons](const char* text, const char* name, const char* hint,
                                     void (TBontLista::*click)()) {
        auto* button = new QPushButton(Q(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(Q(hint));
        connect(button, &QPushButton::clicked, this, click);
        buttons->addWidget(button);
    };
    add("Első", "EloreGomb", " Ugrás az első számsorra. ", &TBontLista::EloreGombClick);
    add("Előző lap", "EloreLapozGomb", " Előző lap. ", &TBontLista::EloreLapozGombClick);
    add("Következő lap", "HatraLapozGomb", " Következő lap. ", &TBontLista::HatraLapozGombClick);
    add("Utolsó", "HatraGomb", " Ugrás az utolsó számsorra. ", &TBontLista::HatraGombClick);
    m_addButton = new QPushButton(Q("Hozzáadás"), this);
    m_addButton->setObjectName(QStringLiteral("BontListBovitesGomb"));
    connect(m_addButton, &QPushButton::clicked, this, &TBontLista::BontListBovitesGombClick);
    buttons->addWidget(m_addButton);
    m_modifyButton = new QPushButton(Q("Módosítás"), this);
    m_modifyButton->setObjectName(QStringLiteral("BontListModositasGomb"));
    connect(m_modifyButton, &QPushButton::clicked, this, &TBontLista::BontListModositasGombClick);
    buttons->addWidget(m_modifyButton);
    m_deleteButton = new QPushButton(Q("Törlés"), this);
    m_deleteButton->setObjectName(QStringLiteral("BontSzamsorokTorleseGomb"));
    connect(m_deleteButton, &QPushButton::clicked, this, &TBontLista::deleteRowsRequested);
    buttons->addWidget(m_deleteButton);
    auto* exit = new QPushButton(Q("Kilépés"), this);
    exit->setObjectName(QStringLiteral("KilepesGomb"));
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    m_commands = new QHBoxLayout;
    layout->addLayout(m_commands);

    m_searchPanel = new QWidget(this);
    auto* search = new QHBoxLayout(m_searchPanel);
    search->setContentsMargins(0, 0, 0, 0);
    m_searchBox = new QComboBox(m_searchPanel);
    m_searchBox->setObjectName(QStringLiteral("KeresBox"));
    m_searchBox->setAccessibleName(Q("Keresett találat"));
    search->addWidget(m_searchBox);
    connect(m_searchBox, &QComboBox::activated, this, [this] {
        SetSearchHints();
        ElsoreKeresGombClick();
    });
    const struct {
        const char* text;
        const char* name;
        void (TBontLista::*click)();
    } searchButtons[] = {
        {"Következő", "TovabbKeresGomb", &TBontLista::TovabbKeresGombClick},
        {"Előző", "VisszaKeresGomb", &TBontLista::VisszaKeresGombClick},
        {"Első", "ElsoreKeresGomb", &TBontLista::ElsoreKeresGombClick},
        {"Utolsó", "UtolsoraKeresGomb", &TBontLista::UtolsoraKeresGombClick},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        auto* button = new QPushButton(Q(searchButtons[i].text), m_searchPanel);
        button->setObjectName(QString::fromLatin1(searchButtons[i].name));
        connect(button, &QPushButton::clicked, this, searchButtons[i].click);
        search->addWidget(button);
        m_searchButtons[i] = button;
    }
    layout->insertWidget(0, m_searchPanel);
    m_searchPanel->hide();
}

void TBontLista::SetEditButtons() {
    const VariationStore& store = m_variation.Store();
    const char* const drawsList =
        " Húzások listájából összeállított variáció.\r Nem támogatott a variáció szerkesztése. ";
    const bool editable = !m_variation.DrawsList() && m_check != nullptr;
    const bool room = store.Count() < m_mainTicket.FullVariationSize();
    m_addButton->setEnabled(editable && room);
    m_addButton->setToolTip(ToQt(!editable ? drawsList
                                 : room    ? " Számsor hozzáadása a variáció listájához. "
                                           : " A variáció mérete elérte a teljes variáció "
                                             "szelvényszámát. "));
    // Rows are modified and deleted in the generation order only.
    const char* const sorted = ": a variáció indexeinek eredeti állapota esetén engedélyezett. ";
    m_modifyButton->setEnabled(editable && !store.IsSorted());
    m_modifyButton->setToolTip(ToQt(!editable          ? drawsList
                                    : store.IsSorted() ? std::string(" Számsor módosítása") + sorted
                                                       : " Kijelölt számsor módosítása. "));
    const bool deletable = !m_variation.DrawsList();
    m_deleteButton->setEnabled(deletable && !store.IsSorted());
    m_deleteButton->setToolTip(ToQt(!deletable         ? drawsList
                                    : store.IsSorted() ? std::string(" Számsor törlése") + sorted
                                                       : " Számsorok törlése a variáció "
                                                         "listájából. "));
}

void TBontLista::AddCommands(const std::vector<QAction*>& actions) {
    for (QAction* action : actions) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setObjectName(action->objectName() + QStringLiteral("Button"));
        // The text of the button, not the menu's accelerator-free caption, names it.
        button->setAccessibleName(action->text());
        m_commands->addWidget(button);
    }
    m_commands->addStretch();
}

void TBontLista::FindCheckRow() {
    if (!SearchShown() || m_searchLevels.empty()) {
        return;
    }
    // The entries run from the highest level down, after "Minden találat" when it is there.
    const int highest = m_searchLevels.front() == kAnyLevel ? 1 : 0;
    m_searchBox->setCurrentIndex(std::min(highest, m_searchBox->count() - 1));
    SetSearchHints();
    ElsoreKeresGombClick();
}

void TBontLista::BontListBovitesGombClick() {
    if (m_check != nullptr) {
        m_check->Open(TBontEllSzelveny::Mode::Add);
    }
}

void TBontLista::BontListModositasGombClick() {
    if (m_check != nullptr && m_selected >= 1 && !m_variation.Store().IsSorted()) {
        m_check->Open(TBontEllSzelveny::Mode::Modify, m_selected - 1);
    }
}

void TBontLista::SetCheckTicket(TBontEllSzelveny* check) {
    m_check = check;
    if (m_check != nullptr) {
        connect(m_check, &TBontEllSzelveny::countsChanged, this, &TBontLista::KeresPanelBe,
                Qt::UniqueConnection);
        connect(m_check, &TBontEllSzelveny::searchRequested, this, &TBontLista::FindCheckRow,
                Qt::UniqueConnection);
    }
}

bool TBontLista::SearchShown() const {
    return !m_searchPanel->isHidden();
}

void TBontLista::KeresPanelBe() {
    m_searchBox->clear();
    m_searchLevels.clear();
    if (m_check == nullptr || m_rows == nullptr) {
        m_searchPanel->hide();
        return;
    }
    const CheckCounts& counts = m_check->Counts();
    const int rowLength = m_mainTicket.Game().rowLength;
    const auto entry = [this](const std::string& text, int level) {
        m_searchBox->addItem(ToQt(text));
        m_searchLevels.push_back(level);
    };
    for (int level = static_cast<int>(counts.levels.size()); level >= 1; --level) {
        if (level == rowLength - 1 && counts.plusLevel > 0) {
            entry(PadLeft(std::to_string(rowLength - 1) + "+1 találat", 13), -1);
        }
        if (counts.levels[static_cast<std::size_t>(level - 1)] > 0) {
            entry(PadLeft("   " + std::to_string(level) + " találat", 15), level);
        }
    }
    if (m_searchLevels.empty()) {
        m_searchPanel->hide();
        return;
    }
    if (m_searchLevels.size() > 1) {
        m_searchBox->insertItem(0, Q("Minden találat"));
        m_searchLevels.insert(m_searchLevels.begin(), kAnyLevel);
    }
    m_searchBox->setCurrentIndex(0);
    SetSearchHints();
    m_searchPanel->show();
}

int TBontLista::ChosenLevel() const {
    const int index = m_searchBox->currentIndex();
    return index >= 0 && index < static_cast<int>(m_searchLevels.size())
               ? m_searchLevels[static_cast<std::size_t>(index)]
               : kAnyLevel;
}

void TBontLista::SetSearchHints() {
    const int level = ChosenLevel();
    const std::string n = level == kAnyLevel ? "n"
                          : level == -1 ? std::to_string(m_mainTicket.Game().rowLength - 1) + "+1"
                                        : std::to_string(level);
    const char* const words[] = {"következő", "előző", "első", "utolsó"};
    for (std::size_t i = 0; i < 4; ++i) {
        m_searchButtons[i]->setToolTip(ToQt(" Ugrás a" + std::string(i == 0 ? " " : "z ") +
                                            words[i] + " " + n + " találatos számsorra. "));
    }
}

bool TBontLista::SelectFound(long long from, bool forward) {
    if (m_check == nullptr || m_rows == nullptr) {
        return false;
    }
    const long long found =
        FindRowAtLevel(*m_rows, m_check->Row(), m_mainTicket.Game().rowLength,
                       m_mainTicket.Game().extraCount == 1, ChosenLevel(), from, forward);
    if (found < 0) {
        return false;
    }
    AktSorKijelol(found + 1);
    return true;
}

void TBontLista::TovabbKeresGombClick() {
    if (!SelectFound(m_selected, true)) {
        UtolsoraKeresGombClick();
    }
}

void TBontLista::VisszaKeresGombClick() {
    if (!SelectFound(m_selected - 2, false)) {
        ElsoreKeresGombClick();
    }
}

void TBontLista::ElsoreKeresGombClick() {
    SelectFound(0, true);
}

void TBontLista::UtolsoraKeresGombClick() {
    if (m_rows != nullptr) {
        SelectFound(m_rows->Count() - 1, false);
    }
}

TBontLista::~TBontLista() {
    delete m_ticket;
}

void TBontLista::closeEvent(QCloseEvent* event) {
    if (m_ticket != nullptr) {
        m_ticket->hide();
    }
    QDialog::closeEvent(event);
}

bool TBontLista::BontListaStart(long long line) {
    const VariationStore& store = m_variation.Store();
    if (store.Count() > kMaxFileRows) {
        m_messages.Warning(kTooLongText);
        Drop();
        return false;
    }
    const ExportSource source = m_variation.RowSource();
    setWindowTitle(m_variation.Example() ? Q("  Példabontás listája") : Q("  Variáció listája"));
    m_model->SetExtending(m_variation.Extending());
    m_model->Reset(&store, source);
    m_table->setColumnWidth(0, 90);
    const int drawColumn = m_model->NumbersColumn() - 1;
    if (drawColumn > 0) {
        m_table->setColumnWidth(drawColumn, 60);
    }
    // As wide as the columns, as high as the screen allows less 50.
    const int width = 90 + 60 * drawColumn + 25 * (m_model->columnCount() - 1 - drawColumn) +
                      m_table->verticalScrollBar()->sizeHint().width() + 4;
    const QRect screen =
        this->screen() != nullptr ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::max(width + 24, 460), std::min(600, screen.height() - 50));
    m_rows = std::make_unique<RowSets>(store, source);
    m_revision = store.Revision();
    m_selected = 0;
    const bool newTicket = m_ticket == nullptr;
    if (newTicket) {
        const GameInfo& game = m_mainTicket.Game();
        m_ticket = new TSzelveny(this, game, kVariationListTicket, false, false, true, QString());
        m_ticket->Layout(SlotsOf(m_settings.appearance, kVariationListTicket, m_settings.scheme));
    }
    show();
    if (newTicket) {
        PlaceBeside(*m_ticket, *this); // beside the list, not over it
    }
    m_ticket->show();
    AktSorKijelol(line);
    KeresPanelBe();
    SetEditButtons();
    return true;
}

void TBontLista::Drop() {
    m_model->Reset(nullptr, {});
    m_rows.reset();
    m_selected = 0;
    close();
}

bool TBontLista::Current() const {
    const VariationStore& store = m_variation.Store();
    return m_rows != nullptr && m_rows->Count() == store.Count() && m_revision == store.Revision();
}

void TBontLista::Follow() {
    if (!isVisible()) {
        return;
    }
    m_model->SetExtending(m_variation.Extending());
    SetEditButtons();
    if (!m_variation.Exists()) {
        Drop();
    } else if (!Current()) {
        BontListaStart(m_selected); // the same line, of the rows as they are now
    }
}

void TBontLista::AktSorKijelol(long long line) {
    const long long count = m_variation.Store().Count();
    if (count == 0) {
        return;
    }
    line = std::clamp<long long>(line, 1, count);
    const QModelIndex index = m_model->index(static_cast<int>(line - 1), 0);
    m_selected = line; // first: the selection signal then has nothing to do
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    SzelvKijelzes();
}

int TBontLista::PageLines() const {
    const int height = m_table->viewport()->height();
    return std::max(1, height / std::max(1, m_table->verticalHeader()->defaultSectionSize()));
}

void TBontLista::EloreGombClick() {
    AktSorKijelol(1);
}

void TBontLista::HatraGombClick() {
    AktSorKijelol(m_variation.Store().Count());
}

void TBontLista::EloreLapozGombClick() {
    AktSorKijelol(m_selected - PageLines());
}

void TBontLista::HatraLapozGombClick() {
    AktSorKijelol(m_selected + PageLines());
}

// The selected row on the small ticket, with its hit profile against every row.
void TBontLista::SzelvKijelzes() {
    if (m_ticket == nullptr || m_rows == nullptr || m_selected < 1 ||
        m_selected > std::min(m_rows->Count(), m_variation.Store().Count())) {
        return;
    }
    const GameInfo& game = m_mainTicket.Game();
    for (int n = 1; n <= game.maxNumber; ++n) {
        m_ticket->ApplyBoxLook(n, false, false, kSlotUnmarkedBox, kSlotNumber);
    }
    std::vector<int> numbers;
    RowNumbers(m_variation.Store(), m_variation.RowSource(), m_selected - 1, numbers);
    for (int n : numbers) {
        if (n < 1 || n > game.maxNumber) {
            continue;
        }
        // A row's numbers are marked on the main ticket: its font tells their kind.
        m_ticket->ApplyBoxLook(n, true, true, kSlotMarkedBox, m_mainTicket.Look(n).fontSlot);
    }
    m_profile = m_rows->HitProfile(m_selected - 1, game.rowLength);
    m_ticket->SetReportText(ToQt(HitProfileText(m_selected, m_profile, m_variation.Example())));
    m_ticket->setWindowTitle(
        ToQt(std::string(m_variation.Example() ? "  Példabontás " : "  Variáció ") +
             std::to_string(m_selected) + ". számsora"));
    if (!m_profile.empty() && m_profile.back() > 0) {
        m_messages.Error(kRepeatedRowText);
    }
}

} // namespace velmora
