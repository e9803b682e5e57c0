#include "draws/draws_editor.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

DrawRecord Draw(int year, int week, std::initializer_list<int> numbers) {
    DrawRecord d;
    d.drawYear = year;
    d.drawWeek = week;
    std::copy(numbers.begin(), numbers.end(), d.numbers.begin());
    return d;
}

// `count` weekly 5/90 draws numbered 1..count, as a loaded database holds them.
std::vector<DrawRecord> Weekly(int count) {
    std::vector<DrawRecord> draws;
    for (int i = 1; i <= count; ++i) {
        DrawRecord d =
            Draw(2000 + i / 53, i % 53 + 1, {i % 86 + 1, i % 86 + 2, i % 86 + 3, 88, 90});
        d.drawNo = i;
        draws.push_back(d);
    }
    return draws;
}

struct Editing : ::testing::Test {
    void Load(std::vector<DrawRecord> draws) {
        store.MutableDraws() = std::move(draws);
        ranges.Reset(store.Count());
        editor.ClearHistory();
    }
    std::vector<int> Weeks() const {
        std::vector<int> weeks;
        for (const DrawRecord& d : store.Draws()) {
            weeks.push_back(d.drawWeek);
        }
        return weeks;
    }
    DrawsStore store;
    DrawRanges ranges;
    DrawsEditor editor{store, ranges};
};

TEST_F(Editing, InsertDeleteAndUndoRenumberTheDraws) {
    Load(Weekly(10));
    ASSERT_TRUE(editor.Insert(3, Draw(2000, 3, {1, 2, 3, 4, 5})));
    ASSERT_EQ(store.Count(), 11);
    for (int row = 1; row <= 11; ++row) {
        EXPECT_EQ(store.At(row - 1).drawNo, row);
    }
    EXPECT_EQ(store.At(3).drawWeek, Weekly(10)[2].drawWeek) << "the old draw 3 is draw 4";
    EXPECT_TRUE(store.DatabaseModified());
    EXPECT_EQ(editor.CurrentRow(), 3);
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(store.Draws(), Weekly(10));
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(store.Count(), 11);
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_FALSE(editor.Insert(13, Draw(2001, 1, {1, 2, 3, 4, 5})));
    EXPECT_FALSE(editor.Delete(0));
    EXPECT_FALSE(editor.Modify(12, Draw(2001, 1, {1, 2, 3, 4, 5})));
}

TEST_F(Editing, DeletingPastARangeCutsItAndAllDrawsStayAll) {
    Load(Weekly(10));
    ranges.SetLHuzSzamaElso(4);
    ranges.SetLHuzSzamaUtolso(10);
    ranges.SetHuzSzamaElso(2);
    ranges.SetHuzSzamaUtolso(5);
    ASSERT_TRUE(editor.Delete(10));
    EXPECT_EQ(ranges.GetLHuzSzamaUtolso(), 9);
    EXPECT_EQ(ranges.GetHuzSzamaUtolso(), 5);
    EXPECT_EQ(ranges.HitRatio().last, 9) << "all draws";
    ASSERT_TRUE(editor.Append(Draw(2000, 12, {1, 2, 3, 4, 5})));
    EXPECT_EQ(ranges.HitRatio().last, 10);
    EXPECT_EQ(ranges.GetLHuzSzamaUtolso(), 9) << "a chosen range keeps its end";
}

TEST_F(Editing, AFullDatabaseDropsItsOldestDrawToAppend) {
    Load(Weekly(kMaxDrawNo));
    const DrawRecord oldest = store.At(0);
    ASSERT_TRUE(editor.Append(Draw(2200, 1, {1, 2, 3, 4, 5})));
    EXPECT_TRUE(editor.DroppedOldest());
    EXPECT_EQ(store.Count(), kMaxDrawNo);
    EXPECT_EQ(store.Draws().back().drawNo, kMaxDrawNo);
    EXPECT_EQ(store.Draws().back().drawYear, 2200);
    EXPECT_FALSE(editor.Insert(5, Draw(2000, 1, {1, 2, 3, 4, 5}))) << "only an append makes room";
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(store.At(0), oldest);
    EXPECT_EQ(store.Draws(), Weekly(kMaxDrawNo));
}

// Any sequence of edits, undos and redos leaves the draws as a plain list of snapshots says;
// undoing everything gives back the loaded bytes.
TEST_F(Editing, AnySequenceMatchesSnapshotsAndUndoesToTheLoadedFile) {
    std::mt19937 random(5);
    const auto pick = [&random](int below) {
        return std::uniform_int_distribution<int>(0, below - 1)(random);
    };
    for (int round = 0; round < 20; ++round) {
        Load(Weekly(6));
        const std::vector<std::uint8_t> loaded = SerializeDraws(store.Draws(), 0);
        std::vector<std::vector<DrawRecord>> states = {store.Draws()};
        std::size_t at = 0;
        const auto edited = [&](std::vector<DrawRecord> next) {
            for (std::size_t i = 0; i < next.size(); ++i) {
                next[i].drawNo = static_cast<int>(i) + 1;
            }
            states.resize(at + 1);
            states.push_back(next);
            ++at;
        };
        for (int step = 0; step < 60; ++step) {
            std::vector<DrawRecord> now = states[at];
            const int count = static_cast<int>(now.size());
            const DrawRecord fresh =
                Draw(2100 + step, 1 + pick(53), {1 + pick(90), 91, 92, 93, 94});
            switch (pick(6)) {
            case 0:
                ASSERT_TRUE(editor.Append(fresh));
                now.push_back(fresh);
                edited(now);
                break;
            case 1: {
                const int row = 1 + pick(count + 1);
                ASSERT_TRUE(editor.Insert(row, fresh));
                now.insert(now.begin() + (row - 1), fresh);
                edited(now);
                break;
            }
            case 2:
                if (count > 0) {
                    const int row = 1 + pick(count);
                    ASSERT_TRUE(editor.Modify(row, fresh));
                    now[static_cast<std::size_t>(row - 1)] = fresh;
                    edited(now);
                }
                break;
            case 3:
                if (count > 0) {
                    const int row = 1 + pick(count);
                    ASSERT_TRUE(editor.Delete(row));
                    now.erase(now.begin() + (row - 1));
                    edited(now);
                }
                break;
            case 4:
                ASSERT_EQ(editor.Undo(), at > 0);
                at -= at > 0 ? 1 : 0;
                break;
            case 5:
                ASSERT_EQ(editor.Redo(), at + 1 < states.size());
                at += at + 1 < states.size() ? 1 : 0;
                break;
            }
            ASSERT_EQ(store.Draws(), states[at]) << "round " << round << " step " << step;
        }
        while (editor.Undo()) {
        }
        EXPECT_EQ(SerializeDraws(store.Draws(), 0), loaded);
    }
}

} // namespace
} // namespace velmora
