#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Hungarian number, date and time formats, used for every value the program shows, whatever
// the system locale is.
namespace velmora {

// 43949268 -> "43 949 268" (one blank between groups of three digits).
std::string FormatThousands(long long value);

// Right-aligned in `width` characters, like "%2.0d": a zero prints as "0".
std::string FormatWidth(long long value, int width);

// Fixed decimals with a decimal comma: 1.5811 -> "1,58".
std::string FormatDecimal(double value, int decimals);

// Fixed decimals with a decimal comma, right-aligned in `width`, like "%5.2f".
std::string FormatDecimalWidth(double value, int width, int decimals);

// A real value written the way the settings file keeps it: shortest form, decimal comma.
std::string FormatReal(double value);

// Reads a real written with a decimal comma or a decimal point; false when it is not a number.
bool ParseReal(const std::string& text, double& value);

// Reads a whole decimal integer (blanks around it allowed); false when it is not one.
bool ParseInteger(const std::string& text, long long& value);

// A length of time in milliseconds as hours, minutes and seconds: 65 000 -> "0:01:05".
std::string FormatElapsed(long long milliseconds);

// Zero-padded to `width` digits, like "%3.3u": 42 -> "042".
std::string FormatWidthZero(long long value, int width);

// "2026. 12. 06."
std::string FormatDate(const std::tm& time);

// "06:27:50"
std::string FormatTime(const std::tm& time);

// Pads `text` on the left with blanks to `width` characters (counting UTF-8 characters).
std::string PadLeft(const std::string& text, int width);

} // namespace velmora
