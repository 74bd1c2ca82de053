#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace velmaro::testing {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmaro-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make a temporary folder";
        m_dir = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of Name inside the folder.
    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    // Writes Bytes as the file Name and returns its path.
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        const std::string p = path(name);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    const std::filesystem::path& dir() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};

} // namespace velmaro::testing
