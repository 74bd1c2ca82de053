// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/AttributesCriteria.h"
#include "engine/ContentCriteria.h"
#include "engine/CustomCriteria.h"
#include "engine/DateTimeCriteria.h"
#include "engine/FileCriteria.h"
#include "engine/SizeCriteria.h"
#include "platform/FindData.h"

#include <string>

namespace velmaro {

// The five criteria of a search, and the decision whether one directory entry found by the
// walk is a match. The members are owned and never replaced: the setters copy the given
// object's settings in with the member's Assign.
class TSearchCriteria : public TCustomCriteria {
public:
    TSearchCriteria() = default;
    TSearchCriteria(const TSearchCriteria&) = delete;
    TSearchCriteria& operator=(const TSearchCriteria&) = delete;

    const char* ClassName() const override { return "TSearchCriteria"; }

    // Assigns the five members of another TSearchCriteria in the order Files, Attributes,
    // TimeStamp, Size, Content; any other source throws EConvertError and changes nothing.
    void Assign(const TCustomCriteria* Source) override;

    // Clears the five members in the same order. Afterwards every entry matches (the
    // attribute criteria ignore every attribute, unlike a new object's) and the file criteria
    // name no folder, so there is nothing to walk until they are set again.
    void Clear() override;

    // Whether the entry Data of the folder Folder (ending in "/") is a match: its attribute
    // word, its size, its three times, the path filters and last its content, answering false
    // at the first test that fails. The name masks are not tested here: the walk applies them.
    bool Matches(const std::string& Folder, const platform::FindData& Data) const;

    TFileCriteria& Files() { return m_files; }
    const TFileCriteria& Files() const { return m_files; }
    void SetFiles(const TFileCriteria& Value) { m_files.Assign(&Value); }

    TAttributesCriteria& Attributes() { return m_attributes; }
    const TAttributesCriteria& Attributes() const { return m_attributes; }
    void SetAttributes(const TAttributesCriteria& Value) { m_attributes.Assign(&Value); }

    TDateTimeCriteria& TimeStamp() { return m_timeStamp; }
    const TDateTimeCriteria& TimeStamp() const { return m_timeStamp; }
    void SetTimeStamp(const TDateTimeCriteria& Value) { m_timeStamp.Assign(&Value); }

    TSizeCriteria& Size() { return m_size; }
    const TSizeCriteria& Size() const { return m_size; }
    void SetSize(const TSizeCriteria& Value) { m_size.Assign(&Value); }

    TContentCriteria& Content() { return m_content; }
    const TContentCriteria& Content() const { return m_content; }
    void SetContent(const TContentCriteria& Value) { m_content.Assign(&Value); }

private:
    TFileCriteria m_files;
    TAttributesCriteria m_attributes;
    TDateTimeCriteria m_timeStamp;
    TSizeCriteria m_size;
    TContentCriteria m_content;
};

} // namespace velmaro
