#include "app/app_platform.h"

#include <QInputDevice>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointingDevice>
#include <QTranslator>
#include <QWidget>

#include <cxxabi.h>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "common/version.h"

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (exceptionHandler) {
            exceptionHandler(ExceptionClassName(error), error.what());
        }
    } catch (...) {
        if (exceptionHandler) {
            exceptionHandler("unknown", "");
        }
    }
    return false;
}

void SetUpApplication(QApplication& app) {
    // Qt takes every category of the C locale from the system; numbers written and read by the
    // C library (files, the printed slips) keep their decimal point whatever the language.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kProgramStem).toLower());
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    QLocale::setDefault(hungarian);
    // The file dialogs, message box buttons and print dialogs all take their texts from qtbase.
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(hungarian, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTexts);
    } else {
        delete qtTexts;
    }
}

void PlaceOnScreen(QWidget& window, const QRect& area) {
    // Before the first showing the frame is not known yet and counts as none; move() places
    // the frame's corner, so the title bar starts inside the area either way.
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    window.resize(area.size().shrunkBy(margins));
    window.move(area.topLeft());
}

bool MousePresent() {
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland")) {
        return true;
    }
    const auto devices = QInputDevice::devices();
    if (devices.isEmpty()) {
        return true; // nothing reported: do not refuse to start
    }
    for (const QInputDevice* device : devices) {
        if (device->type() == QInputDevice::DeviceType::Mouse ||
            device->type() == QInputDevice::DeviceType::TouchPad) {
            return true;
        }
    }
    return false;
}

std::string ExceptionClassName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? demangled.get() : mangled;
}

} // namespace velmora
