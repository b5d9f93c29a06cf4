#pragma once

// The values the standards tabulate: GB/T 151's pitch and groove spacing by tube diameter, and
// the tie rods of GB/T 151 and TEMA by shell and tube. Read exactly, as [from, under) ranges.

#include "layout/inputs.h"
#include "layout/predicates.h"

#include <optional>
#include <string>
#include <vector>

namespace layout {

/// GB/T 151's pitch and groove spacing for a tube diameter, when its table has the diameter.
struct StandardPitch
{
    Length pitch, spacing;
};
std::optional<StandardPitch> gb151Pitch(Length tube, Pattern pattern);

/// The tube diameters GB/T 151's pitch table has, as a list for a message ("10, 12, …, 57").
std::string gb151Diameters();

/// The number and diameter of tie rods a table asks for; the diameter is unknown for a count
/// typed without the standard.
struct TieRodCount
{
    int count = 0;
    std::optional<Length> diameter;
};

/// The tie rods of inputs.tieRods, or an InputError (OutsideTable) for a shell or tube outside
/// the table. Needs the shell diameter.
TieRodCount tieRodCountOf(const Inputs &inputs);

/// Diameters from `from` (inclusive) to `to` (exclusive), in units, over which the number of
/// tie rods stays `rods`.
struct RodBand
{
    Int128 from, to;
    int rods;
};

/// The bands of a search over the diameter: one for no tie rods or a count; the table's rows
/// otherwise (none for a tube outside GB/T 151's rods).
std::vector<RodBand> rodBands(const Inputs &inputs);

} // namespace layout
