#include "FixtureFolder.h"

#include "platform/FixtureRoots.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::test {

namespace {

std::string makeTemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/velmaro-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    char* resolved = realpath(pattern.c_str(), nullptr);
    if (!resolved)
        throw std::runtime_error("cannot resolve the temporary folder");
    std::string path(resolved);
    std::free(resolved);
    return path;
}

// Folders a test left without permissions must still be emptied when not running as root.
void openUpFolders(const std::filesystem::path& folder) {
    chmod(folder.c_str(), 0700);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_directory(ec) && !entry.is_symlink(ec))
            openUpFolders(entry.path());
}

} // namespace

FixtureFolder::FixtureFolder(Guard guard)
    : m_path(makeTemporaryFolder()), m_registered(guard == Guard::registered) {
    if (m_registered && !platform::RegisterFixtureRoot(m_path))
        throw std::runtime_error("cannot register the fixture root");
}

FixtureFolder::~FixtureFolder() {
    if (m_registered)
        platform::UnregisterFixtureRoot(m_path);
    openUpFolders(m_path);
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string FixtureFolder::operator/(std::string_view relative) const {
    return m_path + "/" + std::string(relative);
}

std::string FixtureFolder::makeFolder(std::string_view relative) const {
    const std::string path = *this / relative;
    std::filesystem::create_directories(path);
    return path;
}

std::string FixtureFolder::makeFile(std::string_view relative, std::string_view content) const {
    const std::string path = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out.flush())
        throw std::runtime_error("cannot write a fixture file");
    return path;
}

bool entryExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

int permissionsOf(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

} // namespace velmaro::test
