#include "game/ticket_layout.h"

#include <algorithm>

#include "game/ticket_appearance.h"

namespace velmora {

namespace {

// The tall three- and five-column grids put the report panel beside the boxes on the secondary
// tickets that list rows.
bool ReportBeside(const GameInfo& game, int kind) {
    const bool listingKind = kind == kVariationListTicket || kind == kVariationCheckTicket ||
                             kind == kDrawsListTicket || kind == kDrawSearchTicket;
    const bool tallGrid = game.isKeno || game.gameId == 6 || game.gameId == 7 || game.gameId == 19;
    return listingKind && tallGrid;
}

} // namespace

int ReportPanelHeight(const GameInfo& game, int kind) {
    const bool tenLines = game.isKeno && (kind == kDrawsListTicket || kind == kDrawSearchTicket);
    const int lines = tenLines ? 10 : game.rowLength;
    int height = 0;
    if (kind == kMainTicket) {
        height = 80;
    } else if ((kind == kVariationCheckTicket || kind == kDrawSearchTicket) &&
               game.extraCount == 1) {
        height = 14 * lines + 204;
    } else {
        height = 14 * lines + 190;
    }
    if (kind == kDrawSearchTicket || game.gameId == 17) {
        height += 14;
    }
    return kReportPanelInitialHeight + height;
}

TicketLayout ComputeTicketLayout(const GameInfo& game, const TicketOptions& options, int boxSize) {
    const int b = boxSize;
    TicketLayout layout;
    const int gridWidth = game.ticketColumns * b + game.ticketColumns + 4;
    const int gridHeight = game.ticketRows * b + game.ticketRows + 4;
    layout.clientWidth = gridWidth;
    int gridLeft = 0;

    int reportWidth = 0;
    if (options.showReport && ReportBeside(game, options.kind)) {
        layout.reportAtRight = true;
        reportWidth = game.isKeno ? gridWidth : 2 * gridWidth - (b + 4);
        reportWidth = std::max(reportWidth, options.reportMinWidth);
        // The window grows by the panel's width, so the panel never covers the boxes.
        layout.clientWidth = gridWidth + reportWidth;
    } else if (options.showReport && options.reportMinWidth > gridWidth) {
        layout.clientWidth = options.reportMinWidth;
        gridLeft = (layout.clientWidth - gridWidth) / 2;
    }

    layout.boxes.reserve(static_cast<std::size_t>(game.maxNumber));
    int number = 0;
    for (int row = 0; row < game.ticketRows && number < game.maxNumber; ++row) {
        const int firstColumn = row == 0 ? game.leadingBlanks : 0;
        for (int column = firstColumn; column < game.ticketColumns && number < game.maxNumber;
             ++column) {
            layout.boxes.push_back({gridLeft + 3 + column * (b + 1), 3 + row * (b + 1), b, b});
            ++number;
        }
    }

    const bool anyButton = options.showExit || options.showDelete;
    const int buttonHeight = anyButton ? kButtonPanelHeight : 0;
    const int reportHeight = options.showReport ? ReportPanelHeight(game, options.kind) : 0;
    layout.clientHeight = gridHeight + buttonHeight + (layout.reportAtRight ? 0 : reportHeight);

    if (options.showReport) {
        if (layout.reportAtRight) {
            layout.reportPanel = {gridWidth, 0, reportWidth, layout.clientHeight - buttonHeight};
        } else {
            layout.reportPanel = {0, gridHeight, layout.clientWidth, reportHeight};
        }
    }
    if (anyButton) {
        layout.buttonPanel = {0, layout.clientHeight - buttonHeight, layout.clientWidth,
                              buttonHeight};
        const int half = layout.clientWidth / 2 - 4;
        if (options.showExit) {
            layout.exitButton = {4, 3, half, 22};
        }
        if (options.showDelete) {
            layout.deleteButton = {4 + half, 3, half, 22};
        }
    }
    return layout;
}

} // namespace velmora
