// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "engine/FindFile.h"
#include "shell/Form_Main.h"

#include <QAction>
#include <QTest>
#include <stdexcept>

using velmaro::TForm_Main;
using velmaro::platform::Drive;
using velmaro::platform::DriveKind;
using velmaro::test::TempFolder;

WindowFixture::WindowFixture(Drives drives)
    : m_driveFolder(drives == Drives::fixtureFolder
                        ? std::make_unique<TempFolder>(TempFolder::Guard::fixtureRoot)
                        : nullptr),
      m_drives(m_driveFolder ? std::vector<Drive>{{m_driveFolder->path(), m_driveFolder->root(),
                                                   DriveKind::Fixed}}
                             : FixtureDrives::standard()) {}

WindowFixture::WindowFixture(std::vector<Drive> drives) : m_drives(std::move(drives)) {}

WindowFixture::~WindowFixture() = default;

TForm_Main& WindowFixture::make() {
    m_window.reset();
    m_window = std::make_unique<TForm_Main>(m_drives);
    return *m_window;
}

TForm_Main& WindowFixture::start() {
    TForm_Main& shown = make();
    shown.show();
    if (!QTest::qWaitForWindowActive(&shown))
        throw std::runtime_error("the main window never became active");
    return shown;
}

TForm_Main& WindowFixture::window() const {
    if (!m_window)
        throw std::logic_error("no main window made");
    return *m_window;
}

void WindowFixture::destroyWindow() {
    m_window.reset();
}

bool WindowFixture::waitForSearch(int timeoutMs) const {
    TForm_Main& searching = window();
    return QTest::qWaitFor(
        [&searching] {
            return !searching.FindFile().Busy() && !searching.Act_StopFind->isEnabled();
        },
        timeoutMs);
}

const TempFolder& WindowFixture::drive() const {
    if (!m_driveFolder)
        throw std::logic_error("the fixture has no fixture folder as its drive");
    return *m_driveFolder;
}
