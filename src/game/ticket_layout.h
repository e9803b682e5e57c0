#pragma once

#include <vector>

#include "game/game_catalogue.h"

// Where every part of a ticket window goes: the number boxes, the report panel and the
// buttons, computed from the game's grid shape and the box size.
namespace velmora {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct TicketOptions {
    int kind = 0;
    bool showDelete = false;
    bool showExit = false;
    bool showReport = true;
    // The report panel is at least this wide (its text's longest line); a ticket narrower
    // than that grows, its boxes centred.
    int reportMinWidth = 0;
};

struct TicketLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<Rect> boxes; // box i shows number i + 1
    bool reportAtRight = false;
    Rect reportPanel; // empty when not shown
    Rect buttonPanel; // empty when no button is shown
    Rect exitButton;
    Rect deleteButton;
};

inline constexpr int kReportPanelInitialHeight = 65;
inline constexpr int kButtonPanelHeight = 27;

// The report panel's height for a ticket of this kind (initial height included).
int ReportPanelHeight(const GameInfo& game, int kind);

TicketLayout ComputeTicketLayout(const GameInfo& game, const TicketOptions& options, int boxSize);

} // namespace velmora
