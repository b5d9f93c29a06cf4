#pragma once

// GBK without iconv, for C libraries that lack it (WebAssembly's): a table made from the
// building system's iconv, so both give the same bytes.

#include <cstdint>

namespace sheet {

/// The GBK bytes of one character (one byte for ASCII, else two, high byte first), or 0 if GBK
/// has no such character.
std::uint16_t gbkOf(char32_t code);

} // namespace sheet
