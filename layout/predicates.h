#pragma once

// The exact decisions of the layout study. Every one of them (does a centre fit the circle,
// does it lie inside a lane or the centre tube's clearance, where does a lane snap) reduces to
// "the largest whole n with n²·a <= b" over whole units, with √2 and √3 appearing only
// squared. The callers keep a and b below 2^126; the study's input range guarantees it.

#include <cmath>
#include <cstdint>

namespace layout {

__extension__ typedef __int128 Int128;

/// The largest n >= 0 with n·n·a <= b, or -1 when b < 0. Needs a > 0, 0 <= b < 2^126 and
/// b/a < 2^124 so that n fits 62 bits.
inline std::int64_t largestRootAtMost(Int128 a, Int128 b)
{
    if (b < 0)
        return -1;
    // The double estimate is off by at most one or two; the loops make it exact.
    auto n = static_cast<std::int64_t>(std::sqrt(static_cast<double>(b) / static_cast<double>(a)));
    while (n > 0 && Int128(n) * n * a > b)
        --n;
    while (Int128(n + 1) * (n + 1) * a <= b)
        ++n;
    return n;
}

/// The largest n >= 0 with n·n·a < b, or -1 when b <= 0: the strict form, for "closer than".
inline std::int64_t largestRootBelow(Int128 a, Int128 b)
{
    return largestRootAtMost(a, b - 1);
}

/// The smallest n >= 0 with n·n·a >= b.
inline std::int64_t smallestRootAtLeast(Int128 a, Int128 b)
{
    return largestRootBelow(a, b) + 1;
}

/// The integers of [lo, hi] with the parity of `odd`.
inline std::int64_t countWithParity(std::int64_t lo, std::int64_t hi, int odd)
{
    if (hi < lo)
        return 0;
    // Shift both ends to the parity wanted, then count steps of two.
    // v & 1 is the parity of negative values too, in two's complement.
    const auto off = [odd](std::int64_t v) { return static_cast<int>(v & 1) != odd; };
    if (off(lo))
        ++lo;
    if (off(hi))
        --hi;
    return hi < lo ? 0 : (hi - lo) / 2 + 1;
}

} // namespace layout
