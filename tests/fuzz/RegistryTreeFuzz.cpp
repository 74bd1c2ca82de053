// SPDX-License-Identifier: GPL-3.0-or-later
// Registry trees built from the input (any key paths, names, types and data): whatever the
// writer writes reads back as the same tree, and it refuses only names the text form cannot
// carry.

#include "FuzzCheck.h"
#include "platform/RegistryFormat.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using namespace velmaro::platform;

namespace {

// The input as a sequence of fields, each a length byte and that many bytes.
class Fields {
public:
    explicit Fields(std::string_view bytes) : m_bytes(bytes) {}
    bool empty() const { return m_bytes.empty(); }
    std::uint8_t byte() {
        if (m_bytes.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_bytes.front());
        m_bytes.remove_prefix(1);
        return b;
    }
    std::string field() {
        const std::size_t length = std::min<std::size_t>(byte(), m_bytes.size());
        std::string out(m_bytes.substr(0, length));
        m_bytes.remove_prefix(length);
        return out;
    }

private:
    std::string_view m_bytes;
};

// One record: a key path, a value name, a type byte and the data. Type bits 0-3 give the type
// number (with bit 5, a number above 16 bits); bit 4 stores the data as text would be
// stored (UTF-16LE with its NUL) when it is UTF-8; bit 6 creates the key without a value.
void addRecord(RegistryTree& tree, Fields& fields) {
    const std::string path = fields.field();
    const std::string name = fields.field();
    const std::uint8_t kind = fields.byte();
    std::string data = fields.field();
    if (kind & 0x40) {
        tree.createKey(path);
        return;
    }
    std::uint32_t type = kind & 0x0F;
    if (kind & 0x20)
        type |= 0xABCD0000u;
    if (kind & 0x10)
        if (auto text = Utf8ToUtf16Le(data))
            data = *text + std::string(2, '\0');
    tree.setValue(path, name, type, std::move(data));
}

bool allNamesWritable(const RegistryTree& tree) {
    for (const RegistryKey& key : tree.keys()) {
        if (!IsWritableKeyPath(key.Path))
            return false;
        for (const RegistryValue& value : key.Values)
            if (!IsWritableValueName(value.Name))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fields fields(std::string_view(reinterpret_cast<const char*>(data), size));
    RegistryTree tree;
    while (!fields.empty())
        addRecord(tree, fields);
    const auto text = FormatRegistryText(tree);
    FUZZ_CHECK(text.has_value() == allNamesWritable(tree),
               "the writer refuses a tree with writable names, or writes one without");
    if (!text)
        return 0;
    const auto back = ParseRegistryText(*text);
    FUZZ_CHECK(back, "the reader refuses what the writer wrote");
    FUZZ_CHECK(*back == tree, "what the writer wrote reads back as another tree");
    return 0;
}
