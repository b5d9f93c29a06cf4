#pragma once

#include "engine/tube_sheet.h"

#include <string>

namespace draw {

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

/// True for the file names a drawing can be written to: .svg, .png or .pdf.
bool isDrawingFile(const std::string &file);

/// Writes the drawing to `file` in the format its extension names. Throws std::runtime_error
/// with a message that names the file when it cannot be written.
void writeDrawing(const Drawing &drawing, const std::string &file);

} // namespace draw
