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

/// The sites of `count` tie rods. Where a row lies on the horizontal axis and the count is
/// not a multiple of 4, one or two go at its ends. Of the rest, half are picked evenly along
/// upperEdge(), symmetric about the vertical axis, and as many along the lower half's edge
/// (`lowerRows`, its spans by their distance from the axis): where the halves are alike, the
/// mirror images of the upper picks. An odd one more goes above the axis, on the vertical axis
/// where the edge has a tube there. Every two picks are at least two places apart along the edge
/// (three on the rotated triangle, whose rows are half a pitch apart: `halfPitchRows`), and the
/// rows next to an axis row that lie within a pitch of a rod on it are left out. Empty when the
/// edge is too short, or count < 1.
/// No rod goes on a site of `taken` (sorted): the designer's edits.
std::optional<std::vector<Site>> placeTieRods(const std::vector<RowSpan> &rows,
    const std::vector<RowSpan> &lowerRows, int count, bool halfPitchRows,
    const std::vector<Site> &taken = {});

/// The tubes at the edge of both halves.
std::int64_t edgeTubes(const std::vector<RowSpan> &upper, const std::vector<RowSpan> &lower);

} // namespace layout
