// The desktop program.

#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <ctime>
#include <exception>
#include <iostream>

#include "app/app_platform.h"
#include "app/tfoablak.h"
#include "app/tfoszelveny.h"
#include "common/platform.h"
#include "common/random_source.h"
#include "common/version.h"
#include "dialogs/qt_messages.h"
#include "settings/folders.h"
#include "ticket/tszelveny.h"

using namespace velmora;

namespace {

int RunProgram(int argc, char** argv) {
    const ProgramFolders folders = MakeProgramFolders(ProgramFolderPath());
    InstanceLock lock(folders.program + kProgramStem + ".lock");
    const int otherCopy = lock.OtherCopy();

    VelmoraApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
    QApplication::setApplicationDisplayName(QString::fromUtf8(kProgramTitle));
    // Qt's own dialog texts (file dialogs, standard buttons) in Hungarian when installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Hungarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    QtMessages messages;
    SeededRandom random(static_cast<std::uint32_t>(std::time(nullptr)));
    SystemClock clock;
    Session session(folders, messages, random, clock);

    StartOptions options;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        options.commandLineFile = arguments.at(1).toStdString();
    }
    options.environment.freeMemory = AvailableMemoryBytes();
    options.environment.mousePresent = MousePresent();
    options.otherCopyPid = otherCopy;

    TFoablak window(session, options);
    if (window.Forced()) {
        return 1;
    }
    messages.SetOwner(&window);
    QObject::connect(&window, &TFoablak::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    app.exceptionHandler = [&window](const std::string& errorClass, const std::string& message) {
        window.VelmoraException(errorClass, message);
    };
    // Without a window manager "maximised" means nothing, so the screen's size is set as well.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
    window.ShowTicket();
    QTimer::singleShot(0, &window, [&window, &lock] {
        window.Betoltes();
        if (!window.Forced()) {
            lock.Acquire();
        }
    });
    return QApplication::exec();
}

} // namespace

// Errors inside the event loop reach the exception log; this is the last line for the rest.
int main(int argc, char** argv) {
    try {
        return RunProgram(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << kProgramTitle << ": " << error.what() << "\n";
    } catch (...) {
        std::cerr << kProgramTitle << ": unknown error\n";
    }
    return 1;
}
