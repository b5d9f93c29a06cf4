#include "engine/tube_count.h"
#include "runtime/error.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

using runtime::ErrorNumber;

struct LayoutCase
{
    const char *name;
    double di, gxj, d;
    std::vector<double> rows; ///< empty: only the number of rows is checked
    std::size_t rowCount;
    double total;
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.name;
}

class LayoutCount : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(LayoutCount, RowsAndTotal)
{
    const LayoutCase &c = GetParam();
    const engine::RowScan scan = engine::layoutCount(c.di - 16, c.d, c.gxj);
    EXPECT_EQ(scan.rows.size(), c.rowCount);
    if (!c.rows.empty()) {
        EXPECT_EQ(scan.rows, c.rows);
    }
    EXPECT_EQ(scan.total, c.total);
}

INSTANTIATE_TEST_SUITE_P(RowScan, LayoutCount,
    testing::Values(LayoutCase { "Shell600Pitch32Tube25", 600, 32, 25,
                        { 17, 18, 17, 16, 17, 16, 15, 12, 11, 8, 3 }, 11, 283 },
        LayoutCase { "Shell800Pitch32Tube25", 800, 32, 25, {}, 14, 511 },
        LayoutCase { "Shell325Pitch25Tube19", 325, 25, 19, {}, 7, 121 },
        LayoutCase { "Shell400Pitch25Tube19", 400, 25, 19, {}, 9, 199 },
        LayoutCase { "OnlyTheAxisTube", 66, 32, 25, { 1 }, 1, 1 },
        LayoutCase { "ShellTooSmall", 40, 32, 25, {}, 0, 0 },
        LayoutCase { "AllZero", 0, 0, 0, {}, 0, 0 },
        LayoutCase { "ShellExactlyOneTube", 41, 32, 25, { 1 }, 1, 1 },
        // Exact ties, decided by the rounding of the accumulated row heights.
        LayoutCase { "TieOnCircleCounts", 400, 32, 0, {}, 7, 127 },
        LayoutCase { "TieJustOutsideByRounding", 600, 19, 14, {}, 18, 819 }),
    test_support::CaseName());

struct CentreCase
{
    const char *name;
    double d, d0, gxj;
    std::vector<double> rows;
    double total;
    bool warned;
};

void PrintTo(const CentreCase &c, std::ostream *os)
{
    *os << c.name;
}

class CentreCount : public testing::TestWithParam<CentreCase>
{
};

TEST_P(CentreCount, RowsTotalAndWarning)
{
    const CentreCase &c = GetParam();
    const engine::RowScan scan = engine::centreCount(c.d, c.d0 + 16, c.gxj);
    EXPECT_EQ(scan.rows, c.rows);
    EXPECT_EQ(scan.total, c.total);
    EXPECT_EQ(engine::centreTubeTooSmall(c.d0 + 16, c.gxj), c.warned);
}

INSTANTIATE_TEST_SUITE_P(RowScan, CentreCount,
    testing::Values(CentreCase { "Centre57", 25, 57, 32, { 3, 2 }, 7, false },
        CentreCase { "Centre108", 25, 108, 32, { 5, 4, 3 }, 19, false },
        CentreCase { "Centre25Warns", 19, 25, 25, { 3, 2 }, 7, true },
        // A negative centre diameter still gives a (small) centre circle.
        CentreCase { "NegativeCentre", 25, -10, 32, { 1 }, 1, true },
        CentreCase { "NoRowBelowZeroRadius", 19, -100, 25, {}, 0, true }),
    test_support::CaseName());

struct ErrorCase
{
    const char *name;
    std::function<engine::RowScan()> count;
    ErrorNumber error;
};

void PrintTo(const ErrorCase &c, std::ostream *os)
{
    *os << c.name;
}

class CountError : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(CountError, RaisesRuntimeError)
{
    EXPECT_EQ(test_support::errorOf(GetParam().count), GetParam().error);
}

engine::RowScan layout(double di, double gxj, double d)
{
    return engine::layoutCount(di - 16, d, gxj);
}
engine::RowScan centre(double d, double d0, double gxj)
{
    return engine::centreCount(d, d0 + 16, gxj);
}

INSTANTIATE_TEST_SUITE_P(RowScan, CountError,
    testing::Values(
        // Zero pitch: the first position passes again and again until c overflows.
        ErrorCase { "LayoutZeroPitch", [] { return layout(600, 0, 25); }, ErrorNumber::Overflow },
        ErrorCase { "CentreZeroPitch", [] { return centre(25, 57, 0); }, ErrorNumber::Overflow },
        // More than 1001 rows.
        ErrorCase {
            "TooManyRows", [] { return layout(1000, 0.5, 0); }, ErrorNumber::SubscriptOutOfRange },
        // 2c beyond 32767 in row 0, even where 2c - 1 alone would fit (c = 16384).
        ErrorCase { "RowTooWide", [] { return layout(1000, 0.03, 0); }, ErrorNumber::Overflow },
        ErrorCase { "DoubledHalfRowOverflows", [] { return engine::layoutCount(32767, 0, 1); },
            ErrorNumber::Overflow },
        ErrorCase { "WidestRowFitsThenTooManyRows", [] { return engine::layoutCount(32765, 0, 1); },
            ErrorNumber::SubscriptOutOfRange },
        // A negative tube admits a row above the circle; its half chord has no root.
        ErrorCase {
            "NegativeTube", [] { return layout(1000, 25, -19); }, ErrorNumber::InvalidCall },
        // A negative pitch walks downwards: out of the circle first, or past row 1000 first.
        ErrorCase { "NegativePitchLeavesCircle", [] { return layout(600, -25, 19); },
            ErrorNumber::InvalidCall },
        ErrorCase { "NegativePitchManyRows", [] { return layout(1016, -0.1, 0); },
            ErrorNumber::SubscriptOutOfRange },
        ErrorCase {
            "CentreNegativePitch", [] { return centre(19, 57, -25); }, ErrorNumber::InvalidCall },
        // Floating-point overflow in the squares.
        ErrorCase {
            "HugeShell", [] { return engine::layoutCount(1e308, 0, 1); }, ErrorNumber::Overflow },
        ErrorCase { "HugeCentre", [] { return centre(0, 1e308, 1); }, ErrorNumber::Overflow },
        ErrorCase { "HugePitch", [] { return layout(600, 1e308, 0); }, ErrorNumber::Overflow }),
    test_support::CaseName());

TEST(RowScan, BoundaryCountsInLayoutButNotInCentre)
{
    // Row 0 on pitch 40: the tube at x = 40 has its far edge at 40 + 10 = 50 = Dl/2, so it
    // lies wholly inside; with rc = 4/2 + 60/2 = 32 on pitch 32 the tube at x = 32 only
    // touches the centre circle, so it stays.
    EXPECT_EQ(engine::layoutCount(100, 20, 40).rows.at(0), 3);
    EXPECT_EQ(engine::centreCount(4, 60, 32).rows.at(0), 1);
    // With a negative tube the chord condition decides: halfc + d = 25 - 10 = 15 = x ends it.
    EXPECT_EQ(engine::centreCount(-10, 60, 15).rows.at(0), 1);
}

TEST(RowScan, RowTestBoundaries)
{
    // Row 1 stands at h. The layout scans a row at exactly R - d/2 (y <= R - d/2); the centre
    // count does not scan one at exactly rc (y < rc).
    const double h = 1.7320508075688772 * 32 / 2;
    EXPECT_EQ(engine::layoutCount(2 * h, 0, 32).rows.size(), 2u);
    EXPECT_EQ(engine::centreCount(0, 2 * h, 32).rows.size(), 1u);
}

TEST(RowScan, LastRowOfTableIsUsable)
{
    // The table holds rows 0 to 1000: a layout of exactly 1001 rows counts, one more fails.
    const double h = 1.7320508075688772 * 1.0 / 2;
    double y = 0;
    for (int k = 0; k < 1000; ++k)
        y = h + y;
    const engine::RowScan scan = engine::layoutCount(2 * (y + 1e-9), 0, 1.0);
    EXPECT_EQ(scan.rows.size(), 1001u);
    EXPECT_EQ(scan.rows.back(), 1);
    EXPECT_EQ(test_support::errorOf([&] { engine::layoutCount(2 * (h + y), 0, 1.0); }),
        ErrorNumber::SubscriptOutOfRange);
}

} // namespace
