#include "layout/length.h"
#include "text/quote.h"

#include <algorithm>
#include <cstdlib>

namespace layout {

namespace {

    bool isDigit(char ch)
    {
        return ch >= '0' && ch <= '9';
    }

} // namespace

Length parseLength(std::string_view text, std::string_view what)
{
    const std::string name(what);
    const auto fail = [&](const std::string &why, Problem problem) -> InputError {
        return InputError(name + ": " + text::quote(text) + " " + why, problem);
    };
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    // The significant digits, and the power of ten of the last one.
    std::string digits;
    std::int64_t scale = 0;
    bool any = false;
    for (; at < text.size() && isDigit(text[at]); ++at, any = true)
        digits += text[at];
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && isDigit(text[at]); ++at, any = true) {
            digits += text[at];
            --scale;
        }
    }
    if (!any)
        throw fail("is not a number", Problem::NotANumber);
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        bool down = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            down = text[at++] == '-';
        if (at == text.size())
            throw fail("is not a number", Problem::NotANumber);
        std::int64_t exponent = 0;
        for (; at < text.size() && isDigit(text[at]); ++at)
            exponent = std::min<std::int64_t>(exponent * 10 + (text[at] - '0'), 1'000'000);
        scale += down ? -exponent : exponent;
    }
    if (at != text.size())
        throw fail("is not a number", Problem::NotANumber);

    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {};
    digits.erase(0, first);
    while (digits.back() == '0') {
        digits.pop_back();
        ++scale;
    }
    if (scale < -kMaxDecimals)
        throw fail("has more than " + std::to_string(kMaxDecimals) + " decimals",
            Problem::TooManyDecimals);
    // 100 m has 12 digits in units of 1e-6 mm; anything longer is too large.
    if (static_cast<std::int64_t>(digits.size()) + scale + kMaxDecimals > 12)
        throw fail("is larger than 100000 mm", Problem::TooLarge);
    std::int64_t micro = std::strtoll(digits.c_str(), nullptr, 10);
    for (std::int64_t i = 0; i < scale + kMaxDecimals; ++i)
        micro *= 10;
    if (micro * kTypedStep > kMaxUnits)
        throw fail("is larger than 100000 mm", Problem::TooLarge);
    return { (negative ? -micro : micro) * kTypedStep };
}

std::string lengthText(Length length)
{
    // A unit is 25e-8 mm, so eight decimals always suffice.
    constexpr std::int64_t kPerMm = 100'000'000;
    const std::int64_t value = length.units * (kPerMm / kUnitsPerMm);
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string text = (value < 0 ? "-" : "") + std::to_string(magnitude / kPerMm);
    std::string fraction = std::to_string(magnitude % kPerMm);
    fraction.insert(0, 8 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

double millimetres(Length length)
{
    // Through the decimal text, so 493.65 gives the double nearest to 493.65.
    return std::strtod(lengthText(length).c_str(), nullptr);
}

} // namespace layout
