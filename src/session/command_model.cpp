#include "session/command_model.h"

#include "common/hu_format.h"
#include "session/last_variation_backup.h"

namespace velmora {

namespace {

CommandState Either(bool enabled, const char* on, const char* off) {
    return {enabled, enabled ? on : off};
}

const char* const kNoMarks = " Nincs kijelölt számsor. ";
const char* const kNoDraws = " Hiányzik a húzások listája. ";

} // namespace

bool CommandModel::ConditionsAvailable() const {
    return m_ticket.MarkedCount() >= m_ticket.Game().rowLength + 1;
}

std::string CommandModel::FullVariationText() const {
    if (!ConditionsAvailable()) {
        return {};
    }
    return "Teljes variáció: " + FormatThousands(m_ticket.FullVariationSize()) + " számsor";
}

bool ListingConditions(const ConditionSet& conditions, const VariationDocument& variation) {
    return conditions.AnyActive() && variation.Exists();
}

std::string CommandModel::ConditionsCaption() const {
    return ListingConditions(m_conditions, m_variation) ? "Listázás..." : "Kijelölés...";
}

// The three example commands: none while a variation is being extended; from a draw only with
// draws, from the user's numbers only when exactly a row of constant numbers is marked.
CommandState CommandModel::ExampleState(Command command) const {
    const MainTicket& t = m_ticket;
    if (t.Extension().active) {
        return {false, " Aktív a variáció bővítése opció - a funkció nem elérhető.  "};
    }
    if (command == Command::ExampleFromDraw) {
        return {m_draws.HasDatabase(),
                " Példabontás (variáció) készítése egy húzás számsora alapján. "};
    }
    if (command == Command::ExampleRandom) {
        return {true, " Példabontás (variáció) készítése véletlen számsor alapján. "};
    }
    const int k = t.Game().rowLength;
    const bool own = t.Fixed().empty() && static_cast<int>(t.Selected().size()) == k &&
                     t.Constant().size() == t.Selected().size() && t.Game().gameId != 16;
    return {own, " Példabontás (variáció) készítése saját számok alapján. \r Jelöljön ki az üres "
                 "főszelvényen " +
                     std::to_string(k) + " állandó számot. "};
}

CommandState CommandModel::State(Command command) const {
    const MainTicket& t = m_ticket;
    const bool anyMark = t.MarkedCount() > 0;
    const bool draws = m_draws.HasDatabase();
    switch (command) {
    case Command::Conditions:
        if (ListingConditions(m_conditions, m_variation)) {
            return {true, " Beállított feltételek listája, feltételek módosítása."};
        }
        return Either(ConditionsAvailable(), " Feltételek kijelölése, hibapont beállítása. ",
                      kNoMarks);
    case Command::Open:
        return Either(!m_variation.Extending(), " Számsor, variáció, import állomány betöltése. ",
                      " Aktív a variáció bővítése opció - a funkció nem elérhető.  ");
    case Command::ToggleExtension:
        if (m_variation.Extending()) {
            return {true, " Számsor módosításának, variáció bővítésének tiltása. "};
        }
        return Either(m_variation.CanToggleExtension(),
                      " Számsor módosítása és/vagy a variáció bővítése. ",
                      " Nincs kész variáció. ");
    case Command::Statistics:
        return Either(draws, " Statisztika ", kNoDraws);
    case Command::ListDraws:
        return Either(draws, " Húzások listája. ", kNoDraws);
    case Command::SearchDraws:
        return Either(draws, " Számsor keresése az adatbázisban. ", kNoDraws);
    case Command::DatabaseRange:
        return Either(draws, " Adatbázis - húzások listája ", kNoDraws);
    case Command::SaveDraws:
        return Either(draws && m_draws.DatabaseModified(), " Módosított adatbázis mentése. ",
                      " Nincs elmentésre váró adat. ");
    case Command::Restore:
        return m_backup.RestoreState();
    case Command::ExampleFromDraw:
    case Command::ExampleRandom:
    case Command::ExampleOwn:
        return ExampleState(command);
    case Command::CommitExtension:
        return {m_variation.CanCommitExtension(), ""};
    case Command::UndoExtension:
        return {m_variation.CanUndoExtension(), ""};
    case Command::Minimise:
        return Either(m_variation.CanMinimise(),
                      " Kevesebb számsorból álló variáció keresése, ugyanazzal a garanciával. ",
                      " Nincs kész hibapontos variáció. ");
    case Command::UndoMinimise:
        return Either(m_variation.CanUndoReplace(),
                      " A minimalizálás előtti variáció visszaállítása. ",
                      " Nincs visszavonható minimalizálás. ");
    case Command::ModifyVariation:
        return {m_variation.Exists(), ""};
    case Command::SortRows:
        if (!m_variation.Exists()) {
            return {false, " Nincs variáció. "};
        }
        return Either(!m_variation.Store().IsSorted(), " Variáció indexeinek rendezése. ",
                      " A variáció indexei rendezettek. ");
    case Command::OriginalOrder:
        return Either(m_variation.Exists() && m_variation.Store().IsSorted(),
                      " Variáció indexeinek visszarendezése - az eredeti állapot szerint. ",
                      " A variáció indexei, az eredeti állapot szerint rendezettek. ");
    case Command::CheckVariation:
        return Either(m_variation.Exists(), " Variáció ellenőrzése. ", " Nincs variáció. ");
    case Command::Information:
        return Either(m_variation.Exists(), " Információk a variációról. ", " Nincs variáció. ");
    case Command::ListVariation:
        return Either(m_variation.Exists(), " Variáció listája. ", " Nincs variáció. ");
    case Command::ClearConditions:
        return Either(m_conditions.AnyActive(), " Minden kijelölt feltétel törlése. ",
                      " Nincs kijelölt feltétel. ");
    case Command::SaveAs:
        return Either(ConditionsAvailable(), " Számsor, variáció, export állományok mentése. ",
                      " Nincs elmentésre váró adat. ");
    case Command::SaveNumberRow:
        return {ConditionsAvailable(), " Számsor és feltételek mentése. "};
    case Command::MarkAll:
    case Command::RandomNumbers: {
        const ExtensionTargets& ext = t.Extension();
        const bool allMarked = ext.active ? t.MarkedCount() >= ext.selectedCount + ext.fixedCount
                                          : t.MarkedCount() >= t.Game().maxNumber;
        return Either(!allMarked,
                      command == Command::MarkAll ? " Minden szám kijelölése. "
                                                  : " Egy vagy több véletlen szám generálása. ",
                      " Minden szám kijelölve. ");
    }
    case Command::ClearMenu:
        return Either(anyMark, " Számok törlése. ", kNoMarks);
    case Command::ClearAll:
        return Either(anyMark, " Minden kijelölt szám törlése. ", kNoMarks);
    case Command::ClearVariation:
        return {t.HasVariationNumbers(), ""};
    case Command::ClearFixed:
        return Either(!t.Fixed().empty(), " Fix számok törlése. ", " Nincs kijelölve fix szám. ");
    case Command::ClearConstant:
        return Either(!t.Constant().empty(), " Állandó számok törlése. ",
                      " Nincs kijelölve állandó szám. ");
    case Command::ClearRandom:
        return Either(!t.Random().empty(), " Véletlen számok törlése. ",
                      " Nincs kijelölve véletlen szám. ");
    case Command::NewTicket: {
        const bool onlyConstants = t.Fixed().empty() && !t.Selected().empty() &&
                                   t.Constant().size() == t.Selected().size();
        if (!anyMark) {
            return {false, kNoMarks};
        }
        if (onlyConstants) {
            return {false, " Csak állandó számok vannak kijelölve. "};
        }
        return {true, " Új főszelvény, számsor törlése. "};
    }
    case Command::ViewTimesDrawn:
        return Either(draws, " Hányszor húzták ki eddig a számokat ", kNoDraws);
    case Command::ViewDrawsSince:
        return Either(draws, " Hány húzás óta nem sorsolták ki a számokat ", kNoDraws);
    case Command::TicketRange:
        return Either(draws, " ...a főszelvényen megjelenített statisztikai adatokhoz. ", kNoDraws);
    case Command::VariationMenu:
        return {StartState().enabled || m_variation.Exists(), ""};
    case Command::Start:
        return StartState();
    case Command::Test:
        return TestState();
    case Command::SaveVariation:
    case Command::DeleteVariation:
        return {m_variation.Exists(), ""};
    }
    return {};
}

CommandState CommandModel::StartState() const {
    const bool exists = m_variation.Exists();
    // A finished variation is made again only after the marks change, while a paused or
    // extended one goes on.
    const bool goesOn = m_variation.Paused() || m_ticket.Extension().active;
    if (ConditionsAvailable() && (!exists || goesOn)) {
        return {true, " Variáció készítése. "};
    }
    return {false, exists ? " A variáció elkészült. " : kNoMarks};
}

CommandState CommandModel::TestState() const {
    if (!m_variation.Exists()) {
        return {};
    }
    // A variation that holds every combination has nothing to test.
    const bool testable = m_variation.Store().Count() < m_ticket.FullVariationSize();
    return Either(testable, " Variáció tesztje. ",
                  " A variáció mérete elérte a teljes variáció szelvényszámát. ");
}

} // namespace velmora
