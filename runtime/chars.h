#pragma once

// Doubles to text and back as std::to_chars and std::from_chars give them, on every standard
// library. WebAssembly's has no floating-point <charconv>; there the portable versions below
// stand in, built on libraries that give the same correctly rounded results.

#include <charconv>
#include <string>

namespace runtime {

/// std::to_chars(value): the shortest digits that read back as the same double, in fixed or
/// exponent form, whichever is shorter ("12.5", "1e+21").
std::string shortestText(double value);

/// std::to_chars(value, std::chars_format::fixed): the shortest digits that read back, never
/// in exponent form ("0.0001", "1000000"); a large whole number exactly.
std::string fixedText(double value);

/// std::to_chars(value, std::chars_format::general, precision): printf's %.*g.
std::string generalText(double value, int precision);

/// std::from_chars for a double: no blanks or plus sign, no locale; out of range (an overflow,
/// or digits that round to zero) leaves `value` alone and says so.
std::from_chars_result readDouble(const char *first, const char *last, double &value,
    std::chars_format format = std::chars_format::general);

/// The stand-ins, always built, so that the tests hold them to the standard library's results.
namespace portable {
    std::string shortestText(double value);
    std::string fixedText(double value);
    std::string generalText(double value, int precision);
    std::from_chars_result readDouble(
        const char *first, const char *last, double &value, std::chars_format format);
} // namespace portable

} // namespace runtime
