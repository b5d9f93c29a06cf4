#pragma once

#include "layout/edits.h"
#include "report/form.h"

#include <cstddef>
#include <string>
#include <vector>

namespace layout_ui {

/// What undo and redo step through: the inputs, the title and the edits, as the designer made
/// them.
struct DesignState
{
    report::Values values;
    std::string title;
    std::vector<layout::Edit> edits;

    friend bool operator==(const DesignState &a, const DesignState &b);
    friend bool operator!=(const DesignState &a, const DesignState &b) { return !(a == b); }
};

/// The states a design has been in, the one shown among them. Changes of one group (the keys
/// typed into one box) in a row are one step, so that undo takes back a whole value.
class History
{
public:
    explicit History(const DesignState &first = {});

    /// Starts again from this state, with nothing to undo.
    void reset(const DesignState &first);
    /// The designer has changed the design to `state`; `group` names what changed, empty for a
    /// change that is a step of its own (an edit).
    void record(const DesignState &state, const std::string &group);

    bool canUndo() const { return m_at > 0; }
    bool canRedo() const { return m_at + 1 < m_states.size(); }
    /// The state before, or after, the one shown; it is then the one shown.
    const DesignState &undo();
    const DesignState &redo();
    const DesignState &current() const { return m_states[m_at]; }

private:
    /// Enough for an afternoon's work; the oldest steps go first.
    static constexpr std::size_t kMostSteps = 1000;

    std::vector<DesignState> m_states;
    std::size_t m_at = 0;
    std::string m_group; ///< the group of the last change, while changes of it merge
};

} // namespace layout_ui
