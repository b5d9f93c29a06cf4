#pragma once

// The arc cosine of the baffle formulas, computed by the same IEEE operations on every build:
// the C libraries of the program and of the page round acos differently in the last bits.

namespace layout {

/// acos(x) for -1 <= x <= 1, within a few ulps of the C library's; the same bits everywhere.
double portableAcos(double x);

/// sin(2·acos(x)) = 2x·√(1 − x²), from the same operations.
double sinOfTwiceAcos(double x);

} // namespace layout
