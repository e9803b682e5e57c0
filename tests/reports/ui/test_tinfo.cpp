// The variation information window opened from the main window, offscreen.

#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include "common/file_io.h"
#include "reports/ui/tinfo.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"

using namespace velmora;
using namespace velmora::testing;

class TInfoTest : public QObject {
    Q_OBJECT
private slots:
    void theReportIsShownAndPrinted();
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

QTEST_MAIN(TInfoTest)
#include "test_tinfo.moc"
