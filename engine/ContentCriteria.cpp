// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ContentCriteria.h"

#include "engine/PhraseSearch.h"

#include <exception>

namespace velmaro {

void TContentCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TContentCriteria*>(Source);
    if (!source) {
        TCustomCriteria::Assign(Source);
        return;
    }
    SetPhrase(source->m_phrase);
    m_options = source->m_options;
}

void TContentCriteria::Clear() {
    SetPhrase(std::string());
    m_options = TContentSearchOptions();
}

void TContentCriteria::SetPhrase(const std::string& Value) {
    if (Value == m_phrase)
        return;
    m_phrase = Value;
    m_phraseVariants = MakeStringVariants(m_phrase);
}

bool TContentCriteria::Matches(const std::string& FileName) const {
    if (m_phrase.empty())
        return true;
    try {
        return SearchFile(FileName, m_phraseVariants, m_options);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace velmaro
