#pragma once

#include "engine/tube_count.h"
#include "engine/tube_sheet.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace cli {

/// The texts of the four input boxes, in the order of engine::kInputBoxes. Each is read with Val.
using Inputs = std::array<std::string, 4>;

/// A run-time error that ended a calculation.
struct Failure
{
    int number = 0;
    std::string description;
    std::string report;
};

/// The form's six variables after a Calculate, in their order on the form.
struct FormValues
{
    double Dl = 0, di = 0, d = 0, zxg = 0, zxg_n = 0, gxj = 0;
};

/// Everything one Calculate did, as far as it got.
struct Outcome
{
    Inputs inputs; ///< the texts as given
    std::vector<std::string> messages; ///< every message-box text, in the order shown
    std::optional<std::string> result; ///< the text written to Text2; none after an error
    std::optional<Failure> error;
    std::optional<engine::RowScan> layout; ///< once the layout count has finished
    std::optional<engine::RowScan> centre; ///< once the centre count has finished
    FormValues form; ///< the variables as the calculation left them
};

/// Runs the Calculate command on a fresh form whose boxes hold `inputs` and whose message
/// boxes are recorded instead of waited for. Never throws a run-time error: it is recorded.
Outcome calculate(const Inputs &inputs);

/// The tubes of a calculation that ended with a result, where its row scans counted them;
/// none after a run-time error.
std::optional<engine::TubeSheet> tubeSheet(const Outcome &outcome);

/// The most knife edges listed in JSON and ringed in a drawing. Real sheets have a few dozen;
/// only absurd pitches (5e-324 mm) have more, hundreds of thousands, which made one count's
/// JSON 40 MB.
constexpr std::size_t kMostKnifeEdgesListed = 1000;

/// The outcome as one JSON object with the keys "messages", "result", "error", "total",
/// "removed", "rows", "centre_rows", "knife_edge" (the first kMostKnifeEdgesListed),
/// "knife_edge_count" and "notes". Scripts rely on these names.
/// `sheet` is the outcome's tubeSheet(), when the caller has it already.
nlohmann::ordered_json toJson(const Outcome &outcome);
nlohmann::ordered_json toJson(
    const Outcome &outcome, const std::optional<engine::TubeSheet> &sheet);

/// One line warning of tubes on a knife edge of the layout or centre circle, or empty.
std::string knifeEdgeWarning(const engine::TubeSheet &sheet);

/// What a calculation assumed that no design means, one line each: a value's text that is not
/// wholly a number (and what was read), tubes that overlap or a negative tube, a negative final
/// count or more tubes removed than there are, a tube above 32 mm (where the window's note and
/// the count differ on the clearance), and tubes on a knife edge. The figures stay as they are.
std::vector<std::string> notes(
    const Outcome &outcome, const std::optional<engine::TubeSheet> &sheet);

} // namespace cli
