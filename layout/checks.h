#pragma once

// What the study cannot take: every length outside the exact range, and every combination of
// inputs the rules do not allow, each a reason tied to its field.

#include "layout/inputs.h"
#include "layout/predicates.h"

#include <vector>

namespace layout {

/// Every reason the study cannot take `inputs`, one InputError each, at most one a field, in the
/// order of the fields. The checks that depend on a field listed in `unknown` (one that could
/// not be read) are left out.
std::vector<InputError> problemsOf(const Inputs &inputs, const std::vector<Field> &unknown = {});

/// Throws the first of problemsOf(), with one line for the user.
void validate(const Inputs &inputs);

/// Throws the reason a length cannot be typed (more than 6 decimals, over 100 m, not above 0),
/// naming it as `what` ("the resolution").
void requireLength(Length length, const char *what);

/// What the diameter given exceeds W = DL − d by: d, and 2b for a shell.
Int128 offsetOf(const Inputs &inputs);

} // namespace layout
