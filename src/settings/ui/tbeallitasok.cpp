#include "settings/ui/tbeallitasok.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "common/hu_format.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "settings/ui/ticket_sample.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

constexpr std::array<const char*, kCurrencyCount> kCurrencies = {" forint", " euro",  " kuna",
                                                                 " lei",    " dinar", " hrivnya"};

constexpr std::array<const char*, TBeallitasok::kElementCount> kElementNames = {
    "szelvény háttér", "jelöletlen számbox",  "kijelölt számbox", "szám",
    "riport panel",    "riport panel szöveg", "kijelölt szám",    "fix szám",
    "állandó szám",    "plusz szám",          "véletlen szám"};

// Which elements each ticket draws, read from the windows that own the grids: the draws list
// and draw entry grids have no report panel; the draws grids mark an extra number with the
// fixed-number font and know no other number kind; only the check ticket shows plus numbers;
// only the main ticket writes its unmarked numbers in the "kijelölt szám" colour (the others
// write every unkinded number in the "szám" colour). Columns follow kElementNames.
constexpr std::array<std::array<bool, TBeallitasok::kElementCount>, kTicketKindCount>
    kUsedElements = {{
        {true, true, true, true, true, true, true, true, true, false, true},      // main
        {true, true, true, true, true, true, false, true, true, false, true},     // list
        {true, true, true, true, true, true, false, true, true, true, true},      // check
        {true, true, true, true, false, false, false, true, false, false, false}, // draws
        {true, true, true, true, false, false, false, true, false, false, false}, // entry
        {true, true, true, true, true, true, false, true, false, false, false},   // search
    }};

constexpr int kElementReportPanel = 4;
constexpr int kElementMarkedNumber = 6;
constexpr int kElementFixed = 7;

// The default scheme cannot be edited: it always shows these sizes.
constexpr int kDefaultBoxSize = 30;
constexpr int kDefaultNumberSize = 8;
constexpr double kLeastPrice = 0.1;
constexpr double kGreatestPrice = 999999;

struct BasicColour {
    const char* name;
    std::int32_t value; // 0x00BBGGRR
};

constexpr std::array<BasicColour, 16> kBasicColours = {{
    {"fekete", 0x000000},
    {"bordó", 0x000080},
    {"zöld", 0x008000},
    {"olajzöld", 0x008080},
    {"sötétkék", 0x800000},
    {"lila", 0x800080},
    {"kékeszöld", 0x808000},
    {"szürke", 0x808080},
    {"ezüst", 0xC0C0C0},
    {"piros", 0x0000FF},
    {"világoszöld", 0x00FF00},
    {"sárga", 0x00FFFF},
    {"kék", 0xFF0000},
    {"bíbor", 0xFF00FF},
    {"ciánkék", 0xFFFF00},
    {"fehér", 0xFFFFFF},
}};

std::int32_t ToAppearance(const QColor& colour) {
    return static_cast<std::int32_t>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

QIcon Swatch(std::int32_t value) {
    QPixmap pixmap(16, 12);
    pixmap.fill(AppearanceColour(value));
    return QIcon(pixmap);
}

// Digits and one decimal comma with at most two decimals after it; a decimal point is taken
// as the comma, so either key works.
class PriceValidator : public QValidator {
public:
    explicit PriceValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& /*position*/) const override {
        input.replace(QLatin1Char('.'), QLatin1Char(','));
        static const QRegularExpression pattern(QStringLiteral("^\\d{0,6}(,\\d{0,2})?$"));
        return pattern.match(input).hasMatch() ? Acceptable : Invalid;
    }
};

// Takes the file layer's own message, so that the dialog can say what failed in its words.
class QuietMessages : public Messages {
public:
    void ShowWait(const std::string& /*text*/, WaitPosition /*position*/) override {}
    void HideWait() override {}

protected:
    Answer Present(MessageKind /*kind*/, const std::string& /*text*/) override {
        return Answer::No;
    }
};

QString PriceText(double price) {
    // A whole price is shown without decimals, as the condition report shows it.
    return ToQt(price == std::floor(price) ? std::to_string(static_cast<long long>(price))
                                           : FormatDecimal(price, 2));
}

const char* const kApprovalWarning =
    "Csak akkor kapcsolja ki a szolgáltatást, ha gyakorlott felhasználó.\rA jóváhagyások kérése "
    "szolgáltatás védelmet biztosít a főszelvényen kijelölt számsor, a beállított feltételek, a "
    "hibapont értéke és az egyéb opciók, valamint a variáció listája részére. \r\rA szolgáltatás "
    "használatával, elkerülhető a véletlen adatvesztés.";

QCheckBox* AddCheck(QWidget* page, QLayout* layout, const char* text, const char* name) {
    auto* check = new QCheckBox(Q(text), page);
    check->setObjectName(QString::fromLatin1(name));
    check->setAccessibleName(Q(text).trimmed());
    layout->addWidget(check);
    return check;
}

QLabel* AddLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(Q(text), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(Q(text).trimmed());
    return label;
}

} // namespace

TBeallitasok::TBeallitasok(Settings& settings, const ProgramFolders& folders, Messages& messages,
                           QWidget* parent)
    : QDialog(parent), m_settings(settings), m_folders(folders), m_messages(messages) {
    setObjectName(QStringLiteral("TBeallitasok"));
    setWindowTitle(Q("  Program beállítások"));
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Lapok"));
    m_pages->addTab(BuildGeneralPage(), Q("Általános"));
    m_pages->addTab(BuildTicketPage(), Q("Szelvények"));
    m_pages->addTab(BuildVariationPage(), Q("Variáció"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto add = [this, buttons](const char* text, const char* name) {
        auto* button = new QPushButton(Q(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* apply = add("Alkalmaz", "AlkalmazGomb");
    QPushButton* save = add("Mentés", "MentesGomb");
    QPushButton* exit = add("Kilépés", "KilepesGomb");
    connect(apply, &QPushButton::clicked, this, &TBeallitasok::Apply);
    connect(save, &QPushButton::clicked, this, &TBeallitasok::Save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    setMinimumWidth(400);
    layout->addLayout(buttons);
}

TBeallitasok::~TBeallitasok() = default;

QWidget* TBeallitasok::BuildGeneralPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_approve = AddCheck(page, layout, " Jóváhagyás kérése", "JovahagyasCheck");
    m_saveOnExit = AddCheck(page, layout, " Beállítások mentése", "BeallitasokCheck");
    m_hints = AddCheck(page, layout, " Súgóbuborék engedélyezése ", "BuborekKiBeBox");
    m_info = AddCheck(page, layout, " Hasznos információk", "InformCheck");
    m_allNotices = AddCheck(page, layout, " Minden információ engedélyezése", "InformAllapotCheck");
    m_backupKind = AddCheck(page, layout, " Biztonsági másolat típusa", "BackTipusaGomb");
    m_newVersion = AddCheck(page, layout, " Új verzió keresése", "NewVersionCheck");
    connect(m_approve, &QCheckBox::toggled, this, &TBeallitasok::OnApprovalToggled);

    auto* priceRow = new QHBoxLayout;
    m_price = new QLineEdit(page);
    m_price->setObjectName(QStringLiteral("SzelvArEdit"));
    m_price->setValidator(new PriceValidator(m_price));
    m_price->setAlignment(Qt::AlignRight);
    m_price->setMaximumWidth(90);
    m_currency = new QComboBox(page);
    m_currency->setObjectName(QStringLiteral("ComboBox1"));
    m_currency->setAccessibleName(Q("Pénznem"));
    for (const char* currency : kCurrencies) {
        m_currency->addItem(Q(currency));
    }
    priceRow->addWidget(AddLabel("Szelvény ára", m_price, page));
    priceRow->addWidget(m_price);
    priceRow->addWidget(m_currency);
    priceRow->addStretch();
    layout->addSpacing(8);
    layout->addLayout(priceRow);
    connect(m_price, &QLineEdit::editingFinished, this, [this] { CommitPrice(); });
    connect(m_currency, &QComboBox::currentIndexChanged, this, &TBeallitasok::OnCurrencyChanged);

    // Where the downloads come from: the program's download host and the operator's results.
    const struct {
        const char* label;
        const char* name;
        QLineEdit** field;
    } addresses[] = {
        {"Letöltési cím", "HostEdit", &m_host},
        {"Nyerőszámok címe", "OperatorEdit", &m_operator},
    };
    auto* addressForm = new QFormLayout;
    for (const auto& address : addresses) {
        *address.field = new QLineEdit(page);
        (*address.field)->setObjectName(QString::fromLatin1(address.name));
        addressForm->addRow(AddLabel(address.label, *address.field, page), *address.field);
    }
    layout->addSpacing(8);
    layout->addLayout(addressForm);

    m_printerSetup = new QPushButton(Q("Nyomtató beállítás"), page);
    m_printerSetup->setObjectName(QStringLiteral("SpeedButton5"));
    m_printerSetup->setAutoDefault(false);
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printerSetup);
    printerRow->addStretch();
    layout->addSpacing(8);
    layout->addLayout(printerRow);
    layout->addStretch();
    connect(m_printerSetup, &QPushButton::clicked, this, &TBeallitasok::PrinterSetup);
    return page;
}

QWidget* TBeallitasok::BuildTicketPage() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);

    auto* schemes = new QGroupBox(Q("Színséma"), page);
    schemes->setObjectName(QStringLiteral("SzinsemaGroup"));
    auto* schemeLayout = new QHBoxLayout(schemes);
    auto* schemeGroup = new QButtonGroup(this);
    m_defaultScheme = new QRadioButton(Q("  Alapértelmezett"), schemes);
    m_defaultScheme->setObjectName(QStringLiteral("AlapSzinsema"));
    m_favouriteScheme = new QRadioButton(Q("  Kedvenc"), schemes);
    m_favouriteScheme->setObjectName(QStringLiteral("KedvencSzinsema"));
    for (QRadioButton* button : {m_defaultScheme, m_favouriteScheme}) {
        button->setAccessibleName(button->text().trimmed());
        schemeGroup->addButton(button);
        schemeLayout->addWidget(button);
    }
    schemeLayout->addStretch();
    layout->addWidget(schemes, 0, 0, 1, 2);
    connect(schemeGroup, &QButtonGroup::buttonClicked, this, [this] { OnSchemeClicked(); });

    m_tickets = new QListWidget(page);
    m_tickets->setObjectName(QStringLiteral("SzelvenyBox"));
    for (const char* name : kTicketKindNames) {
        m_tickets->addItem(Q(name));
    }
    // All six tickets at once, without a scroll bar.
    m_tickets->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tickets->setFixedHeight(m_tickets->sizeHintForRow(0) * kTicketKindCount +
                              2 * m_tickets->frameWidth() + 2);
    auto* tickets = new QVBoxLayout;
    tickets->addWidget(AddLabel("Szelvény", m_tickets, page));
    tickets->addWidget(m_tickets);
    layout->addLayout(tickets, 1, 0, 1, 2);
    connect(m_tickets, &QListWidget::currentRowChanged, this, &TBeallitasok::OnTicketChosen);

    auto* colourBox = new QGridLayout;
    m_elements = new QComboBox(page);
    m_elements->setObjectName(QStringLiteral("NevCombo"));
    for (const char* name : kElementNames) {
        m_elements->addItem(Q(name));
    }
    m_colours = new QComboBox(page);
    m_colours->setObjectName(QStringLiteral("BoxColor"));
    for (const BasicColour& colour : kBasicColours) {
        m_colours->addItem(Swatch(colour.value), Q(colour.name), colour.value);
    }
    m_moreColours = new QPushButton(Q("»"), page);
    m_moreColours->setObjectName(QStringLiteral("SpeedButton4"));
    m_moreColours->setAccessibleName(Q("További színek"));
    m_moreColours->setToolTip(Q("További színek"));
    m_moreColours->setAutoDefault(false);
    m_moreColours->setFixedWidth(32);
    colourBox->addWidget(AddLabel("Elem", m_elements, page), 0, 0);
    colourBox->addWidget(m_elements, 0, 1, 1, 2);
    colourBox->addWidget(AddLabel("Szín", m_colours, page), 1, 0);
    colourBox->addWidget(m_colours, 1, 1);
    colourBox->addWidget(m_moreColours, 1, 2);
    colourBox->setColumnStretch(1, 1);
    layout->addLayout(colourBox, 2, 0, 1, 2);
    connect(m_elements, &QComboBox::currentIndexChanged, this, &TBeallitasok::OnElementChosen);
    connect(m_colours, &QComboBox::currentIndexChanged, this, &TBeallitasok::OnColourChosen);
    connect(m_moreColours, &QPushButton::clicked, this, &TBeallitasok::OnMoreColours);

    auto* sizes = new QHBoxLayout;
    m_boxSize = new QSpinBox(page);
    m_boxSize->setObjectName(QStringLiteral("SzelvenyMereteEdit"));
    m_boxSize->setRange(kDefaultBoxSize, 38);
    m_numberSize = new QSpinBox(page);
    m_numberSize->setObjectName(QStringLiteral("SzamMereteEdit"));
    m_numberSize->setRange(kDefaultNumberSize, 12);
    sizes->addWidget(AddLabel("Box", m_boxSize, page));
    sizes->addWidget(m_boxSize);
    sizes->addSpacing(16);
    sizes->addWidget(AddLabel("Szám", m_numberSize, page));
    sizes->addWidget(m_numberSize);
    sizes->addStretch();
    layout->addLayout(sizes, 3, 0, 1, 2);
    connect(m_boxSize, &QSpinBox::valueChanged, this, &TBeallitasok::OnSizeChanged);
    connect(m_numberSize, &QSpinBox::valueChanged, this, &TBeallitasok::OnSizeChanged);

    auto* sampleBox = new QGroupBox(Q("Minta"), page);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    m_sample = new TicketSample(sampleBox);
    sampleLayout->addWidget(m_sample);
    layout->addWidget(sampleBox, 4, 0, 1, 2);
    return page;
}

QWidget* TBeallitasok::BuildVariationPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox(Q("A variáció legnagyobb mérete"), page);
    auto* groupLayout = new QVBoxLayout(group);
    m_largest = new QSlider(Qt::Horizontal, group);
    m_largest->setObjectName(QStringLiteral("BontMaxMereteTB"));
    m_largest->setAccessibleName(group->title());
    m_largest->setSingleStep(1);
    m_largest->setPageStep(10);
    m_largest->setFocusPolicy(Qt::StrongFocus);
    m_largestText = new QLabel(group);
    m_largestText->setObjectName(QStringLiteral("BontMaxMereteLabel"));
    m_largestText->setAlignment(Qt::AlignRight);
    m_memoryWarning = new QLabel(Q("Figyelmeztetés!"), group);
    m_memoryWarning->setObjectName(QStringLiteral("MemoriaFigyelmeztetes"));
    m_memoryWarning->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold;"));
    m_memoryWarning->setToolTip(
        Q("A variáció ekkora mérete meghaladja a szabad memóriát: a program a virtuális "
          "memóriát is használja, ami lassítja a variáció készítését."));
    groupLayout->addWidget(m_largest);
    groupLayout->addWidget(m_largestText);
    groupLayout->addWidget(m_memoryWarning);
    layout->addWidget(group);
    layout->addStretch();
    connect(m_largest, &QSlider::valueChanged, this, &TBeallitasok::OnBarMoved);
    return page;
}

// --- Loading and applying ----------------------------------------------------------------------

void TBeallitasok::BeallitasokStart(const GameInfo& game) {
    Load(game);
    exec();
}

void TBeallitasok::Load(const GameInfo& game) {
    m_loading = true;
    m_game = game;
    m_fullVariation = CombinationCount(game.maxNumber, game.rowLength);
    m_appearance = m_settings.appearance;
    m_prices = m_settings.prices;

    m_approve->setChecked(m_settings.approve);
    m_saveOnExit->setChecked(m_settings.saveOnExit);
    m_hints->setChecked(m_settings.hints);
    m_info->setChecked(m_settings.info);
    // Unticked at every opening: an unrelated change must not bring back the notices the user
    // asked not to see again.
    m_allNotices->setChecked(false);
    UpdateNoticeSwitch();
    m_backupKind->setChecked(m_settings.backupKind != "tip");
    m_newVersion->setChecked(m_settings.searchNewVersion);
    m_host->setText(ToQt(m_settings.downloadHost));
    m_operator->setText(ToQt(m_settings.operatorAddress));
    m_shownCurrency = std::clamp(m_settings.currency, 0, kCurrencyCount - 1);
    m_currency->setCurrentIndex(m_shownCurrency);
    ShowPrice();
    m_printerSetup->setEnabled(!QPrinterInfo::availablePrinters().isEmpty());

    (m_settings.scheme == 1 ? m_favouriteScheme : m_defaultScheme)->setChecked(true);
    m_tickets->setCurrentRow(0);
    m_element = 0;
    m_elements->setCurrentIndex(0);

    // A game too small for the least largest variation shows its whole size and keeps the
    // setting as it is.
    const long long steps = (m_fullVariation + kVariationStep - 1) / kVariationStep;
    const int last = static_cast<int>(std::max(1LL, steps));
    m_largest->setRange(1, last);
    m_largest->setEnabled(m_fullVariation > kVariationStep);
    const long long setting = m_settings.largestVariation;
    m_largest->setValue(
        setting >= m_fullVariation
            ? last
            : static_cast<int>(std::clamp((setting + kVariationStep / 2) / kVariationStep, 1LL,
                                          static_cast<long long>(last))));
    m_loading = false;
    OnBarMoved(m_largest->value());
    ShowTicket();
    m_pages->setCurrentIndex(0);
}

void TBeallitasok::Apply() {
    CommitPrice();
    if (m_largest->isEnabled()) {
        m_settings.largestVariation = LargestVariation();
    }
    if (m_allNotices->isEnabled() && m_allNotices->isChecked()) {
        UzenetekLogAllapot(m_settings, true, false);
    }
    m_settings.info = m_info->isChecked();
    m_settings.approve = m_approve->isChecked();
    m_settings.searchNewVersion = m_newVersion->isChecked();
    m_settings.downloadHost = FromQt(m_host->text().trimmed());
    // The operator's address cannot be emptied: an empty field means the default one.
    const QString operatorAddress = m_operator->text().trimmed();
    m_settings.operatorAddress =
        operatorAddress.isEmpty() ? kDefaultOperatorAddress : FromQt(operatorAddress);
    m_settings.backupKind = m_backupKind->isChecked() ? "top" : "tip";
    m_settings.saveOnExit = m_saveOnExit->isChecked();
    m_settings.hints = m_hints->isChecked();
    m_settings.scheme = Scheme();
    m_settings.appearance = m_appearance;
    m_settings.currency = m_currency->currentIndex();
    m_settings.prices = m_prices;
    UpdateNoticeSwitch();
    emit applied();
}

bool TBeallitasok::Save() {
    Apply();
    QuietMessages quiet;
    if (!WriteSettings(m_folders, m_settings, quiet)) {
        m_messages.Error("Nem sikerült elmenteni a beállításokat.");
        return false;
    }
    m_messages.Information("Beállítások elmentve.");
    return true;
}

void TBeallitasok::UpdateNoticeSwitch() {
    m_allNotices->setEnabled(!UzenetekLogAllapot(m_settings, false, true));
}

void TBeallitasok::OnApprovalToggled(bool on) {
    if (!on && !m_loading && isVisible()) {
        m_messages.Warning(kApprovalWarning);
    }
}

void TBeallitasok::PrinterSetup() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        return;
    }
    // Kept for the run, so that the setup is there the next time the dialog opens.
    if (m_printer == nullptr) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

// --- Price -------------------------------------------------------------------------------------

void TBeallitasok::ShowPrice() {
    m_price->setText(PriceText(m_prices[static_cast<std::size_t>(m_shownCurrency)]));
}

bool TBeallitasok::CommitPrice() {
    const double stored = m_prices[static_cast<std::size_t>(m_shownCurrency)];
    if (m_committing || m_price->text() == PriceText(stored)) {
        return true;
    }
    double value = 0;
    if (!ParseReal(FromQt(m_price->text()), value) || value < kLeastPrice ||
        value > kGreatestPrice) {
        // The message box takes the focus, which must not finish the edit a second time.
        m_committing = true;
        m_messages.RangeError("Szelvény ára", "0,1", "999 999");
        m_committing = false;
        ShowPrice();
        return false;
    }
    m_prices[static_cast<std::size_t>(m_shownCurrency)] = std::round(value * 100) / 100;
    return true;
}

void TBeallitasok::OnCurrencyChanged(int currency) {
    if (m_loading || currency < 0) {
        return;
    }
    CommitPrice();
    m_shownCurrency = currency;
    ShowPrice();
}

// --- Ticket colours and sizes ------------------------------------------------------------------

int TBeallitasok::ElementSlot(int element) {
    if (element == 0) {
        return kSlotBackground;
    }
    if (element <= 2) {
        return element + 1;
    }
    if (element == 3) {
        return element + 2;
    }
    return element + 3;
}

bool TBeallitasok::TicketUsesElement(int kind, int element) {
    if (kind < 0 || kind >= kTicketKindCount || element < 0 || element >= kElementCount) {
        return false;
    }
    return kUsedElements[static_cast<std::size_t>(kind)][static_cast<std::size_t>(element)];
}

int TBeallitasok::Kind() const {
    return std::max(0, m_tickets->currentRow());
}

int TBeallitasok::Scheme() const {
    return m_favouriteScheme->isChecked() ? 1 : 0;
}

std::int32_t& TBeallitasok::WorkingSlot(int slot) {
    return m_appearance[static_cast<std::size_t>(Kind())]
                       [static_cast<std::size_t>(kAppearanceSlots + slot)];
}

std::int32_t TBeallitasok::ShownSlot(int slot) const {
    const int scheme = Scheme();
    if (scheme == 0 && slot == kSlotBoxSize) {
        return kDefaultBoxSize;
    }
    if (scheme == 0 && slot == kSlotNumberSize) {
        return kDefaultNumberSize;
    }
    return AppearanceValue(m_appearance, Kind(), scheme, slot);
}

void TBeallitasok::ShowTicket() {
    const bool favourite = Scheme() == 1;
    const bool loading = m_loading;
    m_loading = true;
    m_boxSize->setValue(ShownSlot(kSlotBoxSize));
    m_numberSize->setValue(ShownSlot(kSlotNumberSize));
    m_loading = loading;
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_colours, m_moreColours, m_boxSize, m_numberSize}) {
        control->setEnabled(favourite);
    }
    ShowColour();
    ShowSample();
}

void TBeallitasok::ShowColour() {
    const std::int32_t value = ShownSlot(ElementSlot(m_element));
    const bool loading = m_loading;
    m_loading = true;
    int index = m_colours->findData(value);
    if (index < 0 || index >= static_cast<int>(kBasicColours.size())) {
        // A colour outside the basic ones gets the one extra entry of the list.
        if (m_colours->count() == static_cast<int>(kBasicColours.size())) {
            m_colours->addItem(QString());
        }
        index = m_colours->count() - 1;
        m_colours->setItemText(index, IsSystemColour(value) ? Q("rendszerszín") : Q("egyéni"));
        m_colours->setItemIcon(index, Swatch(value));
        m_colours->setItemData(index, value);
    }
    m_colours->setCurrentIndex(index);
    m_loading = loading;
}

void TBeallitasok::ShowSample() {
    TicketSample::Slots slotValues{};
    for (int slot = 0; slot < kAppearanceSlots; ++slot) {
        slotValues[static_cast<std::size_t>(slot)] = ShownSlot(slot);
    }
    const int kind = Kind();
    std::array<bool, 4> numberKinds{};
    for (std::size_t i = 0; i < numberKinds.size(); ++i) {
        numberKinds[i] = TicketUsesElement(kind, kElementFixed + static_cast<int>(i));
    }
    m_sample->SetLook(slotValues, numberKinds, TicketUsesElement(kind, kElementReportPanel),
                      TicketUsesElement(kind, kElementMarkedNumber) ? kSlotMarkedNumber
                                                                    : kSlotNumber);
}

void TBeallitasok::OnSchemeClicked() {
    ShowTicket();
}

void TBeallitasok::OnTicketChosen(int kind) {
    if (m_loading || kind < 0) {
        return;
    }
    if (!TicketUsesElement(kind, m_element)) {
        m_messages.Information(
            std::string(kTicketKindNames[static_cast<std::size_t>(kind)]) +
            "en nem értelmezett: " + kElementNames[static_cast<std::size_t>(m_element)] + ".");
        m_element = 0;
        const bool loading = m_loading;
        m_loading = true;
        m_elements->setCurrentIndex(m_element);
        m_loading = loading;
    }
    ShowTicket();
}

void TBeallitasok::OnElementChosen(int element) {
    if (m_loading || element < 0) {
        return;
    }
    const int kind = Kind();
    if (!TicketUsesElement(kind, element)) {
        m_messages.Information(
            std::string(kTicketKindNames[static_cast<std::size_t>(kind)]) +
            "en nem értelmezett: " + kElementNames[static_cast<std::size_t>(element)] + ".");
        m_loading = true;
        m_elements->setCurrentIndex(m_element);
        m_loading = false;
        return;
    }
    m_element = element;
    ShowColour();
}

void TBeallitasok::OnColourChosen(int index) {
    if (m_loading || index < 0 || Scheme() == 0) {
        return;
    }
    WorkingSlot(ElementSlot(m_element)) = m_colours->itemData(index).toInt();
    ShowSample();
}

void TBeallitasok::OnMoreColours() {
    if (Scheme() == 0) {
        return;
    }
    const QColor current = AppearanceColour(ShownSlot(ElementSlot(m_element)));
    const std::optional<QColor> chosen =
        chooseColour ? chooseColour(current) : [this, &current]() -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(current, this, Q("  Szín választása"));
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    }();
    if (!chosen || !chosen->isValid()) {
        return;
    }
    WorkingSlot(ElementSlot(m_element)) = ToAppearance(*chosen);
    ShowColour();
    ShowSample();
}

void TBeallitasok::OnSizeChanged() {
    if (m_loading || Scheme() == 0) {
        return;
    }
    WorkingSlot(kSlotBoxSize) = m_boxSize->value();
    WorkingSlot(kSlotNumberSize) = m_numberSize->value();
    ShowSample();
}

// --- Largest variation -------------------------------------------------------------------------

long long TBeallitasok::LargestVariation() const {
    const int position = m_largest->value();
    if (position >= m_largest->maximum()) {
        return m_fullVariation;
    }
    return std::min(static_cast<long long>(position) * kVariationStep, m_fullVariation);
}

void TBeallitasok::OnBarMoved(int /*position*/) {
    if (m_loading) {
        return;
    }
    const long long rows = LargestVariation();
    m_largestText->setText(ToQt(FormatThousands(rows) + " számsor."));
    // Above the optimal size the engine will not take the rows asked for.
    const auto free = AvailableMemoryBytes();
    m_memoryWarning->setVisible(free.has_value() &&
                                rows > OptimalVariationRows(*free, m_game.rowLength));
}

} // namespace velmora
