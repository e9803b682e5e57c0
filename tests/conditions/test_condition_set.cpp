#include "conditions/condition_set.h"

#include <gtest/gtest.h>

#include <cstring>

#include "conditions/number_data.h"

namespace velmora {
namespace {

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return static_cast<std::int32_t>(b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[offset + 3]) << 24));
}

ConditionSet Busy() {
    ConditionSet s;
    s.errorPoints = 2;
    s.favoured = {true, 3, 9, 1, 2};
    s.mobile = {true, 4, 2};
    s.fixed = {false, 5, 3};
    s.decadeParity = {true, false, 2, 3, false};
    s.decadeRepeat = {true, false, 1, 2};
    s.hitRatio = {true, false, 2, 4, true, 11, 2345};
    s.endingParity = {false, true, 1, 4, true};
    s.endingRepeat = {true, true, 0, 1};
    s.sum = {true, false, 100, 180};
    s.twins = {true, 0, 1};
    s.mirrors = {false, 1, 2};
    s.deviation = {true, 7.25f, 19.5f};
    s.span = {true, 2, 17};
    s.primes = {true, 1, 3};
    s.numberGroups.active = true;
    s.numberGroups.count = 3;
    s.numberGroups.groups[0] = {1, 5, 0, 2};
    s.numberGroups.groups[2] = {10, 20, 1, 4};
    return s;
}

TEST(ConditionBlock, OffsetsOfEveryRecord) {
    BinaryWriter writer;
    WriteConditionBlock(Busy(), writer);
    const std::vector<std::uint8_t>& b = writer.Bytes();
    ASSERT_EQ(b.size(), kConditionBlockSize);
    EXPECT_EQ(b[0], 2) << "error points";
    // Favoured at 1: active, padding, F, L, min, max.
    EXPECT_EQ(b[1], 1);
    EXPECT_EQ(b[2] | b[3] | b[4], 0);
    EXPECT_EQ(I32At(b, 5), 3);
    EXPECT_EQ(I32At(b, 17), 2);
    // Mobile at 21, fixed at 33.
    EXPECT_EQ(b[21], 1);
    EXPECT_EQ(I32At(b, 25), 4);
    EXPECT_EQ(I32At(b, 29), 2);
    EXPECT_EQ(b[33], 0);
    EXPECT_EQ(I32At(b, 37), 5);
    // Decade even/odd at 45: flags at 1 and 12.
    EXPECT_EQ(b[45], 1);
    EXPECT_EQ(b[46], 0) << "Több";
    EXPECT_EQ(I32At(b, 49), 2);
    EXPECT_EQ(b[57], 0) << "páratlan";
    // Decade repetition at 61, hit ratio at 73.
    EXPECT_EQ(b[62], 0);
    EXPECT_EQ(b[73], 1);
    EXPECT_EQ(b[74], 0) << "Kizárt";
    EXPECT_EQ(I32At(b, 77), 2);
    EXPECT_EQ(b[85], 1) << "rows from the draws";
    EXPECT_EQ(I32At(b, 89), 11);
    EXPECT_EQ(I32At(b, 93), 2345);
    // Ending even/odd at 97, ending repetition at 113, sum at 125.
    EXPECT_EQ(b[109], 1);
    EXPECT_EQ(b[114], 1) << "Egy";
    EXPECT_EQ(I32At(b, 129), 100);
    EXPECT_EQ(I32At(b, 133), 180);
    // Twins 137, mirrors 149, deviation 161 (single precision), span 173, primes 185.
    float deviation = 0;
    const auto bits = static_cast<std::uint32_t>(I32At(b, 165));
    std::memcpy(&deviation, &bits, sizeof deviation);
    EXPECT_FLOAT_EQ(deviation, 7.25f);
    EXPECT_EQ(I32At(b, 181), 17);
    EXPECT_EQ(I32At(b, 193), 3);
    // Number groups at 197: count at 4, slots of 20 bytes from 8.
    EXPECT_EQ(b[197], 1);
    EXPECT_EQ(I32At(b, 201), 3);
    EXPECT_EQ(I32At(b, 205), 1);
    EXPECT_EQ(I32At(b, 205 + 40 + 4), 20);
    EXPECT_EQ(I32At(b, 205 + 40 + 16), 0) << "reserved";
}

TEST(ConditionBlock, OlderVersions) {
    BinaryWriter writer;
    WriteConditionBlock(Busy(), writer);
    // Up to 2016 the deviation limits are integers; before 2200 the number groups are missing.
    std::vector<std::uint8_t> old(writer.Bytes().begin(), writer.Bytes().begin() + 197);
    const std::uint8_t seven[4] = {7, 0, 0, 0};
    const std::uint8_t twenty[4] = {20, 0, 0, 0};
    std::copy(seven, seven + 4, old.begin() + 165);
    std::copy(twenty, twenty + 4, old.begin() + 169);
    BinaryReader reader(old);
    ConditionSet read;
    read.numberGroups.active = true;
    ASSERT_TRUE(ReadConditionBlock(reader, 2016, read));
    EXPECT_FLOAT_EQ(read.deviation.minimum, 7.0f);
    EXPECT_FLOAT_EQ(read.deviation.maximum, 20.0f);
    EXPECT_FALSE(read.numberGroups.active);
    EXPECT_EQ(read.sum.maximum, 180);

    const std::vector<std::uint8_t> newer(writer.Bytes().begin(), writer.Bytes().begin() + 197);
    BinaryReader floats(newer);
    ConditionSet read2;
    ASSERT_TRUE(ReadConditionBlock(floats, 2100, read2));
    EXPECT_FLOAT_EQ(read2.deviation.maximum, 19.5f);
}

TEST(ConditionBlock, MajorVersionOneRecord) {
    std::vector<std::uint8_t> b(212 + 8, 0);
    auto put = [&b](std::size_t offset, std::int32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            b[offset + i] =
                static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
        }
    };
    put(0, 1); // error points
    put(4, 1); // favoured active
    put(8, 2);
    put(12, 8);
    put(16, 1);
    put(20, 2);
    b[48] = 1; // decade even/odd active
    b[49] = 1; // Fix
    put(52, 2);
    put(56, 3);
    put(60, 1); // páros
    b[92] = 1;  // hit ratio
    b[93] = 1;
    put(96, 3);
    put(100, 5);
    b[152] = 1; // sum
    put(156, 90);
    put(160, 150);
    put(192, 1); // mirror pairs
    put(196, 0);
    put(200, 1);
    put(212, 5); // the hit ratio's draw range
    put(216, 300);
    BinaryReader reader(b);
    ConditionSet set;
    set.deviation.active = true;
    ASSERT_TRUE(ReadOldConditionRecord(reader, set));
    EXPECT_EQ(set.errorPoints, 1);
    EXPECT_TRUE(set.favoured.active);
    EXPECT_EQ(set.favoured.last, 8);
    EXPECT_TRUE(set.decadeParity.active);
    EXPECT_TRUE(set.decadeParity.even);
    EXPECT_EQ(set.decadeParity.maximum, 3);
    EXPECT_EQ(set.hitRatio.minHits, 3);
    EXPECT_EQ(set.hitRatio.firstDraw, 5);
    EXPECT_EQ(set.hitRatio.lastDraw, 300);
    EXPECT_EQ(set.sum.maximum, 150);
    EXPECT_TRUE(set.mirrors.active);
    EXPECT_FALSE(set.mobile.active);
    EXPECT_FALSE(set.deviation.active) << "no deviation in such files";
    b.pop_back();
    BinaryReader cut(b);
    EXPECT_FALSE(ReadOldConditionRecord(cut, set));
}

TEST(NumberData, FlagsMirrorsAndClasses) {
    const NumberData data = SzamJelzoBeallitas({12, 21, 13, 31, 11, 22, 2, 20, 89}, 90);
    EXPECT_EQ(data.mirrorPairs, 2);
    EXPECT_EQ(data.mirrorPartner[0], 1);
    EXPECT_EQ(data.mirrorPartner[3], 2);
    EXPECT_EQ(data.mirrorPartner[4], -1) << "a twin pairs with nobody";
    EXPECT_EQ(data.mirrorPartner[6], -1) << "2 and 20 are no pair";
    EXPECT_EQ(data.twinCount, 2);
    EXPECT_EQ(data.primeCount, 5); // 13, 31, 11, 2, 89
    EXPECT_EQ(data.flags[6], kFlagEven | kFlagEvenDecade | kFlagPrime);
    EXPECT_EQ(data.flags[0] & kFlagMirror, kFlagMirror);
    EXPECT_EQ(data.evenCount, 4);
    EXPECT_EQ(data.evenDecadeCount, 5); // 2, 20, 21, 22, 89
    EXPECT_EQ(data.decades.perClass[1], 3);
    EXPECT_EQ(data.decades.largest, 3);
    EXPECT_EQ(data.decades.classesWithTwoOrMore, 2);
    EXPECT_EQ(data.decades.classesWithOne, 3); // 0, 3, 8
    EXPECT_EQ(data.decades.repetitions, 9 - 5);
    EXPECT_EQ(data.endings.repetitions, 9 - 5); // endings 2, 1, 3, 1, 1, 2, 2, 0, 9

    const NumberData pairless = SzamJelzoBeallitas({11, 22}, 90);
    EXPECT_EQ(pairless.mirrorPairs, 0);
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

TEST(ConditionBlock, DamagedValuesAreBoundedOnReading) {
    ConditionSet wild;
    wild.sum = {true, false, -2147483647 - 1, 2147483647};
    wild.favoured = {true, 2147483647, -5, 0, 2000000};
    wild.deviation = {true, -1.0e30f, 1.0e30f};
    BinaryWriter writer;
    WriteConditionBlock(wild, writer);
    BinaryReader reader(writer.Bytes());
    ConditionSet read;
    ASSERT_TRUE(ReadConditionBlock(reader, 2300, read));
    EXPECT_EQ(read.sum.minimum, -100000);
    EXPECT_EQ(read.sum.maximum, 100000);
    EXPECT_EQ(read.favoured.first, 100000);
    EXPECT_EQ(read.favoured.last, -5) << "values inside the band stay as they were";
    EXPECT_FLOAT_EQ(read.deviation.maximum, 1.0e6f);
}

} // namespace
} // namespace velmora
