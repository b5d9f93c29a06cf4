#pragma once

// Why an input cannot be taken, in one short Chinese line under its box: the same words in
// korvane-sheet (which translates them) and on the page.

#include "layout/length.h"

namespace report {

/// The reason for an input error, in Chinese (UTF-8): a source text of the context "report".
const char *reasonOf(const layout::InputError &error);

} // namespace report
