#include "session/variation_document.h"

#include "session/minimise_variation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <set>

#include "common/file_io.h"
#include "support/engine_runs.h"
#include "support/session_parts.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using testing::Row;
using testing::SessionParts;
using testing::StoredRows;
using Numbers = std::vector<std::uint8_t>;

class VariationDocumentTest : public ::testing::Test, public SessionParts {
protected:
    void Mark(std::initializer_list<int> numbers) {
        for (int n : numbers) {
            session.ClickNumber(n, MarkKind::Variation);
        }
    }
    void MarkFirst(int count) {
        for (int n = 1; n <= count; ++n) {
            session.ClickNumber(n, MarkKind::Variation);
        }
    }
    // Runs the generation of the marks and conditions to its end.
    void Generate(Session& s, Messages& engineMessages, long long allowedRows = 100000) {
        VariationDocument& variation = s.Variation();
        ASSERT_EQ(variation.StartChecks(), StartCheck::Go);
        GenerationInput input = variation.MakeGenerationInput();
        input.allowedRows = allowedRows;
        Bontas engine(engineMessages, variation.Store());
        ASSERT_TRUE(engine.BontasIndul(input));
        engine.Run();
        variation.GenerationDone(engine.Vege());
    }
    // The file opened by another run of the program, whose messages go to `quiet`.
    std::unique_ptr<Session> Reopen(const std::string& path) {
        auto other = Another(quiet);
        EXPECT_TRUE(other->OpenFile(path)) << path;
        return other;
    }
    VariationDocument& variation = session.Variation();
    FakeMessages quiet;
};

TEST_F(VariationDocumentTest, StartRefusesOnlyAPlainVariationBeyondAHundredMillionRows) {
    session.ApplyGame(8); // Keno, 10 numbers a row
    MarkFirst(40);
    EXPECT_EQ(variation.StartChecks(), StartCheck::Refused);
    EXPECT_EQ(messages.LastText(), "A teljes variáció 847 660 528 számsort igényel.\r\rAz "
                                   "aktuális verzió nem támogatja az ilyen méretű variációk "
                                   "készítését.");
    EXPECT_EQ(messages.Last().kind, MessageKind::Warning);
    // Conditions or error points bound the run: the size of the full variation does not count.
    session.Conditions().errorPoints = 1;
    EXPECT_EQ(variation.StartChecks(), StartCheck::Go);
    session.Conditions().errorPoints = 0;
    session.Conditions().sum = {true, false, 100, 200};
    EXPECT_EQ(variation.StartChecks(), StartCheck::Go);
}

TEST_F(VariationDocumentTest, DeletingAsksUnlessSavedOrExtending) {
    MarkFirst(7);
    Generate(session, messages);
    EXPECT_EQ(variation.Store().Count(), 21);
    EXPECT_FALSE(variation.DeleteCommand());
    EXPECT_EQ(messages.LastText(), "Biztos törli a variáció listáját?");
    EXPECT_TRUE(variation.Exists());
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(variation.DeleteCommand());
    EXPECT_FALSE(variation.Exists());

    Generate(session, messages);
    variation.Store().saved = true;
    messages.Clear();
    EXPECT_TRUE(variation.DeleteCommand());
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(VariationDocumentTest, RowsAreAddedWithinTheFullVariationAndDeletedAfterAsking) {
    MarkFirst(6);
    Generate(session, messages); // all 6 combinations
    variation.ToggleExtension(); // a full variation is not extended
    EXPECT_FALSE(session.Ticket().Extension().active);
    EXPECT_EQ(messages.LastText(), "A variáció mérete elérte a teljes variáció szelvényszámát.");
    EXPECT_EQ(messages.Last().kind, MessageKind::Warning);
    EXPECT_FALSE(variation.HasRoomFor(1));
    EXPECT_EQ(messages.LastText(), "A teljes variációt meghaladó méretű listát akar "
                                   "létrehozni.\r\rNem bővíthető a variáció listája.");
    EXPECT_FALSE(variation.DeleteRows(2, 3));
    EXPECT_EQ(messages.LastText(),
              "A törlés művelete nem visszavonható.\r\rBiztos törli a kijelölt számsor(oka)t?");
    EXPECT_EQ(variation.Store().Count(), 6);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(variation.DeleteRows(2, 3));
    EXPECT_EQ(variation.Store().Count(), 4);
    EXPECT_TRUE(variation.HasRoomFor(2));
    variation.AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 5}});
    EXPECT_EQ(variation.Store().Count(), 5);
    EXPECT_TRUE(session.Ticket().Extension().active);
    EXPECT_EQ(variation.Store().BlockEnds(), (std::vector<std::int32_t>{4, 5}));
    variation.AddRows(AddMode::CheckRow, {{0, 1, 2, 3}}); // not a row of this variation
    variation.AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 6}});
    EXPECT_EQ(variation.Store().Count(), 5);

    // A changed row needs saving again.
    variation.Store().saved = true;
    variation.AddRows(AddMode::Replace, {{1, 2, 3, 4, 5}}, 0);
    EXPECT_FALSE(variation.Store().saved);
    EXPECT_EQ(StoredRows(variation.Store()).front(), (Row{1, 2, 3, 4, 5}));

    // Deleting the variation ends extension mode: a plain run may start again.
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(variation.DeleteCommand());
    EXPECT_FALSE(session.Ticket().Extension().active);
    EXPECT_EQ(variation.StartChecks(), StartCheck::Go);
}

TEST_F(VariationDocumentTest, FilesLoadBackWholeAndDamagedOnesLeaveNothing) {
    MarkFirst(9);
    session.Conditions().errorPoints = 1;
    session.Conditions().sum = {true, false, 20, 40};
    Generate(session, messages);
    const std::string path = home.Path() + "v.top";
    ASSERT_TRUE(variation.Save(path));
    EXPECT_TRUE(variation.Store().saved);
    EXPECT_EQ(variation.RowSource().dateText, "2026. 12. 06.") << "the clock's day";

    const auto other = Reopen(path);
    EXPECT_EQ(quiet.Count(), 0u);
    const VariationDocument& loaded = other->Variation();
    EXPECT_TRUE(loaded.Store().saved);
    EXPECT_EQ(StoredRows(loaded.Store()), StoredRows(variation.Store()));
    EXPECT_EQ(loaded.Store().Frequencies(), variation.Store().Frequencies());
    EXPECT_EQ(loaded.Store().BlockEnds(), variation.Store().BlockEnds());
    EXPECT_EQ(loaded.Record().generationDate, variation.Record().generationDate);
    EXPECT_EQ(other->Ticket().Selected(), session.Ticket().Selected());
    EXPECT_EQ(other->Conditions().errorPoints, 1);
    EXPECT_TRUE(other->Conditions().sum.active);

    // Saving what was loaded writes the same bytes.
    std::filesystem::rename(path, home.Path() + "V2.TOP");
    ASSERT_TRUE(other->Variation().Save(path));
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(ReadFileBytes(home.Path() + "V2.TOP", kMaxVariationFileSize, first));
    ASSERT_TRUE(ReadFileBytes(path, kMaxVariationFileSize, second));
    EXPECT_EQ(first, second);

    first.resize(first.size() - 3);
    ASSERT_TRUE(ReplaceFile(path, first));
    EXPECT_FALSE(other->OpenFile(path));
    EXPECT_EQ(quiet.LastText(),
              "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + path);
    EXPECT_FALSE(other->Variation().Exists());
    EXPECT_FALSE(other->Conditions().AnyActive());
    EXPECT_EQ(other->Ticket().MarkedCount(), 0);
}

TEST_F(VariationDocumentTest, RowsFollowTheirNumbersWhenTheFileOrderIsSortedAgain) {
    Mark({9, 3, 7, 1, 5, 2});
    Generate(session, messages);
    // Not every row of the six numbers: a renumbering must show.
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(variation.DeleteRows(2, 4));
    auto numberRows = [](Session& s) {
        std::set<std::set<int>> rows;
        for (const Row& row : StoredRows(s.Variation().Store())) {
            std::set<int> numbers;
            for (std::uint8_t position : row) {
                numbers.insert(s.Ticket().Selected()[position]);
            }
            rows.insert(numbers);
        }
        return rows;
    };
    const std::string path = home.Path() + "order.top";
    ASSERT_TRUE(variation.Save(path));
    // The number order field (after the header, the counts and the three lists) says ascending.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, kMaxVariationFileSize, bytes));
    const std::size_t order = 16 + 4 + 4 + (4 + 6) + (4 + 0) + (4 + 0);
    ASSERT_EQ(bytes[order], 0);
    bytes[order] = 1;
    ASSERT_TRUE(ReplaceFile(path, bytes));

    const auto other = Reopen(path);
    EXPECT_EQ(other->Ticket().Selected(), (Numbers{1, 2, 3, 5, 7, 9}));
    EXPECT_EQ(numberRows(*other), numberRows(session));
}

TEST_F(VariationDocumentTest, ExtensionsGoOnAfterLoadingAndLoseTheirRowsWhenStopped) {
    MarkFirst(7);
    Generate(session, messages);
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(variation.DeleteRows(1, 1)); // {0, 1, 2, 3, 4}
    variation.AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 4}});
    ASSERT_EQ(variation.Store().BlockEnds(), (std::vector<std::int32_t>{20, 21}));
    const std::string path = home.Path() + "extended.top";
    ASSERT_TRUE(variation.Save(path));
    const auto other = Reopen(path);
    const ExtensionTargets& extension = other->Ticket().Extension();
    EXPECT_TRUE(extension.active);
    EXPECT_EQ(extension.selectedCount, 7);

    // A stopped run of an extension keeps the body, a stopped new variation nothing.
    variation.Store().baseCount = 20;
    variation.GenerationDone(GenerationOutcome{});
    EXPECT_EQ(variation.Store().Count(), 20);
    session.Ticket().Extension().active = false;
    variation.GenerationDone(GenerationOutcome{});
    EXPECT_FALSE(variation.Exists());
}

TEST_F(VariationDocumentTest, ExtensionsAreCommittedAndUndoneBlockByBlock) {
    MarkFirst(8);
    session.Conditions().sum = {true, false, 15, 20};
    Generate(session, messages);
    const long long body = variation.Store().Count();
    ASSERT_GT(body, 0);
    EXPECT_FALSE(variation.CanUndoExtension()) << "the body alone is never undone";

    variation.ToggleExtension();
    const ExtensionTargets& extension = session.Ticket().Extension();
    ASSERT_TRUE(extension.active);
    EXPECT_EQ(extension.selectedCount, 8);
    EXPECT_EQ(extension.startMark, body);
    EXPECT_FALSE(variation.CanCommitExtension()) << "nothing added yet";

    // An extension run appends the rows of the wider sum as one more block.
    session.Conditions().sum = {true, false, 15, 25};
    variation.BeforeGeneration();
    Generate(session, messages);
    const long long extended = variation.Store().Count();
    ASSERT_GT(extended, body);
    EXPECT_EQ(variation.Store().BlockEnds(),
              (std::vector<std::int32_t>{static_cast<std::int32_t>(body),
                                         static_cast<std::int32_t>(extended)}));
    EXPECT_TRUE(variation.CanCommitExtension());
    const auto extendedRows = StoredRows(variation.Store());

    // Undone after the question: the body is left as it was made.
    EXPECT_FALSE(variation.UndoExtension());
    EXPECT_EQ(messages.Last().kind, MessageKind::Confirmation);
    EXPECT_EQ(messages.LastText(), "A törlés művelete nem visszavonható.\r\rBiztos törli a "
                                   "listába utoljára beillesztett számsorokat?");
    EXPECT_EQ(variation.Store().Count(), extended);
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(variation.UndoExtension());
    EXPECT_EQ(variation.Store().Count(), body);
    EXPECT_EQ(variation.Store().BlockEnds().size(), 1u);
    EXPECT_FALSE(variation.CanCommitExtension());

    // Made again and committed: the rows join the body, the marks follow.
    Generate(session, messages);
    EXPECT_EQ(StoredRows(variation.Store()), extendedRows);
    variation.CommitExtension();
    EXPECT_EQ(extension.committedMark, extended);
    EXPECT_EQ(extension.startMark, extended);
    EXPECT_EQ(variation.Store().savedBaseCount, extended);
    EXPECT_FALSE(variation.CanCommitExtension());

    // A row added by hand is a block of its own, and Start commits it first.
    Row absent;
    for (const Row& candidate : {Row{0, 1, 5, 6, 7}, Row{3, 4, 5, 6, 7}}) {
        if (std::find(extendedRows.begin(), extendedRows.end(), candidate) == extendedRows.end()) {
            absent = candidate;
        }
    }
    ASSERT_FALSE(absent.empty());
    ASSERT_TRUE(variation.AddRows(AddMode::CheckRow, {absent}));
    EXPECT_TRUE(variation.CanCommitExtension());
    variation.BeforeGeneration();
    EXPECT_EQ(extension.committedMark, extended + 1);

    // The last block goes; the one before it lies below the committed mark and stays.
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(variation.DeleteRows(2, 2, true));
    EXPECT_EQ(variation.Store().Count(), extended);
    EXPECT_EQ(variation.Store().BlockEnds().size(), 2u);
    EXPECT_FALSE(variation.CanUndoExtension());
    messages.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(variation.UndoExtension());
    EXPECT_EQ(variation.Store().Count(), extended);

    // Switched off and on again: the next extension begins at the rows now stored.
    variation.ToggleExtension();
    EXPECT_FALSE(extension.active);
    variation.ToggleExtension();
    EXPECT_TRUE(extension.active);
    EXPECT_EQ(extension.startMark, extended);
}

// A plain model of the rows: each row remembers the block it joined, so the block ends are
// simply where one block's rows stop.
struct RowsModel {
    std::vector<Row> rows; // in generation order
    std::vector<int> blocks;
    int nextBlock = 1;

    void Add(const Row& row) {
        rows.push_back(row);
        blocks.push_back(nextBlock++);
    }
    void Erase(std::size_t first, std::size_t end) {
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(first),
                   rows.begin() + static_cast<std::ptrdiff_t>(end));
        blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(first),
                     blocks.begin() + static_cast<std::ptrdiff_t>(end));
    }
    std::vector<std::int32_t> BlockEnds() const {
        std::vector<std::int32_t> ends;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i + 1 == rows.size() || blocks[i + 1] != blocks[i]) {
                ends.push_back(static_cast<std::int32_t>(i + 1));
            }
        }
        return ends;
    }
};

// Any sequence of adds, changes, deletions, sorts, extensions and undos leaves the rows, their
// frequencies, order table and block ends as the plain model of the same edits says.
TEST_F(VariationDocumentTest, AnySequenceOfEditsMatchesAPlainModel) {
    messages.onPresent = [this](const FakeMessages::Shown&) { messages.QueueAnswer(Answer::Yes); };
    constexpr int kNumbers = 10;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](long long below) {
            return std::uniform_int_distribution<long long>(0, below - 1)(random);
        };
        const auto randomRow = [&] {
            std::vector<std::uint8_t> all(kNumbers);
            std::iota(all.begin(), all.end(), std::uint8_t{0});
            std::shuffle(all.begin(), all.end(), random);
            Row row(all.begin(), all.begin() + 5);
            std::sort(row.begin(), row.end());
            return row;
        };
        session.NewTicket();
        MarkFirst(kNumbers);
        VariationStore& store = variation.Store();
        store.Reset(5, kNumbers);
        RowsModel model;
        ASSERT_TRUE(store.Reserve(8));
        for (int i = 0; i < 8; ++i) {
            const Row row = randomRow();
            store.Append(row.data());
            model.rows.push_back(row);
            model.blocks.push_back(0);
        }
        store.CloseBlock();
        store.savedBaseCount = store.Count();

        for (int step = 0; step < 120 && variation.Exists(); ++step) {
            const long long count = store.Count();
            switch (pick(8)) {
            case 0: { // a row from the check ticket
                const Row row = randomRow();
                ASSERT_TRUE(variation.AddRows(AddMode::CheckRow, {row}));
                model.Add(row);
                break;
            }
            case 1: { // a row changed in place
                const long long at = pick(count);
                const Row row = randomRow();
                ASSERT_TRUE(variation.AddRows(AddMode::Replace, {row}, at));
                model.rows[static_cast<std::size_t>(at)] = row;
                break;
            }
            case 2: { // a range of rows, never all of them
                if (count < 2) {
                    break;
                }
                const long long first = 1 + pick(count);
                const long long last = first + pick(count - first + 1);
                if (first == 1 && last == count) {
                    break;
                }
                ASSERT_TRUE(variation.DeleteRows(first, last));
                model.Erase(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last));
                break;
            }
            case 3:
                ASSERT_TRUE(variation.SortRows());
                break;
            case 4:
                variation.RestoreOrder();
                break;
            case 5:
                variation.ToggleExtension();
                break;
            case 6:
                if (variation.CanCommitExtension()) {
                    variation.CommitExtension();
                    EXPECT_EQ(store.savedBaseCount, store.Count());
                }
                break;
            case 7:
                if (variation.CanUndoExtension()) {
                    ASSERT_TRUE(variation.UndoExtension());
                    const int last = model.blocks.back();
                    const auto from = std::find(model.blocks.begin(), model.blocks.end(), last);
                    model.Erase(static_cast<std::size_t>(from - model.blocks.begin()),
                                model.rows.size());
                }
                break;
            }
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            ASSERT_EQ(store.Count(), static_cast<long long>(model.rows.size()));
            const std::vector<Row> stored = StoredRows(store);
            if (store.IsSorted()) {
                std::vector<Row> sorted = model.rows;
                std::sort(sorted.begin(), sorted.end());
                ASSERT_EQ(stored, sorted);
                // The order table leads every row back to its place in the generation order.
                for (std::size_t i = 0; i < stored.size(); ++i) {
                    ASSERT_EQ(stored[i], model.rows[store.OrderTable()[i]]);
                }
            } else {
                ASSERT_EQ(stored, model.rows);
            }
            std::vector<std::uint32_t> frequencies(kNumbers, 0);
            for (const Row& row : model.rows) {
                for (std::uint8_t position : row) {
                    ++frequencies[position];
                }
            }
            ASSERT_EQ(store.Frequencies(), frequencies);
            ASSERT_EQ(store.BlockEnds(), model.BlockEnds());
            ASSERT_LE(store.savedBaseCount, store.Count());
            ASSERT_LE(store.baseCount, store.Count());
        }
    }
}

TEST_F(VariationDocumentTest, ImportMakesTheTicketAndTheRows) {
    const std::string path = home.Path() + "rows.csv";
    ASSERT_TRUE(ReplaceFile(path, std::string("9;3;7;1;5\r\n2;4;6;8;10\r\n")));
    messages.QueueAnswer(Answer::Yes); // sorted numbers
    ASSERT_TRUE(session.OpenFile(path));
    EXPECT_EQ(messages.Log().front().text,
              "Rendezett legyen a számok sorrendje a számsorokon belül?");
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(StoredRows(variation.Store()), (std::vector<Row>{{0, 2, 4, 6, 8}, {1, 3, 5, 7, 9}}));
    EXPECT_EQ(variation.Store().BlockEnds(), (std::vector<std::int32_t>{2}));

    // Unsorted: the file's order stays, in the rows and on the ticket.
    ASSERT_TRUE(session.OpenFile(path));
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{9, 3, 7, 1, 5, 2, 4, 6, 8, 10}));
    EXPECT_EQ(StoredRows(variation.Store()), (std::vector<Row>{{0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}}));

    ASSERT_TRUE(ReplaceFile(path, std::string("1;2;3;4;5\r\n1;2;2;4;5\r\n")));
    EXPECT_FALSE(session.OpenFile(path));
    EXPECT_EQ(messages.LastText(), "2. sor 3. száma (2) ismétlődik.");
    EXPECT_FALSE(variation.Exists());
    EXPECT_EQ(session.Ticket().MarkedCount(), 0);
}

TEST_F(VariationDocumentTest, PausedVariationGoesOnFromItsFile) {
    MarkFirst(13);
    session.Conditions().errorPoints = 1;
    testing::EngineRun whole(variation.MakeGenerationInput());
    ASSERT_TRUE(whole.Go());

    // Paused at the first growth question, saved, and loaded by another run of the program.
    FakeMessages pausing;
    {
        VariationDocument& v = session.Variation();
        GenerationInput input = v.MakeGenerationInput();
        input.allowedRows = 8;
        Bontas engine(pausing, v.Store());
        pausing.onPresent = [&pausing, &engine](const FakeMessages::Shown& shown) {
            pausing.QueueAnswer(shown.text.find("Folytatja a variációt?") != std::string::npos
                                    ? Answer::No
                                    : Answer::Yes);
            engine.RequestPause();
        };
        ASSERT_TRUE(engine.BontasIndul(input));
        engine.Run();
        v.GenerationDone(engine.Vege());
    }
    ASSERT_TRUE(variation.Paused());
    ASSERT_LT(variation.Store().Count(), whole.store.Count());
    const std::string path = home.Path() + "paused.top";
    ASSERT_TRUE(variation.Save(path));

    const auto other = Reopen(path);
    ASSERT_TRUE(other->Variation().Paused());
    Generate(*other, quiet);
    EXPECT_FALSE(other->Variation().Paused());
    EXPECT_EQ(StoredRows(other->Variation().Store()), StoredRows(whole.store));
}

// A minimised variation takes the place of the rows only when the variation test confirms
// its guarantee; the rows before come back until the rows change otherwise.
TEST_F(VariationDocumentTest, AMinimisedVariationReplacesTheRowsOnceTestedAndCanBeUndone) {
    MarkFirst(12);
    MinimiseJob job;
    std::string refusal;
    EXPECT_FALSE(PrepareMinimise(variation, job, refusal));
    EXPECT_EQ(refusal, "Nincs kész variáció.");
    Generate(session, messages);
    EXPECT_FALSE(PrepareMinimise(variation, job, refusal)); // no error points
    EXPECT_EQ(refusal, kMinimiseRefusedText);

    session.Conditions().errorPoints = 1;
    Generate(session, messages);
    const std::vector<Row> greedy = StoredRows(variation.Store());
    ASSERT_EQ(greedy.size(), 65U);
    ASSERT_TRUE(PrepareMinimise(variation, job, refusal)) << refusal;
    EXPECT_EQ(job.input.needed, 4);
    EXPECT_EQ(job.lowerBound, 22);
    job.input.seconds = 0.2;
    job.input.seed = 1;
    MinimiserProgress progress;
    MinimiserResult result = MinimiseRows(job.input, progress);
    ASSERT_TRUE(result.improved);

    // One row fewer than the search found leaves a case without 4 hits: the test refuses it.
    MinimiserResult broken = result;
    broken.rows.pop_back();
    EXPECT_EQ(JudgeMinimised(variation, job, broken, 1), MinimiseVerdict::Refused);
    EXPECT_FALSE(ApplyMinimised(variation, broken, MinimiseVerdict::Refused, messages));
    EXPECT_EQ(messages.LastText(), kMinimiseTestFailedText);
    EXPECT_EQ(StoredRows(variation.Store()), greedy);

    int backups = 0;
    variation.beforeDelete = [&backups] { ++backups; };
    ASSERT_EQ(JudgeMinimised(variation, job, result, 2), MinimiseVerdict::Confirmed);
    ASSERT_TRUE(ApplyMinimised(variation, result, MinimiseVerdict::Confirmed, messages));
    EXPECT_EQ(backups, 1);
    EXPECT_EQ(StoredRows(variation.Store()), result.rows);
    EXPECT_FALSE(variation.Store().saved);
    ASSERT_TRUE(variation.CanUndoReplace());
    EXPECT_TRUE(variation.UndoReplace());
    EXPECT_EQ(StoredRows(variation.Store()), greedy);
    EXPECT_FALSE(variation.CanUndoReplace());

    // Any later change of the rows ends the undo.
    ASSERT_TRUE(ApplyMinimised(variation, result, MinimiseVerdict::Confirmed, messages));
    ASSERT_TRUE(variation.AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 5}}));
    EXPECT_FALSE(variation.CanUndoReplace());
    EXPECT_FALSE(variation.UndoReplace());
}

// "Rendezés" sorts without asking up to 10 000 rows, asks above, refuses from 100 000; the
// original order comes back exactly.
TEST_F(VariationDocumentTest, SortingAsksAboveTenThousandRowsAndRefusesAHundredThousand) {
    const std::string question = " 10 000 db számsor felett (a számítógép teljesítményétől "
                                 "függően), akár perceket is igénybe vehet az indexek "
                                 "rendezése.\r\rA rendezés folyamata nem megszakítható.\r\r"
                                 "Mégis folytatja?";
    struct Case {
        long long rows;
        std::vector<Answer> answers;
        bool sorted;
        std::string says; // the last message, empty: none
    };
    const Case cases[] = {
        {10000, {}, true, ""},
        {10001, {Answer::No}, false, question},
        {10001, {Answer::Yes}, true, question},
        {100000,
         {Answer::Yes},
         false,
         " 100 000 db számsor felett, nem áll rendelkezésre a funkció."},
    };
    for (const Case& c : cases) {
        VariationStore& store = variation.Store();
        store.Reset(2, 90);
        std::vector<std::uint8_t> bytes;
        for (long long r = 0; r < c.rows; ++r) {
            // Descending pairs: the sort reverses them.
            const long long k = c.rows - 1 - r;
            bytes.push_back(static_cast<std::uint8_t>(k / 90 % 89));
            bytes.push_back(static_cast<std::uint8_t>(k % 90));
        }
        ASSERT_TRUE(store.Assign(bytes, c.rows));
        const std::vector<Row> before = StoredRows(store);
        messages.Clear();
        for (Answer answer : c.answers) {
            messages.QueueAnswer(answer);
        }
        EXPECT_EQ(variation.SortRows(), c.sorted) << c.rows;
        EXPECT_EQ(store.IsSorted(), c.sorted) << c.rows;
        EXPECT_EQ(messages.LastText(), c.says) << c.rows;
        if (c.sorted) {
            const std::vector<Row> after = StoredRows(store);
            EXPECT_TRUE(std::is_sorted(after.begin(), after.end())) << c.rows;
            variation.RestoreOrder();
            EXPECT_EQ(StoredRows(store), before) << c.rows;
            EXPECT_FALSE(store.IsSorted());
        }
    }
}

} // namespace
} // namespace velmora
