#include "layout/arc.h"

#include <cmath>

namespace layout {

namespace {

    /// asin(t) for |t| <= 1/2 by its series Σ (2n)!/(4ⁿ(n!)²(2n+1))·t^(2n+1), each term at most a
    /// quarter of the one before: 28 terms reach below an ulp, summed smallest first.
    double asinSeries(double t)
    {
        constexpr int kTerms = 28;
        double terms[kTerms];
        const double t2 = t * t;
        double power = t, ratio = 1;
        for (int n = 0; n < kTerms; ++n) {
            terms[n] = power * ratio / (2 * n + 1);
            ratio = ratio * (2 * n + 1) / (2 * n + 2);
            power *= t2;
        }
        double sum = 0;
        for (int n = kTerms - 1; n >= 0; --n)
            sum += terms[n];
        return sum;
    }

    // π/2 as the double nearest it and the rest, so that π/2 − small keeps its last bits.
    constexpr double kHalfPiHigh = 1.5707963267948966;
    constexpr double kHalfPiLow = 6.123233995736766e-17;

} // namespace

double portableAcos(double x)
{
    if (x > 0.5)
        return 2 * asinSeries(std::sqrt((1 - x) / 2));
    if (x < -0.5)
        return 2 * (kHalfPiHigh - asinSeries(std::sqrt((1 + x) / 2)) + kHalfPiLow);
    return kHalfPiHigh - (asinSeries(x) - kHalfPiLow);
}

double sinOfTwiceAcos(double x)
{
    return 2 * x * std::sqrt((1 - x) * (1 + x));
}

} // namespace layout
