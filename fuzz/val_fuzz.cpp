// Val on arbitrary bytes: a finite Double or error 6, and text that begins with a plain decimal
// number gives that number, correctly rounded.

#include "runtime/error.h"
#include "runtime/val.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "val_fuzz: %s for %zu bytes\n", what, text.size());
    std::abort();
}

bool numberGoesOn(char ch)
{
    return (ch >= '0' && ch <= '9') || ch == '.' || ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D'
        || ch == ' ' || ch == '\t' || ch == '\n';
}

/// The plain decimal number the text starts with ([+-]digits[.digits]) when nothing after it
/// could continue it, or an empty string.
std::string plainDecimal(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == digits)
        return {};
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
    }
    if (i < text.size() && numberGoesOn(text[i]))
        return {};
    return std::string(text.substr(0, i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::string plain = plainDecimal(text);
    // strtod rounds correctly and gives HUGE_VAL beyond the range, 0 below it.
    errno = 0;
    const double expected = plain.empty() ? 0 : std::strtod(plain.c_str(), nullptr);
    double value = 0;
    try {
        value = runtime::Val(text);
    } catch (const runtime::RuntimeError &error) {
        if (error.number() != runtime::ErrorNumber::Overflow)
            fail("an error other than 6", text);
        if (!plain.empty() && !std::isinf(expected))
            fail("error 6 for a number within range", text);
        return 0;
    }
    if (!std::isfinite(value))
        fail("a value that is not finite", text);
    if (!plain.empty() && value != expected)
        fail("a plain decimal read wrongly", text);
    return 0;
}
