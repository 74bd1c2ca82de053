// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ActionStates.h"

namespace velmaro {

void ActionStates::setQuickMode(bool Quick) {
    m_quickMode = Quick;
    m_startEnabledInQuickMode = false;
}

void ActionStates::searchStarted() {
    m_activity = Activity::Searching;
}

void ActionStates::searchFinished() {
    m_activity = Activity::Idle;
    m_startEnabledInQuickMode = true;
}

void ActionStates::deletionStarted() {
    m_activity = Activity::Deleting;
}

void ActionStates::reportShown() {
    m_activity = Activity::Reporting;
    m_startEnabledInQuickMode = true;
}

void ActionStates::deletionFinished() {
    m_activity = Activity::Idle;
    m_startEnabledInQuickMode = true;
}

ActionStates::Enabled ActionStates::enabled(bool RowsListed) const {
    const bool idle = m_activity == Activity::Idle;
    // While the report window is open the window is back in its finished state, but the
    // report still holds the pass: no second pass yet.
    const bool between = idle || m_activity == Activity::Reporting;
    return {between && (!m_quickMode || m_startEnabledInQuickMode),
            m_activity == Activity::Searching, idle && RowsListed, between};
}

} // namespace velmaro
