// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/NewsSettings.h"

#include <memory>

namespace velmaro {

// Opens the program's settings store for the news worker: a NewsSettings that reads and writes
// through its own SettingsStore and saves what it wrote when it is destroyed (a failed save is
// dropped, as every failure of the news check is).
std::unique_ptr<NewsSettings> OpenStoreNewsSettings();

} // namespace velmaro
