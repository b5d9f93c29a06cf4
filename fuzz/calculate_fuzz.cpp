// The Calculate command on four arbitrary texts, split from the input at line feeds (shell,
// pitch, tube, centre tube): a result or run-time error 5, 6 or 9, the result a whole number,
// and for a tube diameter of 0 or more the total never falls when only the shell grows.
// korvane-count's JSON of the same texts says what the click did: its extras (tube positions,
// knife edges, notes) never change the result, the error or the total.

#include "cli/calculation.h"
#include "engine/tube_count.h"
#include "runtime/error.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "calculate_fuzz: %s\n", what);
    std::abort();
}

class Boxes : public engine::Host
{
public:
    std::string text(engine::Box box) const override { return m_text[static_cast<int>(box)]; }
    void setText(engine::Box box, std::string_view utf8) override
    {
        m_text[static_cast<int>(box)] = std::string(utf8);
    }
    void messageBox(std::string_view) override { }

private:
    std::array<std::string, 5> m_text;
};

bool isWholeNumber(const std::string &text)
{
    std::size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || (text[i] == '0' && text.size() > i + 1))
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return text != "-0";
}

std::optional<double> layoutTotal(double Dl, double d, double gxj)
{
    try {
        return engine::layoutCount(Dl, d, gxj).total;
    } catch (const runtime::RuntimeError &) {
        return std::nullopt;
    }
}

/// What korvane-count --json prints for the texts, notes included, as the text it writes: a
/// string that is not UTF-8 would make it fail.
nlohmann::ordered_json countJson(const cli::Inputs &inputs)
{
    const cli::Outcome outcome = cli::calculate(inputs);
    const std::optional<engine::TubeSheet> sheet = cli::tubeSheet(outcome);
    cli::notes(outcome, sheet);
    try {
        return nlohmann::ordered_json::parse(cli::toJson(outcome, sheet).dump(2));
    } catch (const nlohmann::json::exception &) {
        fail("korvane-count's JSON cannot be written");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    Boxes boxes;
    cli::Inputs inputs;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::size_t end = std::min(input.find('\n', begin), input.size());
        inputs[i] = begin < input.size() ? input.substr(begin, end - begin) : "";
        boxes.setText(engine::kInputBoxes[i], inputs[i]);
        begin = end + 1;
    }
    boxes.setText(engine::Box::Text2, "unchanged");
    const nlohmann::ordered_json json = countJson(inputs);

    engine::Form1 form(boxes);
    try {
        form.Command1_Click();
    } catch (const runtime::RuntimeError &error) {
        const int number = error.code();
        if (number != 5 && number != 6 && number != 9)
            fail("a run-time error other than 5, 6 or 9");
        if (boxes.text(engine::Box::Text2) != "unchanged")
            fail("Text2 written by a calculation that failed");
        if (!json["result"].is_null() || json["error"]["number"] != number)
            fail("korvane-count's JSON does not give the click's error");
        return 0;
    }
    if (!isWholeNumber(boxes.text(engine::Box::Text2)))
        fail("a result that is not a whole number");
    if (json["result"] != boxes.text(engine::Box::Text2) || !json["error"].is_null())
        fail("korvane-count's JSON does not give the click's result");

    if (form.d >= 0) {
        const std::optional<double> total = layoutTotal(form.Dl, form.d, form.gxj);
        if (!total)
            fail("the layout count failed on its own");
        if (json["total"] != *total)
            fail("korvane-count's JSON does not give the layout count's total");
        for (double larger :
            { std::nextafter(form.Dl, INFINITY), form.Dl + 1, form.Dl * 2 + 100 }) {
            if (!(larger > form.Dl) || !std::isfinite(larger))
                continue;
            const std::optional<double> grown = layoutTotal(larger, form.d, form.gxj);
            if (grown && *grown < *total)
                fail("the total fell as the shell grew");
        }
    }
    return 0;
}
