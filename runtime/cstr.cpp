#include "runtime/cstr.h"

#include "runtime/chars.h"

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
    std::string text = generalText(value, 15);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace runtime
