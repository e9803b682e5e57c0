#pragma once

#include <array>
#include <cstdint>

// The look of the six kinds of ticket: two schemes of fourteen slots each. Colours are kept
// as 0x00BBGGRR values; a value whose top byte is 0xFF names a system colour by its index.
namespace velmora {

inline constexpr int kTicketKindCount = 6;
inline constexpr int kAppearanceSlots = 14;
inline constexpr int kSchemeCount = 2;

enum TicketKind {
    kMainTicket = 0,
    kVariationListTicket = 1,
    kVariationCheckTicket = 2,
    kDrawsListTicket = 3,
    kNewDrawTicket = 4,
    kDrawSearchTicket = 5,
};

enum AppearanceSlot {
    kSlotBackground = 0,
    kSlotBoxSize = 1,
    kSlotUnmarkedBox = 2,
    kSlotMarkedBox = 3,
    kSlotNumberSize = 4,
    kSlotNumber = 5,
    kSlotFurtherSize = 6,
    kSlotReportPanel = 7,
    kSlotReportText = 8,
    kSlotMarkedNumber = 9,
    kSlotFixedNumber = 10,
    kSlotConstantNumber = 11,
    kSlotPlusNumber = 12,
    kSlotRandomNumber = 13,
};

// System colour indices used by the defaults.
inline constexpr int kSysScrollBar = 0;
inline constexpr int kSysWindowText = 8;
inline constexpr int kSysButtonFace = 15;
inline constexpr int kSysInfoBackground = 24;

constexpr std::int32_t SystemColour(int index) {
    return static_cast<std::int32_t>(0xFF000000u + static_cast<std::uint32_t>(index));
}
constexpr bool IsSystemColour(std::int32_t value) {
    return (static_cast<std::uint32_t>(value) & 0xFF000000u) == 0xFF000000u;
}

// values[kind][scheme * 14 + slot]
using TicketAppearance =
    std::array<std::array<std::int32_t, kSchemeCount * kAppearanceSlots>, kTicketKindCount>;

TicketAppearance DefaultTicketAppearance();

inline std::int32_t AppearanceValue(const TicketAppearance& table, int kind, int scheme, int slot) {
    return table[static_cast<std::size_t>(kind)]
                [static_cast<std::size_t>(scheme * kAppearanceSlots + slot)];
}

// The names of the ticket kinds, as the settings dialog lists them.
inline constexpr std::array<const char*, kTicketKindCount> kTicketKindNames = {
    "Főszelvény",
    "Variáció listája szelvény",
    "Variáció ellenőrzés szelvény",
    "Húzások listája szelvény",
    "Új húzás... szelvény",
    "Számsor keresés szelvény"};

} // namespace velmora
