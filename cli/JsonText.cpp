// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonText.h"

#include "platform/Utf16.h"

#include <cstdio>

namespace velmaro {

void AppendJsonString(std::string& json, std::string_view text) {
    json.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"':
            json.append("\\\"");
            break;
        case '\\':
            json.append("\\\\");
            break;
        case '\n':
            json.append("\\n");
            break;
        case '\r':
            json.append("\\r");
            break;
        case '\t':
            json.append("\\t");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                json.append(escape);
            } else {
                json.push_back(c);
            }
        }
    }
    json.push_back('"');
}

void AppendJsonBytes(std::string& json, std::string_view bytes) {
    if (platform::Utf8ToUtf16Le(bytes)) {
        AppendJsonString(json, bytes);
        return;
    }
    json.push_back('[');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            json.push_back(',');
        json.append(std::to_string(static_cast<unsigned char>(bytes[i])));
    }
    json.push_back(']');
}

} // namespace velmaro
