#include "common/hu_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cerrno>

namespace velmora {

namespace {

int Utf8Length(const std::string& text) {
    int length = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            ++length;
        }
    }
    return length;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string FormatThousands(long long value) {
    const bool negative = value < 0;
    // Work on the unsigned magnitude so that the smallest value does not overflow.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    std::string result;
    const int count = static_cast<int>(digits.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            result += ' ';
        }
        result += digits[static_cast<std::size_t>(i)];
    }
    return negative ? "-" + result : result;
}

std::string FormatWidth(long long value, int width) {
    return PadLeft(std::to_string(value), width);
}

std::string FormatDecimal(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

std::string FormatDecimalWidth(double value, int width, int decimals) {
    return PadLeft(FormatDecimal(value, decimals), width);
}

std::string FormatReal(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

bool ParseReal(const std::string& text, double& value) {
    std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        return false;
    }
    for (char& c : trimmed) {
        if (c == ',') {
            c = '.';
        }
    }
    // from_chars reads the point whatever the C library's locale says.
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (*first == '+') {
        ++first;
    }
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInteger(const std::string& text, long long& value) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(trimmed.c_str(), &end, 10);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE) {
        return false;
    }
    value = parsed;
    return true;
}

std::string FormatElapsed(long long milliseconds) {
    const long long seconds = std::max(milliseconds, 0LL) / 1000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buffer;
}

std::string FormatWidthZero(long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

std::string FormatDate(const std::tm& time) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d. %02d. %02d.", time.tm_year + 1900, time.tm_mon + 1,
                  time.tm_mday);
    return buffer;
}

std::string FormatTime(const std::tm& time) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
    return buffer;
}

std::string PadLeft(const std::string& text, int width) {
    const int length = Utf8Length(text);
    if (length >= width) {
        return text;
    }
    return std::string(static_cast<std::size_t>(width - length), ' ') + text;
}

} // namespace velmora
