#include "layout_ui/history.h"

#include <algorithm>

namespace layout_ui {

bool operator==(const DesignState &a, const DesignState &b)
{
    return a.values == b.values && a.title == b.title
        && std::equal(a.edits.begin(), a.edits.end(), b.edits.begin(), b.edits.end(),
            [](const layout::Edit &x, const layout::Edit &y) {
                return x.site == y.site && x.action == y.action;
            });
}

History::History(const DesignState &first)
{
    reset(first);
}

void History::reset(const DesignState &first)
{
    m_states.assign(1, first);
    m_at = 0;
    m_group.clear();
}

void History::record(const DesignState &state, const std::string &group)
{
    if (state == current())
        return;
    // More keys into the box just typed into: the step grows rather than a new one.
    if (!group.empty() && group == m_group && m_at + 1 == m_states.size() && m_at > 0) {
        m_states[m_at] = state;
        return;
    }
    m_states.resize(m_at + 1);
    m_states.push_back(state);
    if (m_states.size() > kMostSteps)
        m_states.erase(m_states.begin());
    m_at = m_states.size() - 1;
    m_group = group;
}

const DesignState &History::undo()
{
    m_group.clear();
    if (canUndo())
        --m_at;
    return current();
}

const DesignState &History::redo()
{
    m_group.clear();
    if (canRedo())
        ++m_at;
    return current();
}

} // namespace layout_ui
