#pragma once

#include <string>
#include <string_view>

namespace text {

/// A user's text in a message: in single quotes, cut to 60 bytes on a character boundary with
/// the full length in bytes after it, and with every byte that is not UTF-8 shown as U+FFFD,
/// so that a message stays one line and a JSON string stays valid.
std::string quote(std::string_view text);

/// `text` with every byte that is not part of a well-formed UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

} // namespace text
