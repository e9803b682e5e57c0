#include "common/hu_format.h"

#include <gtest/gtest.h>

#include "support/fixed_clock.h"

namespace velmora {
namespace {

TEST(HuFormat, ThousandsUseOneBlankBetweenGroupsFromTheRight) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1 000");
    EXPECT_EQ(FormatThousands(43949268), "43 949 268");
    EXPECT_EQ(FormatThousands(-1234567), "-1 234 567");
    EXPECT_EQ(FormatThousands(100000000), "100 000 000");
}

TEST(HuFormat, WidthFormatsPrintZeroAndPadOnTheLeft) {
    EXPECT_EQ(FormatWidth(0, 2), " 0");
    EXPECT_EQ(FormatWidth(123, 2), "123");
    EXPECT_EQ(FormatWidthZero(42, 3), "042");
    EXPECT_EQ(FormatDecimalWidth(1.58113883, 5, 2), " 1,58");
    EXPECT_EQ(FormatDecimalWidth(25.5, 5, 2), "25,50");
    EXPECT_EQ(PadLeft("ő", 3), "  ő") << "width counts characters, not bytes";
}

TEST(HuFormat, RealsRoundTripWithDecimalComma) {
    EXPECT_EQ(FormatReal(225), "225");
    EXPECT_EQ(FormatReal(0.65), "0,65");
    EXPECT_EQ(FormatReal(-16777192), "-16777192");
    double value = 0;
    ASSERT_TRUE(ParseReal("0,65", value));
    EXPECT_DOUBLE_EQ(value, 0.65);
    ASSERT_TRUE(ParseReal(" 2.5 ", value));
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_FALSE(ParseReal("", value));
    EXPECT_FALSE(ParseReal("12abc", value));
    long long whole = 0;
    EXPECT_TRUE(ParseInteger("-7", whole));
    EXPECT_EQ(whole, -7);
    EXPECT_FALSE(ParseInteger("7.5", whole));
    EXPECT_FALSE(ParseInteger("99999999999999999999", whole));
}

TEST(HuFormat, DateTimeAndElapsed) {
    EXPECT_EQ(FormatDate(testing::FixedClock().Now()), "2026. 12. 06.");
    EXPECT_EQ(FormatTime(testing::FixedClock().Now()), "06:27:50");
    EXPECT_EQ(FormatElapsed(65000), "0:01:05");
    EXPECT_EQ(FormatElapsed(3723000), "1:02:03") << "the minutes wrap at 60";
    EXPECT_EQ(FormatElapsed(-5), "0:00:00");
}

} // namespace
} // namespace velmora
