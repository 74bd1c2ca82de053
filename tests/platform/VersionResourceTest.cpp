// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VersionResource.h"

#include "TempFolder.h"
#include "platform/ElfSection.h"
#include "platform/VersionBlock.h"

#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace velmaro::platform;
using velmaro::test::fileText;
namespace fs = std::filesystem;

namespace {

std::string resourceOf(const VersionDescription& description) {
    return SerializeVersionBlock(DescribeVersionResource(description).value()).value();
}

VersionDescription buildDescription() {
    return {{2, 25, 0, 0},
            {2, 25, 0, 0},
            0x0419,
            0x04E3,
            {{"CompanyName", "Quarno Labs"},
             {"FileDescription", ""},
             {"FileVersion", "2.25.0.0"},
             {"ProductVersion", "2.25 beta"}}};
}

std::string text(std::string_view resource, std::string_view path) {
    const auto value = VerQueryValue(resource, path);
    return value ? VersionText(*value).value_or("<invalid>") : "<missing>";
}

std::uint32_t dword(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// Checks the values every program of this build carries.
void expectBuildResource(std::string_view resource) {
    const auto fixed = VerQueryValue(resource, "\\");
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->Length, 52u);
    EXPECT_EQ(dword(fixed->Data, 0), 0xFEEF04BDu);
    EXPECT_EQ(dword(fixed->Data, 8), 0x00020019u) << "file version 2.25";
    EXPECT_EQ(dword(fixed->Data, 12), 0u) << "file version .0.0";
    EXPECT_EQ(dword(fixed->Data, 16), 0x00020019u) << "product version 2.25";
    const auto translation = VerQueryValue(resource, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ(translation->Data, std::string_view("\x19\x04\xE3\x04", 4));
    EXPECT_EQ(text(resource, "\\StringFileInfo\\041904E3\\CompanyName"), "Quarno Labs");
    EXPECT_EQ(text(resource, "\\StringFileInfo\\041904E3\\FileVersion"), "2.25.0.0");
    EXPECT_EQ(text(resource, "\\StringFileInfo\\041904E3\\ProductVersion"), "2.25 beta");
}

// Program files copied and changed in a temporary folder.
class VersionResourceFileTest : public ::testing::Test {
protected:
    const velmaro::test::TempFolder m_folder;
    const std::string m_root = m_folder.path();
};

TEST(VersionResource, LooksUpValuesAsVerQueryValueDoes) {
    const std::string resource = resourceOf(buildDescription());
    expectBuildResource(resource);
    const auto version = VerQueryValue(resource, "\\StringFileInfo\\041904E3\\ProductVersion");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->Type, 1);
    EXPECT_EQ(version->Length, 10u) << "characters with the terminator";
    EXPECT_EQ(text(resource, "\\stringfileinfo\\041904e3\\productversion"), "2.25 beta");
    const auto empty = VerQueryValue(resource, "\\StringFileInfo\\041904E3\\FileDescription");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Length, 1u);
    EXPECT_FALSE(VerQueryValue(resource, "\\StringFileInfo\\040904E4\\ProductVersion"));
    EXPECT_FALSE(VerQueryValue(resource, "\\StringFileInfo\\041904E3\\ProductName"));
    EXPECT_FALSE(VerQueryValue("", "\\"));
}

// Every prefix of a resource and every single damaged byte: lookups stay inside the buffer
// (the address sanitizer build checks that) and never report more than exists.
TEST(VersionResource, NeverReadsOutsideTheResource) {
    const std::string resource = resourceOf(buildDescription());
    const auto probe = [](const char* data, std::size_t size) {
        for (const char* path :
             {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\041904E3\\ProductVersion"}) {
            const auto value = VerQueryValue(std::string_view(data, size), path);
            if (value) {
                EXPECT_GE(value->Data.data(), data);
                EXPECT_LE(value->Data.data() + value->Data.size(), data + size);
                if (value->Type == 1)
                    VersionText(*value);
            }
        }
    };
    for (std::size_t size = 0; size < resource.size(); ++size) {
        auto copy = std::make_unique<char[]>(size);
        std::memcpy(copy.get(), resource.data(), size);
        probe(copy.get(), size);
    }
    for (std::size_t at = 0; at < resource.size(); ++at) {
        for (const unsigned char byte : {0x00, 0x01, 0x7F, 0xFF}) {
            auto copy = std::make_unique<char[]>(resource.size());
            std::memcpy(copy.get(), resource.data(), resource.size());
            copy[at] = static_cast<char>(byte);
            probe(copy.get(), resource.size());
        }
    }
    // A cut in the middle of ProductVersion reports only what is left.
    const std::size_t cut = resource.find(std::string("2\0.\0", 4)) + 4;
    std::string head = resource.substr(0, cut);
    head[0] = static_cast<char>(cut & 0xFF);
    head[1] = static_cast<char>(cut >> 8);
    EXPECT_FALSE(VerQueryValue(head, "\\StringFileInfo\\041904E3\\ProductVersion"))
        << "the parents' lengths no longer hold it";
}

TEST(VersionResource, EveryProgramOfTheBuildCarriesIt) {
    const auto resource = GetFileVersionInfo("/proc/self/exe");
    ASSERT_TRUE(resource);
    expectBuildResource(*resource);
}

TEST_F(VersionResourceFileTest, StrippedProgramKeepsItAndRemovedSectionYieldsNothing) {
    if (std::system("command -v strip >/dev/null && command -v objcopy >/dev/null") != 0)
        GTEST_SKIP() << "strip and objcopy (binutils) are not installed";
    const std::string copy = m_root + "/program";
    fs::copy_file("/proc/self/exe", copy);
    ASSERT_EQ(std::system(("strip --strip-all '" + copy + "'").c_str()), 0);
    const auto stripped = GetFileVersionInfo(copy);
    ASSERT_TRUE(stripped);
    expectBuildResource(*stripped);

    ASSERT_EQ(std::system(("objcopy --remove-section .velmaro_version '" + copy + "'").c_str()), 0);
    EXPECT_FALSE(GetFileVersionInfo(copy));
    EXPECT_FALSE(GetFileVersionInfo(m_root + "/missing"));
    EXPECT_FALSE(GetFileVersionInfo(m_root));
}

TEST_F(VersionResourceFileTest, DamagedElfHeadersAreNeverFollowedOutOfTheFile) {
    const std::string program = fileText("/proc/self/exe");
    ASSERT_GT(program.size(), sizeof(Elf64_Ehdr));
    Elf64_Ehdr header{};
    std::memcpy(&header, program.data(), sizeof header);
    const auto sectionAt = [&](std::size_t index) {
        return static_cast<std::size_t>(header.e_shoff + index * header.e_shentsize);
    };
    Elf64_Shdr names{};
    std::memcpy(&names, program.data() + sectionAt(header.e_shstrndx), sizeof names);
    std::size_t ours = 0;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr section{};
        std::memcpy(&section, program.data() + sectionAt(i), sizeof section);
        if (std::strcmp(program.data() + names.sh_offset + section.sh_name, ".velmaro_version") ==
            0)
            ours = i;
    }
    ASSERT_NE(ours, 0u);

    const auto patched = [&](std::size_t offset, auto value) {
        std::string bytes = program;
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        return bytes;
    };
    const std::size_t oursAt = sectionAt(ours);
    const std::size_t namesAt = sectionAt(header.e_shstrndx);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut before the section headers", program.substr(0, 4096)},
        {"32-bit class", patched(EI_CLASS, std::uint8_t{ELFCLASS32})},
        {"big-endian", patched(EI_DATA, std::uint8_t{ELFDATA2MSB})},
        {"section headers past the end", patched(offsetof(Elf64_Ehdr, e_shoff), program.size())},
        {"section header offset that wraps",
         patched(offsetof(Elf64_Ehdr, e_shoff), std::uint64_t{0xFFFFFFFFFFFFFFF0})},
        {"short section headers", patched(offsetof(Elf64_Ehdr, e_shentsize), std::uint16_t{8})},
        {"name table index out of range",
         patched(offsetof(Elf64_Ehdr, e_shstrndx), header.e_shnum)},
        {"name table past the end",
         patched(namesAt + offsetof(Elf64_Shdr, sh_offset), std::uint64_t{program.size()})},
        {"section data past the end",
         patched(oursAt + offsetof(Elf64_Shdr, sh_offset), std::uint64_t{program.size() - 8})},
        {"section data offset that wraps",
         patched(oursAt + offsetof(Elf64_Shdr, sh_offset), std::uint64_t{0xFFFFFFFFFFFFFFF8})},
        {"section larger than the file",
         patched(oursAt + offsetof(Elf64_Shdr, sh_size), std::uint64_t{program.size() * 2})},
        {"section without file bytes",
         patched(oursAt + offsetof(Elf64_Shdr, sh_type), std::uint32_t{SHT_NOBITS})},
        {"name past the name table",
         patched(oursAt + offsetof(Elf64_Shdr, sh_name), std::uint32_t{0xFFFFFFF0})},
    };
    const std::string path = m_root + "/damaged";
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
        EXPECT_FALSE(ReadElfSection(path, ".velmaro_version", 0xFFFF)) << c.what;
    }
}

} // namespace
