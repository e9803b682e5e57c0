#include "reports/ui/report_output.h"

#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "common/file_io.h"
#include "reports/rtf_writer.h"
#include "ticket/qt_colours.h"

namespace velmora {

bool WriteReportFile(Messages& messages, const std::string& path,
                     const std::vector<std::string>& lines, int pointSize) {
    if (!ReplaceFile(path, RtfDocument(lines, pointSize))) {
        messages.Error("Az állomány létrehozása nem sikerült:\r\r" + path);
        return false;
    }
    return true;
}

void PrintReportOnPaper(QWidget* parent, const std::vector<std::string>& lines,
                        const QString& documentName, int pointSize) {
    QPrinter printer;
    printer.setDocName(documentName);
    // 0.6 inch on every side.
    printer.setPageMargins(QMarginsF(15.24, 15.24, 15.24, 15.24), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QTextDocument document;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    document.setDefaultFont(font);
    document.setPlainText(ToQt(PlainText(lines)));
    document.print(&printer);
}

} // namespace velmora
