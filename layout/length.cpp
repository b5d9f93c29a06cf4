#include "layout/length.h"
#include "text/quote.h"

#include "layout/predicates.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace layout {

namespace {

    bool isDigit(char ch)
    {
        return ch >= '0' && ch <= '9';
    }

    /// The text before an inch mark ("in" or a double quote) and the blanks before it; none
    /// when there is no mark.
    std::optional<std::string_view> beforeInchMark(std::string_view text)
    {
        std::size_t end = text.size();
        if (end >= 2 && text.substr(end - 2) == "in")
            end -= 2;
        else if (end >= 1 && text[end - 1] == '"')
            end -= 1;
        else
            return std::nullopt;
        while (end > 0 && text[end - 1] == ' ')
            --end;
        return text.substr(0, end);
    }

    /// Whole digits at `at`, at most 12 of them (a longer number is no length).
    std::optional<Int128> wholeAt(std::string_view text, std::size_t &at)
    {
        const std::size_t from = at;
        Int128 value = 0;
        for (; at < text.size() && isDigit(text[at]); ++at)
            if (at - from < 13)
                value = value * 10 + (text[at] - '0');
        if (at == from || at - from > 12)
            return std::nullopt;
        return value;
    }

    /// Inches as a fraction num/den: "0.75", "15/16", "1-1/4", "1 1/4", with a sign.
    std::optional<std::pair<Int128, Int128>> inchesOf(std::string_view text)
    {
        std::size_t at = 0;
        const bool negative = !text.empty() && text[0] == '-';
        if (!text.empty() && (text[0] == '-' || text[0] == '+'))
            ++at;
        Int128 num = 0, den = 1;
        const bool leadingPoint = at < text.size() && text[at] == '.';
        const std::optional<Int128> first = leadingPoint ? Int128(0) : wholeAt(text, at);
        if (!first)
            return std::nullopt;
        if (at < text.size() && text[at] == '.') {
            ++at;
            const std::size_t from = at;
            const std::optional<Int128> decimals = wholeAt(text, at);
            if (!decimals)
                return std::nullopt;
            for (std::size_t i = from; i < at; ++i)
                den *= 10;
            num = *first * den + *decimals;
        } else if (at < text.size() && text[at] == '/') {
            ++at;
            const std::optional<Int128> below = wholeAt(text, at);
            if (!below || *below == 0)
                return std::nullopt;
            num = *first;
            den = *below;
        } else if (at < text.size() && (text[at] == '-' || text[at] == ' ')) {
            ++at;
            const std::optional<Int128> above = wholeAt(text, at);
            if (!above || at >= text.size() || text[at] != '/')
                return std::nullopt;
            ++at;
            const std::optional<Int128> below = wholeAt(text, at);
            if (!below || *below == 0)
                return std::nullopt;
            num = *first * *below + *above;
            den = *below;
        } else {
            num = *first;
        }
        if (at != text.size())
            return std::nullopt;
        return std::pair<Int128, Int128>(negative ? -num : num, den);
    }

    /// 1 in is 25.4 mm, 25 400 000 of the typed steps of 1e-6 mm.
    constexpr Int128 kMicroPerInch = 25'400'000;

    /// A length typed in inches, in mm exactly, or `fail`'s error.
    template <class Fail> Length inchLength(std::string_view body, const Fail &fail)
    {
        const auto value = inchesOf(body);
        if (!value)
            throw fail("is not a length in inches", Problem::NotANumber);
        const Int128 micro = value->first * kMicroPerInch;
        if (micro % value->second != 0)
            throw fail("has more than " + std::to_string(kMaxDecimals) + " decimals in mm",
                Problem::TooManyDecimals);
        const Int128 whole = micro / value->second;
        if ((whole < 0 ? -whole : whole) * kTypedStep > kMaxUnits)
            throw fail("is larger than 100000 mm", Problem::TooLarge);
        return { static_cast<std::int64_t>(whole * kTypedStep) };
    }

} // namespace

std::string inchesTyped(std::string_view text)
{
    const std::optional<std::string_view> body = beforeInchMark(text);
    if (!body || !inchesOf(*body))
        return {};
    return std::string(*body) + " in";
}

Length parseLength(std::string_view text, std::string_view what, bool inches)
{
    const std::string name(what);
    const auto fail = [&](const std::string &why, Problem problem) -> InputError {
        return InputError(name + ": " + text::quote(text) + " " + why, problem);
    };
    if (const std::optional<std::string_view> body = inches ? beforeInchMark(text) : std::nullopt)
        return inchLength(*body, fail);
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
