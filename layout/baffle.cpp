#include "layout/arc.h"
#include "layout/study.h"

#include "layout/surd.h"

#include <cmath>
#include <cstdio>
#include <map>

namespace layout {

namespace {

    /// BC is held in length units: 100 % is this many.
    constexpr Int128 kWhole = 100 * Int128(kUnitsPerMm);

    /// The row step across the flow, mm: p·√3/2, p/2, p or p/√2.
    double rowStep(Pattern pattern, double p)
    {
        switch (pattern) {
        case Pattern::Triangular:
            return p * std::sqrt(3.0) / 2;
        case Pattern::RotatedTriangular:
            return p / 2;
        case Pattern::Square:
            return p;
        case Pattern::RotatedSquare:
            break;
        }
        return p / std::sqrt(2.0);
    }

} // namespace

Baffle baffleOf(const Layout &layout, Length cut)
{
    const Inputs &in = layout.inputs;
    Baffle baffle;
    baffle.cut = cut;
    const double di = millimetres(in.diameter), share = millimetres(cut) / 100;
    baffle.cutLine = di * (0.5 - share);
    // y > yc, with yc = Di·(1/2 − BC/100), is 2·kWhole·y > Di·(kWhole − 2·BC): whole numbers.
    const Int128 line = Int128(in.diameter.units) * (kWhole - 2 * Int128(cut.units));
    const Int128 scale = 2 * kWhole;
    const Int128 halfTube = kWhole * in.tube.units; // scale·d/2
    // Tie rods and the designer's edited sites hold no tube that carries flow.
    std::map<std::int64_t, int> rodsInRow;
    for (const Site &site : layout.tieRodSites)
        ++rodsInRow[site.row];
    for (const EditAction action : { EditAction::Remove, EditAction::Dummy })
        for (const Site &site : editedSites(layout, action))
            ++rodsInRow[site.row];
    const auto visit = [&](const RowCount &row) {
        const auto rods = rodsInRow.find(row.row);
        const std::int64_t kept = row.kept - (rods == rodsInRow.end() ? 0 : rods->second);
        if (kept <= 0)
            return;
        // The sign of scale·y − offset, for y = a + b·√f.
        const auto against = [&](Int128 offset) {
            return surdSign(scale * row.a - offset, scale * row.b, row.f);
        };
        const int top = against(line), bottom = against(-line);
        ++baffle.rows;
        if (top > 0) {
            baffle.windowTubes += kept;
            ++baffle.windowRows;
        } else if (top == 0 || bottom == 0) {
            baffle.lineTubes += kept;
            ++baffle.lineRows;
        } else if (bottom > 0) {
            baffle.crossflowTubes += kept;
            ++baffle.nc;
        } else {
            baffle.bottomWindowTubes += kept;
            ++baffle.bottomWindowRows;
        }
        if (against(line + halfTube) < 0 && against(line - halfTube) > 0) {
            baffle.edgeTubes += kept;
            const long double y =
                (static_cast<long double>(row.a)
                    + static_cast<long double>(row.b) * std::sqrt(static_cast<long double>(row.f)))
                / kUnitsPerMm;
            baffle.edgeRows.push_back(static_cast<double>(y));
        }
    };
    layout.arrangement.forEachRow(visit);
    const std::int64_t total = layout.counts.total;
    baffle.missesTubes = baffle.windowTubes == 0;
    // The bottom window mirrors the top, as the rules count it, but under a plate, which takes
    // tubes from the top one only: then both windows as counted.
    const std::int64_t windows =
        in.impingement ? baffle.windowTubes + baffle.bottomWindowTubes : 2 * baffle.windowTubes;
    baffle.fc = total > 0 ? static_cast<double>(total - windows) / static_cast<double>(total) : 0;
    // 8/10 of the rows, so that 6 rows read 4.8 and not 0.8·6 in binary.
    baffle.ncw = static_cast<double>(8 * baffle.windowRows) / 10;

    // The uniform-density estimates, in doubles: for comparison only.
    const double dctl = millimetres(layout.layoutCircle) - millimetres(in.tube);
    const double lpp = rowStep(in.pattern, millimetres(in.pitch));
    const double across = di * (1 - 2 * share);
    const double pi = 3.141592653589793;
    const double reach = dctl > 0 ? across / dctl : 0;
    if (dctl > 0 && std::abs(reach) <= 1) {
        // The program's and the page's figures alike: acos and sin of our own operations.
        const double theta = 2 * portableAcos(reach);
        baffle.formula.fw = theta / (2 * pi) - sinOfTwiceAcos(reach) / (2 * pi);
        baffle.formula.fc = 1 - 2 * *baffle.formula.fw;
    }
    baffle.formula.nc = across / lpp;
    baffle.formula.ncw = 0.8 / lpp * (di * share - (di - dctl) / 2);
    return baffle;
}

std::vector<Baffle> bafflesOf(const Layout &layout)
{
    std::vector<Baffle> baffles;
    for (const Length cut : layout.inputs.baffleCuts)
        baffles.push_back(baffleOf(layout, cut));
    return baffles;
}

std::optional<InputError> missedCut(const Layout &layout)
{
    for (const Baffle &baffle : layout.baffles)
        if (baffle.missesTubes) {
            char line[64];
            std::snprintf(line, sizeof line, "%.4g", baffle.cutLine);
            return InputError("the baffle cut " + lengthText(baffle.cut)
                    + " % puts its cut line at y = ±" + line
                    + " mm, beyond every tube: its window would hold none",
                Problem::CutMissesTubes, Field::BaffleCut);
        }
    return std::nullopt;
}

} // namespace layout
