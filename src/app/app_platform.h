#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace velmora {

// The application object: every exception that escapes an event handler goes to one handler
// instead of ending the program.
class VelmoraApplication : public QApplication {
public:
    VelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    std::function<void(const std::string& errorClass, const std::string& message)> exceptionHandler;
};

// Whether a pointing device is attached. Platforms that do not report input devices (such as
// the offscreen one) count as having one.
bool MousePresent();

// A readable class name of a caught exception.
std::string ExceptionClassName(const std::exception& error);

} // namespace velmora
