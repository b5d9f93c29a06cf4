#pragma once

// The tubes of a drawn layout, found by place: what a pointer over the drawing is on, in the
// window and on the page alike.

#include "layout/study.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace report {

/// What a designer does to one tube: leave its site undrilled, put a dummy in it, or take
/// either edit back.
enum class TubeEdit { Remove, Dummy, Restore };

/// Whether an edit can be made to a tube as it stands: a tube the lanes, the centre tube or the
/// plate took has none.
bool canEdit(const layout::Tube &tube, TubeEdit edit);

/// The edits with a tube's changed as `edit` asks, its site named as the file names it.
std::vector<layout::Edit> editedAs(const std::vector<layout::Edit> &edits, const layout::Site &site,
    TubeEdit edit, layout::Bundle bundle);

class TubeIndex
{
public:
    /// Lists the layout's tubes and files them by place.
    explicit TubeIndex(const layout::Layout &counted);

    std::vector<layout::Tube> tubes; ///< every centre that fits, removed ones included
    std::vector<std::int64_t> numbers; ///< each tube's number in the hole list; 0 if removed

    /// A tube's radius, mm.
    double radius() const { return m_radius; }

    /// The tube whose circle holds the point (mm from the shell centre), if any.
    const layout::Tube *tubeAt(double x, double y, std::int64_t *number = nullptr) const;

private:
    double m_radius = 0;
    double m_cell = 1;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_cells;
    std::uint64_t cellOf(double x, double y) const;
};

} // namespace report
