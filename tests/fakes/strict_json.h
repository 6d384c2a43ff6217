#pragma once
// The program's own JSON reader, in the shape the tests want (UTF-8 strings,
// members by name) and at its strictest: anything a lenient parser would
// forgive (trailing commas, bare control characters, lone surrogate escapes,
// invalid UTF-8, leading zeros, text after the value, a byte-order mark) is
// refused, so the writer's documents are held to RFC 8259.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // String: UTF-8
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool IsNull() const { return kind == Kind::Null; }
    // The member, or a null value when there is none (so chains stay short in tests).
    const JsonValue& operator[](const std::string& name) const;
    const JsonValue& operator[](size_t index) const;
    bool Has(const std::string& name) const { return kind == Kind::Object && members.count(name) != 0; }
};

// nullopt, with the reason in `error`, when the text is not one strict JSON document.
std::optional<JsonValue> ParseStrictJson(const std::string& text, std::string* error = nullptr);
