#include "session/variation_document.h"

#include <algorithm>

#include "common/binary_io.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/platform.h"
#include "common/version.h"
#include "reports/list_report.h"

namespace velmora {

VariationDocument::VariationDocument(const GameInfo& game, MainTicket& ticket,
                                     ConditionSet& conditions, const DrawsStore& draws,
                                     Messages& messages, const Clock& clock, ApplyNumberRow apply)
    : m_game(game), m_ticket(ticket), m_conditions(conditions), m_draws(draws),
      m_messages(messages), m_clock(clock), m_apply(std::move(apply)) {}

bool VariationDocument::DrawsList() const {
    return CurrentShape().drawsList;
}

// --- Deleting ---------------------------------------------------------------------------------

void VariationDocument::Delete() {
    m_example = false;
    m_store.Clear();
    m_record = VariationRecord{};
    // Extension mode and its counts belong to the variation.
    m_ticket.Extension() = ExtensionTargets{};
}

bool VariationDocument::SortRows() {
    const long long count = m_store.Count();
    if (count >= 100000) {
        m_messages.Warning(" 100 000 db számsor felett, nem áll rendelkezésre a funkció.");
        return false;
    }
    if (count > 10000 &&
        !m_messages.WarningQuestion(" 10 000 db számsor felett (a számítógép teljesítményétől "
                                    "függően), akár perceket is igénybe vehet az indexek "
                                    "rendezése.\r\rA rendezés folyamata nem megszakítható.\r\r"
                                    "Mégis folytatja?")) {
        return false;
    }
    m_messages.ShowWait("Variáció indexeinek rendezése", WaitPosition::Centre);
    m_store.Sort();
    m_messages.HideWait();
    return true;
}

void VariationDocument::RestoreOrder() {
    if (!m_store.IsSorted()) {
        return;
    }
    m_messages.ShowWait("Variáció indexeinek eredeti állapota", WaitPosition::Centre);
    m_store.RestoreOriginalOrder();
    m_messages.HideWait();
}

bool VariationDocument::AskThenDelete() {
    if (Exists() && beforeDelete) {
        beforeDelete();
    }
    if (!m_store.saved && !m_ticket.Extension().active && Exists() &&
        !m_messages.Question("Biztos törli a variáció listáját?")) {
        return false;
    }
    Delete();
    return true;
}

bool VariationDocument::DeleteCommand() {
    if (m_ticket.Extension().active && !m_messages.Confirm("Biztos törli a variáció listáját?")) {
        return false;
    }
    return AskThenDelete();
}

// --- Extension mode -------------------------------------------------------------------------

bool VariationDocument::CanToggleExtension() const {
    return Extending() || (Exists() && !Paused() && !DrawsList());
}

void VariationDocument::ToggleExtension() {
    if (Extending()) {
        m_ticket.Extension().active = false;
        return;
    }
    if (!CanToggleExtension()) {
        return;
    }
    const long long count = m_store.Count();
    if (count >= m_ticket.FullVariationSize()) {
        m_messages.Warning("A variáció mérete elérte a teljes variáció szelvényszámát.");
        return;
    }
    EnterExtensionMode(static_cast<int>(m_ticket.Selected().size()),
                       static_cast<int>(m_ticket.Fixed().size()), count);
}

bool VariationDocument::CanCommitExtension() const {
    return Extending() && !Paused() && m_store.Count() > m_ticket.Extension().startMark;
}

void VariationDocument::CommitExtension() {
    if (!CanCommitExtension()) {
        return;
    }
    m_store.MergeExtension();
    m_store.saved = false;
    ExtensionTargets& extension = m_ticket.Extension();
    extension.committedMark = m_store.Count();
    extension.startMark = m_store.Count();
}

bool VariationDocument::CanUndoExtension() const {
    return Exists() && !Paused() && !DrawsList() && m_store.BlockEnds().size() >= 2 &&
           m_store.Count() >= m_ticket.Extension().committedMark;
}

bool VariationDocument::UndoExtension() {
    if (!CanUndoExtension() ||
        !m_messages.Confirm("A törlés művelete nem visszavonható.\r\rBiztos törli a listába "
                            "utoljára beillesztett számsorokat?") ||
        !m_store.DropLastBlock()) {
        return false;
    }
    m_store.saved = false;
    ExtensionTargets& extension = m_ticket.Extension();
    extension.startMark = std::min(extension.startMark, m_store.Count());
    return true;
}

void VariationDocument::BeforeGeneration() {
    RestoreOrder();
    if (!Paused() && CanCommitExtension()) {
        CommitExtension();
    }
}

// --- Files ------------------------------------------------------------------------------------

VariationShape VariationDocument::CurrentShape() const {
    const HitRatioCondition& ratio = m_conditions.hitRatio;
    // As the engine decides it: rows from the draws need the draws.
    const bool drawsList =
        ratio.active && ratio.fromDraws && m_draws.HasDatabase() && !m_draws.Draws().empty();
    return VariationShape{m_game.rowLength, m_game.maxNumber,
                          static_cast<int>(m_ticket.Selected().size()),
                          static_cast<int>(m_ticket.Fixed().size()), drawsList};
}

std::vector<std::uint8_t> VariationDocument::FileBytes() const {
    BinaryWriter writer;
    WriteNumberRowRecord(NumberRowOf(m_ticket, m_conditions), writer);
    WriteVariationBlock(CurrentShape(), m_store, m_record, m_conditions.options, writer);
    return writer.Bytes();
}

bool VariationDocument::Save(const std::string& path) {
    m_messages.ShowWait("Variáció mentése állományba", WaitPosition::Centre);
    const bool written = ReplaceFile(path, FileBytes());
    m_messages.HideWait();
    if (!written) {
        m_messages.FileError("a variáció", "mentése");
        return false;
    }
    m_store.saved = true;
    m_ticket.SetUnchanged(true);
    return true;
}

bool VariationDocument::SaveBackup(const std::string& path) const {
    m_messages.ShowWait("Utolsó variáció mentése", WaitPosition::Centre);
    const bool written = ReplaceFile(path, FileBytes());
    m_messages.HideWait();
    if (!written) {
        m_messages.FileError("a variáció", "mentése"); // as a number-row backup tells it
    }
    return written;
}

void VariationDocument::RejectFile() {
    Delete();
    m_apply(NumberRowRecord{}, false);
}

bool VariationDocument::Read(const std::string& path, VariationFile& file,
                             const char* waitText) const {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxVariationFileSize, bytes)) {
        m_messages.Error(OpenErrorText(path));
        return false;
    }
    BinaryReader reader(bytes);
    file.record.conditions = m_conditions;
    const NumberRowContext context{m_game, m_draws.HasDatabase() ? m_draws.Count() : 0, path};
    if (!ReadNumberRowRecord(reader, context, m_messages, file.record)) {
        return false;
    }
    const HitRatioCondition& ratio = file.record.conditions.hitRatio;
    file.shape = VariationShape{
        m_game.rowLength, m_game.maxNumber, static_cast<int>(file.record.selected.size()),
        static_cast<int>(file.record.fixed.size()), ratio.active && ratio.fromDraws};
    file.options = file.record.conditions.options;
    m_messages.ShowWait(waitText, WaitPosition::Centre);
    file.result = ReadVariationBlock(reader, file.shape, file.store, file.loaded, file.options);
    m_messages.HideWait();
    switch (file.result) {
    case VariationRead::NoVariation: {
        const int version = file.record.fileVersion.Number();
        if (version < 2000 || version >= 2020) {
            m_messages.BadFile(path);
            return false;
        }
        return true;
    }
    case VariationRead::TooLarge:
        m_messages.Error("Az aktuális verzió nem olvassa be a(z)  1 millió számsornál nagyobb "
                         "terjedelmű variációkat.");
        return false;
    case VariationRead::Invalid:
        m_messages.BadFile(path);
        return false;
    case VariationRead::Loaded:
        return true;
    }
    return false;
}

bool VariationDocument::Load(const std::string& path) {
    VariationFile file;
    if (!Read(path, file, "Variáció állományának betöltése")) {
        RejectFile();
        return false;
    }
    Apply(std::move(file));
    return true;
}

void VariationDocument::Apply(VariationFile file) {
    if (file.result == VariationRead::NoVariation) {
        m_messages.Error(
            "Csak a variáció számsorát, a kijelölt feltételeket és az egyéb opciók "
            "beállításait tartalmazza az állomány.\r\rA hiba egyik lehetséges oka:\r    A "
            "2.0.1.9 verzióig, ha az Eszköztár - Mentés funkciót használta,\r    a számsor "
            "állományával íród(hat)ott felül a variáció állománya.\r\rA betöltött adatokkal "
            "újra tudja generálni a variáció listáját.");
        Delete();
        m_apply(std::move(file.record), true);
        return;
    }
    NumberRowRecord& record = file.record;
    record.conditions.options = file.options;
    const int selected = static_cast<int>(record.selected.size());
    const int fixed = static_cast<int>(record.fixed.size());
    const std::vector<std::uint8_t> fileOrder = record.selected;
    m_apply(std::move(record), true);
    if (!file.shape.drawsList) {
        // A sorted number order is applied again: the rows follow their numbers.
        RenumberPositions(fileOrder, file.store, file.loaded.resume);
    }
    m_store = std::move(file.store);
    m_store.saved = true;
    m_example = false;
    m_record = file.loaded;
    m_ticket.Extension() = ExtensionTargets{};
    // Added blocks: the variation goes on in extension mode.
    if (m_store.BlockEnds().size() > 1) {
        EnterExtensionMode(selected, fixed, m_store.savedBaseCount);
    }
}

void VariationDocument::RenumberPositions(const std::vector<std::uint8_t>& fileOrder,
                                          VariationStore& store, ResumePoint& resume) const {
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

ExportSource VariationDocument::RowSource() const {
    ExportSource source;
    source.numbers = m_ticket.Selected();
    source.fixed = m_ticket.Fixed();
    source.drawsList = DrawsList();
    if (source.drawsList) {
        static const std::vector<DrawRecord> kNoDraws;
        source.rowDraws = RowDraws(m_store, m_draws.HasDatabase() ? m_draws.Draws() : kNoDraws);
    }
    source.gameName = GameName(m_game.gameId);
    source.versionText = m_record.version.Text();
    source.dateText = ShortDateText(m_record.generationDate);
    return source;
}

std::string VariationDocument::ListTitle() const {
    return VariationListTitle(static_cast<int>(m_ticket.Selected().size()),
                              m_conditions.errorPoints, m_conditions.options.optimised, m_example,
                              m_store.Count());
}

bool VariationDocument::Export(const std::string& path, ExportFormat format) {
    m_messages.ShowWait("Export állomány mentése", WaitPosition::Centre);
    const std::string text = ExportText(m_store, RowSource(), format);
    const bool written = ReplaceFile(path, text);
    m_messages.HideWait();
    if (!written) {
        m_messages.Error("Az állomány létrehozása nem sikerült:\r\r" + path);
    }
    return written;
}

bool VariationDocument::Import(const std::string& path) {
    const bool sorted =
        m_messages.Question("Rendezett legyen a számok sorrendje a számsorokon belül?");
    m_conditions.DeactivateAll();
    Delete();
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxImportFileSize, bytes)) {
        m_apply(NumberRowRecord{}, false);
        m_messages.Error(OpenErrorText(path));
        return false;
    }
    m_messages.ShowWait("Import állomány betöltése", WaitPosition::Centre);
    const ImportedRows imported = ParseImport(std::string(bytes.begin(), bytes.end()),
                                              m_game.rowLength, m_game.maxNumber, path);
    m_messages.HideWait();
    if (!imported.ok) {
        m_apply(NumberRowRecord{}, false);
        m_messages.Error(imported.error.empty() ? ImportLineErrorText(imported.lineError)
                                                : imported.error);
        return false;
    }
    // The numbers become the ticket's variation numbers, in the order asked for.
    NumberRowRecord record;
    record.conditions = m_conditions;
    record.selected = imported.numbers;
    record.numberOrder = sorted ? 1 : 0;
    m_apply(std::move(record), true);
    m_ticket.SetUnchanged(false);
    const std::vector<std::uint8_t>& numbers = m_ticket.Selected();
    std::vector<std::uint8_t> positionOf(static_cast<std::size_t>(m_game.maxNumber) + 1, 0);
    for (std::size_t j = 0; j < numbers.size(); ++j) {
        positionOf[numbers[j]] = static_cast<std::uint8_t>(j);
    }
    m_store.Reset(m_game.rowLength, static_cast<int>(numbers.size()));
    if (!m_store.Reserve(static_cast<long long>(imported.rows.size()))) {
        m_messages.NoMemory();
        Delete();
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
        m_store.Append(row.data());
    }
    m_store.savedBaseCount = m_store.Count();
    m_store.BlockEnds() = {static_cast<std::int32_t>(m_store.Count())};
    m_record = VariationRecord{kProgramVersion, DayNumber(m_clock.Now()), {}};
    return true;
}

// --- Generation -------------------------------------------------------------------------------

StartCheck VariationDocument::StartChecks() {
    // Conditions or error points bound the run; the limits below are for the plain variation.
    if (m_conditions.errorPoints != 0 || m_conditions.AnyActive()) {
        return StartCheck::Go;
    }
    if (m_ticket.Extension().active) {
        m_messages.Warning(
            "Ha nincs kijelölt feltétel, a nulla hibapontos variáció nem értelmezett.");
        return StartCheck::OpenConditions;
    }
    const long long total = m_ticket.FullVariationSize();
    if (total > kRowLimit) {
        m_messages.Warning("A teljes variáció " + FormatThousands(total) +
                           " számsort igényel.\r\rAz aktuális verzió nem támogatja az ilyen "
                           "méretű variációk készítését.");
        return StartCheck::Refused;
    }
    return StartCheck::Go;
}

GenerationInput VariationDocument::MakeGenerationInput() const {
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
    input.extension = m_ticket.Extension().active && Exists();
    if (m_record.resume.paused && Exists()) {
        input.resume = m_record.resume;
    }
    return input;
}

void VariationDocument::GenerationDone(const GenerationOutcome& outcome) {
    if (outcome.finished || outcome.resume.paused) {
        m_record.resume = outcome.paused || !outcome.finished ? outcome.resume : ResumePoint{};
        if (outcome.finished) {
            m_record.version = kProgramVersion;
            m_record.generationDate = DayNumber(m_clock.Now());
        }
        if (outcome.itemisedFrom >= 1) {
            m_conditions.options.itemisedFrom = outcome.itemisedFrom;
        }
        m_store.saved = false;
        return;
    }
    // Stopped: an extension loses its unfinished rows, a new variation is not kept.
    if (m_ticket.Extension().active && m_store.baseCount > 0) {
        m_store.Truncate(m_store.baseCount);
        return;
    }
    Delete();
}

// --- Minimising -------------------------------------------------------------------------------

namespace {

std::vector<std::vector<std::uint8_t>> RowsOf(const VariationStore& store) {
    std::vector<std::vector<std::uint8_t>> rows;
    rows.reserve(static_cast<std::size_t>(store.Count()));
    for (long long r = 0; r < store.Count(); ++r) {
        rows.emplace_back(store.Row(r), store.Row(r) + store.RowWidth());
    }
    return rows;
}

void PutRows(VariationStore& store, const std::vector<std::vector<std::uint8_t>>& rows) {
    const int width = store.RowWidth();
    store.Reset(width, static_cast<int>(store.Frequencies().size()));
    store.Reserve(static_cast<long long>(rows.size()));
    for (const std::vector<std::uint8_t>& row : rows) {
        if (static_cast<int>(row.size()) == width) {
            store.Append(row.data());
        }
    }
}

} // namespace

void VariationDocument::ReplaceRows(const std::vector<std::vector<std::uint8_t>>& rows) {
    if (beforeDelete) {
        beforeDelete();
    }
    m_replacedRows = RowsOf(m_store);
    PutRows(m_store, rows);
    m_replacedRevision = m_store.Revision();
    m_replacedCount = m_store.Count();
}

bool VariationDocument::CanMinimise() const {
    return Exists() && m_conditions.errorPoints > 0 && !DrawsList() && !Paused() && !Extending();
}

bool VariationDocument::CanUndoReplace() const {
    return !m_replacedRows.empty() && m_store.Revision() == m_replacedRevision &&
           m_store.Count() == m_replacedCount;
}

bool VariationDocument::UndoReplace() {
    if (!CanUndoReplace()) {
        return false;
    }
    PutRows(m_store, m_replacedRows);
    m_replacedRows.clear();
    return true;
}

// --- Test -------------------------------------------------------------------------------------

int VariationDocument::TestDrawnMaximum() const {
    // Keno draws twenty numbers: a test draws at most a row's worth.
    const int drawn = m_game.drawnCount == 20 ? m_game.rowLength : m_game.drawnCount;
    return std::min(drawn, static_cast<int>(m_ticket.Selected().size())) -
           static_cast<int>(m_ticket.Fixed().size());
}

VariationTestInput VariationDocument::MakeTestInput(int drawn, bool conditionsMode,
                                                    int threads) const {
    VariationTestInput input;
    input.game = m_game;
    input.variationNumbers = m_ticket.Selected();
    input.fixedCount = static_cast<int>(m_ticket.Fixed().size());
    input.drawn = drawn;
    input.conditionsMode = conditionsMode;
    input.conditions = m_conditions;
    input.draws = m_draws.HasDatabase() ? &m_draws.Draws() : nullptr;
    input.drawsList = DrawsList();
    input.extended = m_store.BlockEnds().size() > 1;
    input.threads = threads;
    return input;
}

// --- Rows -------------------------------------------------------------------------------------

bool VariationDocument::HasRoomFor(long long adding) {
    if (m_store.Count() + adding > m_ticket.FullVariationSize()) {
        m_messages.Warning("A teljes variációt meghaladó méretű listát akar létrehozni.\r\rNem "
                           "bővíthető a variáció listája.");
        return false;
    }
    return true;
}

void VariationDocument::EnterExtensionMode(int selected, int fixed, long long startMark) {
    ExtensionTargets& extension = m_ticket.Extension();
    // After a commit the next extension begins where the committed one ended.
    if (!extension.active && !extension.Committed()) {
        extension.startMark = startMark;
    }
    extension.startMark = std::min(extension.startMark, m_store.Count());
    extension.active = true;
    extension.selectedCount = selected;
    extension.fixedCount = fixed;
}

bool VariationDocument::AddRows(AddMode mode, const std::vector<std::vector<std::uint8_t>>& rows,
                                long long index) {
    // Only rows of the variation's width that name variation numbers can join it.
    const auto numbers = static_cast<std::size_t>(m_store.Frequencies().size());
    for (const std::vector<std::uint8_t>& row : rows) {
        if (static_cast<int>(row.size()) != m_store.RowWidth() ||
            std::any_of(row.begin(), row.end(),
                        [numbers](std::uint8_t position) { return position >= numbers; })) {
            return false;
        }
    }
    if (rows.empty() || (mode == AddMode::Replace && (index < 0 || index >= m_store.Count()))) {
        return false;
    }
    m_store.saved = false;
    if (mode == AddMode::Replace) {
        m_store.RestoreOriginalOrder();
        m_store.ReplaceRow(index, rows.front().data());
        return true;
    }
    const long long before = m_store.Count();
    if (!m_store.AppendBlock(rows)) {
        m_messages.NoMemory();
        return false;
    }
    // The variation now holds rows the generation did not make.
    EnterExtensionMode(static_cast<int>(m_ticket.Selected().size()),
                       static_cast<int>(m_ticket.Fixed().size()), before);
    return true;
}

bool VariationDocument::DeleteRows(long long first, long long last, bool lastBlock) {
    // The box of the last block disables the range: it is not read then.
    if (lastBlock) {
        return UndoExtension();
    }
    const long long count = m_store.Count();
    if (first < 1 || last < first || last > count) {
        return false;
    }
    if (first == 1 && last == count) {
        return DeleteCommand();
    }
    if (!m_messages.Question("A törlés művelete nem visszavonható.\r\rBiztos törli a kijelölt "
                             "számsor(oka)t?")) {
        return false;
    }
    m_store.DeleteRows(first, last);
    m_store.saved = false;
    ExtensionTargets& extension = m_ticket.Extension();
    extension.startMark = std::min(extension.startMark, m_store.Count());
    return true;
}

} // namespace velmora
