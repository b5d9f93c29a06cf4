#pragma once

// What korvane-layout prints for scripts: a layout as JSON, with the keys scripts rely on.

#include "layout/study.h"

#include <nlohmann/json.hpp>

namespace report {

/// One object with the keys scripts rely on: "shell", "clearance", "layout_circle", "tube",
/// "pitch", "pattern", "passes", "centre", "centre_tube", "in_circle", "lane_removed",
/// "centre_removed", "total", "per_pass", "lanes", "lane_model", "bundle", "bend_radius",
/// "u_tubes", "tie_rods", "from_gb151" and, under best, "best_of".
nlohmann::ordered_json toJson(const layout::Layout &layout);

/// One baffle cut's figures: "cut", "cut_line", "window_tubes", "edge_tubes", "Fc", "Nc",
/// "Ncw" and the formulas' "formula" {"Fw", "Fc", "Nc", "Ncw"}.
nlohmann::ordered_json baffleJson(const layout::Baffle &baffle);

/// The tubes left in each pass, as a JSON array.
nlohmann::ordered_json perPassJson(const layout::Counts &counts);

} // namespace report
