#include "runtime/error.h"
#include "runtime/val.h"
#include "text/full_width.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace {

struct ValCase
{
    const char *name;
    std::string text;
    double expected;
};

void PrintTo(const ValCase &c, std::ostream *os)
{
    *os << c.name;
}

class ValReads : public testing::TestWithParam<ValCase>
{
};

TEST_P(ValReads, Number)
{
    const ValCase &c = GetParam();
    const double value = runtime::Val(c.text);
    EXPECT_EQ(value, c.expected) << "text: \"" << c.text << "\"";
    EXPECT_FALSE(std::signbit(value) && value == 0) << "zero must read as +0";
}

const std::string kHexOnes53 = "&H1FFFFFFFFFFFFF"; // 2^53 - 1, exact

INSTANTIATE_TEST_SUITE_P(Val, ValReads,
    testing::Values(
        // Plain numbers and what stops them.
        ValCase { "Empty", "", 0 }, ValCase { "Integer", "600", 600 },
        ValCase { "Fraction", "9.5", 9.5 }, ValCase { "TrailingUnit", "600mm", 600 },
        ValCase { "UnitAfterBlank", "32 mm", 32 }, ValCase { "Letters", "abc", 0 },
        ValCase { "LettersFirst", "mm600", 0 }, ValCase { "CommaStops", "1,5", 1 },
        ValCase { "SecondPointStops", "1.2.3", 1.2 }, ValCase { "PointOnly", ".", 0 },
        ValCase { "LeadingPoint", ".5", 0.5 }, ValCase { "TrailingPoint", "5.", 5 },
        ValCase { "LeadingZeros", "000600", 600 }, ValCase { "ZeroFraction", "0.000", 0 },
        ValCase { "FullWidthDigits", "６００", 0 }, ValCase { "Infinity", "inf", 0 },
        ValCase { "NotANumber", "NaN", 0 },
        // Blanks, tabs and line feeds are skipped wherever they stand; nothing else is.
        ValCase { "LeadingBlanks", "  \t\n25", 25 }, ValCase { "BlanksInside", "1 2 3", 123 },
        ValCase { "TabsInside", "6\t0\n0", 600 }, ValCase { "BlankAfterSign", "- 5", -5 },
        ValCase { "BlankInExponent", "1 E 3", 1000 },
        ValCase { "CarriageReturnStops", "12\r3", 12 },
        ValCase { "NonBreakingSpaceStops",
            "1\xC2\xA0"
            "2",
            1 },
        // Signs.
        ValCase { "Plus", "+7.5", 7.5 }, ValCase { "Minus", "-19", -19 },
        ValCase { "DoubleSign", "--5", 0 }, ValCase { "SignOnly", "-", 0 },
        ValCase { "NegativeZero", "-0", 0 }, ValCase { "NegativePoint", "-.5", -0.5 },
        // Exponents with E or D, either case.
        ValCase { "ExponentE", "1E3", 1000 }, ValCase { "ExponentLower", "2.5e+2", 250 },
        ValCase { "ExponentNegative", "1e-3", 0.001 }, ValCase { "ExponentD", "1D3", 1000 },
        ValCase { "ExponentLowerD", "1d-2", 0.01 }, ValCase { "ExponentNoDigits", "1E", 1 },
        ValCase { "ExponentSignOnly", "1E+", 1 }, ValCase { "ExponentLetterStops", "1Ex", 1 },
        ValCase { "ExponentWithoutMantissa", "E5", 0 }, ValCase { "PointThenExponent", ".E5", 0 },
        ValCase { "ZeroHugeExponent", "0e99999999999999999999999", 0 },
        ValCase { "HugeNegativeExponent", "1e-99999999999999999999999", 0 },
        ValCase { "LongMantissaBackToOne", "1" + std::string(400, '0') + "e-400", 1 },
        ValCase { "LongFractionBackToOne", "0." + std::string(500, '0') + "1e501", 1 },
        // Correct rounding, including halfway cases and digits far past 17.
        ValCase { "OneTenth", "0.1", 0.1 },
        ValCase { "Sqrt3Digits", "1.7320508075688772", 1.7320508075688772 },
        ValCase { "HalfwayRoundsEven", "9007199254740993", 9007199254740992.0 },
        ValCase {
            "PastHalfwayRoundsUp", "9007199254740993.00000000000000000000001", 9007199254740994.0 },
        ValCase { "LargestDouble", "1.7976931348623157e308", DBL_MAX },
        ValCase { "JustBelowOverflowHalfway", "1.7976931348623158e308", DBL_MAX },
        ValCase { "SmallestNormal", "2.2250738585072014e-308", DBL_MIN },
        ValCase { "SmallestSubnormal", "4.9406564584124654e-324", 4.9406564584124654e-324 },
        ValCase { "UnderflowToZero", "2e-324", 0 }, ValCase { "FarUnderflow", "1e-400", 0 },
        ValCase { "NegativeUnderflow", "-1e-400", 0 },
        // &H and &O integers.
        ValCase { "Hex", "&HFF", 255 }, ValCase { "HexLower", "&hff", 255 },
        ValCase { "HexBlanks", "& H 1 0", 16 }, ValCase { "HexNoDigits", "&H", 0 },
        ValCase { "HexBadDigit", "&HG", 0 }, ValCase { "HexStopsAtPoint", "&H10.8", 16 },
        ValCase { "HexFourDigits", "&HFFFF", 65535 },
        ValCase { "HexExact53Bits", kHexOnes53, 9007199254740991.0 },
        ValCase { "HexRoundsEven", "&H20000000000001", 9007199254740992.0 },
        ValCase { "HexLeadingZeros", "&H" + std::string(300, '0') + "1", 1 },
        ValCase { "Octal", "&O17", 15 }, ValCase { "OctalLower", "&o777", 511 },
        ValCase { "OctalBadDigit", "&O8", 0 }, ValCase { "OctalStops", "&O178", 15 },
        ValCase { "OctalLong", "&O1777777777777777777777", 18446744073709551615.0 },
        ValCase { "AmpersandOther", "&X1", 0 }, ValCase { "AmpersandDigit", "&10", 0 },
        ValCase { "SignedHex", "-&H10", 0 }),
    test_support::CaseName());

struct ValOverflowCase
{
    const char *name;
    std::string text;
};

void PrintTo(const ValOverflowCase &c, std::ostream *os)
{
    *os << c.name;
}

class ValOverflows : public testing::TestWithParam<ValOverflowCase>
{
};

TEST_P(ValOverflows, RaisesError6)
{
    EXPECT_EQ(test_support::errorOf([] { runtime::Val(GetParam().text); }),
        runtime::ErrorNumber::Overflow);
}

INSTANTIATE_TEST_SUITE_P(Val, ValOverflows,
    testing::Values(ValOverflowCase { "Exponent", "1e309" },
        ValOverflowCase { "Negative", "-1e309" },
        ValOverflowCase { "PastHalfway", "1.7976931348623159e308" },
        ValOverflowCase { "ManyDigits", "1" + std::string(309, '0') },
        ValOverflowCase { "HugeExponent", "1e99999999999999999999999" },
        ValOverflowCase { "ExponentD", "2D308" },
        ValOverflowCase { "Hex", "&H" + std::string(257, 'F') },
        ValOverflowCase { "HexRoundsToInfinity", "&H" + std::string(256, 'F') },
        ValOverflowCase { "Octal", "&O2" + std::string(341, '0') }),
    test_support::CaseName());

TEST(Val, LargestHexAndOctalBelowOverflow)
{
    // 2^1023 in both bases is still a Double.
    EXPECT_EQ(runtime::Val("&H8" + std::string(255, '0')), std::ldexp(1.0, 1023));
    EXPECT_EQ(runtime::Val("&O1" + std::string(341, '0')), std::ldexp(1.0, 1023));
}

TEST(Val, ReadsPastEmbeddedNul)
{
    // A NUL is an ordinary character that stops reading; it must not end the text early.
    EXPECT_EQ(runtime::Val(std::string("12\0"
                                       "3",
                  4)),
        12);
    EXPECT_EQ(runtime::Val(std::string("\0"
                                       "3",
                  2)),
        0);
}

} // namespace

namespace {

TEST(Val, AgreesWithCorrectlyRoundedConversion)
{
    // Plain decimal texts of every length and exponent, against the standard library's
    // correctly rounded conversion: both the quick exact path and the general one must agree.
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> digitCount(1, 24), digit(0, 9), exponent(-340, 320);
    std::bernoulli_distribution coin;
    for (int i = 0; i < 200000; ++i) {
        std::string text = coin(random) ? "-" : "";
        const int count = digitCount(random);
        const int point = std::uniform_int_distribution<int>(0, count)(random);
        for (int j = 0; j < count; ++j) {
            if (j == point)
                text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        if (coin(random))
            text += "e" + std::to_string(exponent(random));

        double expected = 0;
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), expected);
        const bool tooLarge =
            parsed.ec == std::errc::result_out_of_range && text.find("e-") == std::string::npos;
        if (parsed.ec == std::errc::result_out_of_range && !tooLarge)
            expected = 0;
        try {
            const double value = runtime::Val(text);
            ASSERT_FALSE(tooLarge) << text;
            ASSERT_EQ(value, expected == 0 ? 0.0 : expected) << text;
        } catch (const runtime::RuntimeError &error) {
            ASSERT_TRUE(tooLarge) << text;
            ASSERT_EQ(error.number(), runtime::ErrorNumber::Overflow) << text;
        }
    }
}

} // namespace

// What a Chinese input method types in full-width mode reads as what it shows; everything
// else reads as before.
TEST(Val, FullWidthFormsReadAsTheirAsciiCounterparts)
{
    const std::vector<std::pair<const char *, double>> cases = {
        { "６００", 600 }, { "３１．２５", 31.25 }, { "－２５", -25 }, { "＋１Ｅ３", 1000 },
        { "１ｅ－２", 0.01 }, { "＆Ｈ１Ｆ", 31 },
        { "６\xe3\x80\x80００", 600 }, // an ideographic space is a blank, skipped as Val skips one
        { "\xe3\x80\x80５７", 57 }, { "２５mm", 25 },
        { "６００，５", 600 }, // the full-width comma is a comma
        { "６0０", 600 }, // mixed widths
        { "\xef\xbc\x80", 0 }, // U+FF00 lies outside the forms
        { "\xef\xbd\x9f"
          "1",
            0 }, // U+FF5F too
        { "\xef\xbc", 0 }, // a cut sequence stays as it is
        { "、５", 0 }, // other Chinese punctuation is not a blank
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(runtime::Val(text::fromFullWidth(text)), value) << text;
    // Every form maps 0xFEE0 below itself; ASCII and other text pass through unchanged.
    EXPECT_EQ(text::fromFullWidth("！～"), "!~");
    const std::string plain = "600 32\t25\n57 &o17 -1.5D+3 x管";
    EXPECT_EQ(text::fromFullWidth(plain), plain);
}
