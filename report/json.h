#pragma once

// What korvane-layout prints for scripts: a layout as JSON, with the keys scripts rely on.

#include "layout/study.h"

#include <nlohmann/json.hpp>

namespace report {

/// One object with the keys scripts rely on, as the README lists them: the inputs as used, the
/// counts, the lanes, the bundle, the tie rods, what GB/T 151 gave and, under best, "best_of".
nlohmann::ordered_json toJson(const layout::Layout &layout);

/// One baffle cut's figures: "cut", "cut_line", "window_tubes", "edge_tubes", "Fc", "Nc",
/// "Ncw" and the formulas' "formula" {"Fw", "Fc", "Nc", "Ncw"}.
nlohmann::ordered_json baffleJson(const layout::Baffle &baffle);

/// The tubes left in each pass, as a JSON array.
nlohmann::ordered_json perPassJson(const layout::Counts &counts);

} // namespace report
