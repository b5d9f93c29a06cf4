#include "layout/lanes.h"

#include "layout/standards.h"

#include <cmath>

namespace layout {

double Surd::mm() const
{
    return static_cast<double>(
        static_cast<long double>(s) / kUnitsPerMm * std::sqrt(static_cast<long double>(f)));
}

Length Surd::typable() const
{
    const std::int64_t units = largestRootAtMost(1, squared());
    return { units - units % kTypedStep };
}

namespace {

    Spacings defaultSpacings(Pattern pattern, std::int64_t p)
    {
        const Surd root3 { p, 3, "√3·p" }, twice { 2 * Int128(p), 1, "2p" };
        switch (pattern) {
        case Pattern::Triangular:
            return { root3, twice, root3 };
        case Pattern::RotatedTriangular:
            return { twice, root3, twice };
        case Pattern::Square:
            return { twice, twice, twice };
        case Pattern::RotatedSquare:
            break;
        }
        // p is a whole multiple of 4 units, so 3p/2 is whole.
        const Surd root2 { p, 2, "√2·p" };
        return { root2, root2, { 3 * Int128(p) / 2, 2, "3p/√2" } };
    }

} // namespace

Spacings spacingsOf(const Inputs &in)
{
    if (!in.laneSpacing)
        return defaultSpacings(in.pattern, in.pitch.units);
    const Surd given { in.laneSpacing->units, 1 };
    return { given, in.verticalSpacing ? Surd { in.verticalSpacing->units, 1 } : given, given };
}

ShiftSpacings shiftSpacingsOf(const Inputs &in)
{
    ShiftSpacings spacings;
    if (in.laneSpacing) {
        spacings.horizontal = in.laneSpacing->units;
    } else if (const auto standard = gb151Pitch(in.tube, in.pattern)) {
        spacings.horizontal = standard->spacing.units;
        spacings.fromStandard = true;
    }
    spacings.vertical = in.verticalSpacing ? in.verticalSpacing->units : spacings.horizontal;
    return spacings;
}

Length bendRadiusOf(const Inputs &in)
{
    return in.bendRadius ? *in.bendRadius : Length { 2 * in.tube.units };
}

Surd widenedForBends(const Inputs &in, Surd spacing)
{
    if (in.bundle != Bundle::UTube)
        return spacing;
    const Int128 bends = 2 * Int128(bendRadiusOf(in).units);
    return bends * bends > spacing.squared() ? Surd { bends, 1 } : spacing;
}

std::int64_t snapIndex(Pattern pattern, std::int64_t share, std::int64_t w, std::int64_t p)
{
    const Int128 e = share;
    const Int128 W = w, P = p;
    switch (pattern) {
    case Pattern::Triangular: {
        // m <= e·W/(√3·p) + 1/2, i.e. (2m − 1)·√3·p·1000 <= 2·e·W.
        const std::int64_t t = largestRootAtMost(3'000'000 * P * P, 4 * e * e * W * W);
        return (t + 1) / 2;
    }
    case Pattern::RotatedTriangular:
        return static_cast<std::int64_t>((2 * e * W + 1000 * P) / (2000 * P));
    case Pattern::Square:
        return static_cast<std::int64_t>((e * W + 1000 * P) / (2000 * P));
    case Pattern::RotatedSquare:
        break;
    }
    // N <= √2·e·W/(2p), i.e. 2000·p·N <= √2·e·W.
    return largestRootAtMost(4'000'000 * P * P, 2 * e * e * W * W);
}

std::int64_t snapRow(Pattern pattern, std::int64_t index)
{
    switch (pattern) {
    case Pattern::Square:
        return 4 * index;
    case Pattern::RotatedSquare:
        return 2 * index + 1;
    default:
        return 2 * index;
    }
}

} // namespace layout
