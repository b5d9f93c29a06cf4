#pragma once

// Where tie rods go: at the edge of the bundle, spread evenly along it, symmetric about both
// axes where their number allows. Chosen by whole-number rules alone, so every machine picks
// the same tubes.

#include "layout/rows.h"

#include <optional>
#include <vector>

namespace layout {

/// The tubes at the edge of the upper half, in order around it from the right end of the
/// horizontal axis to the left: row by row outward right of the vertical axis (each row's
/// kept tubes beyond the end of the next row out that holds any, at least its last), the
/// tube on the vertical axis of the last row, then the mirror image of the first part, back
/// down. `rows` are the upper half's spans from the axis outward (row 0, the axis row, is
/// left out).
std::vector<Site> upperEdge(const std::vector<RowSpan> &rows);

/// The sites of `count` tie rods: half of them picked evenly along upperEdge() of the rows
/// beyond `closeRows`, symmetric about the vertical axis, and their mirror images in the lower
/// half; an odd one more above the axis, on the vertical axis where the edge has a tube there.
/// Every two picks are at least two places apart along the edge. Empty when the edge is too
/// short for that, or count < 1. Rows up to `closeRows` are those whose mirror images lie
/// within a pitch.
std::optional<std::vector<Site>> placeTieRods(
    const std::vector<RowSpan> &rows, int count, std::int64_t closeRows = 0);

/// The tubes at the edge of both halves: twice upperEdge().
std::int64_t edgeTubes(const std::vector<RowSpan> &rows);

} // namespace layout
