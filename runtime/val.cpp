#include "runtime/val.h"

#include "runtime/chars.h"

#include "runtime/error.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace runtime {
namespace {

    // Bounds on the decimal exponent of 0.DDD x 10^e beyond which the value cannot be a finite,
    // non-zero Double: 0.1e310 overflows and 0.99e-330 underflows to 0. The gap to the real
    // limits leaves the borderline cases to the exact conversion.
    constexpr std::int64_t kOverflowExponent = 310;
    constexpr std::int64_t kUnderflowExponent = -330;
    // Exponent digits saturate here; far beyond the bounds above, far within int64_t.
    constexpr std::int64_t kExponentCap = 1'000'000'000'000;

    /// Walks the text, stepping over blanks, tabs and line feeds wherever they stand.
    class Reader
    {
    public:
        explicit Reader(std::string_view text)
            : m_text(text)
        {
        }

        /// The next character that counts, or -1 at the end.
        int peek()
        {
            while (m_pos < m_text.size()
                && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n'))
                ++m_pos;
            return m_pos < m_text.size() ? static_cast<unsigned char>(m_text[m_pos]) : -1;
        }

        void next() { ++m_pos; }

        bool accept(char upper)
        {
            const int ch = peek();
            if (ch != upper && ch != upper - 'A' + 'a')
                return false;
            next();
            return true;
        }

    private:
        std::string_view m_text;
        std::size_t m_pos = 0;
    };

    bool isDecimalDigit(int ch)
    {
        return ch >= '0' && ch <= '9';
    }

    int hexDigitValue(int ch)
    {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        return -1;
    }

    /// Converts hexadecimal digits (no prefix) with correct rounding.
    double fromHexDigits(const std::string &digits)
    {
        if (digits.empty())
            return 0;
        double value = 0;
        const auto result =
            readDouble(digits.data(), digits.data() + digits.size(), value, std::chars_format::hex);
        if (result.ec == std::errc::result_out_of_range)
            raise(ErrorNumber::Overflow);
        return value;
    }

    /// Re-groups octal digits, three bits each, as hexadecimal digits of four bits.
    std::string octalToHex(const std::string &octal)
    {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string hex((octal.size() * 3 + 3) / 4, '0');
        unsigned bits = 0;
        int bitCount = 0;
        std::size_t out = hex.size();
        for (auto it = octal.rbegin(); it != octal.rend(); ++it) {
            bits |= static_cast<unsigned>(*it - '0') << bitCount;
            bitCount += 3;
            while (bitCount >= 4) {
                hex[--out] = kHex[bits & 0xF];
                bits >>= 4;
                bitCount -= 4;
            }
        }
        if (bitCount > 0)
            hex[--out] = kHex[bits & 0xF];
        return hex;
    }

    /// &H or &O after the "&": the digits of that base, leading zeros dropped.
    double readRadixInteger(Reader &reader)
    {
        int base;
        if (reader.accept('H'))
            base = 16;
        else if (reader.accept('O'))
            base = 8;
        else
            return 0;
        std::string digits;
        for (int ch = reader.peek();; ch = reader.peek()) {
            const int digit = hexDigitValue(ch);
            if (digit < 0 || digit >= base)
                break;
            if (!digits.empty() || digit != 0)
                digits += static_cast<char>(ch);
            reader.next();
        }
        return fromHexDigits(base == 16 ? digits : octalToHex(digits));
    }

    /// 0.digits x 10^exponent when one IEEE operation gives it correctly rounded: the digits
    /// form an integer below 2^53 and the power of ten is itself exact (10^22 at most).
    std::optional<double> exactValue(const std::string &digits, std::int64_t exponent)
    {
        constexpr double kPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
            1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };
        if (digits.size() > 15)
            return std::nullopt;
        const std::int64_t scale = exponent - static_cast<std::int64_t>(digits.size());
        if (scale < -22 || scale > 22)
            return std::nullopt;
        std::int64_t mantissa = 0;
        for (char digit : digits)
            mantissa = mantissa * 10 + (digit - '0');
        const double m = static_cast<double>(mantissa);
        return scale >= 0 ? m * kPowersOfTen[scale] : m / kPowersOfTen[-scale];
    }

    double readDecimal(Reader &reader)
    {
        bool negative = false;
        if (reader.peek() == '+' || reader.peek() == '-') {
            negative = reader.peek() == '-';
            reader.next();
        }

        // The significant digits, and where the point stands: value = 0.digits x 10^exponent.
        std::string digits;
        std::int64_t exponent = 0;
        bool anyDigit = false;
        bool seenPoint = false;
        for (int ch = reader.peek();; ch = reader.peek()) {
            if (isDecimalDigit(ch)) {
                anyDigit = true;
                if (digits.empty() && ch == '0') {
                    if (seenPoint)
                        --exponent;
                } else {
                    digits += static_cast<char>(ch);
                    if (!seenPoint)
                        ++exponent;
                }
            } else if (ch == '.' && !seenPoint) {
                seenPoint = true;
            } else {
                break;
            }
            reader.next();
        }
        if (!anyDigit)
            return 0;

        if (reader.accept('E') || reader.accept('D')) {
            bool exponentNegative = false;
            if (reader.peek() == '+' || reader.peek() == '-') {
                exponentNegative = reader.peek() == '-';
                reader.next();
            }
            std::int64_t written = 0;
            for (int ch = reader.peek(); isDecimalDigit(ch); ch = reader.peek()) {
                if (written < kExponentCap)
                    written = written * 10 + (ch - '0');
                reader.next();
            }
            exponent += exponentNegative ? -written : written;
        }

        if (digits.empty() || exponent < kUnderflowExponent)
            return 0;
        if (exponent > kOverflowExponent)
            raise(ErrorNumber::Overflow);

        if (const auto exact = exactValue(digits, exponent))
            return negative ? -*exact : *exact;
        const std::string normal = "0." + digits + "e" + std::to_string(exponent);
        double value = 0;
        const auto result = readDouble(normal.data(), normal.data() + normal.size(), value);
        if (result.ec == std::errc::result_out_of_range) {
            if (exponent > 0)
                raise(ErrorNumber::Overflow);
            return 0;
        }
        return negative ? -value : value;
    }

} // namespace

double Val(std::string_view text)
{
    Reader reader(text);
    if (reader.peek() == '&') {
        reader.next();
        return readRadixInteger(reader);
    }
    return readDecimal(reader);
}

} // namespace runtime
