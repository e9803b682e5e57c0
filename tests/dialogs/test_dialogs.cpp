// The shared dialogs: message boxes, the wait window, the about box, the file dialogs and the job
// runner that the windows of long jobs use.

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QThread>
#include <QTreeView>
#include <QtTest>

#include <atomic>
#include <stdexcept>

#include "common/file_io.h"
#include "dialogs/job_runner.h"
#include "dialogs/qt_fetcher.h"
#include "dialogs/qt_file_chooser.h"
#include "dialogs/qt_messages.h"
#include "dialogs/tnevjegy.h"
#include "dialogs/tuzenetablak.h"
#include "support/fake_messages.h"
#include "support/http_test_server.h"
#include "support/temp_home.h"

using namespace velmora;
using velmora::testing::FakeMessages;
using velmora::testing::TempHome;

namespace {

// Runs `drive` on the file dialog once it is up, then closes the dialog if `drive` left it open.
void WhenFileDialogShows(std::function<void(QFileDialog&)> drive) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, drive = std::move(drive)] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                drive(*dialog);
                if (dialog->isVisible()) {
                    dialog->reject();
                }
                return;
            }
        }
    });
    poll->start(20);
}

// Presses `button` on the next message box.
void AnswerNextBox(QMessageBox::StandardButton button, QString* caption = nullptr,
                   QString* text = nullptr, bool* defaultIsNo = nullptr) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        if (caption != nullptr) {
            *caption = box->windowTitle();
            *text = box->text();
            *defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        }
        box->button(button)->click();
    });
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxesDefaultToNo();
    void waitWindowKeepsItsFirstText();
    void aboutBox();
    void fileDialogReportsTheChosenFilter();
    void jobRunnerAsksOnTheWindowThreadAndHandsBackTheEnd();
    void fetcherKeepsItsLimitsAndStopsOnMegse();
};

void DialogsTest::messageBoxesDefaultToNo() {
    QtMessages messages;
    QString caption;
    QString text;
    bool defaultIsNo = false;
    AnswerNextBox(QMessageBox::Yes, &caption, &text, &defaultIsNo);
    QVERIFY(messages.WarningQuestion("Első sor\rMásodik sor"));
    QCOMPARE(caption, QStringLiteral(" Figyelmeztetés!"));
    QCOMPARE(text, QStringLiteral("Első sor\nMásodik sor"));
    QVERIFY(defaultIsNo);
    AnswerNextBox(QMessageBox::Cancel);
    QCOMPARE(messages.ThreeWayQuestion("Nyomtat?"), Answer::Cancel);

    // A worker thread's question waits for the user-interface thread.
    std::atomic<int> result{-1};
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = messages.Question("Folytatja?") ? 1 : 0; }));
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    clicker.start(10);
    worker->start();
    QTRY_COMPARE(result.load(), 1);
    worker->wait();

    messages.SetApprove(false);
    QVERIFY(messages.Confirm("Biztos?"));
}

void DialogsTest::waitWindowKeepsItsFirstText() {
    TUzenetAblak wait;
    wait.ShowText(QStringLiteral("Betöltés"), WaitPosition::Centre);
    wait.ShowText(QStringLiteral("Mentés"), WaitPosition::AtCursor);
    QCOMPARE(wait.Text(), QStringLiteral("Betöltés..."));
    QCOMPARE(wait.windowTitle(), QStringLiteral("Türelmét kérem..."));
    wait.HideWindow();
    QVERIFY(!wait.isVisible());
    wait.ShowText(QStringLiteral("Mentés"), WaitPosition::AtCursor);
    QCOMPARE(wait.Text(), QStringLiteral("Mentés..."));
    wait.HideWindow();

    // A disabled menu command of a disabled window stays disabled when the window is enabled
    // again.
    QWidget other;
    auto* menu = new QMenu(QStringLiteral("Variáció"), &other);
    menu->menuAction()->setEnabled(false);
    other.show();
    wait.ShowText(QStringLiteral("Betöltés"), WaitPosition::Centre);
    QVERIFY(!other.isEnabled());
    wait.HideWindow();
    QVERIFY(other.isEnabled());
    QVERIFY(!menu->menuAction()->isEnabled());
}

void DialogsTest::aboutBox() {
    TNevjegy about(nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("  Névjegy"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("versionLabel"))->text(),
             QStringLiteral("Verzió: 2.3.0.0"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("programName"))->text(),
             QStringLiteral("Velmora Personal"));
}

void DialogsTest::fileDialogReportsTheChosenFilter() {
    TempHome folder;
    QVERIFY(ReplaceFile(folder.Path() + "meglevo.top", std::string("123456789")));
    // The program runs in the Hungarian locale; the folder's sizes and dates follow it even
    // where the system speaks another language.
    const QLocale systemDefault;
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QtFileChooser chooser;
    FileDialogRequest request;
    request.title = "  Állomány betöltése";
    request.filters = {{"Számsor állománya (*.tip)", "tip"},
                       {"Variáció állománya (*.top)", "top"},
                       {"Variáció import állománya (*.csv)", "csv"}};
    request.filterIndex = 2;
    request.folder = folder.Path();

    // The dialog opens on the requested filter and folder; the file typed is the one chosen.
    QString title;
    QString filter;
    QString directory;
    WhenFileDialogShows([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filter = dialog.selectedNameFilter();
        directory = dialog.directory().absolutePath() + QLatin1Char('/');
        auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(list != nullptr);
        const auto cell = [list](int column) {
            const QAbstractItemModel* model = list->model();
            const QModelIndex file = model->index(0, 0, list->rootIndex());
            return model->index(0, column, list->rootIndex()).data().toString() +
                   (file.data().toString() == QStringLiteral("meglevo.top") ? QString()
                                                                            : QStringLiteral("?"));
        };
        QTRY_COMPARE(cell(1), QStringLiteral("9 bájt"));
        const QRegularExpression hungarianDate(
            QStringLiteral("^\\d{4}\\. \\d\\d\\. \\d\\d\\. \\d{1,2}:\\d\\d$"));
        QVERIFY2(hungarianDate.match(cell(3)).hasMatch(), qPrintable(cell(3)));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setText(QStringLiteral("meglevo.top"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    std::optional<FileChoice> choice = chooser.ChooseOpen(request);
    QCOMPARE(title, QStringLiteral("  Állomány betöltése"));
    QCOMPARE(filter, QStringLiteral("Variáció állománya (*.top)"));
    QCOMPARE(directory, QString::fromStdString(folder.Path()));
    QVERIFY(choice.has_value());
    QCOMPARE(choice->path, folder.Path() + "meglevo.top");
    QCOMPARE(choice->filterIndex, 2);

    // Saving: the user picks the first filter; a bare name gets that filter's extension.
    request.title = "  Állomány mentése";
    request.defaultExtension = "top";
    WhenFileDialogShows([](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(types != nullptr && name != nullptr);
        QCOMPARE(types->currentIndex(), 1);
        QTest::keyClick(types, Qt::Key_Up);
        name->setText(QStringLiteral("uj"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    choice = chooser.ChooseSave(request);
    QVERIFY(choice.has_value());
    QCOMPARE(choice->path, folder.Path() + "uj.tip");
    QCOMPARE(choice->filterIndex, 1);

    WhenFileDialogShows([](QFileDialog& dialog) { dialog.reject(); });
    QVERIFY(!chooser.ChooseSave(request).has_value());
    QLocale::setDefault(systemDefault);
}

void DialogsTest::jobRunnerAsksOnTheWindowThreadAndHandsBackTheEnd() {
    FakeMessages messages;
    messages.SetApprove(false);
    JobRunner runner(messages);
    QSignalSpy shown(&runner, &JobRunner::messageShown);
    QSignalSpy closed(&runner, &JobRunner::messageClosed);
    QSignalSpy ticks(&runner, &JobRunner::tick);
    Qt::HANDLE askedOn = nullptr;
    messages.onPresent = [&askedOn](const FakeMessages::Shown&) {
        askedOn = QThread::currentThreadId();
    };
    messages.QueueAnswer(Answer::Yes);

    // The job asks a question and a confirmation (answered by the "Approve" setting), works a
    // while and throws: the end comes to this thread with the exception.
    std::atomic<bool> answered{false};
    std::exception_ptr error;
    bool done = false;
    runner.Start(
        [&runner, &answered] {
            answered = runner.JobMessages().Question("Folytatja?") &&
                       runner.JobMessages().Confirm("Biztos?");
            QThread::msleep(1200);
            throw std::runtime_error("hiba");
        },
        [&](std::exception_ptr thrown) {
            done = true;
            error = thrown;
        });
    QVERIFY(runner.Running());
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    QVERIFY(!runner.Running());
    QVERIFY(answered);
    QCOMPARE(askedOn, QThread::currentThreadId());
    QCOMPARE(messages.Count(), std::size_t{1});
    QCOMPARE(shown.count(), 1);
    QCOMPARE(closed.count(), 1);
    QVERIFY(ticks.count() >= 1);
    QVERIFY(error != nullptr);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, std::rethrow_exception(error));

    // Abandoned, a run ends without its end being handed back.
    done = false;
    std::atomic<bool> stop{false};
    runner.Start(
        [&stop] {
            while (!stop) {
                QThread::msleep(1);
            }
        },
        [&done](std::exception_ptr) { done = true; });
    stop = true;
    runner.Abandon();
    QVERIFY(!runner.Running());
    QCoreApplication::processEvents();
    QVERIFY(!done);
}

// Qt's network against a loopback server: a file through a redirect; a missing file, a
// broken transfer, a body past the limit, a stalled server and a redirect loop fail and leave
// no file; "Mégse" in the message window stops a transfer.
void DialogsTest::fetcherKeepsItsLimitsAndStopsOnMegse() {
    TempHome site;
    const QByteArray body(70000, 'a');
    QVERIFY(ReplaceFile(site.Path() + "file.txt", body.toStdString()));
    testing::HttpTestServer server(site.Path());
    QVERIFY(server.Running());
    QtMessages messages;
    QtFetcher fetcher(&messages, 1, QString());
    TempHome cache;
    const std::string path = cache.Path() + "out";
    QCOMPARE(fetcher.Fetch(server.Url("/moved/file.txt"), path, 1 << 20), FetchStatus::Done);
    QFile fetched(QString::fromStdString(path));
    QVERIFY(fetched.open(QIODevice::ReadOnly));
    QCOMPARE(fetched.readAll(), body);
    fetched.close();
    const struct {
        const char* url;
        std::uint64_t limit;
        FetchStatus status;
    } failures[] = {
        {"/missing", 1 << 20, FetchStatus::Failed},
        {"/reset/file.txt", 1 << 20, FetchStatus::Failed},
        {"/file.txt", 1000, FetchStatus::TooLarge},
        {"/huge", 1 << 20, FetchStatus::TooLarge},
        {"/slow", 1 << 20, FetchStatus::Failed},
        {"/loop", 1 << 20, FetchStatus::Failed},
    };
    for (const auto& c : failures) {
        QCOMPARE(fetcher.Fetch(server.Url(c.url), path, c.limit), c.status);
        QVERIFY2(!QFile::exists(QString::fromStdString(path)), c.url);
    }
    QtFetcher patient(&messages, 30, QString());
    QTimer::singleShot(300, [&messages] { messages.WaitWindow()->CancelButton()->click(); });
    QCOMPARE(patient.Fetch(server.Url("/slow"), path, 1 << 20), FetchStatus::Cancelled);
    QVERIFY(!QFile::exists(QString::fromStdString(path)));
    QVERIFY(messages.WaitWindow()->CancelButton()->isHidden());
}

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
