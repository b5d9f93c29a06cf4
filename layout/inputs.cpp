#include "layout/inputs.h"

#include "layout/predicates.h"

#include <algorithm>

namespace layout {

Length defaultClearance(Length tube)
{
    return { std::max(tube.units / 4, mm(8).units) };
}

Length clearanceOf(const Inputs &in)
{
    return in.clearance ? *in.clearance : defaultClearance(in.tube);
}

namespace {

    /// GB/T 151's floating-head DN bands, up to and including each bound: b1 and bn; b is 4
    /// below DN 1000 and 5 from it.
    constexpr struct
    {
        std::int64_t upTo, b1, bn;
    } kFloatingBands[] = { { 700, 3, 10 }, { 1200, 5, 13 }, { 2000, 6, 16 },
        { kMaxFloatingMm, 7, 20 } };
    constexpr std::int64_t kWiderClearanceFromMm = 1000;

} // namespace

std::optional<FloatingAllowances> floatingAllowances(Length shell)
{
    for (const auto &band : kFloatingBands)
        if (shell.units <= mm(band.upTo).units)
            return FloatingAllowances { mm(band.b1), { mm(band.bn).units + mm(3).units / 2 },
                mm(shell.units < mm(kWiderClearanceFromMm).units ? 4 : 5) };
    return std::nullopt;
}

std::vector<Length> floatingEdges()
{
    // Each band begins just past the last one's bound, and b widens at DN 1000.
    std::vector<Length> edges { mm(kWiderClearanceFromMm) };
    for (const auto &band : kFloatingBands)
        edges.push_back({ mm(band.upTo).units + 1 });
    std::sort(edges.begin(), edges.end());
    return edges;
}

bool headSetsCircle(const Inputs &in)
{
    return in.given == Given::Shell && !in.clearance
        && (in.head == Head::Floating || in.head == Head::PullThrough || in.head == Head::Packed);
}

Length layoutCircleOf(const Inputs &in)
{
    if (in.given != Given::Shell)
        return in.diameter;
    const std::int64_t di = in.diameter.units;
    if (!headSetsCircle(in))
        return { di - 2 * clearanceOf(in).units };
    if (in.head == Head::Packed)
        return { di - mm(75).units / 2 };
    if (in.head == Head::PullThrough) {
        // (Di − 85.6625) / 1.009375 = (Di − 85.6625)·320/323, down to a whole 0.001 mm.
        constexpr std::int64_t kThousandth = kUnitsPerMm / 1000;
        const Int128 scaled = Int128(di - 342'650'000) * 320;
        const Int128 per = Int128(323) * kThousandth;
        const Int128 down = scaled >= 0 ? scaled / per : -((-scaled + per - 1) / per);
        return { static_cast<std::int64_t>(down * kThousandth) };
    }
    // Beyond DN 2600 the rule has no numbers: the checks refuse it, and DL is the shell's.
    const std::optional<FloatingAllowances> a = floatingAllowances(in.diameter);
    return a ? Length { di - 2 * (a->b1.units + a->b2.units + a->b.units) } : in.diameter;
}

Length centreCircleOf(const Inputs &in)
{
    return { in.tube.units + in.centreTube->units + 2 * clearanceOf(in).units };
}

bool isRibbon(const Inputs &in)
{
    return in.arrangement == PassArrangement::Ribbon && in.passes >= 4;
}

Shares offCentreShares(const Inputs &in)
{
    // The fractions that give every pass the same area of the circle.
    if (isRibbon(in))
        return in.passes == 4 ? Shares { { 404 }, 1 }
            : in.passes == 6  ? Shares { { 265, 553 }, 2 }
                              : Shares { { 198, 404, 635 }, 3 };
    if (in.passes == 6)
        return { { 265 }, 1 };
    if (in.passes == 8)
        return { { 404 }, 1 };
    return {};
}

bool hasCentreLane(const Inputs &in)
{
    return in.passes == 2 || in.passes == 4 || in.passes == 8 || isRibbon(in);
}

bool hasVerticalLane(const Inputs &in)
{
    return in.passes >= 4 && !isRibbon(in);
}

const char *arrangementName(const Inputs &in)
{
    if (in.passes < 4)
        return nullptr;
    return isRibbon(in) ? "ribbon" : in.passes == 4 ? "quadrant" : "mixed";
}

const char *arrangementNameOf(PassArrangement arrangement)
{
    switch (arrangement) {
    case PassArrangement::Quadrant:
        return "quadrant";
    case PassArrangement::Mixed:
        return "mixed";
    case PassArrangement::Ribbon:
        return "ribbon";
    case PassArrangement::Standard:
        break;
    }
    return "standard";
}

const char *patternName(Pattern pattern)
{
    switch (pattern) {
    case Pattern::Triangular:
        return "30";
    case Pattern::RotatedTriangular:
        return "60";
    case Pattern::Square:
        return "90";
    case Pattern::RotatedSquare:
        break;
    }
    return "45";
}

const char *headName(Head head)
{
    switch (head) {
    case Head::Fixed:
        return "fixed";
    case Head::UTube:
        return "u-tube";
    case Head::Floating:
        return "floating";
    case Head::PullThrough:
        return "pull-through";
    case Head::Packed:
        break;
    }
    return "packed";
}

const char *centringName(Centring centring)
{
    switch (centring) {
    case Centring::OnTube:
        return "on-tube";
    case Centring::Straddle:
        return "straddle";
    case Centring::Best:
        break;
    }
    return "best";
}

} // namespace layout
