#include "layout/tie_rods.h"

#include <algorithm>

namespace layout {

namespace {

    bool holdsAny(const RowSpan &span)
    {
        return span.axis || span.last >= span.first;
    }

} // namespace

std::vector<Site> upperEdge(const std::vector<RowSpan> &rows)
{
    std::vector<Site> right;
    std::optional<Site> top;
    // From the outermost row in: what lies beyond the next row out is on the edge.
    std::int64_t beyond = -1; // the last kept column of the next row out; -1 for none
    std::vector<std::vector<Site>> byRow;
    for (auto span = rows.rbegin(); span != rows.rend(); ++span) {
        if (span->row == 0 || !holdsAny(*span))
            continue;
        std::vector<Site> edge;
        if (span->last >= span->first) {
            std::int64_t from = std::max(span->first, beyond + 1);
            if ((from - span->first) % 2 != 0)
                ++from;
            for (std::int64_t col = span->last; col >= from; col -= 2)
                edge.push_back({ span->row, col });
            if (edge.empty())
                edge.push_back({ span->row, span->last });
        }
        if (span->axis && beyond < 0 && !top)
            top = Site { span->row, 0 };
        byRow.push_back(edge);
        beyond = span->last >= span->first ? span->last : 0;
    }
    for (auto row = byRow.rbegin(); row != byRow.rend(); ++row)
        right.insert(right.end(), row->begin(), row->end());
    std::vector<Site> edge = right;
    if (top)
        edge.push_back(*top);
    for (auto site = right.rbegin(); site != right.rend(); ++site)
        edge.push_back({ site->row, -site->col });
    return edge;
}

std::int64_t edgeTubes(const std::vector<RowSpan> &upper, const std::vector<RowSpan> &lower)
{
    return static_cast<std::int64_t>(upperEdge(upper).size() + upperEdge(lower).size());
}

namespace {

    /// Evenly spaced centres (j + ½)·L/K − ½ along an edge of L places, taken down to a whole
    /// place, the right half mirrored onto the left: at least L/K places apart, exactly
    /// symmetric; the middle one for an odd K.
    std::vector<std::int64_t> evenlyAlong(std::int64_t length, std::int64_t picks)
    {
        std::vector<std::int64_t> chosen;
        for (std::int64_t j = 0; j < picks / 2; ++j) {
            const std::int64_t at = ((2 * j + 1) * length - picks) / (2 * picks);
            chosen.push_back(at);
            chosen.push_back(length - 1 - at);
        }
        if (picks % 2 == 1)
            chosen.push_back((length - 1) / 2);
        std::sort(chosen.begin(), chosen.end());
        return chosen;
    }

    /// The rows beyond `closeRows`.
    std::vector<RowSpan> beyond(const std::vector<RowSpan> &rows, std::int64_t closeRows)
    {
        std::vector<RowSpan> far;
        for (const RowSpan &span : rows)
            if (span.row > closeRows)
                far.push_back(span);
        return far;
    }

} // namespace

std::optional<std::vector<Site>> placeTieRods(const std::vector<RowSpan> &rows,
    const std::vector<RowSpan> &lowerRows, int count, bool halfPitchRows,
    const std::vector<Site> &taken)
{
    if (count < 1)
        return std::nullopt;
    const auto isTaken = [&taken](const Site &site) {
        return std::binary_search(taken.begin(), taken.end(), site);
    };
    const bool axisRow = !rows.empty() && rows.front().row == 0 && holdsAny(rows.front());
    const bool axisEnds = axisRow && rows.front().last >= rows.front().first
        && !isTaken({ 0, rows.front().last }) && !isTaken({ 0, -rows.front().last });
    // Two rods (or one) at the axis row's ends keep a count that is not a multiple of 4
    // symmetric about both axes (or one of them).
    const int ends = axisEnds && count % 4 != 0 ? (count % 4 == 1 ? 1 : 2) : 0;
    const int rest = count - ends;
    // Rows whose tubes lie within a pitch of a rod at the axis row's end, or of their own
    // mirror image: on the rotated triangle the rows are half a pitch apart.
    const std::int64_t closeRows = ends > 0 ? (halfPitchRows ? 2 : 1)
        : axisRow && halfPitchRows          ? 1
                                            : 0;
    std::vector<Site> edge = upperEdge(beyond(rows, closeRows)),
                      lowerEdge = upperEdge(beyond(lowerRows, closeRows));
    // The sites the designer edited are no place for a rod.
    edge.erase(std::remove_if(edge.begin(), edge.end(), isTaken), edge.end());
    lowerEdge.erase(std::remove_if(lowerEdge.begin(), lowerEdge.end(),
                        [&](const Site &site) {
                            return isTaken({ -site.row, site.col });
                        }),
        lowerEdge.end());
    const bool odd = rest % 2 == 1;
    // Picks above the axis: half, and the odd one; as many below, less the odd one.
    const std::int64_t picks = rest / 2 + (odd ? 1 : 0);
    const std::int64_t length = static_cast<std::int64_t>(edge.size()),
                       lowerLength = static_cast<std::int64_t>(lowerEdge.size());
    // Along the rotated triangle's edge every other place is a pitch away: three apart there.
    const std::int64_t gap = halfPitchRows ? 3 : 2;
    if (length < gap * picks || lowerLength < gap * picks)
        return std::nullopt;
    const std::vector<std::int64_t> chosen = evenlyAlong(length, picks),
                                    lowerChosen = evenlyAlong(lowerLength, picks);
    std::vector<Site> sites;
    sites.reserve(static_cast<std::size_t>(count));
    for (std::int64_t at : chosen)
        sites.push_back(edge[static_cast<std::size_t>(at)]);
    // The lower half's picks mirror the upper's where the halves are alike, but for the odd
    // one: the middle pick (on the vertical axis when the edge has a tube there), or else the
    // last.
    const std::int64_t lowerMiddle = (lowerLength - 1) / 2;
    for (std::size_t i = 0; i < lowerChosen.size(); ++i) {
        const bool single =
            picks % 2 == 1 ? lowerChosen[i] == lowerMiddle : i + 1 == lowerChosen.size();
        const Site &site = lowerEdge[static_cast<std::size_t>(lowerChosen[i])];
        if (!(odd && single))
            sites.push_back({ -site.row, site.col });
    }
    if (ends > 0)
        sites.push_back({ 0, rows.front().last });
    if (ends > 1)
        sites.push_back({ 0, -rows.front().last });
    return sites;
}

} // namespace layout
