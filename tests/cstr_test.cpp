#include "runtime/cstr.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

struct CStrCase
{
    const char *name;
    double value;
    const char *expected;
};

void PrintTo(const CStrCase &c, std::ostream *os)
{
    *os << c.name;
}

class CStrPrints : public testing::TestWithParam<CStrCase>
{
};

TEST_P(CStrPrints, Text)
{
    EXPECT_EQ(runtime::CStr(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(CStr, CStrPrints,
    testing::Values(CStrCase { "Zero", 0, "0" }, CStrCase { "NegativeZero", -0.0, "0" },
        CStrCase { "Count", 283, "283" }, CStrCase { "NegativeCount", -7, "-7" },
        CStrCase { "NoGrouping", 65534001, "65534001" },
        CStrCase { "FifteenDigits", 999999999999999, "999999999999999" },
        CStrCase { "SixteenDigits", 1e15, "1E+15" },
        CStrCase { "RoundsTo15Digits", 1234567890123456, "1.23456789012346E+15" },
        CStrCase { "Half", 0.5, "0.5" }, CStrCase { "NegativeHalf", -0.5, "-0.5" },
        CStrCase { "Third", 1.0 / 3, "0.333333333333333" },
        CStrCase { "TwoThirdsRoundsUp", 2.0 / 3, "0.666666666666667" },
        CStrCase { "Decimal", 123456.789, "123456.789" },
        CStrCase { "SmallFixed", 0.0001, "0.0001" },
        CStrCase { "SmallExponent", 1.5e-5, "1.5E-05" },
        CStrCase { "LargestDouble", DBL_MAX, "1.79769313486232E+308" },
        // No calculation yields these, but a text must come out all the same.
        CStrCase { "Infinity", HUGE_VAL, "Inf" },
        CStrCase { "NegativeInfinity", -HUGE_VAL, "-Inf" }, CStrCase { "NotANumber", NAN, "NaN" }),
    test_support::CaseName());

} // namespace
