#pragma once

#include <QString>

#include <string>
#include <vector>

#include "common/messages.h"

class QWidget;

namespace velmora {

// Writes a report's lines as rich text (Courier New, `pointSize` points) to `path`; false after
// the Part's message when the file cannot be made.
bool WriteReportFile(Messages& messages, const std::string& path,
                     const std::vector<std::string>& lines, int pointSize);

// Prints a report's lines on paper through the system's print dialog, under `documentName`,
// in a monospaced font of `pointSize` points with margins of 0.6 inch.
void PrintReportOnPaper(QWidget* parent, const std::vector<std::string>& lines,
                        const QString& documentName, int pointSize);

} // namespace velmora
