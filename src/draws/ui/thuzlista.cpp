#include "draws/ui/thuzlista.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QHBoxLayout>
#include <QPushButton>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string_view>

#include "common/hu_format.h"
#include "draws/ui/thuzbe.h"
#include "draws/ui/thuzkeresszelveny.h"
#include "ticket/tszelveny.h"
#include "game/ticket_appearance.h"
#include "session/session.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// The look of an extra number: the fixed-number font.
constexpr int kSlotFixedFont = 10;

} // namespace

// --- The draws --------------------------------------------------------------------------------

void DrawsModel::Reset(const DrawsStore* store, const GameInfo& game) {
    beginResetModel();
    m_store = store;
    m_game = game;
    m_rows = store != nullptr ? store->Count() : 0;
    m_cells = DrawColumns(game.gameId);
    endResetModel();
}

int DrawsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DrawsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3 + m_cells;
}

QVariant DrawsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_store == nullptr || index.row() >= m_store->Count()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    const DrawRecord& draw = m_store->At(index.row());
    switch (index.column()) {
    case 0:
        return draw.drawNo;
    case 1:
        return draw.drawYear;
    case 2:
        return draw.drawWeek;
    default: {
        const int value = draw.numbers[static_cast<std::size_t>(index.column() - 3)];
        return value > 0 ? QVariant(value) : QVariant(QString());
    }
    }
}

QVariant DrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const char* const first[] = {"Húzás", "Év", "Hét"};
    if (section < 3) {
        return Q(first[section]);
    }
    const int cell = section - 3;
    const bool extra = (m_game.extraCount == 1 && cell == m_game.rowLength) ||
                       (m_game.gameId == 4 && cell == m_cells - 1);
    if (extra) {
        return QStringLiteral("+");
    }
    const bool second = m_game.drawsPerDate == 2 && !m_game.isKeno && cell >= kSecondDrawingCell;
    return QString::number(second ? cell - kSecondDrawingCell + 1 : cell + 1) + QStringLiteral(".");
}

// --- The window -------------------------------------------------------------------------------

THuzLista::THuzLista(Session& session, std::function<void()> chooseRange, QWidget* parent)
    : QDialog(parent, Qt::Window), m_session(session), m_chooseRange(std::move(chooseRange)),
      m_editor(session.Draws(), session.Ranges()) {
    setObjectName(QStringLiteral("THuzLista"));
    setWindowTitle(Q("  Húzások listája"));
    auto* layout = new QVBoxLayout(this);
    m_tools = new QToolBar(this);
    m_tools->setObjectName(QStringLiteral("toolBar"));
    layout->addWidget(m_tools);
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        std::function<void()> run;
    } commands[] = {
        {"BovitesGomb", "Hozzáadás", " Húzás hozzáadása. ", [this] { BovitesGombClick(); }},
        {"BeszurasGomb", "Beszúrás", " Húzás beszúrása. ", [this] { BeszurasGombClick(); }},
        {"ModositasGomb", "Módosítás", " Kijelölt húzás módosítása. ",
         [this] { ModositasGombClick(); }},
        {"TorlesGomb", "Törlés", " Kijelölt húzás törlése. ", [this] { TorlesGombClick(); }},
        {"VisszaGomb", "Visszavonás", " Előző módosítás visszavonása. ",
         [this] { VisszaGombClick(); }},
        {"MegseGomb", "Visszavonás törlése", " Visszavonás törlése. ",
         [this] { MegseGombClick(); }},
        {"KeresesGomb", "Keresés", " Kijelölt számsor keresése a listában. ",
         [this] { KeresesGombClick(); }},
        {"ToolButton1", "Húzások száma...", " Húzások száma ",
         [this] {
             if (m_chooseRange) {
                 m_chooseRange();
             }
         }},
        {"MentesGomb", "Mentés", " Módosított adatbázis mentése. ", [this] { MentesGombClick(); }},
        {"EloreGomb", "Első", " Ugrás az első húzásra. ", [this] { SelectRow(1); }},
        {"EloreLapozGomb", "Előző lap", " Vissza lapoz. ",
         [this] { SelectRow(std::max(1, SelectedRow() - PageRows())); }},
        {"HatraLapozGomb", "Következő lap", " Tovább lapoz. ",
         [this] { SelectRow(SelectedRow() + PageRows()); }},
        {"HatraGomb", "Utolsó", " Ugrás az utolsó húzásra. ",
         [this] { SelectRow(m_session.Draws().Count()); }},
        {"ToolButton4", "Segédszelvény", " Segédszelvény elrejtése. ",
         [this] {
             m_drawTicketShown = !m_drawTicketShown;
             ShowDrawTicket();
         }},
        {"KilepesGomb", "Kilépés", " Kilépés ", [this] { close(); }},
    };
    // The editing commands above, the paging ones below.
    auto* paging = new QToolBar(this);
    paging->setObjectName(QStringLiteral("pagingBar"));
    for (const auto& c : commands) {
        const std::string_view name(c.name);
        const bool below = name.starts_with("Elore") || name.starts_with("Hatra") ||
                           name == "KilepesGomb" || name == "ToolButton1" || name == "ToolButton4";
        QAction* action = (below ? paging : m_tools)->addAction(Q(c.text));
        action->setIconText(action->text()); // a tool button keeps the text's "...".
        action->setObjectName(QString::fromLatin1(c.name));
        action->setToolTip(Q(c.hint));
        action->setProperty("hint", Q(c.hint));
        connect(action, &QAction::triggered, this, c.run);
        m_commands[c.name] = action;
    }
    // The example mode's commands, hidden in the other modes.
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        std::function<void()> run;
    } exampleCommands[] = {
        {"ProbabontasGomb", "Példabontás készítése  ",
         " ... a kiválasztott húzás számsora alapján. ",
         [this] {
             const int row = SelectedRow();
             if (row >= 1) {
                 close();
                 emit exampleDrawChosen(row);
             }
         }},
        {"InformacioGomb", "Hasznos információ", " Hasznos információ ",
         [this] { emit exampleInformationRequested(); }},
    };
    for (const auto& c : exampleCommands) {
        QAction* action = m_tools->addAction(Q(c.text));
        action->setObjectName(QString::fromLatin1(c.name));
        action->setToolTip(Q(c.hint));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, c.run);
        m_commands[c.name] = action;
    }
    m_model = new DrawsModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("HuzTabla"));
    m_table->setAccessibleName(Q("Húzások listája"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setDefaultSectionSize(25);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &THuzLista::SetStates);
    layout->addWidget(m_table);
    m_searchPanel = new QWidget(this);
    m_searchPanel->setObjectName(QStringLiteral("KeresPanel"));
    auto* search = new QHBoxLayout(m_searchPanel);
    search->setContentsMargins(0, 0, 0, 0);
    m_searchBox = new QComboBox(m_searchPanel);
    m_searchBox->setObjectName(QStringLiteral("KeresBox"));
    m_searchBox->setToolTip(Q(" A keresett számsor találati aránya. "));
    m_searchBox->setAccessibleName(Q("Keresett találat"));
    search->addWidget(m_searchBox);
    connect(m_searchBox, &QComboBox::activated, this, [this] {
        SetSearchHints();
        ElsoreKeresGombClick();
    });
    const struct {
        const char* text;
        const char* name;
        void (THuzLista::*click)();
    } steps[] = {
        {"Első", "ElsoreKeresGomb", &THuzLista::ElsoreKeresGombClick},
        {"Előző", "VisszaKeresGomb", &THuzLista::VisszaKeresGombClick},
        {"Következő", "TovabbKeresGomb", &THuzLista::TovabbKeresGombClick},
        {"Utolsó", "UtolsoraKeresGomb", &THuzLista::UtolsoraKeresGombClick},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        auto* button = new QPushButton(Q(steps[i].text), m_searchPanel);
        button->setObjectName(QString::fromLatin1(steps[i].name));
        connect(button, &QPushButton::clicked, this, steps[i].click);
        search->addWidget(button);
        m_searchButtons[i] = button;
    }
    layout->addWidget(m_searchPanel);
    m_searchPanel->hide();
    layout->addWidget(paging);
    resize(760, 560);
}

THuzLista::~THuzLista() {
    delete m_drawTicket;
}

void THuzLista::hideEvent(QHideEvent* event) {
    if (m_drawTicket != nullptr) {
        m_drawTicket->hide();
    }
    QDialog::hideEvent(event);
}

void THuzLista::ShowDrawTicket() {
    QAction* toggle = m_commands["ToolButton4"];
    toggle->setToolTip(
        Q(m_drawTicketShown ? " Segédszelvény elrejtése. " : " Segédszelvény megjelenítése. "));
    const GameInfo& game = m_session.Game();
    if (!m_drawTicketShown || !isVisible()) {
        if (m_drawTicket != nullptr) {
            m_drawTicket->hide();
        }
        return;
    }
    if (m_drawTicket == nullptr || m_drawTicket->BoxCount() != game.maxNumber) {
        delete m_drawTicket;
        m_drawTicket = new TSzelveny(this, game, kDrawsListTicket, false, false, false, QString());
        const Settings& settings = m_session.GetSettings();
        m_drawTicket->Layout(SlotsOf(settings.appearance, kDrawsListTicket, settings.scheme));
        PlaceBeside(*m_drawTicket, *this);
    }
    const int row = SelectedRow();
    const DrawRecord* draw = row >= 1 ? &m_session.Draws().At(row - 1) : nullptr;
    const int cells = DrawColumns(game.gameId);
    for (int n = 1; n <= game.maxNumber; ++n) {
        bool marked = false;
        bool extra = false;
        for (int c = 0; draw != nullptr && c < cells; ++c) {
            if (draw->numbers[static_cast<std::size_t>(c)] == n) {
                const int inDrawing = c % kSecondDrawingCell;
                (game.extraCount == 1 && inDrawing == game.drawnCount ? extra : marked) = true;
            }
        }
        m_drawTicket->ApplyBoxLook(n, marked || extra, marked || extra,
                                   marked || extra ? kSlotMarkedBox : kSlotUnmarkedBox,
                                   extra ? kSlotFixedFont : kSlotNumber);
    }
    m_drawTicket->setWindowTitle(
        draw != nullptr ? Q("  ") + QString::number(draw->drawNo) + Q(". húzás") : QString());
    m_drawTicket->show();
}

QAction* THuzLista::Command(const char* name) const {
    const auto it = m_commands.find(name);
    return it == m_commands.end() ? nullptr : it->second;
}

THuzBe* THuzLista::EntryDialog() {
    if (m_entry == nullptr) {
        m_entry = new THuzBe(m_session.GetSettings(), m_session.GetMessages(), this);
    }
    return m_entry;
}

void THuzLista::Reload() {
    m_editor.ClearHistory();
    m_model->Reset(&m_session.Draws(), m_session.Game());
    m_table->setColumnWidth(0, 65);
    m_table->setColumnWidth(1, 39);
    m_table->setColumnWidth(2, 27);
    SetStates();
}

void THuzLista::PeldabontasStart() {
    Listazas();
    SetExampleMode(true);
}

void THuzLista::SetExampleMode(bool example) {
    m_exampleMode = example;
    for (QAction* action : m_tools->actions()) {
        const bool exampleCommand =
            action == m_commands["ProbabontasGomb"] || action == m_commands["InformacioGomb"];
        action->setVisible(exampleCommand == example);
    }
    if (!example) {
        SetStates(); // the save command shows only with unsaved draws
    }
}

void THuzLista::Listazas() {
    if (!m_session.Draws().HasDatabase()) {
        return;
    }
    SetExampleMode(false);
    if (m_model->rowCount() != m_session.Draws().Count() || !isVisible()) {
        Reload();
    }
    show();
    raise();
    SelectRow(m_session.Draws().Count());
}

int THuzLista::SelectedRow() const {
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void THuzLista::SelectRow(int row) {
    const int count = m_session.Draws().Count();
    if (count == 0) {
        SetStates();
        return;
    }
    row = std::clamp(row, 1, count);
    const QModelIndex index = m_model->index(row - 1, 0);
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    SetStates();
}

int THuzLista::PageRows() const {
    return std::max(1, m_table->viewport()->height() /
                           std::max(1, m_table->verticalHeader()->defaultSectionSize()));
}

void THuzLista::Edit(DrawEdit mode) {
    const DrawsStore& store = m_session.Draws();
    const int row = mode == DrawEdit::Append ? store.Count() + 1 : SelectedRow();
    if (mode != DrawEdit::Append && row < 1) {
        return;
    }
    THuzBe* entry = EntryDialog();
    if (!entry->Start(mode, m_session.Game(), store.Draws(), row)) {
        return; // cancelled: nothing changed
    }
    const DrawRecord draw = entry->Entry();
    const bool done = mode == DrawEdit::Append   ? m_editor.Append(draw)
                      : mode == DrawEdit::Insert ? m_editor.Insert(row, draw)
                                                 : m_editor.Modify(row, draw);
    if (done && m_editor.DroppedOldest()) {
        m_session.GetMessages().Information(kOldestDrawDroppedText);
    }
    Changed();
}

void THuzLista::BovitesGombClick() {
    Edit(DrawEdit::Append);
}

void THuzLista::BeszurasGombClick() {
    Edit(DrawEdit::Insert);
}

void THuzLista::ModositasGombClick() {
    Edit(DrawEdit::Modify);
}

void THuzLista::TorlesGombClick() {
    const int row = SelectedRow();
    if (row < 1 || !m_session.GetMessages().WarningQuestion("Biztos törli a kijelölt húzást?")) {
        return;
    }
    m_editor.Delete(row);
    Changed();
}

void THuzLista::VisszaGombClick() {
    if (m_editor.Undo()) {
        Changed();
    }
}

void THuzLista::MegseGombClick() {
    if (m_editor.Redo()) {
        Changed();
    }
}

bool THuzLista::MentesGombClick() {
    const bool saved =
        m_session.Draws().AdatbazisMentese(m_session.DatabasePath(), true, m_session.GetMessages());
    SetStates();
    emit drawsChanged();
    return saved;
}

void THuzLista::Changed() {
    m_model->Reset(&m_session.Draws(), m_session.Game());
    SelectRow(m_editor.CurrentRow());
    emit drawsChanged();
}

void THuzLista::SetPrintMenu(QMenu* menu) {
    QAction* print = m_tools->addAction(Q("Nyomtatás..."));
    print->setObjectName(QStringLiteral("NyomtatasGomb"));
    print->setIconText(print->text());
    print->setToolTip(Q(" Húzások listájának nyomtatása. "));
    print->setMenu(menu);
    m_commands["NyomtatasGomb"] = print;
}

THuzKeresSzelveny* THuzLista::Search() {
    if (m_search == nullptr) {
        m_search = new THuzKeresSzelveny(m_session, this);
        connect(m_search, &THuzKeresSzelveny::countsChanged, this, &THuzLista::KeresPanelBe);
    }
    return m_search;
}

void THuzLista::KeresesStart() {
    Listazas();
    Search()->Open();
}

void THuzLista::KeresesGombClick() {
    const int row = SelectedRow();
    if (row < 1) {
        return;
    }
    const GameInfo& game = m_session.Game();
    const DrawRecord& draw = m_session.Draws().At(row - 1);
    DrawSearchRow search;
    for (int i = 0; i < game.drawnCount; ++i) {
        if (draw.numbers[static_cast<std::size_t>(i)] != 0) {
            search.numbers.push_back(draw.numbers[static_cast<std::size_t>(i)]);
        }
    }
    if (game.extraCount == 1) {
        search.extra = draw.numbers[static_cast<std::size_t>(game.drawnCount)];
    }
    Search()->Open();
    Search()->SetRow(search);
    SelectRow(row);
}

bool THuzLista::SearchShown() const {
    return !m_searchPanel->isHidden();
}

void THuzLista::KeresPanelBe() {
    m_searchBox->clear();
    m_searchLevels.clear();
    if (m_search == nullptr) {
        m_searchPanel->hide();
        return;
    }
    const DrawSearchCounts& counts = m_search->Counts();
    const GameInfo& game = m_session.Game();
    const auto entry = [this](const std::string& text, int level) {
        m_searchBox->addItem(ToQt(text));
        m_searchLevels.push_back(level);
    };
    for (int h = static_cast<int>(counts.hits.size()); h >= 1; --h) {
        if (counts.hits[static_cast<std::size_t>(h - 1)] > 0) {
            entry(PadLeft(std::to_string(h) + "   találat", 15), h);
        }
        // The extra class follows its count, ahead of the next one down.
        if (h == game.rowLength - 1 && game.extraCount == 1 && counts.extraClass > 0) {
            entry(PadLeft(std::to_string(game.rowLength - 1) + "+1 találat", 13), kExtraClass);
        }
    }
    if (m_searchLevels.empty()) {
        m_searchPanel->hide();
        return;
    }
    if (m_searchLevels.size() > 1) {
        m_searchBox->insertItem(0, Q("Minden találat"));
        m_searchLevels.insert(m_searchLevels.begin(), kAnyHits);
    }
    m_searchBox->setCurrentIndex(0);
    SetSearchHints();
    m_searchPanel->show();
}

int THuzLista::ChosenLevel() const {
    const int index = m_searchBox->currentIndex();
    return index >= 0 && index < static_cast<int>(m_searchLevels.size())
               ? m_searchLevels[static_cast<std::size_t>(index)]
               : kAnyHits;
}

void THuzLista::SetSearchHints() {
    const int level = ChosenLevel();
    const GameInfo& game = m_session.Game();
    const std::string n = level == kAnyHits      ? std::string("n")
                          : level == kExtraClass ? std::to_string(game.rowLength - 1) + "+1"
                                                 : std::to_string(level);
    const char* const words[] = {"Első ", "Előző ", "Következő ", "Utolsó "};
    for (std::size_t i = 0; i < 4; ++i) {
        m_searchButtons[i]->setToolTip(
            ToQt(words[i] + n + " találatos számsor keresése a listában"));
    }
    // At the first or the last match the buttons say so.
    const DrawPosition at = SelectedDrawing();
    const DrawRanges& ranges = m_session.Ranges();
    const auto find = [&](bool forward) {
        return m_search == nullptr
                   ? std::nullopt
                   : FindDrawing(game, m_session.Draws().Draws(), ranges.GetLHuzSzamaElso(),
                                 ranges.GetLHuzSzamaUtolso(), m_search->Row(), level, at, forward);
    };
    if (at.row >= 1 && !find(true)) {
        m_searchButtons[3]->setToolTip(
            ToQt(" Az utolsó " + n + " találatos számsor kiválasztva. "));
    }
    if (at.row >= 1 && !find(false)) {
        m_searchButtons[0]->setToolTip(ToQt(" Az első " + n + " találatos számsor kiválasztva. "));
    }
}

DrawPosition THuzLista::SelectedDrawing() const {
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        return {};
    }
    const bool second =
        m_session.Game().drawsPerDate == 2 && current.column() >= 3 + kSecondDrawingCell;
    return {current.row() + 1, second ? 1 : 0};
}

void THuzLista::SelectDrawing(DrawPosition at) {
    const QModelIndex index = m_model->index(at.row - 1, 3 + at.set * kSecondDrawingCell);
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    SetStates();
    SetSearchHints();
}

bool THuzLista::Step(DrawPosition from, bool forward) {
    if (m_search == nullptr) {
        return false;
    }
    const DrawRanges& ranges = m_session.Ranges();
    const std::optional<DrawPosition> found =
        FindDrawing(m_session.Game(), m_session.Draws().Draws(), ranges.GetLHuzSzamaElso(),
                    ranges.GetLHuzSzamaUtolso(), m_search->Row(), ChosenLevel(), from, forward);
    if (!found) {
        return false;
    }
    SelectDrawing(*found);
    return true;
}

void THuzLista::ElsoreKeresGombClick() {
    Step({0, 0}, true);
}

void THuzLista::UtolsoraKeresGombClick() {
    Step({m_session.Draws().Count() + 1, 0}, false);
}

void THuzLista::TovabbKeresGombClick() {
    // Past the last match: the last match.
    if (!Step(SelectedDrawing(), true)) {
        UtolsoraKeresGombClick();
    }
}

void THuzLista::VisszaKeresGombClick() {
    if (!Step(SelectedDrawing(), false)) {
        ElsoreKeresGombClick();
    }
}

void THuzLista::SetStates() {
    ShowDrawTicket();
    const DrawsStore& store = m_session.Draws();
    const int row = SelectedRow();
    const bool selected = row >= 1;
    // Draws a variation was measured against stay as they are.
    const HitRatioCondition& ratio = m_session.Conditions().hitRatio;
    const bool guarded =
        (m_session.Variation().Exists() && ratio.active && ratio.searched) || store.Count() < 2;
    const bool inRange = guarded && row >= ratio.firstDraw && row <= ratio.lastDraw;
    const bool atOrBefore = guarded && row <= ratio.lastDraw;
    const auto set = [this](const char* name, bool enabled, const char* on, const char* off) {
        QAction* action = m_commands[name];
        action->setEnabled(enabled);
        action->setToolTip(Q(enabled ? on : off));
    };
    set("BovitesGomb", store.HasDatabase(), " Húzás hozzáadása. ", " Húzás hozzáadása. ");
    set("BeszurasGomb", selected && !atOrBefore, " Húzás beszúrása. ",
        " Nem szúrható be új húzás. ");
    set("ModositasGomb", selected && !inRange, " Kijelölt húzás módosítása. ",
        " Nem módosítható a húzás. ");
    set("TorlesGomb", selected && !atOrBefore, " Kijelölt húzás törlése. ",
        " Nem törölhető a húzás. ");
    set("VisszaGomb", m_editor.CanUndo(), " Előző módosítás visszavonása. ",
        " Nincs visszavonható művelet. ");
    set("MegseGomb", m_editor.CanRedo(), " Visszavonás törlése. ", " Visszavonás törlése. ");
    m_commands["MentesGomb"]->setVisible(store.DatabaseModified() && !m_exampleMode);
}

} // namespace velmora
