#pragma once

namespace velmaro {

// Makes errors that escape from a worker thread (the search worker) show as the box
// "Application Error" with the error icon, naming the error's class and giving its message.
// The worker hands the box to the GUI thread and carries on without waiting. Call once on the
// GUI thread after the QApplication exists.
void InstallApplicationErrorBox();

} // namespace velmaro
