#pragma once

// The row scan itself, shared by the counts of the Calculate command and by the tube positions
// of the design studies, so that both walk the pattern with the very same arithmetic.

#include "engine/tube_count.h"
#include "runtime/arithmetic.h"

#include <utility>
#include <vector>

namespace engine::detail {

using runtime::Double;
using runtime::Int16;
using runtime::power;

/// The height between rows of the pattern; 3^0.5 is taken afresh each time, as a power.
inline Double rowHeight(Double gxj)
{
    return power(3, 0.5) * gxj / 2;
}

/// The distance from the shell centre to the far edge of a tube at (x, y).
inline Double farEdge(Double x, Double y, Double tube)
{
    return power(power(x, 2) + power(y, 2), 0.5) + tube * 0.5;
}

/// The distance of the position (x, y) from the shell centre.
inline Double centreDistance(Double x, Double y)
{
    return power(power(x, 2) + power(y, 2), 0.5);
}

/// The centre distance at which a tube of diameter `tube` touches the centre circle.
inline Double touchRadius(Double tube, Double centre)
{
    return tube / 2 + centre / 2;
}

/// Told nothing: the counts of the Calculate command run without a trace.
struct NoTrace
{
    void row(Int16, Double) { }
    void position(Double, bool) { }
    void end(Int16, Double) { }
};

/// The row table of one count. Rows are stored in order, so every entry past the last
/// stored row is still the zero the table starts with.
class RowTable
{
public:
    // Most exchangers need a few dozen rows; reserving spares the regrowth.
    RowTable() { m_rows.reserve(64); }

    /// Entry k = 2c - 1 in an even row (the axis tube once, the rest twice), 2c in an odd one.
    void store(Int16 k, Int16 c)
    {
        runtime::checkIndex(k, 0, kLastRow);
        const Int16 entry = k % 2 == 0 ? Int16(2) * c - 1 : Int16(2) * c;
        m_rows.push_back(entry.toDouble().value());
    }

    /// The total over the `n` scanned rows: entry 0 once, every other entry twice.
    RowScan finish(Int16 n)
    {
        Double s = 0;
        for (int i = 1; i <= (n - 1).value(); ++i)
            s = s + m_rows[i];
        const Double entry0 = m_rows.empty() ? 0.0 : m_rows[0];
        return { std::move(m_rows), ((s + s) + entry0).value() };
    }

private:
    std::vector<double> m_rows;
};

/// Scans the upper half of the pattern row by row from the axis. `rowScanned(y)` admits a
/// row at height y, `halfChord(y)` is computed once per row, and `fits(x, y, half)` decides
/// whether the position x counts. Even rows start with the axis tube, counted untested.
/// `trace` hears of every admitted row, every position counted or refused, and the height
/// at which the scan ended.
template <class RowTest, class HalfChord, class PositionTest, class Trace>
RowScan scanRows(
    Double gxj, RowTest rowScanned, HalfChord halfChord, PositionTest fits, Trace &trace)
{
    RowTable table;
    Double y = 0;
    Int16 k = 0;
    while (rowScanned(y)) {
        trace.row(k, y);
        const Double half = halfChord(y);
        Double x = 0;
        Int16 c = 0;
        if (k % 2 == 0) {
            trace.position(x, true);
            x = x + gxj;
            c = 1;
        } else {
            x = gxj / 2 + x;
        }
        for (;;) {
            const bool counted = fits(x, y, half);
            trace.position(x, counted);
            if (!counted)
                break;
            x = x + gxj;
            c = c + 1;
        }
        table.store(k, c);
        y = rowHeight(gxj) + y;
        k = k + 1;
    }
    trace.end(k, y);
    return table.finish(k);
}

/// The layout count, telling `trace` of each step.
template <class Trace> RowScan layoutScan(double Dl, double d, double gxj, Trace &trace)
{
    const Double layout = Dl;
    const Double tube = d;
    const Double R = layout / 2;
    return scanRows(
        gxj, [&](Double y) { return !(R - tube / 2 < y); },
        [&](Double y) { return power(power(layout / 2, 2) - power(y, 2), 0.5); },
        [&](Double x, Double y, Double half) {
            return !(layout / 2 < farEdge(x, y, tube)) && !(x > half);
        },
        trace);
}

/// The centre count, telling `trace` of each step.
template <class Trace> RowScan centreScan(double d, double DX, double gxj, Trace &trace)
{
    const Double tube = d;
    const Double centre = DX;
    const Double rc = touchRadius(tube, centre);
    return scanRows(
        gxj, [&](Double y) { return y < rc; },
        [&](Double y) { return power(power(touchRadius(tube, centre), 2) - power(y, 2), 0.5); },
        [&](Double x, Double y, Double halfc) {
            return !(halfc + tube <= x) && !(touchRadius(tube, centre) <= centreDistance(x, y));
        },
        trace);
}

} // namespace engine::detail
