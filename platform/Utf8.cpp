// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Utf8.h"

namespace velmaro::platform {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

bool Utf8CharToUtf16(const unsigned char* Bytes, std::size_t Count, char16_t& Unit) {
    if (Count == 0)
        return false;
    const unsigned char lead = Bytes[0];
    if (lead < 0x80) {
        if (Count != 1)
            return false;
        Unit = lead;
        return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (Count != 2 || !isContinuation(Bytes[1]))
            return false;
        Unit = static_cast<char16_t>(((lead & 0x1F) << 6) | (Bytes[1] & 0x3F));
        return true;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (Count != 3 || !isContinuation(Bytes[1]) || !isContinuation(Bytes[2]))
            return false;
        // E0 needs A0..BF after it (shorter forms are overlong); ED needs 80..9F (the rest
        // would encode surrogates).
        if ((lead == 0xE0 && Bytes[1] < 0xA0) || (lead == 0xED && Bytes[1] > 0x9F))
            return false;
        Unit = static_cast<char16_t>(((lead & 0x0F) << 12) | ((Bytes[1] & 0x3F) << 6) |
                                     (Bytes[2] & 0x3F));
        return true;
    }
    // Four-byte characters need two units; every other lead byte is ill-formed.
    return false;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
    std::string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t unit = Text[i];
        if (isHighSurrogate(unit) && i + 1 < Text.size() && isLowSurrogate(Text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (Text[i + 1] - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

} // namespace velmaro::platform
