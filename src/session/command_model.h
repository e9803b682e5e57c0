#pragma once

#include <string>

#include "draws/draws_store.h"
#include "game/main_ticket.h"
#include "session/variation_document.h"

// Whether each command of the main window is available now, and with which hint, computed from
// the ticket, the draws and the variation. The main window only binds its actions to it.
namespace velmora {

enum class Command {
    Open,            // "Megnyitás..."
    SaveAs,          // "Mentés másként..."
    SaveNumberRow,   // the "Mentés" of "Számsor"
    MarkAll,         // "Kijelölés mind"
    RandomNumbers,   // "Véletlen számok" of "Számsor" and its tool button
    ClearMenu,       // the "Törlés" submenu and its tool button
    ClearAll,        // "Minden szám"
    ClearVariation,  // "Variáció számai"
    ClearFixed,      // "Fix számok"
    ClearConstant,   // "Állandó számok"
    ClearRandom,     // "Véletlen számok"
    NewTicket,       // "Új főszelvény"
    ViewTimesDrawn,  // "Hányszor húzták"
    ViewDrawsSince,  // "Hány húzás óta..."
    TicketRange,     // "Húzások száma..." of the "Főszelvény" menu
    VariationMenu,   // the "Variáció" menu
    Start,           // "Start"
    Test,            // "Teszt..."
    SaveVariation,   // the "Mentés" of "Variáció"
    DeleteVariation, // the "Törlés" of "Variáció"
    Conditions,      // "Kijelölés..." / "Listázás..." of "Feltételek" and its tool button
    ClearConditions, // the "Törlés" of "Feltételek"
    ModifyVariation, // "Módosítás..." of "Variáció": the variation through its conditions
    ListVariation,   // "Listázás" of "Variáció": the variation list
    Information,     // "Információk..." of "Variáció" and its tool button
    CheckVariation,  // "Ellenőrzés..." of "Variáció": the check ticket
    SortRows,        // "Rendezés" of "Szerkesztés"
    OriginalOrder,   // "Eredeti sorrend" of "Szerkesztés"
    ToggleExtension, // "Variáció bővítése" of "Szerkesztés" and its tool button
    CommitExtension, // "Bővítmény hozzáadása" of "Szerkesztés"
    UndoExtension,   // "Bővítmény törlése" of "Szerkesztés"
    Minimise,        // "Variáció minimalizálása..." of "Szerkesztés"
    UndoMinimise,    // "Minimalizálás visszavonása" of "Szerkesztés"
    Statistics,      // the statistics tool button
    ListDraws,       // "Listázás" of "Adatbázis": the draws list
    SearchDraws,     // "Keresés..." of "Adatbázis" and its tool button
    DatabaseRange,   // "Húzások száma..." of "Adatbázis"
    SaveDraws,       // "Mentés" of "Adatbázis"
    Restore,         // "Visszatöltés" of "Fájl" and its tool button
    ExampleFromDraw, // "Húzások alapján" of "Példabontás" and its tool button
    ExampleRandom,   // "Véletlen számokkal"
    ExampleOwn,      // "Saját számokkal"
};

struct CommandState {
    bool enabled = false;
    std::string hint; // empty: the command shows its own text
};

class LastVariationBackup;

class CommandModel {
public:
    CommandModel(const MainTicket& ticket, const DrawsStore& draws,
                 const VariationDocument& variation, const ConditionSet& conditions,
                 const LastVariationBackup& backup)
        : m_ticket(ticket), m_draws(draws), m_variation(variation), m_conditions(conditions),
          m_backup(backup) {}

    CommandState State(Command command) const;

    // Conditions and saving need more marked numbers than a row holds.
    bool ConditionsAvailable() const;
    // The status bar's "Teljes variáció: " text; empty while the marks make no variation.
    std::string FullVariationText() const;
    // The caption of the conditions command: "Listázás..." while conditions are set and the
    // variation has rows, else "Kijelölés...".
    std::string ConditionsCaption() const;

private:
    CommandState StartState() const;
    CommandState ExampleState(Command command) const;
    CommandState TestState() const;

    const MainTicket& m_ticket;
    const DrawsStore& m_draws;
    const VariationDocument& m_variation;
    const ConditionSet& m_conditions;
    const LastVariationBackup& m_backup;
};

} // namespace velmora
