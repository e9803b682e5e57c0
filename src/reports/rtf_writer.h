#pragma once

#include <string>
#include <vector>

// Rich text of the program's reports: a monospaced font so that the columns stand, one
// paragraph per line, a form feed as a page break.
namespace velmora {

// The RTF document of `lines` (UTF-8; a line may hold "\r" breaks) in Courier New at
// `pointSize` points.
std::string RtfDocument(const std::vector<std::string>& lines, int pointSize);

// The lines as plain text: each "\r" and each line end a line of their own.
std::string PlainText(const std::vector<std::string>& lines);

} // namespace velmora
