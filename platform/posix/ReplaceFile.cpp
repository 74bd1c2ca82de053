// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/ReplaceFile.h"

#include "platform/posix/PathText.h"
#include "platform/posix/UniqueFd.h"
#include "platform/posix/WriteAll.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kSuffix = ".new";
// Names to try before giving up: with 62^6 names, only a folder full of planted entries or
// a broken random source gets that far.
constexpr int kAttempts = 100;

bool isAlphabetChar(char c) {
    return kAlphabet.find(c) != std::string_view::npos;
}

std::uint64_t systemRandom() {
    std::random_device device;
    return static_cast<std::uint64_t>(device()) << 32 | device();
}

} // namespace

std::string TemporaryFileName(std::string_view path, std::uint64_t random) {
    std::string name(path);
    name.push_back('.');
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        name.push_back(kAlphabet[random % kAlphabet.size()]);
        random /= kAlphabet.size();
    }
    name += kSuffix;
    return name;
}

bool IsTemporaryFileName(std::string_view fileName, std::string_view name) {
    if (name.size() != fileName.size() + 1 + kRandomLength + kSuffix.size() ||
        !name.starts_with(fileName) || !name.ends_with(kSuffix) || name[fileName.size()] != '.')
        return false;
    const std::string_view drawn = name.substr(fileName.size() + 1, kRandomLength);
    for (char c : drawn)
        if (!isAlphabetChar(c))
            return false;
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode,
                 const std::function<std::uint64_t()>& random) {
    std::string temporary;
    UniqueFd fd;
    for (int attempt = 0; attempt < kAttempts && !fd; ++attempt) {
        temporary = TemporaryFileName(path, random());
        fd.reset(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd && errno != EEXIST)
            return false;
    }
    if (!fd)
        return false;
    if (::fchmod(fd.get(), mode & 0777) != 0 || !WriteAll(fd.get(), bytes) ||
        ::fsync(fd.get()) != 0 || !fd.close() || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    const UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        ::fsync(folder.get());
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
    return ReplaceFile(path, bytes, mode, systemRandom);
}

void RemoveStaleTemporaryFiles(const std::string& path) {
    UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return;
    const int fd = folder.get();
    DIR* listing = ::fdopendir(fd);
    if (!listing)
        return;
    folder.release(); // closedir closes it
    const std::string_view fileName = NameOf(path);
    while (const dirent* entry = ::readdir(listing))
        if (IsTemporaryFileName(fileName, entry->d_name))
            ::unlinkat(fd, entry->d_name, 0);
    ::closedir(listing);
}

} // namespace velmaro::platform
