#pragma once

#include <string>
#include <string_view>

namespace runtime {

/// Val: the number at the start of a text, as a Double.
///
/// Blanks, tabs and line feeds are skipped wherever they stand. An optional sign, digits with at
/// most one "." and an optional exponent (E or D, with optional sign) are read; &H and &O read
/// a hexadecimal or octal integer. Reading stops at the first other character, and text without
/// a number gives 0. The decimal point is always "." whatever the locale, and the conversion is
/// correctly rounded. A number beyond the Double range raises error 6; a number too small for a
/// Double reads as 0; no other text raises an error.
double Val(std::string_view text);

} // namespace runtime
