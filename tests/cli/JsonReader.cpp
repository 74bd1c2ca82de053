// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonReader.h"

#include "platform/Utf16.h"
#include "platform/Utf8.h"

#include <cmath>
#include <cstdlib>

namespace velmaro::test {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<JsonValue> document() {
        skipSpace();
        std::optional<JsonValue> value = parseValue();
        skipSpace();
        if (!value || m_at != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    bool atEnd() const { return m_at >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_at]; }

    void skipSpace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_at;
    }

    bool literal(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    std::optional<JsonValue> parseValue() {
        JsonValue value;
        switch (peek()) {
        case '{':
            return parseObject();
        case '[':
            return parseArray();
        case '"': {
            std::optional<std::string> text = parseString();
            if (!text)
                return std::nullopt;
            value.kind = JsonValue::Kind::string;
            value.text = std::move(*text);
            return value;
        }
        case 't':
        case 'f':
            value.kind = JsonValue::Kind::boolean;
            value.boolean = peek() == 't';
            return literal(value.boolean ? "true" : "false") ? std::optional(value) : std::nullopt;
        case 'n':
            return literal("null") ? std::optional(value) : std::nullopt;
        default:
            return parseNumber();
        }
    }

    std::optional<JsonValue> parseNumber() {
        const std::size_t start = m_at;
        const auto digits = [&] {
            const std::size_t from = m_at;
            while (!atEnd() && peek() >= '0' && peek() <= '9')
                ++m_at;
            return m_at > from;
        };
        if (peek() == '-')
            ++m_at;
        if (peek() == '0')
            ++m_at;
        else if (!digits())
            return std::nullopt;
        if (peek() == '.' && (++m_at, !digits()))
            return std::nullopt;
        if (peek() == 'e' || peek() == 'E') {
            ++m_at;
            if (peek() == '+' || peek() == '-')
                ++m_at;
            if (!digits())
                return std::nullopt;
        }
        JsonValue value;
        value.kind = JsonValue::Kind::number;
        value.number =
            std::strtod(std::string(m_text.substr(start, m_at - start)).c_str(), nullptr);
        return value;
    }

    std::optional<unsigned> hexUnit() {
        if (m_text.size() - m_at < 4)
            return std::nullopt;
        unsigned unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            unit <<= 4;
            if (c >= '0' && c <= '9')
                unit |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                unit |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                unit |= static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return unit;
    }

    std::optional<std::string> parseString() {
        ++m_at; // the opening quotation mark
        std::string text;
        while (!atEnd()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return text;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                text.push_back(c);
                continue;
            }
            const char escape = peek();
            ++m_at;
            const std::string_view simple = "\"\\/bfnrt";
            const std::string_view meant = "\"\\/\b\f\n\r\t";
            if (const std::size_t i = simple.find(escape); i != std::string_view::npos) {
                text.push_back(meant[i]);
                continue;
            }
            if (escape != 'u')
                return std::nullopt;
            const std::optional<unsigned> unit = hexUnit();
            if (!unit)
                return std::nullopt;
            std::u16string units(1, static_cast<char16_t>(*unit));
            if (*unit >= 0xD800 && *unit < 0xDC00) {
                if (!literal("\\u"))
                    return std::nullopt;
                const std::optional<unsigned> low = hexUnit();
                if (!low || *low < 0xDC00 || *low >= 0xE000)
                    return std::nullopt;
                units.push_back(static_cast<char16_t>(*low));
            } else if (*unit >= 0xDC00 && *unit < 0xE000) {
                return std::nullopt;
            }
            text.append(platform::Utf16ToUtf8(units));
        }
        return std::nullopt;
    }

    std::optional<JsonValue> parseArray() {
        ++m_at;
        JsonValue array;
        array.kind = JsonValue::Kind::array;
        skipSpace();
        if (peek() == ']') {
            ++m_at;
            return array;
        }
        while (true) {
            skipSpace();
            std::optional<JsonValue> item = parseValue();
            if (!item)
                return std::nullopt;
            array.items.push_back(std::move(*item));
            skipSpace();
            if (peek() == ']') {
                ++m_at;
                return array;
            }
            if (peek() != ',')
                return std::nullopt;
            ++m_at;
        }
    }

    std::optional<JsonValue> parseObject() {
        ++m_at;
        JsonValue object;
        object.kind = JsonValue::Kind::object;
        skipSpace();
        if (peek() == '}') {
            ++m_at;
            return object;
        }
        while (true) {
            skipSpace();
            if (peek() != '"')
                return std::nullopt;
            std::optional<std::string> key = parseString();
            skipSpace();
            if (!key || peek() != ':')
                return std::nullopt;
            ++m_at;
            skipSpace();
            std::optional<JsonValue> member = parseValue();
            if (!member || !object.members.emplace(std::move(*key), std::move(*member)).second)
                return std::nullopt;
            skipSpace();
            if (peek() == '}') {
                ++m_at;
                return object;
            }
            if (peek() != ',')
                return std::nullopt;
            ++m_at;
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    static const JsonValue none;
    const auto found = members.find(key);
    return found == members.end() ? none : found->second;
}

std::optional<std::string> JsonValue::pathBytes() const {
    if (kind == Kind::string)
        return text;
    if (kind != Kind::array)
        return std::nullopt;
    std::string bytes;
    for (const JsonValue& item : items) {
        if (item.kind != Kind::number || item.number < 0 || item.number > 255 ||
            item.number != std::floor(item.number))
            return std::nullopt;
        bytes.push_back(static_cast<char>(static_cast<unsigned char>(item.number)));
    }
    return bytes;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    if (!platform::Utf8ToUtf16Le(text))
        return std::nullopt;
    return Parser(text).document();
}

std::optional<std::vector<JsonValue>> ParseJsonLines(std::string_view text) {
    std::vector<JsonValue> values;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        std::optional<JsonValue> value = ParseJson(text.substr(0, end));
        if (!value)
            return std::nullopt;
        values.push_back(std::move(*value));
        text.remove_prefix(end + 1);
    }
    return values;
}

} // namespace velmaro::test
