// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FixtureDrives.h"
#include "RecordingPrompts.h"
#include "TempFolder.h"
#include "TestSettingsFolder.h"

#include <memory>
#include <vector>

namespace velmaro {
class TForm_Main;
}

// The setting of a test that drives the real main window: settings in a fresh temporary
// XDG_CONFIG_HOME, drives made up for the test so that the machine's own are never listed,
// every message box recorded instead of shown and every file dialog answered as the test sets,
// and the window itself, made and shown when the test asks. Make one per test (in init() for a
// test class whose every test needs a window, in initTestCase() for one window shared by them
// all). When it goes, the window goes first, then the prompts, the drives and the settings.
// GUI thread only.
class WindowFixture {
public:
    enum class Drives {
        madeUp,        // FixtureDrives::standard(): nothing a test makes lies on them
        fixtureFolder, // one fixed drive over a fresh folder registered with the deletion guard
    };

    explicit WindowFixture(Drives drives = Drives::madeUp);
    // The given drives; they need not exist.
    explicit WindowFixture(std::vector<velmaro::platform::Drive> drives);
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // Destroys the window made before, if any, then makes a new one over the drives and
    // returns it, not shown.
    velmaro::TForm_Main& make();

    // make(), then shows the window and waits until it is the active window. Throws
    // std::runtime_error when it never becomes active.
    velmaro::TForm_Main& start();

    // The window made last. Throws std::logic_error when there is none.
    velmaro::TForm_Main& window() const;

    // Destroys the window made last, if any, without closing it first.
    void destroyWindow();

    // Serves the event loop until the window's search has finished: the search component is
    // no longer busy and the window has applied the finish (its stop action is disabled
    // again). Returns at once when no search runs; false when the search is still running
    // after timeoutMs.
    bool waitForSearch(int timeoutMs = 30000) const;

    // The message boxes the window showed, and the answer its file dialogs get.
    RecordingPrompts& prompts() { return m_prompts; }

    // The folder serving as the only drive. Throws std::logic_error unless the fixture was made
    // with Drives::fixtureFolder.
    const velmaro::test::TempFolder& drive() const;

    TestSettingsFolder& settings() { return m_settings; }

private:
    TestSettingsFolder m_settings;
    std::unique_ptr<velmaro::test::TempFolder> m_driveFolder;
    FixtureDrives m_drives;
    RecordingPrompts m_prompts;
    std::unique_ptr<velmaro::TForm_Main> m_window;
};
