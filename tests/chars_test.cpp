// The stand-ins the WebAssembly build uses for floating-point <charconv>, held to the standard
// library's results: the page's figures, drawings and files must be the programs' to the byte.

#include "runtime/chars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

double fromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// Doubles of every kind: the designers' decimals and their neighbours, whole numbers on both
/// sides of 2^53, the ends of the range, subnormals, and arbitrary bit patterns.
std::vector<double> sampleValues()
{
    std::vector<double> values = { 0.0, -0.0, 1.0, -1.0, 0.1, 0.3, 12.5, 600, 55.42562584220407,
        1e21, 1e22, 1e23, 1e-5, 1e-6, 1e-7, 123456789012345680.0, 9007199254740992.0,
        9007199254740993.0, 18014398509481984.0, 1e15, 1e16, 1e17, 5e-324, 2.2250738585072014e-308,
        std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() };
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<int> digits(0, 999999), places(0, 8), powers(-30, 30);
    for (int i = 0; i < 40000; ++i) {
        values.push_back(fromBits(random()));
        // A decimal as typed, scaled by a power of ten, and the doubles either side of it.
        const double typed = digits(random) / std::pow(10.0, places(random));
        const double scaled = typed * std::pow(10.0, powers(random));
        values.push_back(typed);
        values.push_back(std::nextafter(scaled, 0.0));
        values.push_back(-std::nextafter(scaled, 1e300));
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), powers(random)));
    }
    return values;
}

TEST(Chars, PortableWritersGiveTheStandardLibrarysText)
{
    for (const double value : sampleValues()) {
        if (std::isnan(value))
            continue;
        ASSERT_EQ(runtime::portable::shortestText(value), runtime::shortestText(value)) << value;
        ASSERT_EQ(runtime::portable::fixedText(value), runtime::fixedText(value)) << value;
        for (const int precision : { 1, 6, 15, 17 })
            ASSERT_EQ(runtime::portable::generalText(value, precision),
                runtime::generalText(value, precision))
                << value << " at " << precision;
    }
}

struct Read
{
    std::errc error;
    std::ptrdiff_t used;
    std::uint64_t bits;
};

Read readWith(bool portable, const std::string &text, std::chars_format format)
{
    double value = 1234.5; // left alone when the text is refused or out of range
    const auto result = portable
        ? runtime::portable::readDouble(text.data(), text.data() + text.size(), value, format)
        : runtime::readDouble(text.data(), text.data() + text.size(), value, format);
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return { result.ec, result.ptr - text.data(), bits };
}

TEST(Chars, PortableReaderAgreesWithTheStandardLibrary)
{
    // Every kind of text: plain and exponent forms, halfway cases, overflow and underflow,
    // subnormals, stray signs and blanks, trailing text, and hexadecimal digits.
    const struct
    {
        const char *text;
        std::chars_format format;
    } cases[] = { { "25", std::chars_format::general }, { "0.1", std::chars_format::general },
        { "-12.5e3", std::chars_format::general }, { "1e400", std::chars_format::general },
        { "-1e400", std::chars_format::general }, { "1e-400", std::chars_format::general },
        { "0e-400", std::chars_format::general }, { "4.9e-324", std::chars_format::general },
        { "2.4703282292062328e-324", std::chars_format::general },
        { "2.4703282292062327e-324", std::chars_format::general },
        { "9007199254740993", std::chars_format::general },
        { "1.7976931348623158e308", std::chars_format::general },
        { "1.7976931348623159e308", std::chars_format::general },
        { "+5", std::chars_format::general }, { " 5", std::chars_format::general },
        { "5x", std::chars_format::general }, { ".5", std::chars_format::general },
        { "5.", std::chars_format::general }, { "e5", std::chars_format::general },
        { "1e", std::chars_format::general }, { "", std::chars_format::general },
        { "-", std::chars_format::general },
        { "0.000000000000000000000000001e27", std::chars_format::general },
        { "1ff", std::chars_format::hex }, { "fffffffffffff8", std::chars_format::hex },
        { "1fffffffffffff1", std::chars_format::hex }, { "1.8p3", std::chars_format::hex },
        { "ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
          "ff"
          "ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
          "fffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
          "f",
            std::chars_format::hex },
        { "0", std::chars_format::hex }, { "g", std::chars_format::hex } };
    for (const auto &c : cases) {
        const Read standard = readWith(false, c.text, c.format);
        const Read portable = readWith(true, c.text, c.format);
        EXPECT_EQ(portable.error, standard.error) << c.text;
        EXPECT_EQ(portable.bits, standard.bits) << c.text;
        if (standard.error != std::errc::invalid_argument) {
            EXPECT_EQ(portable.used, standard.used) << c.text;
        }
    }
    // Every shortest text reads back as its double, both ways.
    for (const double value : sampleValues()) {
        if (!std::isfinite(value))
            continue;
        const std::string text = runtime::shortestText(value);
        const Read portable = readWith(true, text, std::chars_format::general);
        ASSERT_EQ(portable.error, std::errc()) << text;
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        ASSERT_EQ(portable.bits, bits) << text;
    }
}

} // namespace
