// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StoreNewsSettings.h"

#include "shell/SettingsStore.h"

namespace velmaro {

namespace {

class StoreNewsSettings : public NewsSettings {
public:
    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override {
        return m_store.ReadString(Section, Name, Default);
    }

    void WriteString(const std::string& Section, const std::string& Name,
                     const std::string& Value) override {
        m_store.WriteString(Section, Name, Value);
    }

private:
    SettingsStore m_store;
};

} // namespace

std::unique_ptr<NewsSettings> OpenStoreNewsSettings() {
    return std::make_unique<StoreNewsSettings>();
}

} // namespace velmaro
