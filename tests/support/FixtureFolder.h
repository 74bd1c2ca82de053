#pragma once

#include "TempFolder.h"

#include <string>
#include <string_view>

namespace velmaro::test {

// The interface of TempFolder that the deletion pass and report tests were written against:
// registered with the fixture guard unless asked otherwise, paths without a trailing "/", and
// files holding "x" unless given other content. New tests use TempFolder.
class FixtureFolder {
public:
    enum class Guard { registered, unregistered };

    explicit FixtureFolder(Guard guard = Guard::registered)
        : m_folder(guard == Guard::registered ? TempFolder::Guard::fixtureRoot
                                              : TempFolder::Guard::none) {}

    // The folder's absolute path, free of links, without a trailing "/".
    const std::string& path() const { return m_path; }

    // The absolute path of relative below the folder.
    std::string operator/(std::string_view relative) const {
        return m_folder.root() + std::string(relative);
    }

    // Creates the folders of relative below the folder (mode 0755) and returns its path.
    std::string makeFolder(std::string_view relative) const { return m_folder.folder(relative); }

    // Creates the file relative (and its folders) holding content; returns its path.
    std::string makeFile(std::string_view relative, std::string_view content = "x") const {
        return m_folder.file(relative, content);
    }

private:
    TempFolder m_folder;
    std::string m_path = m_folder.path();
};

} // namespace velmaro::test
