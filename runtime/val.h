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

/// A box's text as a Chinese input method in full-width mode means it: the full-width forms
/// U+FF01 to U+FF5E (digits, signs, point and letters among them) become their ASCII
/// counterparts and the ideographic space U+3000 a blank. Every other byte stays as it is, so
/// Val then reads "６００" as 600 and everything else exactly as before.
std::string fromFullWidth(std::string_view utf8);

} // namespace runtime
