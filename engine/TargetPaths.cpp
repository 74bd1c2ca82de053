// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetPaths.h"

#include "engine/Trim.h"
#include "platform/FullPath.h"

#include <charconv>
#include <stdexcept>

namespace velmaro {

namespace {

// Sets Level to the low 16 bits of the 32-bit integer Text (an optional sign, then decimal
// digits); leaves it unchanged when Text is anything else, empty included.
void parseLevel(std::string_view Text, std::uint16_t& Level) {
    Text = Trim(Text);
    if (Text.size() > 1 && Text.front() == '+' && Text[1] != '-')
        Text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), value);
    if (error == std::errc() && end == Text.data() + Text.size() && !Text.empty())
        Level = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value));
}

} // namespace

TTargetPath& TTargetPaths::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return *m_items[static_cast<std::size_t>(Index)];
}

TTargetPath* TTargetPaths::FindFolder(std::string_view Folder) const {
    for (const auto& target : m_items)
        if (target->Folder == Folder)
            return target.get();
    return nullptr;
}

TTargetPath& TTargetPaths::place(const std::string& Folder, bool Subfolders, std::uint16_t MinLevel,
                                 std::uint16_t MaxLevel) {
    TTargetPath* target = FindFolder(Folder);
    if (target == nullptr)
        target = m_items.emplace_back(std::make_unique<TTargetPath>()).get();
    target->Folder = Folder;
    target->Subfolders = Subfolders;
    target->MinLevel = MinLevel;
    target->MaxLevel = MaxLevel;
    return *target;
}

TTargetPath& TTargetPaths::AddFolder(std::string_view Text, const TStringList* Masks,
                                     bool Subfolders, std::uint16_t MinLevel,
                                     std::uint16_t MaxLevel) {
    std::string folder;
    ParseLocation(Text, Subfolders, folder, MinLevel, MaxLevel);
    TTargetPath& target = place(folder, Subfolders, MinLevel, MaxLevel);
    if (Masks != nullptr && Masks->Count() > 0) {
        for (const std::string& mask : *Masks)
            target.Masks.Add(mask);
    } else {
        target.Masks.Add("*.*");
    }
    return target;
}

TTargetPath& TTargetPaths::AddFile(std::string_view FileSpec, bool Subfolders,
                                   std::uint16_t MinLevel, std::uint16_t MaxLevel) {
    const std::size_t slash = FileSpec.rfind('/');
    const std::size_t maskStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view mask = FileSpec.substr(maskStart);
    std::string folder;
    ParseLocation(FileSpec.substr(0, maskStart), Subfolders, folder, MinLevel, MaxLevel);
    TTargetPath& target = place(folder, Subfolders, MinLevel, MaxLevel);
    target.Masks.Add(mask.empty() ? std::string_view("*.*") : mask);
    return target;
}

void TTargetPaths::ParseLocation(std::string_view Text, bool& Subfolders, std::string& Folder,
                                 std::uint16_t& MinLevel, std::uint16_t& MaxLevel) {
    std::string_view folder = Text;
    if (const std::size_t marker = Text.find('>'); marker != std::string_view::npos) {
        folder.remove_prefix(marker + 1);
        Subfolders = true;
        if (marker > 0) {
            const std::string_view prefix = Trim(Text.substr(0, marker));
            if (const std::size_t dash = prefix.find('-'); dash != std::string_view::npos) {
                parseLevel(prefix.substr(0, dash), MinLevel);
                parseLevel(prefix.substr(dash + 1), MaxLevel);
            } else {
                parseLevel(prefix, MaxLevel);
                MinLevel = 0;
            }
        }
    } else if (const std::size_t marker = Text.find('<'); marker != std::string_view::npos) {
        folder.remove_prefix(marker + 1);
        Subfolders = false;
    }
    Folder = platform::FullPathName(Trim(folder));
    if (Folder.empty() || Folder.back() != '/')
        Folder += '/';
}

} // namespace velmaro
