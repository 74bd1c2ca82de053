// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::test {

// A JSON value as a test reads velmaro-find's output back: strict RFC 8259 (no trailing
// commas, no comments, strings without raw control characters, escapes decoded to UTF-8,
// surrogate pairs joined), so that output a real JSON reader would refuse fails the test.
struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    // The member key of an object; a null value when there is none.
    const JsonValue& operator[](const std::string& key) const;

    // A path as velmaro-find writes it: a string's bytes, or the bytes an array of byte values
    // (0 to 255) holds. Nothing for anything else.
    std::optional<std::string> pathBytes() const;
};

// Parses text as one JSON value with nothing but white space around it; nothing when it is
// not valid JSON (or not valid UTF-8).
std::optional<JsonValue> ParseJson(std::string_view text);

// Each line of text (ended by "\n") parsed as one JSON value; nothing when any line is not,
// or when the text does not end with a line end.
std::optional<std::vector<JsonValue>> ParseJsonLines(std::string_view text);

} // namespace velmaro::test
