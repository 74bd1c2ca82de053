// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Drives.h"

#include <utility>
#include <vector>

// Drives made up for a test, so that no test sees the machine's real drives.
class FixtureDrives final : public velmaro::platform::DriveSource {
public:
    explicit FixtureDrives(std::vector<velmaro::platform::Drive> drives = standard())
        : m_drives(std::move(drives)) {}

    std::vector<velmaro::platform::Drive> drives() const override { return m_drives; }

    // A fixed root drive, a fixed data drive and a removable stick.
    static std::vector<velmaro::platform::Drive> standard() {
        using velmaro::platform::DriveKind;
        return {{"/", "/", DriveKind::Fixed},
                {"/srv/data", "/srv/data/", DriveKind::Fixed},
                {"/media/stick", "/media/stick/", DriveKind::Removable}};
    }

private:
    std::vector<velmaro::platform::Drive> m_drives;
};
