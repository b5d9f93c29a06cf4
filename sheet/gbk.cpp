#include "sheet/gbk.h"

#include <algorithm>
#include <iterator>

namespace sheet {
namespace {

    struct Entry
    {
        std::uint16_t code, bytes;
    };

    // Sorted by code point, as the table's maker writes it.
    constexpr Entry kTable[] = {
#include "gbk_table.inc"
    };

} // namespace

std::uint16_t gbkOf(char32_t code)
{
    if (code < 0x80)
        return static_cast<std::uint16_t>(code);
    const auto found = std::lower_bound(std::begin(kTable), std::end(kTable), code,
        [](const Entry &entry, char32_t wanted) { return entry.code < wanted; });
    return found != std::end(kTable) && found->code == code ? found->bytes : 0;
}

} // namespace sheet
