#include "layout/inputs.h"

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

Length layoutCircleOf(const Inputs &in)
{
    return in.given == Given::Shell ? Length { in.diameter.units - 2 * clearanceOf(in).units }
                                    : in.diameter;
}

Length centreCircleOf(const Inputs &in)
{
    return { in.tube.units + in.centreTube->units + 2 * clearanceOf(in).units };
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
