#pragma once

#include "common/clock.h"

namespace velmora::testing {

// Always 6 December 2026, 06:27:50.
class FixedClock final : public Clock {
public:
    std::tm Now() const override {
        std::tm time{};
        time.tm_year = 126;
        time.tm_mon = 11;
        time.tm_mday = 6;
        time.tm_hour = 6;
        time.tm_min = 27;
        time.tm_sec = 50;
        return time;
    }
};

} // namespace velmora::testing
