#include "conditions/condition_set.h"

#include <gtest/gtest.h>

#include <bit>
#include <set>
#include <variant>

#include "conditions/condition_table.h"
#include "conditions/number_data.h"

namespace velmora {
namespace {

using Member = std::variant<bool*, std::int32_t*, float*>;

// A member of the set and the offsets of its bytes in the 405-byte block and in the 212-byte
// record of major-version-1 files (0: not kept there), written out from the file formats rather
// than taken from the condition table. `id` is the editor's field of the member.
struct Place {
    const char* name;
    std::size_t offset;
    std::size_t oldOffset;
    Field id;
    Member (*at)(ConditionSet&);
};

// clang-format off
#define PLACE(offset, oldOffset, id, member) \
    Place{#member, offset, oldOffset, Field::id, [](ConditionSet& s) -> Member { return &s.member; }}
const Place kPlaces[] = {
    PLACE(1, 4, None, favoured.active), PLACE(5, 8, FavouredFirst, favoured.first),
    PLACE(9, 12, FavouredLast, favoured.last), PLACE(13, 16, FavouredMinHits, favoured.minHits),
    PLACE(17, 20, FavouredMaxHits, favoured.maxHits),
    PLACE(21, 24, None, mobile.active), PLACE(25, 28, MobileSize, mobile.groupSize),
    PLACE(29, 32, MobileMax, mobile.maxPerGroup),
    PLACE(33, 36, None, fixed.active), PLACE(37, 40, FixedSize, fixed.groupSize),
    PLACE(41, 44, FixedMax, fixed.maxPerGroup),
    PLACE(45, 48, None, decadeParity.active), PLACE(46, 49, None, decadeParity.fixedRatio),
    PLACE(49, 52, DecadeParityMin, decadeParity.minimum),
    PLACE(53, 56, DecadeParityMax, decadeParity.maximum), PLACE(57, 60, None, decadeParity.even),
    PLACE(61, 72, None, decadeRepeat.active), PLACE(62, 73, None, decadeRepeat.oneGroup),
    PLACE(65, 76, DecadeRepeatMin, decadeRepeat.minimum),
    PLACE(69, 80, DecadeRepeatMax, decadeRepeat.maximum),
    PLACE(73, 92, None, hitRatio.active), PLACE(74, 93, None, hitRatio.searched),
    PLACE(77, 96, HitRatioMin, hitRatio.minHits), PLACE(81, 100, HitRatioMax, hitRatio.maxHits),
    PLACE(85, 104, None, hitRatio.fromDraws), PLACE(89, 212, None, hitRatio.firstDraw),
    PLACE(93, 216, None, hitRatio.lastDraw),
    PLACE(97, 108, None, endingParity.active), PLACE(98, 109, None, endingParity.fixedRatio),
    PLACE(101, 112, EndingParityMin, endingParity.minimum),
    PLACE(105, 116, EndingParityMax, endingParity.maximum),
    PLACE(109, 120, None, endingParity.even),
    PLACE(113, 132, None, endingRepeat.active), PLACE(114, 133, None, endingRepeat.oneGroup),
    PLACE(117, 136, EndingRepeatMin, endingRepeat.minimum),
    PLACE(121, 140, EndingRepeatMax, endingRepeat.maximum),
    PLACE(125, 152, None, sum.active), PLACE(126, 153, None, sum.fixedSum),
    PLACE(129, 156, SumMin, sum.minimum), PLACE(133, 160, SumMax, sum.maximum),
    PLACE(137, 172, None, twins.active), PLACE(141, 176, TwinsMin, twins.minimum),
    PLACE(145, 180, TwinsMax, twins.maximum),
    PLACE(149, 192, None, mirrors.active), PLACE(153, 196, MirrorsMin, mirrors.minimum),
    PLACE(157, 200, MirrorsMax, mirrors.maximum),
    PLACE(161, 0, None, deviation.active), PLACE(165, 0, None, deviation.minimum),
    PLACE(169, 0, None, deviation.maximum),
    PLACE(173, 0, None, span.active), PLACE(177, 0, SpanFirst, span.first),
    PLACE(181, 0, SpanLast, span.last),
    PLACE(185, 0, None, primes.active), PLACE(189, 0, PrimesMin, primes.minimum),
    PLACE(193, 0, PrimesMax, primes.maximum),
    PLACE(197, 0, None, numberGroups.active), PLACE(201, 0, NumberGroupCount, numberGroups.count),
};
#undef PLACE
// clang-format on
// The flags the old record keeps as single bytes; its other flags are 32-bit integers.
const std::set<std::size_t> kOldByteFlags = {48, 49, 72, 73, 92, 93, 108, 109, 132, 133, 152, 153};

struct Entry {
    std::string name;
    std::size_t offset;
    Member member;
};

// Every member the block keeps, number-group slots (20 bytes each from 205) included.
std::vector<Entry> Members(ConditionSet& s) {
    std::vector<Entry> all;
    for (const Place& p : kPlaces) {
        all.push_back({p.name, p.offset, p.at(s)});
    }
    for (std::size_t g = 0; g < kMaxNumberGroups; ++g) {
        NumberGroupSlot& slot = s.numberGroups.groups[g];
        std::int32_t* values[] = {&slot.first, &slot.last, &slot.minHits, &slot.maxHits};
        for (std::size_t f = 0; f < 4; ++f) {
            all.push_back({"slot " + std::to_string(g), 205 + 20 * g + 4 * f, values[f]});
        }
    }
    return all;
}

// Sets the member to a value of its own and returns the bits a file keeps for it.
std::uint32_t Mark(Member m, int value) {
    if (std::holds_alternative<bool*>(m)) {
        *std::get<bool*>(m) = true;
        return 1;
    }
    if (std::holds_alternative<std::int32_t*>(m)) {
        *std::get<std::int32_t*>(m) = value;
        return static_cast<std::uint32_t>(value);
    }
    float& real = *std::get<float*>(m);
    real = static_cast<float>(value) + 0.25f;
    return std::bit_cast<std::uint32_t>(real);
}

void Put(std::vector<std::uint8_t>& b, std::size_t offset, std::uint32_t bits,
         std::size_t size = 4) {
    for (std::size_t i = 0; i < size; ++i) {
        b[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

ConditionSet Zeroed() {
    ConditionSet s;
    s.errorPoints = 0;
    for (const Entry& e : Members(s)) {
        std::visit([](auto* p) { *p = {}; }, e.member);
    }
    return s;
}

// Every member set, each to a value of its own.
ConditionSet Marked() {
    ConditionSet s = Zeroed();
    const std::vector<Entry> members = Members(s);
    for (std::size_t i = 0; i < members.size(); ++i) {
        Mark(members[i].member, 1000 + static_cast<int>(i));
    }
    s.errorPoints = 3;
    return s;
}

std::vector<std::uint8_t> Block(const ConditionSet& s) {
    BinaryWriter writer;
    WriteConditionBlock(s, writer);
    return writer.Bytes();
}

// Each member alone on an otherwise zero set: the block changes at its offset only, and reading
// the block back gives the same set.
TEST(ConditionBlock, EveryMemberLivesAtItsOffsetAndReadsBack) {
    const ConditionSet zero = Zeroed();
    const std::vector<std::uint8_t> empty = Block(zero);
    ASSERT_EQ(empty, std::vector<std::uint8_t>(kConditionBlockSize, 0));
    ConditionSet counted;
    const std::size_t count = Members(counted).size();
    for (std::size_t i = 0; i < count; ++i) {
        ConditionSet s = zero;
        const Entry e = Members(s)[i];
        SCOPED_TRACE(e.name);
        const std::uint32_t bits = Mark(e.member, 1000 + static_cast<int>(i));
        std::vector<std::uint8_t> expected = empty;
        Put(expected, e.offset, bits, std::holds_alternative<bool*>(e.member) ? 1 : 4);
        const std::vector<std::uint8_t> block = Block(s);
        EXPECT_EQ(block, expected);
        BinaryReader reader(block);
        ConditionSet read; // the defaults: reading must replace every member
        ASSERT_TRUE(ReadConditionBlock(reader, 2200, read));
        EXPECT_EQ(Block(read), block);
    }
    ConditionSet errors = zero;
    errors.errorPoints = 3;
    EXPECT_EQ(Block(errors)[0], 3);
}

// Up to 2016 the deviation limits are integers; before 2200 the number groups are missing.
// A block too short for its version is refused and leaves the set alone.
TEST(ConditionBlock, VersionsDecideTheDeviationTypeAndTheNumberGroups) {
    const ConditionSet marked = Marked();
    const std::vector<std::uint8_t> block = Block(marked);
    std::vector<std::uint8_t> integers = block;
    Put(integers, 165, 7);
    Put(integers, 169, 20);
    struct Case {
        int version;
        std::size_t size;
        bool read;
    };
    for (const Case& c : {Case{2016, 197, true}, Case{2016, 196, false}, Case{2017, 197, true},
                          Case{2199, 197, true}, Case{2200, 405, true}, Case{2200, 404, false},
                          Case{2200, 197, false}, Case{2300, 405, true}}) {
        SCOPED_TRACE(std::to_string(c.version) + ", " + std::to_string(c.size) + " bytes");
        const bool integerDeviation = c.version <= 2016;
        const std::vector<std::uint8_t>& source = integerDeviation ? integers : block;
        const std::vector<std::uint8_t> bytes(source.begin(), source.begin() + c.size);
        BinaryReader reader(bytes);
        ConditionSet read;
        read.numberGroups.active = true;
        const ConditionSet before = read;
        ASSERT_EQ(ReadConditionBlock(reader, c.version, read), c.read);
        ConditionSet expected = c.read ? marked : before;
        if (c.read && c.version < 2200) {
            expected.numberGroups = before.numberGroups;
            expected.numberGroups.active = false;
        }
        if (c.read && integerDeviation) {
            expected.deviation = {true, 7, 20};
        }
        EXPECT_EQ(Block(read), Block(expected));
    }
}

// Each member alone in an old record. Flags kept as integers hold a value only a 32-bit read
// sees; deviation, span, primes and number groups, unknown there, end inactive.
TEST(ConditionBlock, MajorVersionOneRecord) {
    for (std::size_t i = 0; i <= std::size(kPlaces); ++i) {
        // The last round sets the error points, an integer at 0.
        const bool errors = i == std::size(kPlaces);
        if (!errors && kPlaces[i].oldOffset == 0) {
            continue;
        }
        ConditionSet expected = Zeroed();
        const std::size_t offset = errors ? 0 : kPlaces[i].oldOffset;
        const Member member = errors ? Member{&expected.errorPoints} : kPlaces[i].at(expected);
        SCOPED_TRACE(errors ? "errorPoints" : kPlaces[i].name);
        const std::uint32_t bits = Mark(member, 100 + static_cast<int>(i));
        std::vector<std::uint8_t> bytes(kOldConditionRecordSize + 8, 0);
        if (kOldByteFlags.count(offset) > 0) {
            bytes[offset] = 1;
        } else {
            Put(bytes, offset, std::holds_alternative<bool*>(member) ? 0x100 : bits);
        }
        ConditionSet read = Zeroed();
        read.deviation.active = read.span.active = read.primes.active = true;
        read.numberGroups.active = true;
        BinaryReader reader(bytes);
        ASSERT_TRUE(ReadOldConditionRecord(reader, read));
        EXPECT_EQ(read.errorPoints, expected.errorPoints);
        EXPECT_EQ(Block(read), Block(expected));
    }
    const std::vector<std::uint8_t> cut(kOldConditionRecordSize + 7, 0);
    BinaryReader reader(cut);
    ConditionSet read;
    EXPECT_FALSE(ReadOldConditionRecord(reader, read));
}

TEST(ConditionBlock, DamagedValuesAreBoundedOnReading) {
    ConditionSet wild;
    wild.sum = {true, false, -2147483647 - 1, 2147483647};
    wild.favoured = {true, 2147483647, -5, 0, 2000000};
    wild.deviation = {true, -1.0e30f, 1.0e30f};
    const std::vector<std::uint8_t> block = Block(wild);
    BinaryReader reader(block);
    ConditionSet read;
    ASSERT_TRUE(ReadConditionBlock(reader, 2300, read));
    EXPECT_EQ(read.sum.minimum, -100000);
    EXPECT_EQ(read.sum.maximum, 100000);
    EXPECT_EQ(read.favoured.first, 100000);
    EXPECT_EQ(read.favoured.last, -5) << "values inside the band stay as they were";
    EXPECT_FLOAT_EQ(read.deviation.maximum, 1.0e6f);
}

TEST(ConditionTable, OrdersArePermutationsAndBitsDistinct) {
    std::set<int> testOrders;
    std::set<int> listOrders;
    unsigned bits = 0;
    for (const ConditionInfo& info : ConditionTable()) {
        SCOPED_TRACE(info.key);
        EXPECT_EQ(&InfoOf(info.id), &info);
        testOrders.insert(info.testOrder);
        listOrders.insert(info.listOrder);
        EXPECT_EQ(std::popcount(info.passedBit), 1);
        EXPECT_EQ(bits & info.passedBit, 0u);
        bits |= info.passedBit;
    }
    for (const std::set<int>& order : {testOrders, listOrders}) {
        EXPECT_EQ(order.size(), static_cast<std::size_t>(kConditionCount));
        EXPECT_EQ(*order.rbegin(), kConditionCount - 1);
    }
    const auto listed = ConditionsInListOrder();
    for (std::size_t i = 0; i < listed.size(); ++i) {
        ASSERT_NE(listed[i], nullptr);
        EXPECT_EQ(listed[i]->listOrder, i);
    }
}

TEST(ConditionTable, AccessorsNameTheirMembers) {
    ConditionSet s;
    std::set<Field> named;
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        for (const ConditionInfo& info : ConditionTable()) {
            if (info.offset == p.offset) {
                EXPECT_EQ(&ActiveFlag(s, info.id), std::get<bool*>(p.at(s)));
            }
        }
        if (p.id == Field::None) {
            continue;
        }
        EXPECT_EQ(&FieldRef(s, p.id), std::get<std::int32_t*>(p.at(s)));
        Condition condition{};
        ASSERT_TRUE(ConditionOfField(p.id, condition));
        const ConditionInfo& info = InfoOf(condition);
        EXPECT_TRUE(p.offset > info.offset && p.offset < info.offset + info.size);
        named.insert(p.id);
    }
    const std::pair<Field, std::int32_t*> others[] = {
        {Field::ErrorPoints, &s.errorPoints},
        {Field::OverwriteHits, &s.options.overwriteHits},
        {Field::ItemisedFrom, &s.options.itemisedFrom},
        {Field::ItemisedTo, &s.options.itemisedTo}};
    for (const auto& [field, member] : others) {
        EXPECT_EQ(&FieldRef(s, field), member);
        Condition condition{};
        EXPECT_FALSE(ConditionOfField(field, condition));
        named.insert(field);
    }
    EXPECT_EQ(named.size(), static_cast<std::size_t>(Field::None)) << "every field but None";
}

// A record's reset puts back that record's defaults and touches no other record.
TEST(ConditionTable, ResetTouchesOnlyItsRecord) {
    const std::vector<std::uint8_t> defaults = Block(ConditionSet{});
    for (const ConditionInfo& info : ConditionTable()) {
        SCOPED_TRACE(info.key);
        ConditionSet s = Marked();
        std::vector<std::uint8_t> expected = Block(s);
        std::copy(defaults.begin() + info.offset, defaults.begin() + info.offset + info.size,
                  expected.begin() + info.offset);
        info.reset(s);
        EXPECT_EQ(Block(s), expected);
    }
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
    EXPECT_EQ(SzamJelzoBeallitas({11, 22}, 90).mirrorPairs, 0);
}

} // namespace
} // namespace velmora
