#include "common/numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/clock.h"
#include "support/fixed_clock.h"

namespace velmora {
namespace {

TEST(Numbers, BinomialIsExactThenSaturates) {
    EXPECT_EQ(Binomial(90, 5), 43949268u);
    EXPECT_EQ(Binomial(90, 10), 5720645481903u);
    EXPECT_EQ(Binomial(67, 33), 14226520737620288370u) << "the largest that fits";
    EXPECT_EQ(Binomial(5, 0), 1u);
    EXPECT_EQ(Binomial(5, 6), 0u);
    EXPECT_EQ(Binomial(5, -1), 0u);
    EXPECT_EQ(Binomial(90, 45), std::numeric_limits<unsigned long long>::max());
    EXPECT_EQ(CombinationCount(90, 45), std::numeric_limits<long long>::max());
    EXPECT_EQ(CombinationCount(67, 33), std::numeric_limits<long long>::max());
}

TEST(Clock, DayNumberCountsFromTheLastDaysOf1899) {
    EXPECT_EQ(DayNumber(testing::FixedClock().Now()), 46362.0);
    std::tm epoch{};
    epoch.tm_year = -1;
    epoch.tm_mon = 11;
    epoch.tm_mday = 30;
    EXPECT_EQ(DayNumber(epoch), 0.0);
}

} // namespace
} // namespace velmora
