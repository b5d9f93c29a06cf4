#include "runtime/cstr.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace runtime {

std::string CStr(double value)
{
    if (value == 0)
        return "0";
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    char buffer[32];
    // Counts are whole numbers: print them as integers, the common case and a quick one.
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        const auto result =
            std::to_chars(std::begin(buffer), std::end(buffer), static_cast<long long>(value));
        return std::string(buffer, result.ptr);
    }
    // Shortest general form at 15 significant digits, without the locale's say.
    const auto result =
        std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace runtime
