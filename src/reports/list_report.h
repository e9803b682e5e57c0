#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "draws/draws_store.h"

// The list reports: the winning numbers of the current game in columns, page by page, as the
// draws list prints them.
namespace velmora {

// Lines of one page of a list report in ordinary use.
inline constexpr int kListLinesPerPage = 65;

// The draws list report ("huzlist"): every page starts with the header, the title and the
// column header; `now` is when it is made.
std::vector<std::string> DrawsListReport(const GameInfo& game, const std::vector<DrawRecord>& draws,
                                         const std::tm& now, int linesPerPage = kListLinesPerPage);

} // namespace velmora
