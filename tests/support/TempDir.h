#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace velmaro::testing {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDirFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmaro-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

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
