#include "app/app_platform.h"

#include <QInputDevice>
#include <QPointingDevice>

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

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
