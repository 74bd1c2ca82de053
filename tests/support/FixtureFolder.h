#pragma once

#include <string>
#include <string_view>

namespace velmaro::test {

// A temporary folder for one test's fixture tree, registered with the fixture guard so that
// the file operations refuse every path outside it, and removed with all it holds at the end.
// An unregistered folder serves as the "outside" a test must never touch.
class FixtureFolder {
public:
    enum class Guard { registered, unregistered };

    explicit FixtureFolder(Guard guard = Guard::registered);
    ~FixtureFolder();
    FixtureFolder(const FixtureFolder&) = delete;
    FixtureFolder& operator=(const FixtureFolder&) = delete;

    // The folder's absolute path, free of links, without a trailing "/".
    const std::string& path() const { return m_path; }

    // The absolute path of relative below the folder.
    std::string operator/(std::string_view relative) const;

    // Creates the folders of relative below the folder (mode 0755) and returns its path.
    std::string makeFolder(std::string_view relative) const;

    // Creates the file relative (and its folders) holding content; returns its path.
    std::string makeFile(std::string_view relative, std::string_view content = "x") const;

private:
    std::string m_path;
    bool m_registered;
};

// Whether the entry at path exists as itself (a link counts, whatever it points to).
bool entryExists(const std::string& path);

// The permission bits (07777) of the entry at path, or -1 when it cannot be read.
int permissionsOf(const std::string& path);

} // namespace velmaro::test
