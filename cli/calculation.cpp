#include "cli/calculation.h"

#include "cli/studies.h"
#include "runtime/error.h"

#include "runtime/val.h"
#include "text/full_width.h"
#include "text/quote.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cli {
namespace {

    /// Boxes filled from the command line; message boxes are noted and return at once.
    class RecordingHost : public engine::Host
    {
    public:
        RecordingHost(const Inputs &inputs, Outcome &outcome)
            : m_outcome(outcome)
        {
            for (std::size_t i = 0; i < inputs.size(); ++i)
                m_text[index(engine::kInputBoxes[i])] = inputs[i];
        }

        std::string text(engine::Box box) const override { return m_text[index(box)]; }

        void setText(engine::Box box, std::string_view utf8) override
        {
            m_text[index(box)] = std::string(utf8);
            if (box == engine::Box::Text2)
                m_outcome.result = std::string(utf8);
        }

        void messageBox(std::string_view prompt) override
        {
            m_outcome.messages.emplace_back(prompt);
        }

        void counted(engine::Count which, const engine::RowScan &scan) override
        {
            (which == engine::Count::Layout ? m_outcome.layout : m_outcome.centre) = scan;
        }

    private:
        static std::size_t index(engine::Box box) { return static_cast<std::size_t>(box); }

        std::array<std::string, 5> m_text;
        Outcome &m_outcome;
    };

    /// Counts are Doubles holding whole numbers; JSON shows them as integers.
    nlohmann::ordered_json number(double value)
    {
        if (std::trunc(value) == value && std::fabs(value) < 9007199254740992.0)
            return static_cast<std::int64_t>(value);
        return value;
    }

    nlohmann::ordered_json rowsOf(const std::optional<engine::RowScan> &scan)
    {
        if (!scan)
            return nullptr;
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (double entry : scan->rows)
            rows.push_back(number(entry));
        return rows;
    }

    nlohmann::ordered_json totalOf(const std::optional<engine::RowScan> &scan)
    {
        return scan ? number(scan->total) : nlohmann::ordered_json(nullptr);
    }

    /// Whether Val reads the whole text, blanks apart, rather than a number at its start. A
    /// scan of its own: std::regex would cost a count more than the count itself.
    bool whollyANumber(const std::string &typed)
    {
        std::string text;
        for (const char ch : text::fromFullWidth(typed))
            if (ch != ' ' && ch != '\t' && ch != '\n')
                text += ch;
        std::size_t i = 0;
        const auto at = [&text, &i](const char *set) {
            return i < text.size() && std::strchr(set, text[i]) != nullptr;
        };
        const auto digits = [&](const char *set) {
            const std::size_t start = i;
            while (at(set))
                ++i;
            return i - start;
        };
        constexpr const char *kDecimal = "0123456789";
        if (at("&")) {
            ++i;
            if (at("Hh")) {
                ++i;
                return digits("0123456789abcdefABCDEF") > 0 && i == text.size();
            }
            if (at("Oo"))
                ++i;
            return digits("01234567") > 0 && i == text.size();
        }
        if (at("+-"))
            ++i;
        std::size_t mantissa = digits(kDecimal);
        if (at(".")) {
            ++i;
            mantissa += digits(kDecimal);
        }
        if (mantissa == 0)
            return false;
        if (at("eEdD")) {
            ++i;
            if (at("+-"))
                ++i;
            if (digits(kDecimal) == 0)
                return false;
        }
        return i == text.size();
    }

    std::string mm(double value)
    {
        return numberText(value) + " mm";
    }

} // namespace

std::vector<std::string> notes(
    const Outcome &outcome, const std::optional<engine::TubeSheet> &sheet)
{
    const Inputs &inputs = outcome.inputs;
    std::vector<std::string> lines;
    const FormValues &f = outcome.form;
    // The values in the command's order, SHELL PITCH TUBE CENTRE, and what Val made of each.
    const char *names[] = { "SHELL", "PITCH", "TUBE", "CENTRE" };
    const double read[] = { f.di, f.gxj, f.d, f.zxg };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        // No centre tube is said with no text, or 0.
        if (i == 3 && inputs[i].empty())
            continue;
        if (!whollyANumber(inputs[i]))
            lines.push_back(std::string("warning: ") + names[i] + " " + text::quote(inputs[i])
                + " is not wholly a number; read as " + numberText(read[i]));
    }
    if (outcome.error)
        return lines;
    if (f.d < 0)
        lines.push_back("warning: the tube diameter " + mm(f.d) + " is negative");
    if (f.gxj < f.d)
        lines.push_back("warning: the pitch " + mm(f.gxj) + " is smaller than the tube " + mm(f.d)
            + ": the tubes overlap");
    if (outcome.layout && outcome.centre && outcome.centre->total > outcome.layout->total)
        lines.push_back("warning: " + numberText(outcome.centre->total)
            + " tubes removed for the centre tube, more than the "
            + numberText(outcome.layout->total) + " there are");
    if (outcome.result && std::strtod(outcome.result->c_str(), nullptr) < 0)
        lines.push_back("warning: the final count " + *outcome.result + " is negative");
    if (f.d > 32) {
        const double b = 0.25 * f.d;
        lines.push_back("warning: the tube " + mm(f.d)
            + " is larger than 32 mm: the count keeps 8 mm between shell and layout circle "
              "(layout circle "
            + mm(f.Dl) + "); the window's note, b = 0.25·d = " + mm(b)
            + ", would give a layout circle of " + mm(f.di - 2 * b));
    }
    if (sheet) {
        const std::string knifeEdge = knifeEdgeWarning(*sheet);
        if (!knifeEdge.empty())
            lines.push_back(knifeEdge);
    } else if (outcome.result) {
        lines.push_back("warning: the tube positions could not be worked out: no knife-edge "
                        "report, drawing or tube list");
    }
    return lines;
}

Outcome calculate(const Inputs &inputs)
{
    Outcome outcome;
    outcome.inputs = inputs;
    RecordingHost host(inputs, outcome);
    engine::Form1 form(host);
    try {
        form.Command1_Click();
    } catch (const runtime::RuntimeError &error) {
        outcome.error =
            Failure { error.code(), std::string(error.description()), std::string(error.what()) };
    }
    outcome.form = { form.Dl, form.di, form.d, form.zxg, form.zxg_n, form.gxj };
    return outcome;
}

std::optional<engine::TubeSheet> tubeSheet(const Outcome &outcome)
{
    if (!outcome.result)
        return std::nullopt;
    const FormValues &f = outcome.form;
    // The positions are an extra: should they fail where the count did not, the count stands,
    // and notes() says what is missing.
    try {
        return engine::layTubes(f.Dl, f.d, f.gxj, f.zxg);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::string knifeEdgeWarning(const engine::TubeSheet &sheet)
{
    std::size_t counts[2][2] = {}; // [circle][counted]
    for (const engine::KnifeEdge &edge : sheet.knifeEdges)
        ++counts[edge.circle == engine::Circle::Layout ? 0 : 1][edge.counted ? 1 : 0];
    if (sheet.knifeEdges.empty())
        return {};
    std::string line = "warning: knife edge:";
    const char *names[2] = { "layout", "centre" };
    const char *separator = " ";
    for (int circle = 0; circle < 2; ++circle) {
        const std::size_t all = counts[circle][0] + counts[circle][1];
        if (all == 0)
            continue;
        line += separator + std::to_string(all) + " tube" + (all == 1 ? "" : "s")
            + " within 1e-6 mm of the " + names[circle] + " circle ("
            + std::to_string(counts[circle][1]) + " counted)";
        separator = ", ";
    }
    line += "; the last bit of rounding decides them";
    if (sheet.knifeEdges.size() > kMostKnifeEdgesListed)
        line += " (the first " + std::to_string(kMostKnifeEdgesListed) + " are listed)";
    return line;
}

nlohmann::ordered_json toJson(const Outcome &outcome)
{
    return toJson(outcome, tubeSheet(outcome));
}

nlohmann::ordered_json toJson(const Outcome &outcome, const std::optional<engine::TubeSheet> &sheet)
{
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["messages"] = outcome.messages;
    json["result"] =
        outcome.result ? nlohmann::ordered_json(*outcome.result) : nlohmann::ordered_json(nullptr);
    json["error"] = outcome.error ? nlohmann::ordered_json { { "number", outcome.error->number },
        { "description", outcome.error->description } }
                                  : nlohmann::ordered_json(nullptr);
    json["total"] = totalOf(outcome.layout);
    json["removed"] = totalOf(outcome.centre);
    json["rows"] = rowsOf(outcome.layout);
    json["centre_rows"] = rowsOf(outcome.centre);
    json["knife_edge"] = nullptr;
    json["knife_edge_count"] = nullptr;
    if (sheet) {
        json["knife_edge"] = nlohmann::ordered_json::array();
        const std::size_t listed = std::min(sheet->knifeEdges.size(), kMostKnifeEdgesListed);
        for (std::size_t i = 0; i < listed; ++i) {
            const engine::KnifeEdge &edge = sheet->knifeEdges[i];
            json["knife_edge"].push_back(
                { { "circle", edge.circle == engine::Circle::Layout ? "layout" : "centre" },
                    { "x", edge.tube.x }, { "y", edge.tube.y }, { "row", edge.tube.row },
                    { "counted", edge.counted } });
        }
        json["knife_edge_count"] = sheet->knifeEdges.size();
    }
    json["notes"] = notes(outcome, sheet);
    return json;
}

} // namespace cli
