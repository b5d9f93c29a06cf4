#include "report/tube_index.h"

#include "report/csv.h"

#include <algorithm>
#include <cmath>

namespace report {

bool canEdit(const layout::Tube &tube, TubeEdit edit)
{
    using layout::Removed;
    switch (edit) {
    case TubeEdit::Remove:
        return tube.removed == Removed::No || tube.removed == Removed::Dummy;
    case TubeEdit::Dummy:
        return tube.removed == Removed::No || tube.removed == Removed::Edit;
    case TubeEdit::Restore:
        return tube.removed == Removed::Edit || tube.removed == Removed::Dummy;
    }
    return false;
}

std::vector<layout::Edit> editedAs(const std::vector<layout::Edit> &edits, const layout::Site &site,
    TubeEdit edit, layout::Bundle bundle)
{
    const std::optional<layout::EditAction> action = edit == TubeEdit::Remove
        ? std::optional(layout::EditAction::Remove)
        : edit == TubeEdit::Dummy ? std::optional(layout::EditAction::Dummy)
                                  : std::nullopt;
    return layout::withEdit(edits, site, action, bundle == layout::Bundle::UTube);
}

TubeIndex::TubeIndex(const layout::Layout &counted)
    : tubes(layout::tubes(counted))
{
    // The hole list numbers the tubes left in the same order, so the pointer and the file agree.
    numbers.reserve(tubes.size());
    std::int64_t n = 0;
    for (const layout::Tube &tube : tubes)
        numbers.push_back(isListed(tube) ? ++n : 0);
    m_radius = layout::millimetres(counted.inputs.tube) / 2;
    m_cell = std::max(layout::millimetres(counted.inputs.pitch), 1e-6);
    for (std::size_t i = 0; i < tubes.size(); ++i)
        m_cells[cellOf(tubes[i].x, tubes[i].y)].push_back(i);
}

std::uint64_t TubeIndex::cellOf(double x, double y) const
{
    const auto index = [this](double v) {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(v / m_cell)));
    };
    return (std::uint64_t(index(x)) << 32) | index(y);
}

const layout::Tube *TubeIndex::tubeAt(double x, double y, std::int64_t *number) const
{
    // Far outside the sheet (a page's pointer can be anywhere): no cell to look in.
    if (!(std::abs(x) < 1e9 && std::abs(y) < 1e9))
        return nullptr;
    // A tube's circle reaches at most one cell past its own, as d <= p.
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const auto found = m_cells.find(cellOf(x + dx * m_cell, y + dy * m_cell));
            if (found == m_cells.end())
                continue;
            for (std::size_t i : found->second) {
                if (std::hypot(tubes[i].x - x, tubes[i].y - y) <= m_radius) {
                    if (number)
                        *number = numbers[i];
                    return &tubes[i];
                }
            }
        }
    }
    return nullptr;
}

} // namespace report
