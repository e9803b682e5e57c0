#include "game/ticket_appearance.h"

namespace velmora {

namespace {

constexpr std::int32_t Rgb(int red, int green, int blue) {
    return static_cast<std::int32_t>(red | (green << 8) | (blue << 16));
}

// The generic values of every slot, before the per-kind differences of the default scheme.
constexpr std::array<std::int32_t, kAppearanceSlots> kGeneric = {
    0x800000,                     // background: navy
    30,                           // box size
    0xFFFFFF,                     // unmarked box: white
    SystemColour(kSysButtonFace), // marked box
    8,                            // number size
    SystemColour(kSysWindowText), // number
    9,                            // further size
    0xF0FBFF,                     // report panel: cream
    SystemColour(kSysWindowText), // report panel text
    SystemColour(kSysWindowText), // marked number
    0x808000,                     // fixed number: teal
    0x0000FF,                     // constant number: red
    0xB47800,                     // plus number
    0x800080,                     // random number: purple
};

void ApplyKindDefaults(int kind, std::array<std::int32_t, kSchemeCount * kAppearanceSlots>& row) {
    auto set = [&row](int slot, std::int32_t value) {
        row[static_cast<std::size_t>(slot)] = value;
    };
    if (kind == kDrawsListTicket) {
        set(kSlotBackground, Rgb(0, 100, 100));
    }
    switch (kind) {
    case kVariationListTicket:
        set(kSlotUnmarkedBox, SystemColour(kSysInfoBackground));
        break;
    case kVariationCheckTicket:
        set(kSlotUnmarkedBox, Rgb(245, 245, 255));
        break;
    case kDrawsListTicket:
        set(kSlotUnmarkedBox, Rgb(235, 240, 220));
        break;
    case kNewDrawTicket:
        set(kSlotUnmarkedBox, 0xF0FBFF);
        break;
    case kDrawSearchTicket:
        set(kSlotUnmarkedBox, Rgb(240, 250, 250));
        break;
    default:
        break;
    }
    if (kind == kVariationListTicket || kind == kDrawsListTicket) {
        set(kSlotMarkedBox, Rgb(220, 215, 200));
    } else if (kind == kVariationCheckTicket || kind == kNewDrawTicket ||
               kind == kDrawSearchTicket) {
        set(kSlotMarkedBox, SystemColour(kSysScrollBar));
    }
    if (kind == kNewDrawTicket || kind == kDrawSearchTicket) {
        set(kSlotNumber, 0x800000);
    }
    if (kind == kMainTicket) {
        set(kSlotFurtherSize, 5);
    }
    if (kind == kVariationListTicket || kind == kDrawsListTicket) {
        set(kSlotReportPanel, 0xFFFFFF);
    } else if (kind == kVariationCheckTicket || kind == kDrawSearchTicket) {
        set(kSlotReportPanel, SystemColour(kSysInfoBackground));
    }
}

} // namespace

TicketAppearance DefaultTicketAppearance() {
    TicketAppearance table{};
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        auto& row = table[static_cast<std::size_t>(kind)];
        for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
            for (int slot = 0; slot < kAppearanceSlots; ++slot) {
                row[static_cast<std::size_t>(scheme * kAppearanceSlots + slot)] =
                    kGeneric[static_cast<std::size_t>(slot)];
            }
        }
        // Only the default scheme carries the per-kind differences.
        ApplyKindDefaults(kind, row);
    }
    return table;
}

} // namespace velmora
