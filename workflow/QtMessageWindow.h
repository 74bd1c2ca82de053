// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageWindow.h"

#include <QObject>

namespace velmaro {

// The message window of the desktop program: a posted call is queued into the event loop of
// the thread that created this object (the GUI thread) and runs there in the order posted.
// Destroying the object drops the calls still queued for it, so they never run.
class QtMessageWindow final : public QObject, public platform::MessageWindow {
    Q_OBJECT

public:
    QtMessageWindow() = default;

    // Safe from any thread while this object exists.
    void post(std::function<void()> Call) override;
};

} // namespace velmaro
