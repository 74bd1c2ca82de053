// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CustomCriteria.h"
#include "engine/StringList.h"
#include "engine/TargetPaths.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velmaro {

// Which names to look for, where, how deep, and which paths to leave out.
//
// The folders to walk (TargetPaths) are built on first request and kept until a setting they
// depend on changes: FileName, Location, Paths (through its setter or directly on the list),
// Subfolders, MinLevel or MaxLevel. Not locked: a search works on its own copy (Assign).
class TFileCriteria : public TCustomCriteria {
public:
    TFileCriteria();
    ~TFileCriteria() override;
    TFileCriteria(const TFileCriteria&) = delete;
    TFileCriteria& operator=(const TFileCriteria&) = delete;

    const char* ClassName() const override { return "TFileCriteria"; }

    // Copies FileName, Location, Paths, Filters, Subfolders, MinLevel and MaxLevel from a
    // TFileCriteria (or a class derived from it). Any other Source, or none, throws
    // EConvertError and leaves this unchanged.
    void Assign(const TCustomCriteria* Source) override;

    // Back to the state of a new object: no names, no locations, no paths, no filters,
    // Subfolders true, no level limits.
    void Clear() override;

    // File-name masks separated by ";" ("*.tmp;~*.*"); empty means "*.*".
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(std::string_view Value);

    // Folders separated by ";", each optionally after a level or subfolder marker.
    const std::string& Location() const { return m_location; }
    void SetLocation(std::string_view Value);

    // Further entries, each markers, a folder and one mask ("/var/log/*.log"). Changes made
    // directly on the list count as changes of the criteria.
    TStringList& Paths() { return m_paths; }
    const TStringList& Paths() const { return m_paths; }
    void SetPaths(const TStringList& Value) { m_paths.Assign(Value); }

    // Whether the walk descends into subfolders.
    bool Subfolders() const { return m_subfolders; }
    void SetSubfolders(bool Value);

    // First folder level whose files are reported; the target folder is level 1, so 0 and 1
    // mean the same.
    std::uint16_t MinLevel() const { return m_minLevel; }
    void SetMinLevel(std::uint16_t Value);

    // Deepest folder level walked; 0 means no limit.
    std::uint16_t MaxLevel() const { return m_maxLevel; }
    void SetMaxLevel(std::uint16_t Value);

    // Path patterns tested by PassesFilters: an entry starting with ">" re-includes, any other
    // (a leading "<" dropped) excludes. Changes do not touch the target list.
    TStringList& Filters() { return m_filters; }
    const TStringList& Filters() const { return m_filters; }
    void SetFilters(const TStringList& Value) { m_filters.Assign(Value); }

    // The folders to walk, built now when there is no kept list. The criteria keep ownership;
    // the reference is valid until the next change of a setting listed above.
    TTargetPaths& TargetPaths();

    // Whether the file FileName in Folder (ending in "/") passes Filters: the first entry that
    // matches Folder + FileName (+ "." when FileName has no dot) decides, an include passing
    // and an exclude rejecting it; when none matches, or Filters is empty, it passes.
    bool PassesFilters(std::string_view Folder, std::string_view FileName) const;

protected:
    // Drops the kept target list.
    void PathsChanged();

private:
    std::string m_fileName;
    std::string m_location;
    TStringList m_paths;
    bool m_subfolders = true;
    std::uint16_t m_minLevel = 0;
    std::uint16_t m_maxLevel = 0;
    TStringList m_filters;
    std::unique_ptr<TTargetPaths> m_targets;
};

} // namespace velmaro
