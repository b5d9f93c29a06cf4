#include "runtime/arithmetic.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>

namespace {

using runtime::Double;
using runtime::ErrorNumber;
using runtime::Int16;

using test_support::errorOf;

struct Int16Case
{
    const char *name;
    int a;
    char op;
    int b;
    std::optional<int> expected; ///< none: the operation raises error 6
};

void PrintTo(const Int16Case &c, std::ostream *os)
{
    *os << c.name;
}

Int16 apply(Int16 a, char op, Int16 b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    default:
        return a % b;
    }
}

class CheckedInt16 : public testing::TestWithParam<Int16Case>
{
};

TEST_P(CheckedInt16, ResultOrOverflow)
{
    const Int16Case &c = GetParam();
    std::optional<int> result;
    const auto error = errorOf([&] { result = apply(c.a, c.op, c.b).value(); });
    if (c.expected) {
        EXPECT_EQ(error, std::nullopt);
        EXPECT_EQ(result, c.expected);
    } else {
        EXPECT_EQ(error, ErrorNumber::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(CheckedInt16, CheckedInt16,
    testing::Values(Int16Case { "AddToMax", 32766, '+', 1, 32767 },
        Int16Case { "AddPastMax", 32767, '+', 1, std::nullopt },
        Int16Case { "SubtractToMin", -32767, '-', 1, -32768 },
        Int16Case { "SubtractPastMin", -32768, '-', 1, std::nullopt },
        Int16Case { "AddNegatives", -20000, '+', -20000, std::nullopt },
        Int16Case { "DoubleHalfRow", 2, '*', 16383, 32766 },
        Int16Case { "DoubleHalfRowPastMax", 2, '*', 16384, std::nullopt },
        Int16Case { "SquareBelowMax", 181, '*', 181, 32761 },
        Int16Case { "SquarePastMax", 182, '*', 182, std::nullopt },
        Int16Case { "NegateMin", -32768, '*', -1, std::nullopt },
        Int16Case { "ModEven", 1000, '%', 2, 0 }, Int16Case { "ModOdd", 999, '%', 2, 1 },
        Int16Case { "ModTakesDividendSign", -7, '%', 2, -1 }),
    test_support::CaseName());

TEST(CheckedInt16, ConstructionOutOfRangeOverflows)
{
    EXPECT_EQ(errorOf([] { Int16(32768); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { Int16(-32769); }), ErrorNumber::Overflow);
    EXPECT_EQ(Int16(-32768).value(), -32768);
}

TEST(CheckedInt16, ModZeroIsDivisionByZero)
{
    EXPECT_EQ(errorOf([] { Int16(7) % Int16(0); }), ErrorNumber::DivisionByZero);
}

struct PowerCase
{
    const char *name;
    double x;
    double y;
    std::optional<double> expected;
    std::optional<ErrorNumber> error;
};

void PrintTo(const PowerCase &c, std::ostream *os)
{
    *os << c.name;
}

class Power : public testing::TestWithParam<PowerCase>
{
};

TEST_P(Power, ValueOrError)
{
    const PowerCase &c = GetParam();
    std::optional<double> result;
    const auto error = errorOf([&] { result = runtime::power(c.x, c.y).value(); });
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(result, c.expected);
    if (result && *result == 0) {
        EXPECT_FALSE(std::signbit(*result)) << "a power of zero is +0";
    }
}

INSTANTIATE_TEST_SUITE_P(Power, Power,
    testing::Values(
        // The values the counts depend on, to the last bit.
        PowerCase { "RootOfThree", 3, 0.5, 1.7320508075688772, std::nullopt },
        PowerCase { "RootOfTwo", 2, 0.5, 1.4142135623730951, std::nullopt },
        PowerCase { "SquareRoundedOnce", 0.1, 2, 0.010000000000000002, std::nullopt },
        PowerCase { "SquareOfNegative", -3, 2, 9, std::nullopt },
        PowerCase { "RootOfZero", 0, 0.5, 0.0, std::nullopt },
        PowerCase { "RootOfNegativeZero", -0.0, 0.5, 0.0, std::nullopt },
        PowerCase { "RootOfSubnormal", 4.9406564584124654e-324, 0.5, 0x1p-537, std::nullopt },
        PowerCase { "Cube", 2, 3, 8, std::nullopt },
        PowerCase { "NegativeIntegralExponent", 2, -1, 0.5, std::nullopt },
        PowerCase { "NegativeBaseIntegralExponent", -2, 3, -8, std::nullopt },
        PowerCase { "ZeroToZero", 0, 0, 1, std::nullopt },
        // Error 5: a negative base with a non-integral exponent, or no value at all.
        PowerCase { "RootOfNegative", -1e-300, 0.5, std::nullopt, ErrorNumber::InvalidCall },
        PowerCase { "CubeRootOfNegative", -8, 1.0 / 3, std::nullopt, ErrorNumber::InvalidCall },
        PowerCase { "ZeroToNegative", 0, -1, std::nullopt, ErrorNumber::InvalidCall },
        // Error 6: a result beyond the Double range.
        PowerCase { "SquareJustInRange", 0x1p511, 2, 0x1p1022, std::nullopt },
        PowerCase { "SquareJustOutOfRange", 0x1p512, 2, std::nullopt, ErrorNumber::Overflow },
        PowerCase { "GeneralOverflows", 2, 1024, std::nullopt, ErrorNumber::Overflow },
        PowerCase { "SquareUnderflowsToZero", 1e-200, 2, 0.0, std::nullopt }),
    test_support::CaseName());

struct DoubleCase
{
    const char *name;
    std::function<Double()> operation;
    std::optional<ErrorNumber> error;
};

void PrintTo(const DoubleCase &c, std::ostream *os)
{
    *os << c.name;
}

class FloatingPointCheck : public testing::TestWithParam<DoubleCase>
{
};

TEST_P(FloatingPointCheck, RaisesOnlyWhenOutOfRange)
{
    EXPECT_EQ(errorOf([&] { GetParam().operation(); }), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Double, FloatingPointCheck,
    testing::Values(
        DoubleCase { "SumOverflows", [] { return Double(1e308) + 1e308; }, ErrorNumber::Overflow },
        DoubleCase {
            "DifferenceOverflows", [] { return Double(-1e308) - 1e308; }, ErrorNumber::Overflow },
        DoubleCase {
            "ProductOverflows", [] { return Double(1e200) * 1e200; }, ErrorNumber::Overflow },
        DoubleCase {
            "QuotientOverflows", [] { return Double(1e308) / 0.1; }, ErrorNumber::Overflow },
        DoubleCase { "ZeroByZero", [] { return Double(0) / 0; }, ErrorNumber::Overflow },
        DoubleCase { "ByZero", [] { return Double(1) / 0; }, ErrorNumber::DivisionByZero },
        DoubleCase { "MaxPlusOneRoundsBack", [] { return Double(DBL_MAX) + 1; }, std::nullopt },
        DoubleCase { "ProductUnderflows", [] { return Double(1e-200) * 1e-200; }, std::nullopt },
        DoubleCase { "HalfOfMax", [] { return Double(DBL_MAX) / 2; }, std::nullopt }),
    test_support::CaseName());

TEST(Double, EachStepRoundedOnItsOwn)
{
    // A fused multiply-add would give -2^-104 here instead of the separately rounded 0.
    const Double a = 1.0 + 0x1p-52;
    const Double b = 1.0 - 0x1p-52;
    EXPECT_EQ((a * b - 1.0).value(), 0.0);
    EXPECT_EQ((Double(0.1) + 0.2).value(), 0.30000000000000004);
}

TEST(Bounds, IndexOutsideTableIsError9)
{
    EXPECT_EQ(errorOf([] { runtime::checkIndex(-1, 0, 1000); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(
        errorOf([] { runtime::checkIndex(1001, 0, 1000); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([] { runtime::checkIndex(0, 0, 1000); }), std::nullopt);
    EXPECT_EQ(errorOf([] { runtime::checkIndex(1000, 0, 1000); }), std::nullopt);
}

TEST(RuntimeError, ReportsNumberAndChineseDescription)
{
    const runtime::RuntimeError overflow(ErrorNumber::Overflow);
    EXPECT_EQ(overflow.code(), 6);
    EXPECT_EQ(overflow.description(), "溢出");
    EXPECT_STREQ(overflow.what(), "实时错误 '6':\n\n溢出");
    EXPECT_EQ(runtime::describe(ErrorNumber::InvalidCall), "无效的过程调用或参数");
    EXPECT_EQ(runtime::describe(ErrorNumber::SubscriptOutOfRange), "下标越界");
    EXPECT_EQ(runtime::report(ErrorNumber::SubscriptOutOfRange), "实时错误 '9':\n\n下标越界");
    EXPECT_EQ(runtime::describe(ErrorNumber::DivisionByZero), "除数为零");
    EXPECT_EQ(runtime::report(ErrorNumber::DivisionByZero), "实时错误 '11':\n\n除数为零");
    // A number without a description of its own still gets the run time's general one.
    EXPECT_EQ(
        runtime::describe(static_cast<ErrorNumber>(1004)), "应用程序定义的错误或对象定义的错误");
}

} // namespace
