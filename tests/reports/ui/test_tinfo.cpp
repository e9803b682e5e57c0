// The variation information window opened from the main window, offscreen.

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QCheckBox>
#include <QUrl>
#include <QtTest>

#include "common/file_io.h"
#include "reports/ui/tinfo.h"
#include "reports/ui/tnyomtopc.h"
#include "support/pdf_ink.h"
#include "support/slip_samples.h"
#include "support/temp_home.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"

using namespace velmora;
using namespace velmora::testing;

class TInfoTest : public QObject {
    Q_OBJECT
private slots:
    void theReportIsShownAndPrinted();
    void slipsAreFilledFromTheVariation();
    void paintedFormsPutTheInkAtTheMarks();
};

void TInfoTest::theReportIsShownAndPrinted() {
    SessionParts f(7);
    TFoablak window(f.session, {});
    window.show();
    QAction* information = Action(window, "actionInformation");
    QVERIFY(!information->isEnabled());
    MarkRange(window, 1, 7);
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    QVERIFY(information->isEnabled());
    information->trigger();
    TInfo& info = *window.InfoWindow();
    QVERIFY(info.isVisible());
    QCOMPARE(info.windowTitle(), QStringLiteral("  Információk a variációról"));
    QVERIFY(info.Text().contains(QStringLiteral("Variáció költsége: 4 725 forint")));
    QVERIFY(info.Text().contains(QStringLiteral("  Nincs kijelölt feltétel.")));
    QVERIFY(Child<QPushButton>(info, "TesztGomb")->isEnabled());

    // "Nyomtatás": Yes writes infolist.rtf and opens it, No prints, Cancel does nothing.
    std::string opened;
    int printed = 0;
    info.openFile = [&opened](const std::string& path) { opened = path; };
    info.printOnPaper = [&printed](const std::vector<std::string>& lines) {
        printed += lines.empty() ? 0 : 1;
    };
    f.messages.QueueAnswer(Answer::Yes);
    info.NyomtatasGombClick();
    QCOMPARE(f.messages.LastText(), "Információk nyomtatása állományba:\r\rIgen  -  állományba "
                                    "nyomtat\rNem  -  papírra nyomtat\rMégse  -  nem nyomtat");
    const std::string path = f.session.Folders().list + "infolist.rtf";
    QCOMPARE(opened, path);
    std::vector<std::uint8_t> rtf;
    QVERIFY(ReadFileBytes(path, 1 << 20, rtf));
    QVERIFY(std::string(rtf.begin(), rtf.end()).starts_with("{\\rtf1"));
    f.messages.QueueAnswer(Answer::No);
    info.NyomtatasGombClick();
    QCOMPARE(printed, 1);
    f.messages.QueueAnswer(Answer::Cancel);
    info.NyomtatasGombClick();
    QCOMPARE(printed, 1);

    // The variation's list report goes to "bontlist.rtf", which is then opened.
    QUrl openedList;
    window.openAddress = [&openedList](const QUrl& address) { openedList = address; };
    Action(window, "actionPrintRowsToFile")->trigger();
    const std::string listPath = f.session.Folders().list + "bontlist.rtf";
    QCOMPARE(openedList, QUrl::fromLocalFile(QString::fromStdString(listPath)));
    std::vector<std::uint8_t> listRtf;
    QVERIFY(ReadFileBytes(listPath, 1 << 20, listRtf));
    QVERIFY(std::string(listRtf.begin(), listRtf.end())
                .find("7 sz\\'e1m vari\\'e1ci\\'f3ja 21 "
                      "sz\\'e1msorra") != std::string::npos);

    const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QVERIFY(info.grab().save(shots + QStringLiteral("/informaciok.png")));
    }
    // The variation deleted, its information goes.
    f.messages.QueueAnswer(Answer::Yes);
    Action(window, "actionDeleteVariation")->trigger();
    QVERIFY(!info.isVisible());
    QVERIFY(info.Text().isEmpty());
}

// 21 rows of a 5/90 variation: four forms. The options follow the game; the forms go to a PDF,
// and painted on a printer of too small a sheet they are refused.
void TInfoTest::slipsAreFilledFromTheVariation() {
    SessionParts f(8);
    TFoablak window(f.session, {});
    window.show();
    MarkRange(window, 1, 7);
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    TempHome out;
    const std::string pdf = out.Path() + "slips.pdf";
    QVERIFY(WhileModal<TNyomtOpc>(
        &window, [&] { Action(window, "actionFillSlips")->trigger(); },
        [&](TNyomtOpc& dialog) {
            QCOMPARE(dialog.windowTitle(),
                     QStringLiteral("Magyar 5/90 lottó - normál szelvény kitöltése"));
            QCOMPARE(dialog.FromField()->value(), 1);
            QCOMPARE(dialog.ToField()->value(), 4);
            QVERIFY(!dialog.DrawsField()->isEnabled());
            QVERIFY(dialog.FiveWeeksBox()->isEnabled());
            QVERIFY(!dialog.ExtraJokerBox()->isEnabled());
            dialog.JokerButton(Joker::Yes)->click();
            QVERIFY(dialog.ExtraJokerBox()->isEnabled());
            dialog.JokerButton(Joker::Unmarked)->click();
            QVERIFY(!dialog.ExtraJokerBox()->isEnabled());

            std::vector<SlipPage> pages;
            QVERIFY(dialog.ChosenForms(pages, false));
            QCOMPARE(pages.size(), std::size_t{4});
            QCOMPARE(pages.back().serial, std::string("4. \\ 19.  -  21."));
            QPrinter small;
            small.setOutputFormat(QPrinter::PdfFormat);
            small.setOutputFileName(QString::fromStdString(out.Path() + "small.pdf"));
            small.setPageSize(QPageSize(QPageSize::A6));
            QVERIFY(!dialog.PaintForms(small, pages));
            QVERIFY(f.messages.LastText().starts_with("A nyomtató beállítása szerinti lapméret"));
            QPrinter a4;
            a4.setOutputFormat(QPrinter::PdfFormat);
            // With VELMORA_SCREENSHOTS set, the printed forms are kept there to look at.
            const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
            a4.setOutputFileName(shots.isEmpty() ? QString::fromStdString(out.Path() + "a4.pdf")
                                                 : shots + QStringLiteral("/szelvenyek_a4.pdf"));
            a4.setPageSize(QPageSize(QPageSize::A4));
            a4.setFullPage(true);
            QVERIFY(dialog.PaintForms(a4, pages));

            // Without a printer the preview shows the forms, which then go to a PDF.
            const std::string printed = out.Path() + "printed.pdf";
            dialog.choosePdf = [&printed] { return printed; };
            bool previewed = false;
            WhenModal<QPrintPreviewDialog>(&window, [&](QPrintPreviewDialog& preview) {
                previewed = true;
                const QString shotFolder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
                if (!shotFolder.isEmpty()) {
                    preview.resize(900, 700);
                    QCoreApplication::processEvents();
                    QVERIFY(preview.grab().save(shotFolder + QStringLiteral("/elonezet.png")));
                }
                preview.accept();
            });
            dialog.Print(false);
            QVERIFY(previewed);
            QCOMPARE(f.messages.LastText(),
                     "Nincs alapértelmezett nyomtató.\r\rA szelvények PDF állományba menthetők.");
            std::vector<std::uint8_t> printedBytes;
            QVERIFY(ReadFileBytes(printed, 1 << 22, printedBytes));
            QVERIFY(std::string(printedBytes.begin(), printedBytes.end()).starts_with("%PDF"));

            dialog.choosePdf = [&pdf] { return pdf; };
            Child<QPushButton>(dialog, "PdfGomb")->click();
            QVERIFY(!dialog.isVisible());
        }));
    std::vector<std::uint8_t> bytes;
    QVERIFY(ReadFileBytes(pdf, 1 << 20, bytes));
    QVERIFY(std::string(bytes.begin(), bytes.end()).find("/Count 4") != std::string::npos);
}

// The printer path paints with Qt at the printer's resolution: on an A4 sheet painted whole,
// and on one whose painter starts at the printable area, every "x" of every form type lands
// with the centre of its ink within 0.2 mm of its mark (rendered at 600 dpi).
void TInfoTest::paintedFormsPutTheInkAtTheMarks() {
    SessionParts f(9);
    TNyomtOpc dialog(f.messages, nullptr);
    const std::vector<SlipPage> pages = CornerForms();
    TempHome out;
    for (const bool fullPage : {true, false}) {
        const std::string pdf = out.Path() + (fullPage ? "full.pdf" : "margins.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(fullPage);
        if (!fullPage) {
            printer.setPageMargins(QMarginsF(7, 9, 7, 9), QPageLayout::Millimeter);
        }
        QVERIFY(dialog.PaintForms(printer, pages));
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const InkPage page = RenderPdfPage(pdf, static_cast<int>(p) + 1, kSlipWidthMm,
                                               kSlipHeightMm, out.Path() + "page");
            QVERIFY2(page.width > 0, "pdftoppm renders the page");
            for (const SlipMark& mark : pages[p].marks) {
                const auto ink = InkCentre(page, {mark.x, mark.y}, 1.2);
                const QByteArray where = QStringLiteral("page %1 at %2, %3 mm, full page %4")
                                             .arg(p + 1)
                                             .arg(mark.x)
                                             .arg(mark.y)
                                             .arg(fullPage)
                                             .toUtf8();
                QVERIFY2(ink.has_value(), where.constData());
                QVERIFY2(std::abs(ink->x - mark.x) <= 0.2 && std::abs(ink->y - mark.y) <= 0.2,
                         (where + QByteArray(" ink at ") + QByteArray::number(ink->x) + ", " +
                          QByteArray::number(ink->y))
                             .constData());
            }
        }
    }
}

QTEST_MAIN(TInfoTest)
#include "test_tinfo.moc"
