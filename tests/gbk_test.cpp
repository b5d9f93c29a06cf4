// The GBK table the WebAssembly build's DXF writer uses, against iconv for every character.

#include "sheet/gbk.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <string>

namespace {

std::string utf8Of(char32_t code)
{
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xc0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        text += static_cast<char>(0xe0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    }
    return text;
}

TEST(Gbk, TableGivesIconvsBytesForEveryCharacter)
{
    const iconv_t gbk = iconv_open("GBK", "UTF-8");
    // iconv_open() says it failed with (iconv_t)-1.
    ASSERT_NE(reinterpret_cast<std::intptr_t>(gbk), -1);
    int found = 0;
    for (char32_t code = 1; code <= 0xffff; ++code) {
        if (code >= 0xd800 && code <= 0xdfff)
            continue;
        std::string in = utf8Of(code);
        char out[8];
        char *from = in.data(), *to = out;
        std::size_t fromLeft = in.size(), toLeft = sizeof out;
        iconv(gbk, nullptr, nullptr, nullptr, nullptr);
        unsigned expected = 0;
        if (iconv(gbk, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1))
            for (char *p = out; p != to; ++p)
                expected = expected << 8 | static_cast<unsigned char>(*p);
        ASSERT_EQ(sheet::gbkOf(code), expected) << std::hex << static_cast<unsigned>(code);
        found += expected != 0;
    }
    iconv_close(gbk);
    // GBK's ideographs and symbols: tens of thousands, so the table is not empty or cut short.
    EXPECT_GT(found, 21000);
    EXPECT_EQ(sheet::gbkOf(0x4e2d), 0xd6d0); // 中
    EXPECT_EQ(sheet::gbkOf(0x1f600), 0); // beyond GBK
}

} // namespace
