#pragma once

// What korvane-layout prints and writes: plain text in the window's vocabulary, JSON for
// scripts, CSV for spreadsheets and CAD.

#include "layout/study.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace layout_cli {

/// The inputs as understood (circle, pattern, centring, lanes with their spacings), then the
/// counts, one a line, in Chinese with units.
std::string plainText(const layout::Layout &layout);

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

/// The header and the rows of a tube list: n,x,y,pass of every tube left, mm, and with `kinds`
/// (a layout with tie rods) a kind column, tube or tie_rod. The numbers run row by row from
/// the top, left to right, as the drawing labels them.
std::string tubesHeader(bool kinds = false);
std::string tubeRow(std::int64_t n, const layout::Tube &tube, bool kinds = false);

/// A sweep's CSV. With one pass count, a row gives the diameter, the layout circle, the
/// centring, every count and each pass's, and each baffle cut's figures; with several, the
/// total of each.
std::string sweepHeader(layout::Given swept, const std::vector<int> &passes,
    const std::vector<layout::Length> &cuts = {});
std::string sweepRow(const std::vector<layout::Layout> &layouts);

/// The default pass-lane spacings of a layout as the rules write them, each with its value
/// rounded down to what can be typed ("√3·p = 55.425625"), horizontal lanes first, each text
/// once: typed back, they lay the same tubes.
std::vector<std::string> laneDefaults(const layout::Layout &layout);

/// The shortest text that reads back as the same double ("27.712812921102035", "12.5", "0").
std::string numberText(double value);

} // namespace layout_cli
