#pragma once

#include "platform/MessageWindow.h"

#include <QObject>
#include <memory>

namespace velmaro {

// The message window of the desktop program: a posted call runs as a queued call on the Qt
// thread that created the window (the GUI thread for the main window's search component).
// Calls still queued when the window is destroyed are dropped with its context object.
class QtMessageWindow final : public platform::MessageWindow {
public:
    QtMessageWindow();
    ~QtMessageWindow() override;

    void post(std::function<void()> Call) override;

private:
    std::unique_ptr<QObject> m_context;
};

} // namespace velmaro
