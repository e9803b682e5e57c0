// The file readers fed random and damaged input. This target is built with AddressSanitizer
// and UndefinedBehaviorSanitizer, so a read past the end fails the test even where it would not
// crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "draws/draws_files.h"
#include "draws/draws_store.h"
#include "draws/results_import.h"
#include "fakes/fake_messages.h"
#include "game/number_row_file.h"

namespace velmora {
namespace {

using testing::OtosLine;
using testing::SampleDraws;

// Random and mutated files never crash the loader and never load a bad record.
TEST(DrawsFileFuzz, RandomAndMutatedBytes) {
    std::mt19937 random(20261206);
    const std::vector<GameId> games = {0, 1, 2, 4, 7, 8, 17};
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        const GameId id = games[static_cast<std::size_t>(round) % games.size()];
        const GameInfo game = LoadGameInfo(id);
        std::vector<std::uint8_t> bytes;
        if (round % 3 == 0) {
            bytes.resize(random() % 12000);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
            }
        } else {
            bytes = SerializeDraws(SampleDraws(game, 251 + static_cast<int>(random() % 50)), id);
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips; ++f) {
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            }
            bytes.resize(bytes.size() - random() % 40);
        }
        std::vector<DrawRecord> draws;
        if (ParseDrawsFile(bytes, game, draws) == DrawsLoad::Loaded) {
            ++loaded;
            for (const DrawRecord& d : draws) {
                ASSERT_GE(d.drawNo, 1);
                ASSERT_LE(d.drawNo, kMaxDrawNo);
                ASSERT_GE(d.drawYear, 1901);
                ASSERT_LE(d.drawYear, 2050);
                ASSERT_GE(d.drawWeek, 1);
                ASSERT_LE(d.drawWeek, 53);
            }
        } else {
            ASSERT_TRUE(draws.empty());
        }
    }
    EXPECT_GT(loaded, 0);
}

// Random and mutated results files never crash the parser, and what it accepts is in range.
TEST(ResultsImportFuzz, RandomAndMutatedText) {
    std::mt19937 random(6122026);
    const std::string alphabet = "0123456789;;;,. \r\nFtCs\xEF\xBB\xBF";
    const std::vector<GameId> games = {0, 1, 8};
    // One valid file per game above, each with a byte-order mark and a header line.
    const std::vector<std::string> samples = {
        "\xEF\xBB\xBFYear;Week\r\n" + OtosLine(2020, 3, "1;2;3;4;5") + "\r\n" +
            OtosLine(2020, 2, "11;22;33;44;55") + "\r\n",
        "\xEF\xBB\xBFYear;Week\n2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;32985;"
        "2 445 Ft;9;13;24;26;30;42\n2007;29;;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;1;2;3;4;5;6;7\n",
        "\xEF\xBB\xBF\nYear;Week\n2025;35;5;2025.08.29.;3;6;9;22;24;38;44;46;50;54;55;59;60;62;64;"
        "65;66;68;69;77\n1996;12;;;1;3;8;13;14;18;19;22;26;30;36;53;57;58;67;68;69;72;77;79\n"};
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text.resize(random() % 400);
            for (char& c : text) {
                c = alphabet[random() % alphabet.size()];
            }
        } else {
            text = samples[static_cast<std::size_t>(round / 2) % samples.size()];
            for (int f = 0; f < 1 + static_cast<int>(random() % 5); ++f) {
                text[random() % text.size()] = alphabet[random() % alphabet.size()];
            }
            text.resize(random() % (text.size() + 1));
        }
        const GameInfo game =
            LoadGameInfo(games[static_cast<std::size_t>(round / 2) % games.size()]);
        const ResultsParse parse = ParseResultsFile(text, game);
        if (!parse.ok) {
            ASSERT_TRUE(parse.draws.empty());
            continue;
        }
        ++accepted;
        for (const DrawRecord& d : parse.draws) {
            ASSERT_GE(d.drawYear, 1901);
            ASSERT_LE(d.drawYear, 2050);
            ASSERT_GE(d.drawWeek, 1);
            ASSERT_LE(d.drawWeek, 53);
            for (std::uint8_t n : d.numbers) {
                ASSERT_LE(n, game.maxNumber);
            }
        }
    }
    EXPECT_GT(accepted, 0);
}

// Damaged number-row records never crash the reader, every refusal is told to the user, and
// what it accepts is a consistent ticket.
TEST(NumberRowFileFuzz, RandomAndMutatedRecords) {
    std::mt19937 random(15122026);
    const GameInfo game = LoadGameInfo(0);
    NumberRowRecord sample;
    sample.numbersToChoose = 3;
    sample.selected = {7, 3, 45, 12, 88, 21, 60, 34};
    sample.fixed = {9, 50};
    sample.constant = {45, 12};
    sample.random = {88, 21};
    sample.conditions.hitRatio = {true, true, 2, 3, false, 1, 200};
    sample.conditionsSet = true;
    BinaryWriter writer;
    WriteNumberRowRecord(sample, writer);
    const std::vector<std::int32_t> extremes = {INT_MIN, INT_MAX, -1, 0, 1, 91};
    int accepted = 0;
    for (int round = 0; round < 6000; ++round) {
        std::vector<std::uint8_t> bytes = writer.Bytes();
        if (round % 5 == 0) {
            bytes.resize(random() % 600);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
            }
        } else {
            for (int f = 0; f < 1 + static_cast<int>(random() % 3); ++f) {
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random() % 100);
            }
            if (round % 3 == 0) {
                // An extreme value in one of the integer fields before the conditions.
                const std::size_t at = 4 * (random() % 14);
                const auto value = static_cast<std::uint32_t>(extremes[random() % extremes.size()]);
                for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
                    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
            bytes.resize(bytes.size() - random() % 3);
        }
        testing::FakeMessages messages;
        if (round % 2 == 0) {
            messages.QueueAnswer(Answer::Yes);
        }
        NumberRowRecord record;
        BinaryReader reader(bytes);
        const NumberRowContext context{game, static_cast<int>(random() % 300), "f.tip"};
        if (!ReadNumberRowRecord(reader, context, messages, record)) {
            ASSERT_GT(messages.Count(), 0u);
            continue;
        }
        ++accepted;
        const auto has = [](const std::vector<std::uint8_t>& list, std::uint8_t n) {
            return std::find(list.begin(), list.end(), n) != list.end();
        };
        ASSERT_EQ(record.numbersToChoose + static_cast<int>(record.fixed.size()), game.rowLength);
        ASSERT_GE(static_cast<int>(record.selected.size()), game.rowLength - 2);
        for (const auto* list :
             {&record.selected, &record.fixed, &record.constant, &record.random}) {
            for (std::uint8_t n : *list) {
                ASSERT_GE(n, 1);
                ASSERT_LE(n, game.maxNumber);
                ASSERT_EQ(std::count(list->begin(), list->end(), n), 1);
            }
        }
        for (std::uint8_t n : record.fixed) {
            ASSERT_FALSE(has(record.selected, n));
        }
        for (std::uint8_t n : record.constant) {
            ASSERT_TRUE(has(record.selected, n));
            ASSERT_FALSE(has(record.random, n));
        }
        for (std::uint8_t n : record.random) {
            ASSERT_TRUE(has(record.selected, n));
        }
        ASSERT_GE(record.numberOrder, 0);
        ASSERT_LE(record.numberOrder, 3);
        ASSERT_GE(record.conditions.errorPoints, 0);
        ASSERT_LT(record.conditions.errorPoints, game.rowLength);
        ASSERT_EQ(record.conditionsSet, record.conditions.AnyActive());
        if (record.conditions.hitRatio.active) {
            ASSERT_GT(context.drawsLoaded, 0);
        }
    }
    EXPECT_GT(accepted, 0);
}

} // namespace
} // namespace velmora
