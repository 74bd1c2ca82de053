// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// What the main window's search, stop, delete and mode controls may do, derived from a few
// facts: what the window is busy with, whether the quick mode is on, and whether the start
// was enabled again in the quick mode. The quick mode disables the start; the end of a search
// or of a deletion pass enables it again in either mode, until the mode is switched. Plain
// value, no Qt.
class ActionStates {
public:
    enum class Activity {
        Idle,      // no search, no deletion pass
        Searching, // a search runs
        Deleting,  // a deletion pass works through the rows
        Reporting, // the pass is over and its report window is open
    };

    struct Enabled {
        bool StartFind;
        bool StopFind;
        bool Delete;
        bool ModeQuick;
    };

    // At start-up: idle, full mode.
    ActionStates() = default;

    // The mode button applied: the start follows the mode again.
    void setQuickMode(bool Quick);
    // A search started or finished (stopped searches included).
    void searchStarted();
    void searchFinished();
    // A deletion pass started, went through its rows and opened its report, and ended.
    void deletionStarted();
    void reportShown();
    void deletionFinished();

    // The enabled states now, with RowsListed telling whether the result list has rows.
    Enabled enabled(bool RowsListed) const;

private:
    Activity m_activity = Activity::Idle;
    bool m_quickMode = false;
    bool m_startEnabledInQuickMode = false;
};

} // namespace velmaro
