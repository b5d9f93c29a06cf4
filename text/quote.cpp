#include "text/quote.h"

namespace text {

namespace {

    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

    /// The length of the well-formed UTF-8 sequence at `at`, or 0 if there is none.
    std::size_t sequenceAt(std::string_view text, std::size_t at)
    {
        const auto byte = [&](std::size_t i) {
            return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
        };
        const unsigned lead = byte(at);
        if (lead < 0x80)
            return 1;
        const auto follows = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
            return byte(i) >= low && byte(i) <= high;
        };
        // The ranges of the second byte exclude overlong forms, surrogates and code points
        // past U+10FFFF.
        if (lead >= 0xC2 && lead <= 0xDF)
            return follows(at + 1) ? 2 : 0;
        if (lead >= 0xE0 && lead <= 0xEF) {
            const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned high = lead == 0xED ? 0x9F : 0xBF;
            return follows(at + 1, low, high) && follows(at + 2) ? 3 : 0;
        }
        if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
            return follows(at + 1, low, high) && follows(at + 2) && follows(at + 3) ? 4 : 0;
        }
        return 0;
    }

} // namespace

std::string validUtf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceAt(text, at);
        if (length == 0) {
            valid += kReplacement;
            ++at;
        } else {
            valid += text.substr(at, length);
            at += length;
        }
    }
    return valid;
}

std::string quote(std::string_view text)
{
    constexpr std::size_t kLongest = 60;
    if (text.size() <= kLongest)
        return "'" + validUtf8(text) + "'";
    // Cut on a character boundary, not inside a UTF-8 sequence.
    std::size_t end = 0;
    while (end < kLongest) {
        const std::size_t length = sequenceAt(text, end);
        if (end + (length == 0 ? 1 : length) > kLongest)
            break;
        end += length == 0 ? 1 : length;
    }
    return "'" + validUtf8(text.substr(0, end)) + "...' (" + std::to_string(text.size())
        + " bytes)";
}

} // namespace text
