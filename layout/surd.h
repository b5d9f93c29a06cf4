#pragma once

// Exact signs of a + b·√f for whole a and b and f of 1, 2 or 3. The designers' lanes put rows
// at a typed decimal plus a multiple of p·√3/2 or p/√2, so a fit compares a sum of a whole
// number and a surd with a square; squaring it once more needs 256 bits.

#include "layout/predicates.h"

#include <cstdint>

namespace layout {

namespace wide {

    using U128 = unsigned __int128;

    /// A 256-bit unsigned number, high half first.
    struct U256
    {
        U128 hi = 0, lo = 0;
    };

    constexpr U128 kLow64 = ~std::uint64_t(0);

    /// The full product of two 128-bit numbers, by 64-bit limbs.
    inline U256 multiply(U128 a, U128 b)
    {
        const U128 a0 = a & kLow64, a1 = a >> 64, b0 = b & kLow64, b1 = b >> 64;
        const U128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const U128 middle = (p00 >> 64) + (p01 & kLow64) + (p10 & kLow64);
        return { p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64),
            (middle << 64) | (p00 & kLow64) };
    }

    /// x·f for a small f.
    inline U256 times(U256 x, unsigned f)
    {
        const U128 low = (x.lo & kLow64) * f, high = (x.lo >> 64) * f;
        const U128 middle = (low >> 64) + high;
        return { x.hi * f + (middle >> 64), (middle << 64) | (low & kLow64) };
    }

    inline int compare(U256 a, U256 b)
    {
        if (a.hi != b.hi)
            return a.hi < b.hi ? -1 : 1;
        if (a.lo != b.lo)
            return a.lo < b.lo ? -1 : 1;
        return 0;
    }

    inline U128 magnitude(Int128 v)
    {
        return v < 0 ? -static_cast<U128>(v) : static_cast<U128>(v);
    }

} // namespace wide

/// The sign (-1, 0 or 1) of a + b·√f, for |a|, |b| below 2^126 and f of 1, 2 or 3.
inline int surdSign(Int128 a, Int128 b, int f)
{
    const auto sign = [](Int128 v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    if (f == 1)
        return sign(a + b);
    const int sa = sign(a), sb = sign(b);
    if (sb == 0 || sa == sb)
        return sa == 0 ? sb : sa;
    if (sa == 0)
        return sb;
    // Opposite signs: the larger of a² and b²·f wins.
    const int c = wide::compare(wide::multiply(wide::magnitude(a), wide::magnitude(a)),
        wide::times(
            wide::multiply(wide::magnitude(b), wide::magnitude(b)), static_cast<unsigned>(f)));
    return sa > 0 ? c : -c;
}

} // namespace layout
