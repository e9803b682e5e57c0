// The desktop program.

#include <QScreen>
#include <QTimer>

#include <ctime>
#include <exception>
#include <iostream>

#include "app/app_platform.h"
#include "app/tfoablak.h"
#include "app/tfoszelveny.h"
#include "common/clock.h"
#include "common/help_files.h"
#include "common/platform.h"
#include "common/program_location.h"
#include "common/random_source.h"
#include "common/version.h"
#include "dialogs/qt_messages.h"
#include "session/exception_log.h"
#include "settings/folders.h"
#include "ticket/tszelveny.h"

using namespace velmora;

namespace {

int RunProgram(int argc, char** argv) {
    const ProgramFolders folders = MakeProgramFolders(CurrentProgramLocation());
    InstanceLock lock(folders.program + kProgramStem + ".lock");
    const int otherCopy = lock.OtherCopy();

    VelmoraApplication app(argc, argv);
    SetUpApplication(app);

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
    options.environment.helpIndex = FindHelpIndex(ExecutableFolderPath());
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
        PlaceOnScreen(window, screen->availableGeometry());
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

// An error that escaped before or after the event loop: what is known of it goes to the
// exception log and to stderr.
int ReportEscapedError(const std::string& errorClass, const std::string& message) {
    CrashState state;
    state.time = SystemClock().Now();
    state.errorClass = errorClass;
    state.errorMessage = message;
    state.systemName = OperatingSystemName();
    state.systemVersion = OperatingSystemVersion();
    const std::string logPath =
        MakeProgramFolders(CurrentProgramLocation()).list + "VelmoraError.log";
    AppendExceptionLog(logPath, ExceptionLogLines(state));
    std::cerr << kProgramTitle << ": " << message << " (" << logPath << ")\n";
    return 1;
}

} // namespace

// Errors inside the event loop reach the exception log through the main window; this is the
// last line for the rest.
int main(int argc, char** argv) {
    try {
        return RunProgram(argc, argv);
    } catch (const std::exception& error) {
        return ReportEscapedError(ExceptionClassName(error), error.what());
    } catch (...) {
        return ReportEscapedError("unknown", "");
    }
}
