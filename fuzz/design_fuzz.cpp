// A design file of arbitrary bytes: refused with a reason, or read; a design read is written
// back the same every time, and a front end that opens it and changes nothing saves it as it
// was written.

#include "report/design.h"
#include "report/form.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const std::string &bytes)
{
    std::fprintf(stderr, "design_fuzz: %s for %zu bytes\n", what, bytes.size());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    report::Design design;
    try {
        design = report::readDesign(bytes);
    } catch (const report::DesignError &error) {
        if (std::string(error.what()).empty() || error.reason().empty())
            fail("a refusal without a reason", bytes);
        return 0;
    }
    const std::string text = report::designText(design);
    report::Design again;
    try {
        again = report::readDesign(text);
    } catch (const report::DesignError &) {
        fail("a design written that cannot be read back", bytes);
    }
    if (report::designText(again) != text)
        fail("a design written differently the second time", bytes);
    if (design.edits.size() != design.editUnknown.size() && !design.editUnknown.empty())
        fail("edits and their kept keys apart", bytes);
    const report::Filled filled = report::valuesOf(design.inputs);
    if (filled.refused.empty()
        && report::designText(report::designNow(
               design, filled.values, design.title.value_or(std::string()), design.edits))
            != text)
        fail("an opened design saved unchanged is not the same file", bytes);
    return 0;
}
