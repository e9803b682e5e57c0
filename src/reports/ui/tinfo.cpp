#include "reports/ui/tinfo.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "common/file_io.h"
#include "reports/condition_report.h"
#include "reports/rtf_writer.h"
#include "reports/ui/report_output.h"
#include "session/minimise_variation.h"
#include "session/report_input.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

TInfo::TInfo(Session& session, QWidget* parent) : QDialog(parent, Qt::Window), m_session(session) {
    setObjectName(QStringLiteral("TInfo"));
    setWindowTitle(Q("  Információk a variációról"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("report"));
    m_text->setAccessibleName(Q("Információk a variációról"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_text->setFont(font);
    m_text->document()->setDocumentMargin(10);
    m_bound = new QLabel(this);
    m_bound->setObjectName(QStringLiteral("boundLabel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bound);
    auto* buttons = new QHBoxLayout;
    const auto add = [this, buttons](const char* text, const char* name) {
        auto* button = new QPushButton(Q(text), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        return button;
    };
    QPushButton* exit = add("Kilépés", "KilepesGomb");
    QPushButton* print = add("Nyomtatás", "NyomtatasGomb");
    m_test = add("Teszt", "TesztGomb");
    QPushButton* diagram = add("Diagram", "DiagramGomb");
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    connect(print, &QPushButton::clicked, this, &TInfo::NyomtatasGombClick);
    connect(m_test, &QPushButton::clicked, this, &TInfo::testRequested);
    connect(diagram, &QPushButton::clicked, this, &TInfo::statisticsRequested);
    resize(760, 620);
}

void TInfo::Start() {
    const std::vector<std::string> lines = ConditionReport(ReportInputOf(m_session));
    m_text->setPlainText(ToQt(PlainText(lines)));
    m_test->setEnabled(m_session.Variation().Exists());
    const std::string bound = LowerBoundText(m_session.Variation());
    m_bound->setText(ToQt(bound));
    m_bound->setVisible(!bound.empty());
    show();
    raise();
}

void TInfo::Clear() {
    m_text->clear();
    close();
}

QString TInfo::Text() const {
    return m_text->toPlainText();
}

bool TInfo::PrintToFile() {
    const std::string path = m_session.Folders().list + "infolist.rtf";
    // The file is written in 8 points, as the report's file form is.
    if (!WriteReportFile(m_session.GetMessages(), path, ConditionReport(ReportInputOf(m_session)),
                         8)) {
        return false;
    }
    if (openFile) {
        openFile(path);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(ToQt(path)));
    }
    return true;
}

void TInfo::NyomtatasGombClick() {
    const Answer answer = m_session.GetMessages().ThreeWayQuestion(
        "Információk nyomtatása állományba:\r\rIgen  -  állományba nyomtat\rNem  -  papírra "
        "nyomtat\rMégse  -  nem nyomtat");
    if (answer == Answer::Yes) {
        PrintToFile();
    } else if (answer == Answer::No) {
        const std::vector<std::string> lines = ConditionReport(ReportInputOf(m_session));
        if (printOnPaper) {
            printOnPaper(lines);
        } else {
            PrintReportOnPaper(this, lines, QStringLiteral("infolist"), 9);
        }
    }
}

} // namespace velmora
