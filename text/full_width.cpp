#include "text/full_width.h"

namespace text {

std::string fromFullWidth(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = [&utf8, i](std::size_t k) {
            return i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0u;
        };
        // U+FF01..U+FF3F is EF BC 81..BF and U+FF40..U+FF5E is EF BD 80..9E; each lies 0xFEE0
        // above its ASCII form. U+3000 is E3 80 80.
        if (byte(0) == 0xef && byte(1) == 0xbc && byte(2) >= 0x81 && byte(2) <= 0xbf) {
            out += static_cast<char>(byte(2) - 0x81 + 0x21);
            i += 2;
        } else if (byte(0) == 0xef && byte(1) == 0xbd && byte(2) >= 0x80 && byte(2) <= 0x9e) {
            out += static_cast<char>(byte(2) - 0x80 + 0x60);
            i += 2;
        } else if (byte(0) == 0xe3 && byte(1) == 0x80 && byte(2) == 0x80) {
            out += ' ';
            i += 2;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

} // namespace text
