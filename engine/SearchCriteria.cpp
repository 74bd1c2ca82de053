// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SearchCriteria.h"

#include <cstdint>
#include <cstring>

namespace velmaro {

void TSearchCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TSearchCriteria*>(Source);
    if (source == nullptr)
        TCustomCriteria::Assign(Source);
    m_files.Assign(&source->m_files);
    m_attributes.Assign(&source->m_attributes);
    m_timeStamp.Assign(&source->m_timeStamp);
    m_size.Assign(&source->m_size);
    m_content.Assign(&source->m_content);
}

void TSearchCriteria::Clear() {
    m_files.Clear();
    m_attributes.Clear();
    m_timeStamp.Clear();
    m_size.Clear();
    m_content.Clear();
}

bool TSearchCriteria::Matches(const std::string& Folder, const platform::FindData& Data) const {
    if (!m_attributes.Matches(Data.dwFileAttributes))
        return false;
    const auto size =
        static_cast<std::int64_t>((std::uint64_t{Data.nFileSizeHigh} << 32) | Data.nFileSizeLow);
    if (!m_size.Matches(size))
        return false;
    if (!m_timeStamp.Matches(Data.ftCreationTime, Data.ftLastWriteTime, Data.ftLastAccessTime))
        return false;
    // The name field always holds a NUL; strnlen keeps a damaged record from being overrun.
    const std::string name(Data.cFileName, strnlen(Data.cFileName, platform::MAX_PATH));
    if (!m_files.PassesFilters(Folder, name))
        return false;
    return m_content.Matches(Folder + name);
}

} // namespace velmaro
