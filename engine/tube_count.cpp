#include "engine/tube_count.h"

#include "runtime/arithmetic.h"

namespace engine {
namespace {

    using runtime::Double;
    using runtime::Int16;
    using runtime::power;

    /// The height between rows of the pattern; 3^0.5 is taken afresh each time, as a power.
    Double rowHeight(Double gxj)
    {
        return power(3, 0.5) * gxj / 2;
    }

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
    template <class RowTest, class HalfChord, class PositionTest>
    RowScan scanRows(Double gxj, RowTest rowScanned, HalfChord halfChord, PositionTest fits)
    {
        RowTable table;
        Double y = 0;
        Int16 k = 0;
        while (rowScanned(y)) {
            const Double half = halfChord(y);
            Double x = 0;
            Int16 c = 0;
            if (k % 2 == 0) {
                x = x + gxj;
                c = 1;
            } else {
                x = gxj / 2 + x;
            }
            while (fits(x, y, half)) {
                x = x + gxj;
                c = c + 1;
            }
            table.store(k, c);
            y = rowHeight(gxj) + y;
            k = k + 1;
        }
        return table.finish(k);
    }

} // namespace

RowScan layoutCount(double Dl, double d, double gxj)
{
    const Double layout = Dl;
    const Double tube = d;
    const Double R = layout / 2;
    return scanRows(
        gxj, [&](Double y) { return !(R - tube / 2 < y); },
        [&](Double y) { return power(power(layout / 2, 2) - power(y, 2), 0.5); },
        [&](Double x, Double y, Double half) {
            // Distance from the shell centre to the far edge of the tube.
            const Double e = power(power(x, 2) + power(y, 2), 0.5) + tube * 0.5;
            return !(layout / 2 < e) && !(x > half);
        });
}

RowScan centreCount(double d, double DX, double gxj)
{
    const Double tube = d;
    const Double centre = DX;
    // The centre distance at which a tube touches the centre circle.
    const Double rc = tube / 2 + centre / 2;
    return scanRows(
        gxj, [&](Double y) { return y < rc; },
        [&](Double y) { return power(power(tube / 2 + centre / 2, 2) - power(y, 2), 0.5); },
        [&](Double x, Double y, Double halfc) {
            const Double dist = power(power(x, 2) + power(y, 2), 0.5);
            return !(halfc + tube <= x) && !(tube / 2 + centre / 2 <= dist);
        });
}

bool centreTubeTooSmall(double DX, double gxj)
{
    return rowHeight(gxj) > Double(DX) / 2;
}

} // namespace engine
