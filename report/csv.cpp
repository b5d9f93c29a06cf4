#include "report/csv.h"

#include "report/numbers.h"

namespace report {

using layout::Given;
using layout::Layout;
using layout::lengthText;

bool listsKinds(const Layout &layout)
{
    return layout.tieRods.count > 0 || layout.counts.dummyTubes > 0;
}

bool isListed(const layout::Tube &tube)
{
    return tube.pass > 0 || tube.removed == layout::Removed::Dummy;
}

std::string tubesHeader(bool kinds)
{
    return kinds ? "n,x,y,pass,kind,site\n" : "n,x,y,pass,site\n";
}

std::string tubeRow(std::int64_t n, const layout::Tube &tube, bool kinds)
{
    const char *kind = tube.tieRod               ? ",tie_rod"
        : tube.removed == layout::Removed::Dummy ? ",dummy"
                                                 : ",tube";
    return std::to_string(n) + "," + numberText(tube.x) + "," + numberText(tube.y) + ","
        + std::to_string(tube.pass) + (kinds ? kind : "") + "," + layout::siteText(tube.site)
        + "\n";
}

std::string tubeList(const Layout &layout, const std::vector<layout::Tube> &tubes)
{
    const bool kinds = listsKinds(layout);
    std::string text = tubesHeader(kinds);
    std::int64_t n = 0;
    for (const layout::Tube &tube : tubes)
        if (isListed(tube))
            text += tubeRow(++n, tube, kinds);
    return text;
}

std::string sweepHeader(const std::vector<Layout> &row)
{
    const Layout &first = row.front();
    std::string text = first.inputs.given == Given::Shell ? "shell,layout_circle" : "layout_circle";
    if (row.size() == 1) {
        text += ",centre,in_circle,lane_removed,centre_removed";
        if (first.inputs.impingement)
            text += ",impingement_removed";
        text += ",total";
        for (int i = 1; i <= first.inputs.passes; ++i)
            text += ",pass_" + std::to_string(i);
        for (const layout::Baffle &baffle : first.baffles)
            for (const char *figure : { "window_tubes", "edge_tubes", "Fc", "Nc", "Ncw" })
                text += std::string(",") + figure + "_" + lengthText(baffle.cut);
    } else {
        for (const Layout &one : row)
            text += ",total_" + std::to_string(one.inputs.passes);
    }
    return text + "\n";
}

std::string sweepRow(const std::vector<Layout> &layouts)
{
    const Layout &first = layouts.front();
    std::string text;
    if (first.inputs.given == Given::Shell)
        text += lengthText(first.inputs.diameter) + ",";
    text += lengthText(first.layoutCircle);
    if (layouts.size() == 1) {
        const layout::Counts &c = first.counts;
        text += std::string(",") + layout::centringName(first.centring) + ","
            + std::to_string(c.inCircle) + "," + std::to_string(c.laneRemoved) + ","
            + std::to_string(c.centreRemoved) + ","
            + (first.inputs.impingement ? std::to_string(c.impingementRemoved) + "," : "")
            + std::to_string(c.total);
        for (int i = 0; i < c.passes; ++i)
            text += "," + std::to_string(c.perPass[i]);
        // A cut whose window holds no tube has no figures: empty cells, not zeros.
        for (const layout::Baffle &b : first.baffles)
            text += b.missesTubes
                ? std::string(",,,,,")
                : "," + std::to_string(b.windowTubes) + "," + std::to_string(b.edgeTubes) + ","
                    + numberText(b.fc) + "," + std::to_string(b.nc) + "," + numberText(b.ncw);
    } else {
        for (const Layout &one : layouts)
            text += "," + std::to_string(one.counts.total);
    }
    return text + "\n";
}

} // namespace report
