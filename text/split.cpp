#include "text/split.h"

namespace text {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts(1);
    for (char ch : text) {
        if (ch == separator)
            parts.emplace_back();
        else
            parts.back() += ch;
    }
    return parts;
}

} // namespace text
