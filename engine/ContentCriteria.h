// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ContentSearchOptions.h"
#include "engine/CustomCriteria.h"
#include "engine/StringVariants.h"

#include <string>

namespace velmaro {

// Passes files whose text contains a phrase (or, with csoNegate, does not). The phrase is an
// 8-bit string of the system's code page, prepared once per change in its three encodings. An
// empty phrase passes every entry without opening it.
class TContentCriteria : public TCustomCriteria {
public:
    TContentCriteria() = default;

    const char* ClassName() const override { return "TContentCriteria"; }

    // Takes the phrase (through SetPhrase) and the options of another TContentCriteria; any
    // other source throws EConvertError.
    void Assign(const TCustomCriteria* Source) override;

    // Empties the phrase and the options.
    void Clear() override;

    // Whether the file at FileName (folder followed by name, raw bytes) passes. True for an
    // empty phrase. A file that cannot be opened, or any other error while searching, gives
    // false, also with csoNegate.
    bool Matches(const std::string& FileName) const;

    const std::string& Phrase() const { return m_phrase; }
    // Stores a phrase that differs from the current one and prepares its encodings again.
    void SetPhrase(const std::string& Value);

    const TStringVariants& PhraseVariants() const { return m_phraseVariants; }

    TContentSearchOptions Options() const { return m_options; }
    void SetOptions(TContentSearchOptions Value) { m_options = Value; }

private:
    std::string m_phrase;
    TStringVariants m_phraseVariants;
    TContentSearchOptions m_options;
};

} // namespace velmaro
