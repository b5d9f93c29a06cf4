#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

/// The parts of a text between separators, empty ones kept: "38," gives "38" and "", so that a
/// part left out is seen and said.
std::vector<std::string> split(std::string_view text, char separator);

} // namespace text
