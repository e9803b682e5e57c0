#pragma once

#include <ctime>

// The date and time the program stamps on what it writes, injected so that a test can fix
// them.
namespace velmora {

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time now.
    virtual std::tm Now() const = 0;
};

class SystemClock final : public Clock {
public:
    std::tm Now() const override;
};

// A calendar day as the files keep it: days since 30 December 1899.
double DayNumber(const std::tm& date);

// Whether a day number read from a file names a day of the years 1..9999 (a NaN, an infinity
// or a huge value is a damaged field).
bool IsValidDayNumber(double dayNumber);

} // namespace velmora
