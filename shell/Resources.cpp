// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function of the global namespace, so it is called from here.
static void registerVelmaroResources() {
    Q_INIT_RESOURCE(velmaro);
}

namespace velmaro {

void InitResources() {
    static const bool registered = (registerVelmaroResources(), true);
    (void)registered;
}

} // namespace velmaro
