#pragma once

// korvane-count's tube-sheet drawing, as a scene that every picture and CAD format is written
// from.

#include "engine/tube_sheet.h"
#include "sheet/scene.h"

#include <string>

namespace cli {

/// What a drawing of the tube sheet shows: the calculation's dimensions and counts, and the
/// tubes where the row scans counted them.
struct Drawing
{
    double di = 0; ///< shell inner diameter
    double Dl = 0; ///< layout circle diameter
    double d = 0; ///< tube outer diameter
    double gxj = 0; ///< pitch
    double zxg = 0; ///< centre tube outer diameter; 0 for none
    std::string total; ///< the layout total, as the message shows it
    std::string removed; ///< tubes removed for the centre tube; empty without one
    std::string final; ///< the result
    engine::TubeSheet sheet;
};

/// The shell, layout and centre circles, the tubes (those removed for the centre tube apart),
/// the centre tube, rings round the knife-edge tubes, and a caption with the inputs and counts.
sheet::Scene countScene(const Drawing &drawing);

} // namespace cli
