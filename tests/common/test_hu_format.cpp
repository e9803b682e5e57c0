#include "common/hu_format.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(HuFormat, ThousandsUseOneBlankBetweenGroups) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1 000");
    EXPECT_EQ(FormatThousands(43949268), "43 949 268");
    EXPECT_EQ(FormatThousands(-1234567), "-1 234 567");
    EXPECT_EQ(FormatThousands(100000000), "100 000 000");
}

TEST(HuFormat, WidthFormatsPrintZeroAndPadOnTheLeft) {
    EXPECT_EQ(FormatWidth(0, 2), " 0");
    EXPECT_EQ(FormatWidth(7, 2), " 7");
    EXPECT_EQ(FormatWidth(123, 2), "123");
    EXPECT_EQ(FormatDecimalWidth(1.58113883, 5, 2), " 1,58");
    EXPECT_EQ(FormatDecimalWidth(25.5, 5, 2), "25,50");
    EXPECT_EQ(FormatDecimal(225.5, 2), "225,50");
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

TEST(HuFormat, DateAndTime) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 6;
    time.tm_hour = 6;
    time.tm_min = 27;
    time.tm_sec = 50;
    EXPECT_EQ(FormatDate(time), "2026. 12. 06.");
    EXPECT_EQ(FormatTime(time), "06:27:50");
}

} // namespace
} // namespace velmora
