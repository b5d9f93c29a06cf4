#include "engine/tube_sheet.h"

#include "engine/row_scan.h"
#include "engine/tube_count.h"
#include "runtime/error.h"

#include <cmath>
#include <stdexcept>

namespace engine {
namespace {

    using detail::Double;
    using detail::Int16;

    struct Position
    {
        Double x;
        bool counted;
    };

    struct RowTrace
    {
        int k;
        Double y;
        std::vector<Position> positions;
    };

    /// Keeps every step of a scan: the rows it admitted, the positions it tried in each, and
    /// the row it stopped at.
    struct Recorder
    {
        void row(Int16 k, Double y) { rows.push_back({ k.value(), y, {} }); }
        void position(Double x, bool counted) { rows.back().positions.push_back({ x, counted }); }
        void end(Int16 k, Double y)
        {
            endRow = k.value();
            endY = y;
        }

        std::vector<RowTrace> rows;
        int endRow = 0;
        Double endY = 0;
    };

    /// Whether a row's position lies on the vertical axis: the first of an even row. It is told
    /// by its place, not by x == 0, since half a tiny pitch can round to 0 in an odd row.
    bool onAxis(int k, std::size_t index)
    {
        return k % 2 == 0 && index == 0;
    }

    /// The places of a position of the upper half: itself, its mirror across the vertical
    /// axis unless it lies on it, and both mirrored below the horizontal axis.
    template <class Emit> void mirrored(double x, double y, int k, bool axis, Emit emit)
    {
        for (int below = 0; below <= (k == 0 ? 0 : 1); ++below) {
            const double ty = below ? -y : y;
            const int row = below ? -k : k;
            if (!axis)
                emit(-x, ty, row);
            emit(x, ty, row);
        }
    }

    /// Finds the positions within kKnifeEdge of a circle. `offset(x, y)` is the tested distance
    /// less the circle's. Positions past the end of each row and in the row the scan stopped at
    /// are tried too, since a tube the scan never reached may touch the circle all the same.
    template <class Offset>
    void knifeEdges(const Recorder &scan, Double gxj, Circle circle, Offset offset,
        std::vector<KnifeEdge> &found)
    {
        const auto note = [&](Double x, Double y, int k, bool counted, bool axis) {
            double off = 0;
            try {
                off = offset(x, y).value();
            } catch (const runtime::RuntimeError &) {
                // A distance beyond the Double range is nowhere near a circle the count used;
                // looking for knife edges must never fail a count that succeeded.
                return false;
            }
            if (std::fabs(off) <= kKnifeEdge) {
                mirrored(x.value(), y.value(), k, axis, [&](double tx, double ty, int row) {
                    found.push_back({ Tube { tx, ty, row, false }, circle, counted, off });
                });
            }
            return off <= kKnifeEdge;
        };
        // Beyond the last position tried, while still within reach of the circle; a pitch of
        // 0 or less never moves outwards.
        const auto onwards = [&](Double x, Double y, int k, bool axis) {
            if (!(gxj > 0))
                return;
            for (int step = 0; step < 32768 && note(x, y, k, false, axis && step == 0); ++step) {
                try {
                    x = x + gxj;
                } catch (const runtime::RuntimeError &) {
                    return;
                }
            }
        };
        for (const RowTrace &row : scan.rows) {
            for (std::size_t i = 0; i < row.positions.size(); ++i)
                note(row.positions[i].x, row.y, row.k, row.positions[i].counted, onAxis(row.k, i));
            if (!row.positions.empty())
                onwards(row.positions.back().x + gxj, row.y, row.k, false);
        }
        const Double start = scan.endRow % 2 == 0 ? Double(0) : gxj / 2 + Double(0);
        onwards(start, scan.endY, scan.endRow, onAxis(scan.endRow, 0));
    }

    int countedIn(const Recorder &scan, int k)
    {
        if (k >= static_cast<int>(scan.rows.size()))
            return 0;
        int n = 0;
        for (const Position &position : scan.rows[k].positions)
            n += position.counted ? 1 : 0;
        return n;
    }

} // namespace

TubeSheet layTubes(double Dl, double d, double gxj, double zxg)
{
    Recorder layout;
    const RowScan total = detail::layoutScan(Dl, d, gxj, layout);
    Recorder centre;
    const bool withCentre = zxg != 0;
    const double DX = withCentre ? centreCircle(zxg) : 0;
    if (withCentre)
        detail::centreScan(d, DX, gxj, centre);

    TubeSheet sheet;
    // Up to millions of tubes: one allocation for the sheet rather than a regrowth per row.
    sheet.tubes.reserve(static_cast<std::size_t>(total.total));
    for (const RowTrace &row : layout.rows) {
        const int removed = countedIn(centre, row.k);
        const std::size_t upper = sheet.tubes.size();
        // Left of the axis from the outside in, then the axis and the right from the inside out.
        for (int pass = 0; pass < 2; ++pass) {
            const int n = static_cast<int>(row.positions.size());
            for (int i = 0; i < n; ++i) {
                const int j = pass == 0 ? n - 1 - i : i;
                const Position &position = row.positions[j];
                const double x = position.x.value();
                if (!position.counted || (pass == 0 && onAxis(row.k, j)))
                    continue;
                const bool isRemoved = j < removed;
                const double tx = pass == 0 ? -x : x;
                sheet.tubes.push_back({ tx, row.y.value(), row.k, isRemoved });
            }
        }
        // The mirror image below the axis, in the same order.
        const std::size_t end = row.k != 0 ? sheet.tubes.size() : upper;
        for (std::size_t i = upper; i < end; ++i) {
            const Tube tube = sheet.tubes[i];
            sheet.tubes.push_back({ tube.x, -tube.y, -tube.row, tube.removed });
        }
    }
    if (static_cast<double>(sheet.tubes.size()) != total.total)
        throw std::logic_error("the tube positions disagree with the layout count");

    const Double tube = d;
    const Double R = Double(Dl) / 2;
    knifeEdges(
        layout, gxj, Circle::Layout,
        [&](Double x, Double y) { return detail::farEdge(x, y, tube) - R; }, sheet.knifeEdges);
    if (withCentre) {
        const Double rc = detail::touchRadius(tube, DX);
        knifeEdges(
            centre, gxj, Circle::Centre,
            [&](Double x, Double y) { return detail::centreDistance(x, y) - rc; },
            sheet.knifeEdges);
    }
    return sheet;
}

} // namespace engine
