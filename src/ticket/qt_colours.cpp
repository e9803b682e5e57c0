#include "ticket/qt_colours.h"

#include <QApplication>
#include <QPalette>

#include "game/ticket_appearance.h"

namespace velmora {

QColor AppearanceColour(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    if (IsSystemColour(value)) {
        const QPalette palette = QApplication::palette();
        switch (bits & 0xFFu) {
        case kSysScrollBar:
            return palette.color(QPalette::Mid);
        case kSysWindowText:
            return palette.color(QPalette::WindowText);
        case kSysButtonFace:
            return palette.color(QPalette::Button);
        case kSysInfoBackground:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

QString ToQt(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

} // namespace velmora
