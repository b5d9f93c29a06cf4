#pragma once

// The inputs GB/T 151 may give, named in the window's words (plain output) and in JSON.

#include "layout/inputs.h"

namespace report {

struct StandardValue
{
    layout::Field field;
    const char *text, *json;
};

/// The names of a field GB/T 151 gave.
const StandardValue &standardValue(layout::Field field);

} // namespace report
