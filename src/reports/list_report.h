#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "draws/draws_store.h"
#include "variation/variation_export.h"
#include "variation/variation_store.h"

// The list reports: the winning numbers of the current game in columns, page by page, as the
// draws list prints them.
namespace velmora {

// Lines of one page of a list report in ordinary use.
inline constexpr int kListLinesPerPage = 65;

// The draws list report ("huzlist"): every page starts with the header, the title and the
// column header; `now` is when it is made.
std::vector<std::string> DrawsListReport(const GameInfo& game, const std::vector<DrawRecord>& draws,
                                         const std::tm& now, int linesPerPage = kListLinesPerPage);

// The variation list report ("bontlist"): the rows with their fixed numbers under `title`, two
// rows a line where the layout has room.
std::vector<std::string> VariationListReport(const GameInfo& game, const VariationStore& store,
                                             const ExportSource& source, const std::string& title,
                                             const std::tm& now,
                                             int linesPerPage = kListLinesPerPage);

// The title of a variation list: "12 szám 1 hibapontos variációja 65 számsorra".
std::string VariationListTitle(int numbers, int errorPoints, bool optimised, bool example,
                               long long rows);

} // namespace velmora
