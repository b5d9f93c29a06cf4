#pragma once

// The tables korvane-layout writes for spreadsheets and CAD: the tube list and a sweep's rows.

#include "layout/study.h"

#include <cstdint>
#include <string>
#include <vector>

namespace report {

/// Whether a tube list has a kind column (tube, tie_rod or dummy): with tie rods or dummies.
bool listsKinds(const layout::Layout &layout);
/// Whether the list holds a tube: every tube left, and every dummy (pass 0).
bool isListed(const layout::Tube &tube);

/// The header and the rows of a tube list: n,x,y,pass of every tube listed, mm, with `kinds`
/// a kind column, and the site an edit names it by. The numbers run row by row from the top,
/// left to right, as the drawing labels them.
std::string tubesHeader(bool kinds = false);
std::string tubeRow(std::int64_t n, const layout::Tube &tube, bool kinds = false);

/// The whole tube list of a layout, its header first.
std::string tubeList(const layout::Layout &layout, const std::vector<layout::Tube> &tubes);

/// A sweep's CSV, its header from the layouts of its first row. With one pass count, a row
/// gives the diameter, the layout circle, the centring, every count and each pass's, and each
/// baffle cut's figures; with several, the total of each.
std::string sweepHeader(const std::vector<layout::Layout> &row);
std::string sweepRow(const std::vector<layout::Layout> &layouts);

} // namespace report
