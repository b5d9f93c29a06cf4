#include "report/numbers.h"

#include "runtime/chars.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace report {

std::string numberText(double value)
{
    return runtime::shortestText(value);
}

std::string roundedText(double value)
{
    std::string text = numberText(std::round(value * 1e4) / 1e4);
    return text == "-0" ? "0" : text;
}

std::string millimetresText(double value)
{
    // What a designer reads off a drawing: to a micrometre, without trailing zeros.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", std::round(value * 1000) / 1000);
    std::string text = buffer;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string fixedText(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

std::optional<Balance> balanceOf(const std::int64_t *perPass, int passes, std::int64_t total)
{
    if (passes < 2 || total <= 0)
        return std::nullopt;
    const auto [least, most] = std::minmax_element(perPass, perPass + passes);
    return Balance { *most - *least, passes, total };
}

std::string Balance::percentText() const
{
    // 1000 · spread · passes / total tenths, to the nearest, a half up.
    const std::int64_t tenths = (2000 * spread * passes + total) / (2 * total);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace report
