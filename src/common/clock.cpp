#include "common/clock.h"

#include <chrono>
#include <cmath>

namespace velmora {

namespace {

constexpr int kDaysBeforeUnixEpoch = 25569;
constexpr double kFirstDayNumber = -693593; // 1 January 1
constexpr double kLastDayNumber = 2958466;  // the end of 31 December 9999

} // namespace

std::tm SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

double DayNumber(const std::tm& date) {
    const std::chrono::sys_days day{std::chrono::year{date.tm_year + 1900} /
                                    std::chrono::month{static_cast<unsigned>(date.tm_mon + 1)} /
                                    std::chrono::day{static_cast<unsigned>(date.tm_mday)}};
    return static_cast<double>(day.time_since_epoch().count() + kDaysBeforeUnixEpoch);
}

bool IsValidDayNumber(double dayNumber) {
    return std::isfinite(dayNumber) && dayNumber >= kFirstDayNumber && dayNumber < kLastDayNumber;
}

} // namespace velmora
