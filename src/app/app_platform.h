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

// The program's name for the system, and Qt's own dialog texts, dates and sizes in Hungarian
// whatever the system's language. The window captions stay as the program sets them: no
// display name is set, since Qt appends one to every caption.
void SetUpApplication(QApplication& app);

// The window's restored place: the screen's available area, with the frame (title bar
// included) inside it, so that un-maximising never leaves the title bar off the screen.
void PlaceOnScreen(QWidget& window, const QRect& area);

// Whether a pointing device is attached. Platforms that do not report input devices (such as
// the offscreen one) count as having one.
bool MousePresent();

// A readable class name of a caught exception.
std::string ExceptionClassName(const std::exception& error);

} // namespace velmora
