// A user's text in a message: one line, whole characters, valid UTF-8 whatever was typed.

#include "text/quote.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Quote, OneLineOfValidUtf8)
{
    const std::string han = "管"; // three bytes
    const struct
    {
        std::string typed, quoted;
    } cases[] = {
        { "600", "'600'" },
        { "", "''" },
        { "壳体", "'壳体'" },
        { std::string(60, '9'), "'" + std::string(60, '9') + "'" },
        { std::string(61, '9'), "'" + std::string(60, '9') + "...' (61 bytes)" },
        // 20 characters fill 60 bytes; the 21st is never cut in half.
        { std::string(59, 'x') + han, "'" + std::string(59, 'x') + "...' (62 bytes)" },
        { [&] {
             std::string s;
             for (int i = 0; i < 25; ++i)
                 s += han;
             return s;
         }(),
            [&] {
                std::string s = "'";
                for (int i = 0; i < 20; ++i)
                    s += han;
                return s + "...' (75 bytes)";
            }() },
        // Bytes that are not UTF-8: a stray byte, a cut sequence, an overlong '/', a surrogate,
        // and a code point past U+10FFFF each show as U+FFFD.
        { "\xff"
          "600",
            "'\xEF\xBF\xBD"
            "600'" },
        { "6\xe4", "'6\xEF\xBF\xBD'" },
        { "\xc0\xaf", "'\xEF\xBF\xBD\xEF\xBF\xBD'" },
        { "\xed\xa0\x80", "'\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD'" },
        { "\xf4\x90\x80\x80", "'\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD'" },
        { "\xf0\x9f\x98\x80", "'\xf0\x9f\x98\x80'" },
        { std::string(59, '9') + "\xff\xff",
            "'" + std::string(59, '9') + "\xEF\xBF\xBD...' (61 bytes)" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(text::quote(c.typed), c.quoted) << c.typed;
}

} // namespace
