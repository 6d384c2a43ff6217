#pragma once
// Reading one JSON document (RFC 8259) from bytes anyone may have written:
// bounded in size and nesting, strict about the grammar and the UTF-8, and
// every refusal an error text that names the byte where reading stopped.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct JsonMember;

struct JsonNode {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    // Number: true when the literal has no fraction and no exponent and fits
    // 64 bits; then `integer` holds it. Other numbers keep only their literal.
    bool isInteger = false;
    int64_t integer = 0;
    // String: the text as UTF-16 code units (also where wchar_t is 32 bits
    // wide, as everywhere in the core). Number: the literal as written.
    std::wstring text;
    std::vector<JsonNode> items;      // Array, in document order
    std::vector<JsonMember> members;  // Object, sorted by name; no name twice

    // The member of that name, or null (also when this is no object).
    const JsonNode* Find(std::wstring_view name) const;
};

struct JsonMember {
    std::wstring name;
    JsonNode value;
};

struct JsonReadOptions {
    size_t maxBytes = 1 << 20;
    int maxDepth = 64;  // arrays and objects inside each other
    // A \u escape of a surrogate without its partner: refused, or read as
    // U+FFFD, as the writer turns such a code unit into.
    bool refuseLoneSurrogates = false;
};

// The document, or nullopt with `error` set, e.g. "at byte 17: ',' or '}'
// expected" (bytes counted from 0). A UTF-8 byte-order mark is skipped.
std::optional<JsonNode> ReadJson(std::string_view utf8, std::string& error, const JsonReadOptions& options = {});

// A text out of a document, fit for an error message: UTF-8, at most 40 code
// units and then "...", control characters shown as '?'.
std::string TextForMessage(std::wstring_view text);
