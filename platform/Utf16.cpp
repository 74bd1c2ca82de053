// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Utf16.h"

#include <cstdint>

namespace velmaro::platform {

namespace {

void appendUnit(std::string& out, std::uint32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::optional<std::string> Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (utf8.size() - i < length)
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendUnit(out, 0xD800 | (cp >> 10));
            appendUnit(out, 0xDC00 | (cp & 0x3FF));
        } else {
            appendUnit(out, cp);
        }
        i += length;
    }
    return out;
}

std::optional<std::string> Utf16LeToUtf8(std::string_view utf16le) {
    if (utf16le.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(utf16le[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(utf16le[i + 1])) << 8;
    };
    std::string out;
    out.reserve(utf16le.size());
    for (std::size_t i = 0; i < utf16le.size(); i += 2) {
        std::uint32_t cp = unitAt(i);
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return std::nullopt;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (utf16le.size() - i < 4)
                return std::nullopt;
            const std::uint32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace velmaro::platform
