#include "platform/DirectoryEnumeration.h"

namespace velmaro::platform {

bool DirectoryEnumeration::findFirst(std::string_view FileName, FindData& Data) {
    const std::size_t slash = FileName.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view(".") : FileName.substr(0, slash + 1);
    const std::string_view mask =
        slash == std::string_view::npos ? FileName : FileName.substr(slash + 1);
    m_mask = EnumerationMask(mask);
    m_next = 0;
    if (!m_listing.open(folder))
        return false;
    if (findNext(Data))
        return true;
    close();
    return false;
}

bool DirectoryEnumeration::findNext(FindData& Data) {
    while (m_listing.isOpen() && m_next < m_listing.count()) {
        const std::size_t index = m_next++;
        if (m_mask.matches(m_listing.name(index)) && m_listing.describe(index, Data))
            return true;
    }
    return false;
}

} // namespace velmaro::platform
