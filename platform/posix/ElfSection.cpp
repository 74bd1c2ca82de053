// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ElfSection.h"

#include "platform/posix/UniqueFd.h"

#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmaro::platform {

namespace {

class Reader {
public:
    explicit Reader(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (m_fd && ::fstat(m_fd.get(), &st) == 0 && S_ISREG(st.st_mode))
            m_size = static_cast<std::uint64_t>(st.st_size);
    }

    // Reads exactly length bytes at offset, refusing any range that leaves the file.
    bool read(std::uint64_t offset, void* out, std::uint64_t length) const {
        if (offset > m_size || length > m_size - offset)
            return false;
        auto* bytes = static_cast<char*>(out);
        while (length > 0) {
            const ssize_t n = ::pread(m_fd.get(), bytes, length, static_cast<off_t>(offset));
            if (n <= 0)
                return false;
            bytes += n;
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::uint64_t>(n);
        }
        return true;
    }

private:
    UniqueFd m_fd;
    std::uint64_t m_size = 0;
};

// base + index * size, or nothing when that does not fit in 64 bits.
std::optional<std::uint64_t> offsetOf(std::uint64_t base, std::uint64_t index, std::uint64_t size) {
    std::uint64_t scaled = 0;
    std::uint64_t sum = 0;
    if (__builtin_mul_overflow(index, size, &scaled) || __builtin_add_overflow(base, scaled, &sum))
        return std::nullopt;
    return sum;
}

bool sectionHeader(const Reader& reader, const Elf64_Ehdr& header, std::uint64_t index,
                   Elf64_Shdr& out) {
    const auto offset = offsetOf(header.e_shoff, index, header.e_shentsize);
    return offset && reader.read(*offset, &out, sizeof out);
}

} // namespace

std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name,
                                          std::size_t maxSize) {
    const Reader reader(path);
    Elf64_Ehdr header{};
    if (!reader.read(0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_shoff == 0 || header.e_shentsize < sizeof(Elf64_Shdr))
        return std::nullopt;

    // More than SHN_LORESERVE sections, or a string table index beyond it, are stored in the
    // first section header.
    Elf64_Shdr first{};
    if (!sectionHeader(reader, header, 0, first))
        return std::nullopt;
    const std::uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
    const std::uint64_t namesIndex =
        header.e_shstrndx == SHN_XINDEX ? first.sh_link : header.e_shstrndx;
    Elf64_Shdr names{};
    if (namesIndex >= count || !sectionHeader(reader, header, namesIndex, names) ||
        names.sh_type == SHT_NOBITS)
        return std::nullopt;

    std::vector<char> wanted(name.begin(), name.end());
    wanted.push_back('\0');
    std::vector<char> candidate(wanted.size());
    for (std::uint64_t i = 0; i < count; ++i) {
        Elf64_Shdr section{};
        if (!sectionHeader(reader, header, i, section))
            return std::nullopt;
        const auto nameOffset = offsetOf(names.sh_offset, section.sh_name, 1);
        if (section.sh_name >= names.sh_size || names.sh_size - section.sh_name < wanted.size() ||
            !nameOffset || !reader.read(*nameOffset, candidate.data(), candidate.size()) ||
            candidate != wanted)
            continue;
        if (section.sh_type == SHT_NOBITS || section.sh_size == 0 || section.sh_size > maxSize)
            return std::nullopt;
        std::string contents(section.sh_size, '\0');
        if (!reader.read(section.sh_offset, contents.data(), contents.size()))
            return std::nullopt;
        return contents;
    }
    return std::nullopt;
}

} // namespace velmaro::platform
