// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FileCriteria.h"

#include "engine/SplitDelimited.h"
#include "engine/Trim.h"
#include "engine/WildcardMatch.h"

#include <cstring>

namespace velmaro {

TFileCriteria::TFileCriteria() {
    m_paths.OnChange = [this] { PathsChanged(); };
}

TFileCriteria::~TFileCriteria() = default;

void TFileCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TFileCriteria*>(Source);
    if (source == nullptr) {
        TCustomCriteria::Assign(Source);
        return;
    }
    SetFileName(source->m_fileName);
    SetLocation(source->m_location);
    SetPaths(source->m_paths);
    SetFilters(source->m_filters);
    SetSubfolders(source->m_subfolders);
    SetMinLevel(source->m_minLevel);
    SetMaxLevel(source->m_maxLevel);
}

void TFileCriteria::Clear() {
    SetFileName({});
    SetLocation({});
    m_paths.Clear();
    SetSubfolders(true);
    SetMinLevel(0);
    SetMaxLevel(0);
    m_filters.Clear();
}

void TFileCriteria::SetFileName(std::string_view Value) {
    if (m_fileName == Value)
        return;
    m_fileName.assign(Value);
    PathsChanged();
}

void TFileCriteria::SetLocation(std::string_view Value) {
    if (m_location == Value)
        return;
    m_location.assign(Value);
    PathsChanged();
}

void TFileCriteria::SetSubfolders(bool Value) {
    if (m_subfolders == Value)
        return;
    m_subfolders = Value;
    PathsChanged();
}

void TFileCriteria::SetMinLevel(std::uint16_t Value) {
    if (m_minLevel == Value)
        return;
    m_minLevel = Value;
    PathsChanged();
}

void TFileCriteria::SetMaxLevel(std::uint16_t Value) {
    if (m_maxLevel == Value)
        return;
    m_maxLevel = Value;
    PathsChanged();
}

void TFileCriteria::PathsChanged() {
    m_targets.reset();
}

TTargetPaths& TFileCriteria::TargetPaths() {
    if (m_targets)
        return *m_targets;
    auto targets = std::make_unique<TTargetPaths>();
    TStringList names = SplitDelimited(m_fileName, ';');
    if (names.Count() == 0)
        names.Add("*.*");
    for (const std::string& entry : SplitDelimited(m_location, ';', TDuplicateTest::dtExact))
        targets->AddFolder(entry, &names, m_subfolders, m_minLevel, m_maxLevel);
    for (const std::string& entry : m_paths) {
        const std::string_view fileSpec = Trim(entry);
        if (!fileSpec.empty())
            targets->AddFile(fileSpec, m_subfolders, m_minLevel, m_maxLevel);
    }
    m_targets = std::move(targets);
    return *m_targets;
}

bool TFileCriteria::PassesFilters(std::string_view Folder, std::string_view FileName) const {
    if (m_filters.Count() == 0)
        return true;
    // Folder + FileName (+ ".") as one NUL-terminated text for the matcher; paths fit the
    // stack buffer, longer texts take the heap.
    const bool addDot = FileName.find('.') == std::string_view::npos;
    const std::size_t length = Folder.size() + FileName.size() + (addDot ? 1 : 0);
    char local[4096 + 256];
    std::string heap;
    char* text = local;
    if (length >= sizeof local) {
        heap.resize(length);
        text = heap.data();
    }
    std::memcpy(text, Folder.data(), Folder.size());
    std::memcpy(text + Folder.size(), FileName.data(), FileName.size());
    if (addDot)
        text[length - 1] = '.';
    text[length] = '\0';

    for (const std::string& filter : m_filters) {
        if (!filter.empty() && filter.front() == '>') {
            if (WildcardMatch(text, filter.c_str() + 1))
                return true;
        } else if (WildcardMatch(text,
                                 filter.c_str() + (!filter.empty() && filter.front() == '<'))) {
            return false;
        }
    }
    return true;
}

} // namespace velmaro
