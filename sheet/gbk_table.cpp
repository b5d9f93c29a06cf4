// Writes the table of every character GBK has, as this system's iconv converts it, for builds
// whose C library has no GBK (WebAssembly): their DXF files must be byte for byte the same.

#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvane-gbk-table FILE\n");
        return 2;
    }
    const iconv_t gbk = iconv_open("GBK", "UTF-8");
    // iconv_open() says it failed with (iconv_t)-1.
    if (reinterpret_cast<std::intptr_t>(gbk) == -1) {
        std::perror("korvane-gbk-table: iconv_open GBK");
        return 1;
    }
    std::string table =
        "// The GBK bytes of each character GBK has: {code point, bytes}. Generated.\n";
    for (char32_t code = 0x80; code <= 0xffff; ++code) {
        if (code >= 0xd800 && code <= 0xdfff)
            continue;
        char in[4];
        std::size_t length = 0;
        if (code < 0x800) {
            in[0] = static_cast<char>(0xc0 | (code >> 6));
            in[1] = static_cast<char>(0x80 | (code & 0x3f));
            length = 2;
        } else {
            in[0] = static_cast<char>(0xe0 | (code >> 12));
            in[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            in[2] = static_cast<char>(0x80 | (code & 0x3f));
            length = 3;
        }
        char out[8];
        char *from = in, *to = out;
        std::size_t fromLeft = length, toLeft = sizeof out;
        iconv(gbk, nullptr, nullptr, nullptr, nullptr);
        if (iconv(gbk, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1))
            continue;
        unsigned bytes = 0;
        for (char *p = out; p != to; ++p)
            bytes = bytes << 8 | static_cast<unsigned char>(*p);
        char line[32];
        std::snprintf(line, sizeof line, "{0x%04X,0x%04X},\n", static_cast<unsigned>(code), bytes);
        table += line;
    }
    iconv_close(gbk);
    // Whole or not at all: the build must never see half a table.
    const std::string partial = std::string(argv[1]) + ".partial";
    std::FILE *file = std::fopen(partial.c_str(), "wb");
    if (!file || std::fwrite(table.data(), 1, table.size(), file) != table.size()
        || std::fclose(file) != 0 || std::rename(partial.c_str(), argv[1]) != 0) {
        std::perror("korvane-gbk-table");
        return 1;
    }
    return 0;
}
