#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

namespace velmora {

// A colour of the appearance table (0x00BBGGRR, or a system colour index under 0xFF000000)
// as the platform shows it.
QColor AppearanceColour(std::int32_t value);

// A program text ("\r" line breaks) as a Qt text.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

} // namespace velmora
