// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryFormat.h"

#include "platform/Utf16.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace velmaro::platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::size_t kHexLineWidth = 76;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool isUtf8(std::string_view s) {
    return Utf8ToUtf16Le(s).has_value();
}

// Splits into lines at LF, dropping a CR before it. The text must end with a line end, so a
// file cut in the middle of its last line is refused.
std::optional<std::vector<std::string_view>> splitLines(std::string_view text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A quoted string at the start of s: its unescaped text, with s moved past the closing quote.
std::optional<std::string> takeQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out.push_back(s[++i]);
            continue;
        }
        out.push_back(c);
    }
    return std::nullopt;
}

// Reads the comma-separated bytes of a hex value, following "\" continuation lines.
std::optional<std::string> takeHexBytes(std::string_view data,
                                        const std::vector<std::string_view>& lines,
                                        std::size_t& index) {
    std::string bytes;
    for (;;) {
        data = trimRight(data);
        const bool continues = !data.empty() && data.back() == '\\';
        if (continues)
            data.remove_suffix(1);
        data = trimRight(trimLeft(data));
        while (!data.empty()) {
            if (data.size() < 2)
                return std::nullopt;
            const int high = hexDigit(data[0]);
            const int low = hexDigit(data[1]);
            if (high < 0 || low < 0)
                return std::nullopt;
            bytes.push_back(static_cast<char>(high * 16 + low));
            data = trimLeft(data.substr(2));
            if (data.empty())
                break;
            if (data.front() != ',')
                return std::nullopt;
            data = trimLeft(data.substr(1));
            if (data.empty() && !continues)
                return std::nullopt;
        }
        if (!continues)
            return bytes;
        if (++index >= lines.size())
            return std::nullopt;
        data = lines[index];
    }
}

std::optional<std::uint32_t> takeHexNumber(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : s) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// One value line (with its continuation lines) of the key at keyIndex.
bool parseValue(RegistryTree& tree, std::size_t keyIndex,
                const std::vector<std::string_view>& lines, std::size_t& index) {
    std::string_view s = lines[index];
    std::string name;
    if (!s.empty() && s.front() == '@') {
        s.remove_prefix(1);
    } else {
        auto quoted = takeQuoted(s);
        if (!quoted)
            return false;
        name = std::move(*quoted);
        if (!IsWritableValueName(name))
            return false;
    }
    s = trimLeft(s);
    if (s.empty() || s.front() != '=')
        return false;
    s = trimLeft(s.substr(1));

    if (!s.empty() && s.front() == '"') {
        auto text = takeQuoted(s);
        if (!text || !trimRight(s).empty())
            return false;
        auto data = Utf8ToUtf16Le(*text);
        if (!data)
            return false;
        data->append(2, '\0');
        tree.setValue(keyIndex, name, REG_SZ, std::move(*data));
        return true;
    }
    if (s.starts_with("dword:")) {
        auto value = takeHexNumber(trimRight(s.substr(6)), 8);
        if (!value)
            return false;
        std::string data(4, '\0');
        for (int i = 0; i < 4; ++i)
            data[static_cast<std::size_t>(i)] = static_cast<char>((*value >> (8 * i)) & 0xFF);
        tree.setValue(keyIndex, name, REG_DWORD, std::move(data));
        return true;
    }
    std::uint32_t type = REG_BINARY;
    if (s.starts_with("hex(")) {
        const std::size_t close = s.find(')');
        if (close == std::string_view::npos)
            return false;
        auto number = takeHexNumber(s.substr(4, close - 4), 8);
        if (!number)
            return false;
        type = *number;
        s.remove_prefix(close + 1);
    } else if (s.starts_with("hex")) {
        s.remove_prefix(3);
    } else {
        return false;
    }
    if (s.empty() || s.front() != ':')
        return false;
    auto bytes = takeHexBytes(s.substr(1), lines, index);
    if (!bytes)
        return false;
    tree.setValue(keyIndex, name, type, std::move(*bytes));
    return true;
}

std::optional<std::string> decodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16Bom))
        return Utf16LeToUtf8(bytes.substr(kUtf16Bom.size()));
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    if (!Utf8ToUtf16Le(bytes))
        return std::nullopt;
    return std::string(bytes);
}

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// The text of REG_SZ data when it can be written in quotes: UTF-16LE that ends in its one
// NUL and holds no line break.
std::optional<std::string> quotableText(const RegistryValue& value) {
    const std::string& data = value.Data;
    if (value.Type != REG_SZ || data.size() < 2 || data.size() % 2 != 0 ||
        data.compare(data.size() - 2, 2, std::string_view("\0\0", 2)) != 0)
        return std::nullopt;
    auto text = Utf16LeToUtf8(std::string_view(data).substr(0, data.size() - 2));
    if (!text || text->find('\0') != std::string::npos || hasLineBreak(*text))
        return std::nullopt;
    return text;
}

void appendHex(std::string& out, const RegistryValue& value, std::size_t lineStart) {
    static constexpr char digits[] = "0123456789abcdef";
    if (value.Type == REG_BINARY) {
        out += "hex:";
    } else {
        out += "hex(";
        std::string number;
        std::uint32_t type = value.Type;
        do {
            number.insert(number.begin(), digits[type % 16]);
            type /= 16;
        } while (type != 0);
        out += number + "):";
    }
    for (std::size_t i = 0; i < value.Data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value.Data[i]);
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 0xF]);
        if (i + 1 == value.Data.size())
            break;
        out.push_back(',');
        if (out.size() - lineStart > kHexLineWidth) {
            out += "\\\r\n  ";
            lineStart = out.size() - 2;
        }
    }
}

} // namespace

bool IsWritableKeyPath(std::string_view path) {
    return !path.empty() && path.front() != '-' && !hasLineBreak(path) && isUtf8(path);
}

bool IsWritableValueName(std::string_view name) {
    return !hasLineBreak(name) && isUtf8(name);
}

std::optional<RegistryTree> ParseRegistryText(std::string_view bytes) {
    const auto text = decodeText(bytes);
    if (!text)
        return std::nullopt;
    const auto lines = splitLines(*text);
    if (!lines || (*lines)[0] != kHeader)
        return std::nullopt;
    RegistryTree tree;
    std::optional<std::size_t> keyIndex;
    for (std::size_t index = 1; index < lines->size(); ++index) {
        const std::string_view line = trimRight((*lines)[index]);
        if (trimLeft(line).empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.size() < 2 || line.back() != ']')
                return std::nullopt;
            const std::string_view path = line.substr(1, line.size() - 2);
            if (!IsWritableKeyPath(path))
                return std::nullopt;
            keyIndex = tree.createKey(path);
            continue;
        }
        if (!keyIndex || !parseValue(tree, *keyIndex, *lines, index))
            return std::nullopt;
    }
    return tree;
}

std::optional<std::string> FormatRegistryText(const RegistryTree& tree) {
    std::string out(kHeader);
    out += "\r\n\r\n";
    for (const RegistryKey& key : tree.keys()) {
        if (!IsWritableKeyPath(key.Path))
            return std::nullopt;
        out += "[" + key.Path + "]\r\n";
        for (const RegistryValue& value : key.Values) {
            if (!IsWritableValueName(value.Name))
                return std::nullopt;
            const std::size_t lineStart = out.size();
            if (value.Name.empty())
                out.push_back('@');
            else
                appendQuoted(out, value.Name);
            out.push_back('=');
            if (auto text = quotableText(value)) {
                appendQuoted(out, *text);
            } else if (value.Type == REG_DWORD && value.Data.size() == 4) {
                char buffer[16];
                std::uint32_t number = 0;
                for (int i = 3; i >= 0; --i)
                    number = number << 8 | static_cast<unsigned char>(value.Data[i]);
                std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
                out += buffer;
            } else {
                appendHex(out, value, lineStart);
            }
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

} // namespace velmaro::platform
