// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace velmaro {

// The settings store as the news worker sees it: text values by section and name, 8-bit text as
// stored. The worker opens its own object on its own thread, uses it once and closes it by
// destroying it. Any operation may throw; the worker drops the error.
class NewsSettings {
public:
    virtual ~NewsSettings() = default;

    // The stored text, or Default when the section or the value is missing.
    virtual std::string ReadString(const std::string& Section, const std::string& Name,
                                   const std::string& Default) = 0;

    // Stores Value, creating the section when it does not exist yet.
    virtual void WriteString(const std::string& Section, const std::string& Name,
                             const std::string& Value) = 0;
};

// Opens a settings object; called on the news worker's thread.
using NewsSettingsOpener = std::function<std::unique_ptr<NewsSettings>()>;

} // namespace velmaro
