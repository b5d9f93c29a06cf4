#include "runtime/chars.h"

#define FMT_HEADER_ONLY
#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace runtime {

namespace portable {
    namespace {

        /// The shortest digits of a finite nonzero value (Dragonbox, through fmt), without
        /// trailing zeros, and the power of ten of the first: value = d.ddd × 10^exponent.
        struct Digits
        {
            bool negative = false;
            std::string digits;
            int exponent = 0;
        };

        Digits digitsOf(double value)
        {
            const std::string text = fmt::format("{}", value);
            Digits out;
            std::size_t i = 0;
            if (text[i] == '-') {
                out.negative = true;
                ++i;
            }
            // "0.001", "12.5", "1.25e+21": every digit of the mantissa, and where the point is.
            std::string all;
            int point = -1;
            for (; i < text.size() && text[i] != 'e'; ++i) {
                if (text[i] == '.')
                    point = static_cast<int>(all.size());
                else
                    all += text[i];
            }
            if (point < 0)
                point = static_cast<int>(all.size());
            const int power = i < text.size() ? std::atoi(text.c_str() + i + 1) : 0;
            const std::size_t first = all.find_first_not_of('0');
            out.digits = all.substr(first);
            while (out.digits.size() > 1 && out.digits.back() == '0')
                out.digits.pop_back();
            out.exponent = point - static_cast<int>(first) - 1 + power;
            return out;
        }

        std::string scientific(const Digits &d)
        {
            std::string text = d.negative ? "-" : "";
            text += d.digits[0];
            if (d.digits.size() > 1)
                text += "." + d.digits.substr(1);
            char exponent[16];
            std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                std::abs(d.exponent));
            return text + exponent;
        }

        std::string fixed(double value, const Digits &d)
        {
            const int n = static_cast<int>(d.digits.size());
            // A whole number past 2^53 is written exactly, as the nearest digits padded with
            // zeros would be no shorter and further off.
            if (d.exponent >= n - 1 && std::fabs(value) >= 9007199254740992.0) {
                char buffer[400];
                std::snprintf(buffer, sizeof buffer, "%.0f", value);
                return buffer;
            }
            std::string text = d.negative ? "-" : "";
            if (d.exponent >= n - 1)
                return text + d.digits
                    + std::string(static_cast<std::size_t>(d.exponent - n + 1), '0');
            if (d.exponent >= 0) {
                const std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
                return text + d.digits.substr(0, whole) + "." + d.digits.substr(whole);
            }
            return text + "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0')
                + d.digits;
        }

        /// The texts of zero, infinities and NaN, as std::to_chars writes them.
        bool special(double value, std::string &text)
        {
            if (value == 0)
                text = std::signbit(value) ? "-0" : "0";
            else if (std::isinf(value))
                text = value < 0 ? "-inf" : "inf";
            else if (std::isnan(value))
                text = std::signbit(value) ? "-nan" : "nan";
            else
                return false;
            return true;
        }

    } // namespace

    std::string shortestText(double value)
    {
        std::string text;
        if (special(value, text))
            return text;
        const Digits d = digitsOf(value);
        const std::string plain = fixed(value, d), exponent = scientific(d);
        // The shorter of the two; on a tie, the fixed form.
        return exponent.size() < plain.size() ? exponent : plain;
    }

    std::string fixedText(double value)
    {
        std::string text;
        if (special(value, text))
            return text;
        return fixed(value, digitsOf(value));
    }

    std::string generalText(double value, int precision)
    {
        std::string text;
        if (!std::isfinite(value) && special(value, text))
            return text;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        return buffer;
    }

    std::from_chars_result readDouble(
        const char *first, const char *last, double &value, std::chars_format format)
    {
        if (format == std::chars_format::hex) {
            // Hex digits, a point, a 'p' exponent: strtod reads them exactly once prefixed.
            if (first == last
                || !(std::isxdigit(static_cast<unsigned char>(*first)) || *first == '.'))
                return { first, std::errc::invalid_argument };
            const std::string text = "0x" + std::string(first, last);
            char *end = nullptr;
            errno = 0;
            const double read = std::strtod(text.c_str(), &end);
            const std::ptrdiff_t used = end - text.c_str() - 2;
            if (used <= 0)
                return { first, std::errc::invalid_argument };
            if (std::isinf(read) || (read == 0 && errno == ERANGE))
                return { first + used, std::errc::result_out_of_range };
            value = read;
            return { first + used, std::errc() };
        }
        fast_float::chars_format form = fast_float::chars_format::general;
        if (format == std::chars_format::fixed)
            form = fast_float::chars_format::fixed;
        else if (format == std::chars_format::scientific)
            form = fast_float::chars_format::scientific;
        // Neither a plus sign nor blanks, as std::from_chars.
        if (first != last && *first == '+')
            return { first, std::errc::invalid_argument };
        double read = 0;
        const auto result = fast_float::from_chars(first, last, read, form);
        if (result.ec != std::errc())
            return { result.ptr, result.ec };
        bool nonzeroDigit = false, infOrNan = false;
        for (const char *p = first; p != result.ptr && *p != 'e' && *p != 'E'; ++p) {
            if (*p >= '1' && *p <= '9')
                nonzeroDigit = true;
            if (*p == 'i' || *p == 'I' || *p == 'n' || *p == 'N')
                infOrNan = true;
        }
        if (!infOrNan && (std::isinf(read) || (read == 0 && nonzeroDigit)))
            return { result.ptr, std::errc::result_out_of_range };
        value = read;
        return { result.ptr, std::errc() };
    }

} // namespace portable

#if defined(__cpp_lib_to_chars)

std::string shortestText(double value)
{
    char buffer[400];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string fixedText(double value)
{
    char buffer[400];
    return std::string(
        buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr);
}

std::string generalText(double value, int precision)
{
    char buffer[400];
    return std::string(buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision)
            .ptr);
}

std::from_chars_result readDouble(
    const char *first, const char *last, double &value, std::chars_format format)
{
    return std::from_chars(first, last, value, format);
}

#else

std::string shortestText(double value)
{
    return portable::shortestText(value);
}

std::string fixedText(double value)
{
    return portable::fixedText(value);
}

std::string generalText(double value, int precision)
{
    return portable::generalText(value, precision);
}

std::from_chars_result readDouble(
    const char *first, const char *last, double &value, std::chars_format format)
{
    return portable::readDouble(first, last, value, format);
}

#endif

} // namespace runtime
