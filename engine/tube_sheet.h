#pragma once

#include <vector>

namespace engine {

/// One tube position on the tube sheet, in millimetres from the shell centre.
struct Tube
{
    double x = 0;
    double y = 0;
    /// Row k above the axis, -k for its mirror image below; 0 on the axis.
    int row = 0;
    /// Removed to make room for the centre tube.
    bool removed = false;
};

/// The circles a count tests the tubes against.
enum class Circle { Layout, Centre };

/// A tube whose test against a circle is decided by the last bit of the arithmetic: in exact
/// arithmetic its far edge (layout circle) or its centre distance less the touch radius
/// (centre circle) lies within kKnifeEdge of the circle.
struct KnifeEdge
{
    Tube tube; ///< its position; `removed` is not used here
    Circle circle = Circle::Layout;
    bool counted = false; ///< whether the count took it
    double offset = 0; ///< the tested distance less the circle's, as the count computes them
};

/// How close to a circle a tube must come to be reported as on its knife edge, in mm.
constexpr double kKnifeEdge = 1e-6;

/// Every tube of a calculation, where the row scans counted it.
struct TubeSheet
{
    /// The tubes of the layout count, row 0 first, each row from left to right, the upper
    /// half before its mirror image. There are exactly as many as the layout total.
    std::vector<Tube> tubes;
    /// Tubes within kKnifeEdge of the layout circle or the centre circle, counted or not.
    std::vector<KnifeEdge> knifeEdges;
};

/// Lays out the tubes of a calculation that ended with a result: the layout count for the
/// layout circle `Dl`, and with a centre tube (`zxg` not 0) the centre count, which marks the
/// tubes it removes. The scans are those of the Calculate command, step for step. Raises the
/// run-time error that the calculation itself would raise, if any.
TubeSheet layTubes(double Dl, double d, double gxj, double zxg);

} // namespace engine
