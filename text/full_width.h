#pragma once

#include <string>
#include <string_view>

namespace text {

/// A box's text as a Chinese input method in full-width mode means it: the full-width forms
/// U+FF01 to U+FF5E (digits, signs, point and letters among them) become their ASCII
/// counterparts and the ideographic space U+3000 a blank. Every other byte stays as it is, so
/// a number reader then reads "６００" as 600 and everything else exactly as before. Every
/// program reads what is typed through it.
std::string fromFullWidth(std::string_view utf8);

} // namespace text
