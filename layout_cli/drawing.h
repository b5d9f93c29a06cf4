#pragma once

// The drawing of a layout, as a scene that every picture and CAD format is written from.

#include "layout/study.h"
#include "sheet/scene.h"

namespace layout_cli {

/// The shell and layout circles, every tube that fits (those left filled by pass, those in a
/// lane as outlines, those the centre tube takes in red), each lane's centre line and its two
/// edges dashed, the centre tube with its clearance circle, the caption and a legend. With
/// `numbers`, each tube left is labelled with its number in the tube list.
sheet::Scene layoutScene(const layout::Layout &layout, bool numbers);

} // namespace layout_cli
