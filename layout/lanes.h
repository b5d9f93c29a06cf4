#pragma once

// How wide the pass lanes are and where the off-centre ones go: the rules' default spacings,
// the spacings under the designers' lanes, the centre lane a U-tube bundle's bends widen, and
// the snapping of the off-centre lanes to the pattern. Whole numbers only.

#include "layout/inputs.h"
#include "layout/predicates.h"

#include <cstdint>
#include <utility>

namespace layout {

/// A length s·√f in whole units: the lane spacings of the rules carry √2 and √3.
struct Surd
{
    Int128 s = 0;
    int f = 1;
    const char *formula = nullptr; ///< the rules' name for it, when it is a default

    Int128 squared() const { return s * s * f; }
    double mm() const;
    /// Rounded down to a whole 1e-6 mm, a value a person can type.
    Length typable() const;
};

/// The lane spacings of a layout: through the centre horizontally, vertically, and off the
/// centre.
struct Spacings
{
    Surd horizontal, vertical, offCentre;
};

/// The rules' default spacings of a pattern of pitch p (units), or the typed ones.
Spacings spacingsOf(const Inputs &inputs);

/// The spacings under the designers' lanes, horizontal and vertical: typed, or GB/T 151's Sn
/// for the tube (which the checks have made sure there is), and whether it is the standard's.
struct ShiftSpacings
{
    std::int64_t horizontal = 0, vertical = 0;
    bool fromStandard = false;
};
ShiftSpacings shiftSpacingsOf(const Inputs &inputs);

/// The spacing of the centre lane that a U-tube bundle's bends cross: at least 2R.
Surd widenedForBends(const Inputs &inputs, Surd spacing);

/// The index an off-centre lane near share/1000 of ρ snaps to for W = DL − d = 2ρ >= 0: the
/// rules' m, or N for 45.
std::int64_t snapIndex(Pattern pattern, std::int64_t share, std::int64_t w, std::int64_t p);

/// Y of the off-centre lane for a snap index, in the rows' units (layout/rows.h).
std::int64_t snapRow(Pattern pattern, std::int64_t index);

} // namespace layout
