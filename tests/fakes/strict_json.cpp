#include "fakes/strict_json.h"

#include <cstdlib>

#include "recording/json_reader.h"
#include "encoding/utf8_encoding.h"

namespace {

JsonValue Convert(const JsonNode& node) {
    JsonValue v;
    switch (node.kind) {
        case JsonNode::Kind::Null:
            break;
        case JsonNode::Kind::Bool:
            v.kind = JsonValue::Kind::Bool;
            v.boolean = node.boolean;
            break;
        case JsonNode::Kind::Number:
            v.kind = JsonValue::Kind::Number;
            v.number = std::strtod(EncodeUtf8(node.text).c_str(), nullptr);
            break;
        case JsonNode::Kind::String:
            v.kind = JsonValue::Kind::String;
            v.text = EncodeUtf8(node.text);
            break;
        case JsonNode::Kind::Array:
            v.kind = JsonValue::Kind::Array;
            for (const JsonNode& item : node.items) v.items.push_back(Convert(item));
            break;
        case JsonNode::Kind::Object:
            v.kind = JsonValue::Kind::Object;
            for (const JsonMember& m : node.members) v.members[EncodeUtf8(m.name)] = Convert(m.value);
            break;
    }
    return v;
}

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
    static const JsonValue null;
    auto it = members.find(name);
    return kind == Kind::Object && it != members.end() ? it->second : null;
}

const JsonValue& JsonValue::operator[](size_t index) const {
    static const JsonValue null;
    return kind == Kind::Array && index < items.size() ? items[index] : null;
}

std::optional<JsonValue> ParseStrictJson(const std::string& text, std::string* error) {
    std::string why = "a byte-order mark";
    std::optional<JsonNode> node;
    if (text.compare(0, 3, "\xEF\xBB\xBF") != 0) {
        JsonReadOptions options;
        options.refuseLoneSurrogates = true;
        node = ReadJson(text, why, options);
    }
    if (!node && error) *error = why;
    return node ? std::optional<JsonValue>(Convert(*node)) : std::nullopt;
}
