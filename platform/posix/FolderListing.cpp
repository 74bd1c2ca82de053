#include "platform/FolderListing.h"

#include "platform/posix/EntryStatus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::size_t ReadBufferSize = 32 * 1024;

FolderListing::EntryKind kindOf(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return FolderListing::EntryKind::Directory;
    case DT_REG:
        return FolderListing::EntryKind::File;
    case DT_LNK:
        return FolderListing::EntryKind::Link;
    case DT_UNKNOWN:
        return FolderListing::EntryKind::Unknown;
    default:
        return FolderListing::EntryKind::Other;
    }
}

} // namespace

FolderListing::~FolderListing() {
    close();
}

bool FolderListing::open(std::string_view Path, LinkPolicy Links) {
    close();
    m_names.clear();
    m_entries.clear();
    m_path.assign(Path);
    // A trailing "/" would make the kernel resolve a link at the last name in any case.
    while (Links == LinkPolicy::NoFollow && m_path.size() > 1 && m_path.back() == '/')
        m_path.pop_back();
    const int noFollow = Links == LinkPolicy::NoFollow ? O_NOFOLLOW : 0;
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    if (m_fd >= 0 && readAll())
        return true;
    close();
    m_names.clear();
    m_entries.clear();
    return false;
}

void FolderListing::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FolderListing::readAll() {
    m_readBuffer.resize(ReadBufferSize);
    for (;;) {
        const ssize_t got = getdents64(m_fd, m_readBuffer.data(), m_readBuffer.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* record = reinterpret_cast<const dirent64*>(m_readBuffer.data() + at);
            at += record->d_reclen;
            const std::size_t length = std::strlen(record->d_name);
            if (length == 0 || length > std::numeric_limits<std::uint16_t>::max())
                continue;
            m_entries.push_back(
                {m_names.size(), static_cast<std::uint16_t>(length), kindOf(record->d_type)});
            m_names.append(record->d_name, length + 1);
        }
    }
}

bool FolderListing::describe(std::size_t Index, FindData& Data) const {
    if (m_fd < 0)
        return false;
    const std::string_view entryName = name(Index);
    const char* cName = entryName.data();
    EntryStatus status;
    if (statEntry(m_fd, cName, status) != 0)
        return false;
    Data.dwFileAttributes = attributesOf(m_fd, cName, status);
    Data.ftCreationTime = status.created;
    Data.ftLastAccessTime = status.accessed;
    Data.ftLastWriteTime = status.written;
    const std::uint64_t size = S_ISREG(status.mode) ? status.size : 0;
    Data.nFileSizeHigh = static_cast<std::uint32_t>(size >> 32);
    Data.nFileSizeLow = static_cast<std::uint32_t>(size);
    const std::size_t copied = std::min(entryName.size(), sizeof Data.cFileName - 1);
    std::memcpy(Data.cFileName, cName, copied);
    Data.cFileName[copied] = '\0';
    Data.Identity = status.identity();
    return true;
}

} // namespace velmaro::platform
