#include "session/session.h"

#include <filesystem>
#include <algorithm>

#include "common/binary_io.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/platform.h"
#include "common/version.h"
#include "game/number_row_file.h"
#include "stats/number_counts.h"

namespace velmora {

Session::Session(const ProgramFolders& folders, Messages& messages, RandomSource& random)
    : m_folders(folders), m_messages(messages), m_random(random),
      m_settings(DefaultSettings(folders)), m_game(LoadGameInfo(0)), m_ticket(messages, *this),
      m_editor(m_conditions, messages, m_settings.notices) {
    m_ticket.Rebuild(m_game);
}

void Session::ApplyMessageSettings() {
    m_messages.SetApprove(m_settings.approve);
    m_messages.SetInfo(m_settings.info);
}

void Session::ApplyGame(GameId id) {
    if (!IsValidGame(id)) {
        id = 0;
    }
    m_settings.game = id;
    m_game = LoadGameInfo(id);
    std::error_code ignored;
    std::filesystem::create_directories(m_folders.GameFolder(id), ignored);
    m_ticket.Rebuild(m_game);
    // The variation's rows name the old ticket's numbers: it goes with them.
    DeleteVariation();
    m_lastSelectedCount = -1;
    m_draws.Clear();
    TicketChanged();
}

bool Session::SelectGame(GameId id) {
    if (!IsValidGame(id) || id == m_game.gameId) {
        return false;
    }
    if (!AskDiscardTicket()) {
        return false;
    }
    m_ticket.ClearForGameChange();
    ApplyGame(id);
    return true;
}

bool Session::AskDiscardTicket() {
    const bool extending = m_ticket.Extension().active;
    m_draws.HuzTorlesEng(DatabasePath(), m_messages);
    if (m_ticket.Unchanged()) {
        return true;
    }
    if (!variationExists && !extending) {
        if (m_ticket.MarkedCount() == 0) {
            return true;
        }
        return m_messages.Confirm(ConditionsSet()
                                      ? "Biztos törli a kijelölt számokat és a feltételeket?"
                                      : "Biztos törli a kijelölt számokat?");
    }
    return m_messages.Confirm(
        ConditionsSet() ? "Biztos törli a kijelölt számokat, feltételeket és a variáció listáját?"
                        : "Biztos törli a kijelölt számokat és a variáció listáját?");
}

// Before the marks change: the variation made from them is dropped, and set conditions only
// with the user's consent.
bool Session::ConfirmVariationDrop() {
    const bool extending = m_ticket.Extension().active;
    const bool rows = m_variation.Count() > 0;
    if (!m_variation.saved && rows && !extending) {
        if (!ConditionsSet()) {
            return BontTorlesEng1();
        }
        if (!m_messages.Question("Biztos törli a kijelölt feltételeket és a variáció listáját?")) {
            return false;
        }
        DeleteVariation();
        ClearConditions();
        return true;
    }
    if (ConditionsSet()) {
        const bool sameSize = extending && static_cast<int>(m_ticket.Selected().size()) ==
                                               m_ticket.Extension().selectedCount;
        if (!m_messages.Question(
                sameSize ? "Az aktuális variáció számsorának módosítását végzi.\rHa módosítja a "
                           "kijelölt számsort, a program törli a beállított feltételeket. "
                           "\r\rMégis módosítja a számsort?"
                         : "Biztos törli a kijelölt feltételeket?")) {
            return false;
        }
        ClearConditions();
    }
    if (rows && !extending) {
        DeleteVariation(); // saved in its file
    }
    return true;
}

bool Session::BontTorlesEng1() {
    if (!m_variation.saved && !m_ticket.Extension().active && m_variation.Count() > 0 &&
        !m_messages.Question("Biztos törli a variáció listáját?")) {
        return false;
    }
    DeleteVariation();
    return true;
}

bool Session::DeleteVariationCommand() {
    if (m_ticket.Extension().active && !m_messages.Confirm("Biztos törli a variáció listáját?")) {
        return false;
    }
    return BontTorlesEng1();
}

void Session::DeleteVariation() {
    m_variation.Clear();
    m_record = VariationRecord{};
    variationExists = false;
    // Extension mode and its counts belong to the variation.
    m_ticket.Extension() = ExtensionTargets{};
}

bool Session::BontSzamsorHozzaadasEllenorzes(long long adding) {
    const int length = m_game.rowLength - static_cast<int>(m_ticket.Fixed().size());
    const long long total =
        Bontas::TeljBontSzelvszam(static_cast<int>(m_ticket.Selected().size()), length);
    if (m_variation.Count() + adding > total) {
        m_messages.Warning("A teljes variációt meghaladó méretű listát akar létrehozni.\r\rNem "
                           "bővíthető a variáció listája.");
        return false;
    }
    return true;
}

void Session::BontTesztHozzaadas(int mode, const std::vector<std::vector<std::uint8_t>>& rows,
                                 long long index) {
    // Only rows of the variation's width that name variation numbers can join it.
    const auto numbers = static_cast<std::size_t>(m_variation.Frequencies().size());
    for (const std::vector<std::uint8_t>& row : rows) {
        if (static_cast<int>(row.size()) != m_variation.RowWidth() ||
            std::any_of(row.begin(), row.end(),
                        [numbers](std::uint8_t position) { return position >= numbers; })) {
            return;
        }
    }
    if (rows.empty()) {
        return;
    }
    m_variation.saved = false;
    if (mode == 2) {
        m_variation.RestoreOriginalOrder();
        m_variation.ReplaceRow(index, rows.front().data());
        return;
    }
    if (!m_variation.AppendBlock(rows)) {
        m_messages.Error("Nincs elegendő szabad memória (RAM) a variáció befejezéséhez.");
        return;
    }
    // The variation now holds rows the generation did not make.
    ExtensionTargets& extension = m_ticket.Extension();
    extension.active = true;
    extension.selectedCount = static_cast<int>(m_ticket.Selected().size());
    extension.fixedCount = static_cast<int>(m_ticket.Fixed().size());
    m_variation.saved = false;
    variationExists = m_variation.Count() > 0;
}

bool Session::BontSzamsorTorles(long long first, long long last) {
    const long long count = m_variation.Count();
    if (first < 1 || last < first || last > count) {
        return false;
    }
    if (first == 1 && last == count) {
        return DeleteVariationCommand();
    }
    if (!m_messages.Question("A törlés művelete nem visszavonható.\r\rBiztos törli a kijelölt "
                             "számsor(oka)t?")) {
        return false;
    }
    m_variation.DeleteRows(first, last);
    m_variation.saved = false;
    return true;
}

int Session::TestDrawnMaximum() const {
    // Keno draws twenty numbers: a test draws at most a row's worth.
    const int drawn = m_game.drawnCount == 20 ? m_game.rowLength : m_game.drawnCount;
    return std::min(drawn, static_cast<int>(m_ticket.Selected().size())) -
           static_cast<int>(m_ticket.Fixed().size());
}

VariationTestInput Session::MakeTestInput(int drawn, bool conditionsMode, int threads) const {
    VariationTestInput input;
    input.game = m_game;
    input.variationNumbers = m_ticket.Selected();
    input.fixedCount = static_cast<int>(m_ticket.Fixed().size());
    input.drawn = drawn;
    input.conditionsMode = conditionsMode;
    input.conditions = m_conditions;
    input.draws = m_draws.HasDatabase() ? &m_draws.Draws() : nullptr;
    input.drawsList = CurrentShape().drawsList;
    input.extended = m_variation.BlockEnds().size() > 1;
    input.threads = threads;
    return input;
}

bool Session::StartChecks() {
    if (m_conditions.errorPoints == 0 && !ConditionsSet() && m_ticket.Extension().active) {
        m_messages.Warning(
            "Ha nincs kijelölt feltétel, a nulla hibapontos variáció nem értelmezett.");
        return false;
    }
    const int length = m_game.rowLength - static_cast<int>(m_ticket.Fixed().size());
    const long long total =
        Bontas::TeljBontSzelvszam(static_cast<int>(m_ticket.Selected().size()), length);
    if (total > kRowLimit) {
        m_messages.Warning("A teljes variáció " + FormatThousands(total) +
                           " számsort igényel.\r\rAz aktuális verzió nem támogatja az ilyen "
                           "méretű variációk készítését.");
        return false;
    }
    return true;
}

GenerationInput Session::MakeGenerationInput() const {
    GenerationInput input;
    input.game = m_game;
    input.variationNumbers = m_ticket.Selected();
    input.fixedCount = static_cast<int>(m_ticket.Fixed().size());
    input.conditions = m_conditions;
    input.draws = m_draws.HasDatabase() ? &m_draws.Draws() : nullptr;
    input.freeMemory = [] {
        const auto bytes = AvailableMemoryBytes();
        return bytes ? static_cast<long long>(*bytes) : -1LL;
    };
    input.extension = m_ticket.Extension().active && m_variation.Count() > 0;
    if (m_record.resume.paused && m_variation.Count() > 0) {
        input.resume = m_record.resume;
    }
    return input;
}

void Session::GenerationDone(const GenerationOutcome& outcome) {
    if (outcome.finished || outcome.resume.paused) {
        m_record.resume = outcome.paused || !outcome.finished ? outcome.resume : ResumePoint{};
        if (outcome.finished) {
            m_record.version = kProgramVersion;
            m_record.generationDate = TodayDayNumber();
        }
        if (outcome.itemisedFrom >= 1) {
            m_conditions.options.itemisedFrom = outcome.itemisedFrom;
        }
        m_variation.saved = false;
        variationExists = m_variation.Count() > 0;
        return;
    }
    // Stopped: an extension loses its unfinished rows, a new variation is not kept.
    if (m_ticket.Extension().active && m_variation.baseCount > 0) {
        m_variation.Truncate(m_variation.baseCount);
        variationExists = m_variation.Count() > 0;
        return;
    }
    DeleteVariation();
}

void Session::ClickNumber(int number, int kind) {
    if (ConfirmVariationDrop()) {
        m_ticket.Click(number, kind);
    }
}

void Session::PaintNumber(int number) {
    if (ConfirmVariationDrop()) {
        m_ticket.Paint(number);
    }
}

void Session::MarkAll() {
    if (ConfirmVariationDrop()) {
        m_ticket.MarkAll();
    }
}

void Session::ClearAll() {
    if (!m_ticket.Extension().active && !AskDiscardTicket()) {
        return;
    }
    if (ConfirmVariationDrop()) {
        m_ticket.ClearFixed();
        m_ticket.ClearRandom();
        m_ticket.ClearConstant();
        m_ticket.ClearVariationNumbers();
    }
}

void Session::ClearFixed() {
    if (ConfirmVariationDrop()) {
        m_ticket.ClearFixed();
    }
}

void Session::ClearRandom() {
    if (ConfirmVariationDrop()) {
        m_ticket.ClearRandom();
    }
}

void Session::ClearConstant() {
    if (ConfirmVariationDrop()) {
        m_ticket.ClearConstant();
    }
}

void Session::ClearVariationNumbers() {
    if (ConfirmVariationDrop()) {
        m_ticket.ClearVariationNumbers();
    }
}

bool Session::NewTicket() {
    if (!m_ticket.Extension().active && !AskDiscardTicket()) {
        return false;
    }
    if (!ConfirmVariationDrop()) {
        return false;
    }
    m_ticket.NewTicket();
    TicketChanged();
    return true;
}

void Session::SetNumberOrder(int order) {
    m_ticket.SetNumberOrder(order, m_random);
    TicketChanged();
}

bool Session::SaveNumberRow(const std::string& path) {
    if (!velmora::SaveNumberRow(path, NumberRowOf(m_ticket, m_conditions), m_messages)) {
        return false;
    }
    m_ticket.SetUnchanged(true);
    return true;
}

bool Session::LoadNumberRow(const std::string& path) {
    NumberRowRecord record;
    record.conditions = m_conditions;
    const NumberRowContext context{m_game, m_draws.HasDatabase() ? m_draws.Count() : 0, path};
    const bool loaded = velmora::LoadNumberRow(path, context, m_messages, record);
    ApplyNumberRow(std::move(record), loaded);
    return loaded;
}

void Session::ApplyNumberRow(NumberRowRecord record, bool loaded) {
    if (!loaded) {
        record = NumberRowRecord{};
        m_conditions.DeactivateAll();
    } else {
        m_conditions = record.conditions;
    }

    m_ticket.RestoreNumberOrder(record.numberOrder);
    // The lists arrive in their saved order: the count change must not sort or shuffle them.
    m_lastSelectedCount = static_cast<int>(record.selected.size());
    m_ticket.LoadLists(std::move(record.selected), std::move(record.fixed),
                       std::move(record.constant), std::move(record.random));
    // An ascending or descending order is applied again, which mends a list edited by hand; a
    // random order keeps the saved one, on which the position-based conditions depend.
    if (m_ticket.NumberOrder() == 1 || m_ticket.NumberOrder() == 2) {
        m_ticket.ReapplyNumberOrder(m_random);
    }
    m_ticket.SetUnchanged(loaded);
    TicketChanged();
}

VariationShape Session::CurrentShape() const {
    const HitRatioCondition& ratio = m_conditions.hitRatio;
    // As the engine decides it: rows from the draws need the draws.
    const bool drawsList =
        ratio.active && ratio.fromDraws && m_draws.HasDatabase() && !m_draws.Draws().empty();
    return VariationShape{m_game.rowLength, m_game.maxNumber,
                          static_cast<int>(m_ticket.Selected().size()),
                          static_cast<int>(m_ticket.Fixed().size()), drawsList};
}

bool Session::SaveVariation(const std::string& path) {
    m_messages.ShowWait("Variáció mentése állományba", 0);
    BinaryWriter writer;
    WriteNumberRowRecord(NumberRowOf(m_ticket, m_conditions), writer);
    WriteVariationBlock(CurrentShape(), m_variation, m_record, m_conditions.options, writer);
    const bool written = ReplaceFile(path, writer.Bytes());
    m_messages.HideWait();
    if (!written) {
        m_messages.FileError("a variáció", "mentése");
        return false;
    }
    m_variation.saved = true;
    m_ticket.SetUnchanged(true);
    return true;
}

void Session::HibasBontas(const std::string& path, bool tell) {
    m_ticket.Extension() = ExtensionTargets{};
    DeleteVariation();
    ApplyNumberRow(NumberRowRecord{}, false);
    if (tell) {
        m_messages.Error("Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem "
                         "lehetséges.\r\r" +
                         path);
    }
}

bool Session::LoadVariation(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        HibasBontas(path, false);
        m_messages.Error(OpenErrorText(path));
        return false;
    }
    BinaryReader reader(bytes);
    NumberRowRecord record;
    record.conditions = m_conditions;
    const NumberRowContext context{m_game, m_draws.HasDatabase() ? m_draws.Count() : 0, path};
    if (!ReadNumberRowRecord(reader, context, m_messages, record)) {
        HibasBontas(path, false);
        return false;
    }
    const HitRatioCondition& ratio = record.conditions.hitRatio;
    const VariationShape shape{
        m_game.rowLength, m_game.maxNumber, static_cast<int>(record.selected.size()),
        static_cast<int>(record.fixed.size()), ratio.active && ratio.fromDraws};
    VariationStore store;
    VariationRecord loaded;
    EngineOptions options = record.conditions.options;
    m_messages.ShowWait("Variáció állományának betöltése", 0);
    const VariationRead result = ReadVariationBlock(reader, shape, store, loaded, options);
    m_messages.HideWait();
    switch (result) {
    case VariationRead::NoVariation: {
        const int version = record.fileVersion.Number();
        if (version < 2000 || version >= 2020) {
            HibasBontas(path, true);
            return false;
        }
        m_messages.Error(
            "Csak a variáció számsorát, a kijelölt feltételeket és az egyéb opciók "
            "beállításait tartalmazza az állomány.\r\rA hiba egyik lehetséges oka:\r    A "
            "2.0.1.9 verzióig, ha az Eszköztár - Mentés funkciót használta,\r    a számsor "
            "állományával íród(hat)ott felül a variáció állománya.\r\rA betöltött adatokkal "
            "újra tudja generálni a variáció listáját.");
        DeleteVariation();
        ApplyNumberRow(std::move(record), true);
        return true;
    }
    case VariationRead::TooLarge:
        HibasBontas(path, false);
        m_messages.Error("Az aktuális verzió nem olvassa be a(z)  1 millió számsornál nagyobb "
                         "terjedelmű variációkat.");
        return false;
    case VariationRead::Invalid:
        HibasBontas(path, true);
        return false;
    case VariationRead::Loaded:
        break;
    }
    record.conditions.options = options;
    const int selected = static_cast<int>(record.selected.size());
    const int fixed = static_cast<int>(record.fixed.size());
    const std::vector<std::uint8_t> fileOrder = record.selected;
    ApplyNumberRow(std::move(record), true);
    if (!shape.drawsList) {
        // A sorted number order is applied again: the rows follow their numbers.
        RenumberPositions(fileOrder, store, loaded.resume);
    }
    m_variation = std::move(store);
    m_variation.saved = true;
    m_record = loaded;
    variationExists = true;
    // Added blocks: the variation goes on in extension mode.
    ExtensionTargets& extension = m_ticket.Extension();
    extension = ExtensionTargets{};
    if (m_variation.BlockEnds().size() > 1) {
        extension.active = true;
        extension.selectedCount = selected;
        extension.fixedCount = fixed;
    }
    return true;
}

void Session::RenumberPositions(const std::vector<std::uint8_t>& fileOrder, VariationStore& store,
                                ResumePoint& resume) const {
    const std::vector<std::uint8_t>& order = m_ticket.Selected();
    if (order == fileOrder || order.size() != fileOrder.size()) {
        return;
    }
    std::vector<std::uint8_t> moved(fileOrder.size());
    for (std::size_t j = 0; j < fileOrder.size(); ++j) {
        moved[j] = static_cast<std::uint8_t>(std::find(order.begin(), order.end(), fileOrder[j]) -
                                             order.begin());
    }
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(store.Count()) *
                                   static_cast<std::size_t>(store.RowWidth()));
    for (long long r = 0; r < store.Count(); ++r) {
        for (int i = 0; i < store.RowWidth(); ++i) {
            rows[static_cast<std::size_t>(r * store.RowWidth() + i)] = moved[store.Row(r)[i]];
        }
    }
    std::vector<std::uint32_t> frequencies(store.Frequencies().size());
    for (std::size_t j = 0; j < frequencies.size() && j < moved.size(); ++j) {
        frequencies[moved[j]] = store.Frequencies()[j];
    }
    store.Assign(rows, store.Count());
    store.SetFrequencies(std::move(frequencies));
    for (std::uint8_t& position : resume.position) {
        if (position < moved.size()) {
            position = moved[position];
        }
    }
}

bool Session::ExportVariation(const std::string& path, ExportFormat format) {
    ExportSource source;
    source.numbers = m_ticket.Selected();
    source.fixed = m_ticket.Fixed();
    source.drawsList = CurrentShape().drawsList;
    source.gameName = GameName(m_game.gameId);
    source.versionText = m_record.version.Text();
    source.dateText = ShortDateText(m_record.generationDate);
    m_messages.ShowWait("Export állomány mentése", 0);
    const std::string text = ExportText(m_variation, source, format);
    const bool written = ReplaceFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    m_messages.HideWait();
    if (!written) {
        m_messages.Error("Az állomány létrehozása nem sikerült:\r\r" + path);
    }
    return written;
}

bool Session::ImportVariation(const std::string& path) {
    const bool sorted =
        m_messages.Question("Rendezett legyen a számok sorrendje a számsorokon belül?");
    m_conditions.DeactivateAll();
    m_ticket.Extension() = ExtensionTargets{};
    DeleteVariation();
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        ApplyNumberRow(NumberRowRecord{}, false);
        m_messages.Error(OpenErrorText(path));
        return false;
    }
    m_messages.ShowWait("Import állomány betöltése", 0);
    const ImportedRows imported = ParseImport(std::string(bytes.begin(), bytes.end()),
                                              m_game.rowLength, m_game.maxNumber, path);
    m_messages.HideWait();
    if (!imported.ok) {
        ApplyNumberRow(NumberRowRecord{}, false);
        m_messages.Error(imported.error.empty() ? ImportLineErrorText(imported.lineError)
                                                : imported.error);
        return false;
    }
    // The numbers become the ticket's variation numbers, in the order asked for.
    NumberRowRecord record;
    record.conditions = m_conditions;
    record.selected = imported.numbers;
    record.numberOrder = sorted ? 1 : 0;
    ApplyNumberRow(std::move(record), true);
    m_ticket.SetUnchanged(false);
    const std::vector<std::uint8_t>& numbers = m_ticket.Selected();
    std::vector<std::uint8_t> positionOf(static_cast<std::size_t>(m_game.maxNumber) + 1, 0);
    for (std::size_t j = 0; j < numbers.size(); ++j) {
        positionOf[numbers[j]] = static_cast<std::uint8_t>(j);
    }
    m_variation.Reset(m_game.rowLength, static_cast<int>(numbers.size()));
    if (!m_variation.Reserve(static_cast<long long>(imported.rows.size()))) {
        m_messages.Error("Nincs elegendő szabad memória (RAM) a variáció befejezéséhez.");
        DeleteVariation();
        return false;
    }
    std::vector<std::uint8_t> row;
    for (const std::vector<std::uint8_t>& line : imported.rows) {
        row.clear();
        for (std::uint8_t number : line) {
            row.push_back(positionOf[number]);
        }
        if (sorted) {
            std::sort(row.begin(), row.end());
        }
        m_variation.Append(row.data());
    }
    m_variation.savedBaseCount = m_variation.Count();
    m_variation.BlockEnds() = {static_cast<std::int32_t>(m_variation.Count())};
    m_record = VariationRecord{kProgramVersion, TodayDayNumber(), {}};
    variationExists = true;
    return true;
}

bool Session::OpenFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".tip") {
        return LoadNumberRow(path);
    }
    if (extension == ".top") {
        return LoadVariation(path);
    }
    if (extension == ".csv" || extension == ".txt") {
        return ImportVariation(path);
    }
    return false;
}

std::string Session::DatabasePath() const {
    return m_folders.data + DatabaseFile(m_game.gameId);
}

bool Session::LoadDraws() {
    if (m_draws.HuzasokBe(DatabasePath(), m_game, m_messages)) {
        m_ranges.Reset(m_draws.Count());
    }
    UpdateTicketStatistics();
    TicketChanged();
    return m_draws.HasDatabase();
}

std::optional<HintStatistics> Session::TicketHintStatistics() const {
    if (!m_draws.HasDatabase()) {
        return std::nullopt;
    }
    HintStatistics stats;
    stats.firstDraw = m_ranges.GetHuzSzamaElso();
    stats.lastDraw = m_ranges.GetHuzSzamaUtolso();
    const RangeCounts counts = CountRange(m_game, m_draws.Draws(), stats.firstDraw, stats.lastDraw);
    stats.samples = counts.samples;
    stats.extraNumbers = counts.extraNumbers;
    stats.drawnCount = m_game.drawnCount;
    stats.hasExtra = m_game.extraCount == 1;
    return stats;
}

void Session::UpdateTicketStatistics() {
    NumberCounts counts;
    if (m_draws.HasDatabase()) {
        counts = CountNumbers(m_game, m_draws.Draws(), m_ranges.GetHuzSzamaElso(),
                              m_ranges.GetHuzSzamaUtolso());
    }
    m_ticket.SetStatistics(std::move(counts.timesDrawn), std::move(counts.drawsSince));
}

void Session::SetTicketView(int view) {
    if (view == kViewTimesDrawn || view == kViewDrawsSince) {
        UpdateTicketStatistics();
    }
    m_ticket.SetView(view);
    TicketChanged();
}

std::string Session::MainWindowCaption() const {
    return GameName(m_game.gameId) + "  -  " + kProgramTitle + " ";
}

TicketCommandStates Session::CommandStates() const {
    const MainTicket& t = m_ticket;
    TicketCommandStates s;
    const bool anyMark = t.MarkedCount() > 0;
    s.clearAll = {anyMark, anyMark ? " Számok törlése. " : " Nincs kijelölt számsor. "};
    s.clearAllItemHint = anyMark ? " Minden kijelölt szám törlése. " : " Nincs kijelölt számsor. ";
    const bool anyRandom = !t.Random().empty();
    s.clearRandom = {anyRandom,
                     anyRandom ? " Véletlen számok törlése. " : " Nincs kijelölve véletlen szám. "};
    const bool anyFixed = !t.Fixed().empty();
    s.clearFixed = {anyFixed, anyFixed ? " Fix számok törlése. " : " Nincs kijelölve fix szám. "};
    const bool anyConstant = !t.Constant().empty();
    s.clearConstant = {anyConstant, anyConstant ? " Állandó számok törlése. "
                                                : " Nincs kijelölve állandó szám. "};
    s.clearVariation = {t.HasVariationNumbers(), ""};

    const bool onlyConstants =
        t.Fixed().empty() && !t.Selected().empty() && t.Constant().size() == t.Selected().size();
    if (!anyMark) {
        s.newTicket = {false, " Nincs kijelölt számsor. "};
    } else if (onlyConstants) {
        s.newTicket = {false, " Csak állandó számok vannak kijelölve. "};
    } else {
        s.newTicket = {true, " Új főszelvény, számsor törlése. "};
    }

    const ExtensionTargets& ext = t.Extension();
    const bool allMarked = ext.active ? t.MarkedCount() >= ext.selectedCount + ext.fixedCount
                                      : t.MarkedCount() >= m_game.maxNumber;
    s.markAll = {!allMarked, allMarked ? " Minden szám kijelölve. " : " Minden szám kijelölése. "};

    s.conditionsAvailable = t.MarkedCount() >= m_game.rowLength + 1;
    if (t.MarkedCount() > m_game.rowLength) {
        s.fullVariationText = "Teljes variáció: " +
                              FormatThousands(Combinations(static_cast<int>(t.Selected().size()),
                                                           t.NumbersToChoose())) +
                              " számsor";
    }
    return s;
}

ConditionContext Session::CurrentConditionContext() const {
    ConditionContext context;
    context.variationNumbers = m_ticket.Selected();
    context.maxNumber = m_game.maxNumber;
    context.rowLength = m_game.rowLength;
    context.variationRowLength = m_ticket.NumbersToChoose();
    context.isKeno = m_game.isKeno;
    context.hasDatabase = m_draws.HasDatabase();
    context.drawCount = m_draws.Count();
    context.hitRatioFirst = m_ranges.Get(kRangeHitRatio).first;
    context.hitRatioLast = m_ranges.Get(kRangeHitRatio).last;
    context.variationExists = variationExists;
    context.extensionMode = m_ticket.Extension().active;
    return context;
}

ConditionEditor& Session::Editor() {
    m_editor.Prepare(CurrentConditionContext());
    return m_editor;
}

void Session::ClearConditions() {
    Editor().FeltetelekTorlese();
}

void Session::TicketChanged() {
    // A new number joins the list in the order in use.
    const int selected = static_cast<int>(m_ticket.Selected().size());
    if (selected != m_lastSelectedCount) {
        m_lastSelectedCount = selected;
        m_ticket.ReapplyNumberOrder(m_random);
    }
    if (onTicketChanged) {
        onTicketChanged();
    }
}

} // namespace velmora
