// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/RemovableDisk.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace velmaro::platform {

namespace fs = std::filesystem;

namespace {

// Slave chains are short; the bound only guards against a sysfs tree that loops.
constexpr int kMaxSlaveDepth = 16;

std::optional<fs::path> resolved(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    return real;
}

// The entries of a folder; none when it cannot be read. Never throws.
std::vector<fs::path> folderEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    return entries;
}

// The sysfs folder of the device-mapper device named name ("/dev/mapper/<name>").
std::optional<fs::path> findMapperDevice(const fs::path& sysfsRoot, std::string_view name) {
    for (const fs::path& block : folderEntries(sysfsRoot / "block")) {
        std::ifstream file(block / "dm" / "name");
        std::string line;
        if (std::getline(file, line) && line == name) {
            return resolved(block);
        }
    }
    return std::nullopt;
}

// The sysfs folder of the block device under a mount.
std::optional<fs::path> findDevice(const fs::path& sysfsRoot, const std::string& device,
                                   const std::string& source) {
    if (std::optional<fs::path> byNumber = resolved(sysfsRoot / "dev" / "block" / device)) {
        return byNumber;
    }
    constexpr std::string_view kDev = "/dev/";
    constexpr std::string_view kMapper = "/dev/mapper/";
    if (source.starts_with(kMapper)) {
        return findMapperDevice(sysfsRoot, std::string_view(source).substr(kMapper.size()));
    }
    if (source.starts_with(kDev) && source.find('/', kDev.size()) == std::string::npos &&
        source.size() > kDev.size()) {
        return resolved(sysfsRoot / "class" / "block" / source.substr(kDev.size()));
    }
    return std::nullopt;
}

bool hasRemovableFlag(const fs::path& disk) {
    std::ifstream file(disk / "removable");
    std::string line;
    return std::getline(file, line) && line == "1";
}

// Whether the disk's device path, below the sysfs root, passes a USB or MMC controller
// (".../usb2/2-1/...", ".../mmc_host/mmc0/...").
bool sitsOnUsbOrMmc(const fs::path& sysfsRoot, const fs::path& disk) {
    for (const fs::path& part : disk.lexically_relative(sysfsRoot)) {
        const std::string name = part.string();
        if (name.starts_with("usb") || name.starts_with("mmc")) {
            return true;
        }
    }
    return false;
}

bool isRemovable(const fs::path& sysfsRoot, fs::path device, int depth) {
    std::error_code error;
    if (fs::exists(device / "partition", error)) {
        device = device.parent_path();
    }
    const std::vector<fs::path> slaves =
        depth < kMaxSlaveDepth ? folderEntries(device / "slaves") : std::vector<fs::path>{};
    if (!slaves.empty()) {
        return std::any_of(slaves.begin(), slaves.end(), [&](const fs::path& slave) {
            const std::optional<fs::path> slaveDevice = resolved(slave);
            return slaveDevice && isRemovable(sysfsRoot, *slaveDevice, depth + 1);
        });
    }
    return hasRemovableFlag(device) || sitsOnUsbOrMmc(sysfsRoot, device);
}

} // namespace

bool isOnRemovableDisk(const fs::path& sysfsRoot, const std::string& device,
                       const std::string& source) {
    const std::optional<fs::path> root = resolved(sysfsRoot);
    if (!root) {
        return false;
    }
    const std::optional<fs::path> found = findDevice(*root, device, source);
    return found && isRemovable(*root, *found, 0);
}

} // namespace velmaro::platform
