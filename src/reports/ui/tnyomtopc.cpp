#include "reports/ui/tnyomtopc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "common/file_io.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kTooManyForms =
    "Több mint 100 segédsorsjegy kitöltésére tett kísérletet.\r\rAz aktuális verzió ezt nem "
    "teszi lehetővé.\r\rJavaslat:\r- Használja a \"Nyomtatási tartomány\" beállításának "
    "lehetőségét.\r  Nyomtatandó oldalak (segédsorsjegyek) száma: 1-30-ig, 31-60-ig stb.";
const char* const kManyForms =
    "Több mint 30 segédsorsjegy kitöltésére készül.\r\rJavaslat:\r- Ellenőrizze a nyomtató "
    "tálcájába helyezett segédsorsjegyek számát, pozícióját.\r- Használja a \"Nyomtatási "
    "tartomány\" beállításának lehetőségét. Nyomtatandó oldalak (segédsorsjegyek) száma: "
    "1-30-ig, 31-60-ig stb.\r\rMégis folytatja a nyomtatást?";

} // namespace

TNyomtOpc::TNyomtOpc(Messages& messages, QWidget* parent) : QDialog(parent), m_messages(messages) {
    setObjectName(QStringLiteral("TNyomtOpc"));
    auto* layout = new QVBoxLayout(this);
    auto* joker = new QGroupBox(Q("Joker"), this);
    auto* jokerLayout = new QHBoxLayout(joker);
    auto* jokerGroup = new QButtonGroup(this);
    const char* const jokerTexts[] = {" Igen", " Nem", " Jelöletlen"};
    for (int i = 0; i < 3; ++i) {
        m_jokers[i] = new QRadioButton(Q(jokerTexts[i]), joker);
        m_jokers[i]->setObjectName(QStringLiteral("joker%1").arg(i));
        jokerGroup->addButton(m_jokers[i], i);
        jokerLayout->addWidget(m_jokers[i]);
    }
    m_jokers[1]->setChecked(true);
    layout->addWidget(joker);
    m_numbering = new QCheckBox(Q("Segédsorsjegyek sorszámozása"), this);
    m_numbering->setObjectName(QStringLiteral("numbering"));
    m_numbering->setChecked(true);
    layout->addWidget(m_numbering);
    m_fiveWeeks = new QCheckBox(Q(" 5 hetes szelvény"), this);
    m_fiveWeeks->setObjectName(QStringLiteral("fiveWeeks"));
    layout->addWidget(m_fiveWeeks);
    m_extraJoker = new QCheckBox(Q(" További Joker játék"), this);
    m_extraJoker->setObjectName(QStringLiteral("extraJoker"));
    layout->addWidget(m_extraJoker);
    auto* form = new QFormLayout;
    m_stake = new QSpinBox(this);
    m_stake->setObjectName(QStringLiteral("stake"));
    m_stake->setRange(1, 5);
    m_draws = new QSpinBox(this);
    m_draws->setObjectName(QStringLiteral("draws"));
    m_draws->setRange(1, 14);
    m_from = new QSpinBox(this);
    m_from->setObjectName(QStringLiteral("fromForm"));
    m_to = new QSpinBox(this);
    m_to->setObjectName(QStringLiteral("toForm"));
    form->addRow(Q("Tét "), m_stake);
    form->addRow(Q("Sorsolások száma "), m_draws);
    form->addRow(Q("Első segédsorsjegy"), m_from);
    form->addRow(Q("Utolsó segédsorsjegy"), m_to);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    const auto add = [this, buttons](const char* text, const char* name) {
        auto* button = new QPushButton(Q(text), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        return button;
    };
    QPushButton* print = add("Nyomtatás", "NyomtatasGomb");
    QPushButton* test = add("Tesztoldal nyomtatása", "TesztoldalGomb");
    QPushButton* pdf = add("PDF...", "PdfGomb");
    QPushButton* cancel = add("Mégse", "MegseGomb");
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, [this] { Print(false); });
    connect(test, &QPushButton::clicked, this, [this] { Print(true); });
    connect(pdf, &QPushButton::clicked, this, [this] {
        const std::string path = ChoosePdfPath();
        if (!path.empty() && SavePdf(path)) {
            accept();
        }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(jokerGroup, &QButtonGroup::idClicked, this, [this](int id) {
        const bool yes = id == static_cast<int>(Joker::Yes) && !m_game.isKeno;
        m_extraJoker->setEnabled(yes);
        if (!yes) {
            m_extraJoker->setChecked(false);
        }
    });
    connect(m_draws, &QSpinBox::editingFinished, this, &TNyomtOpc::DrawsEdited);
    connect(m_from, &QSpinBox::valueChanged, this, [this](int from) { m_to->setMinimum(from); });
}

QRadioButton* TNyomtOpc::JokerButton(Joker joker) const {
    return m_jokers[static_cast<int>(joker)];
}

std::string TNyomtOpc::ChoosePdfPath() {
    if (choosePdf) {
        return choosePdf();
    }
    const QString suggested = ToQt(pdfFolder) + QStringLiteral("szelvenyek.pdf");
    return QFileDialog::getSaveFileName(this, Q("  Szelvények mentése"), suggested,
                                        Q("PDF (*.pdf)"))
        .toStdString();
}

void TNyomtOpc::DrawsEdited() {
    m_draws->setValue(CorrectedDrawCount(m_draws->value()));
}

void TNyomtOpc::Prepare(const GameInfo& game, std::vector<std::vector<int>> rows) {
    const bool newGame = game.gameId != m_game.gameId || m_rows.empty();
    m_game = game;
    m_rows = std::move(rows);
    setWindowTitle(ToQt(GameName(game.gameId) + " - normál szelvény kitöltése"));
    const int forms =
        static_cast<int>(SlipCount(game.gameId, static_cast<long long>(m_rows.size())));
    m_from->setRange(1, std::max(forms, 1));
    m_to->setRange(1, std::max(forms, 1));
    // The range is all forms the first time, and whenever the variation changed.
    if (newGame || m_to->value() > forms) {
        m_from->setValue(1);
        m_to->setValue(forms);
    }
    m_stake->setEnabled(game.isKeno);
    m_draws->setEnabled(game.isKeno);
    m_fiveWeeks->setEnabled(!game.isKeno);
    for (QRadioButton* button : m_jokers) {
        button->setEnabled(!game.isKeno);
    }
    m_extraJoker->setEnabled(!game.isKeno && m_jokers[0]->isChecked());
}

SlipOptions TNyomtOpc::Options() const {
    SlipOptions options;
    options.joker = m_jokers[0]->isChecked()   ? Joker::Yes
                    : m_jokers[1]->isChecked() ? Joker::No
                                               : Joker::Unmarked;
    options.numbering = m_numbering->isChecked();
    options.stake = m_stake->value();
    options.draws = CorrectedDrawCount(m_draws->value());
    options.fiveWeeks = m_fiveWeeks->isChecked() && !m_game.isKeno;
    options.extraJoker = m_extraJoker->isChecked() && options.joker == Joker::Yes;
    return options;
}

bool TNyomtOpc::ChosenForms(std::vector<SlipPage>& pages, bool testPage) {
    const int from = testPage ? 1 : m_from->value();
    const int to = testPage ? 1 : m_to->value();
    const int count = to - from + 1;
    if (count > kMaxSlipForms) {
        m_messages.Error(kTooManyForms);
        return false;
    }
    if (count > kSlipFormsWarning && !m_messages.WarningQuestion(kManyForms)) {
        m_from->setFocus();
        return false;
    }
    pages.clear();
    const SlipOptions options = Options();
    for (int form = from; form <= to; ++form) {
        pages.push_back(SlipForm(m_game, m_rows, form, options));
    }
    return true;
}

bool TNyomtOpc::SavePdf(const std::string& path, bool testPage) {
    std::vector<SlipPage> pages;
    if (!ChosenForms(pages, testPage)) {
        return false;
    }
    if (!ReplaceFile(path, SlipsPdf(pages))) {
        m_messages.Error("Az állomány létrehozása nem sikerült:\r\r" + path);
        return false;
    }
    return true;
}

bool TNyomtOpc::PaintForms(QPrinter& printer, const std::vector<SlipPage>& pages) {
    const QRectF paper = printer.paperRect(QPrinter::Millimeter);
    if (paper.width() < kSlipWidthMm || paper.height() < kSlipHeightMm) {
        m_messages.Error("A nyomtató beállítása szerinti lapméret kisebb mint a segédsorsjegy "
                         "mérete.\r\rA nyomtatási oldal (lapméret) minimális méretei:\r   - "
                         "szélesség: 170 mm\r   - magasság: 115 mm");
        return false;
    }
    // The printer cannot reach the paper's edge: its physical margins must leave room for
    // the first column and line of the forms.
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF physical = layout.minimumMargins();
    if (physical.left() > 22 - kSlipPitchMm || physical.top() > 15 - kSlipPitchMm) {
        m_messages.Error(
            "A (kiválasztott) nyomtató nem alkalmas a segédsorsjegyek kitöltésére.\r\rOka: a "
            "nyomtató fizikai margói nem teszik ezt lehetővé.\r\rFizikai margók: a lap szélétól "
            "mért távolságok, melyeken belül a nyomtató nem képes írni.\r\rMegoldás: válasszon "
            "ki a telepített nyomtatók listájából egy másikat, vagy állítson rendszerbe egy új, "
            "erre a célra is alkalmas nyomtatót.");
        return false;
    }
    // Millimetres from the sheet's corner, less the offset of the painter's origin (the
    // printable area's corner unless the printer paints the full page), in device dots.
    const QRectF printable = printer.pageRect(QPrinter::Millimeter);
    const double dpiX = printer.logicalDpiX();
    const double dpiY = printer.logicalDpiY();
    const auto deviceX = [&](double mm) {
        return std::round(mm * dpiX / 25.4) - std::round(printable.left() * dpiX / 25.4);
    };
    const auto deviceY = [&](double mm) {
        return std::round(mm * dpiY / 25.4) - std::round(printable.top() * dpiY / 25.4);
    };
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) {
            printer.newPage();
        }
        for (const SlipMark& mark : pages[p].marks) {
            // The "x" centred on the mark.
            const QRectF box = metrics.tightBoundingRect(QStringLiteral("x"));
            painter.drawText(
                QPointF(deviceX(mark.x) - box.center().x(), deviceY(mark.y) - box.center().y()),
                QStringLiteral("x"));
        }
        if (!pages[p].serial.empty()) {
            painter.drawText(QPointF(deviceX(pages[p].serialX), deviceY(pages[p].serialY)),
                             ToQt(pages[p].serial));
        }
    }
    return painter.end();
}

void TNyomtOpc::Print(bool testPage) {
    std::vector<SlipPage> pages;
    if (!ChosenForms(pages, testPage)) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer to fill the slips: the preview, then a PDF of them.
        m_messages.Warning("Nincs alapértelmezett nyomtató.\r\rA szelvények PDF állományba "
                           "menthetők.");
        const std::string path = ChoosePdfPath();
        if (path.empty()) {
            return;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ToQt(path));
        printer.setPageSize(QPageSize(QPageSize::A4));
    } else {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    const bool toPdf = printer.outputFormat() == QPrinter::PdfFormat;
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("preview"));
    bool painted = false;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter* target) { painted = PaintForms(*target, pages); });
    if (preview.exec() != QDialog::Accepted || !painted) {
        return;
    }
    // The preview's own print has gone to the printer; a PDF is written once it is accepted.
    if (toPdf && !PaintForms(printer, pages)) {
        return;
    }
    accept();
}

} // namespace velmora
