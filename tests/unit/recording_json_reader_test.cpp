#include <gtest/gtest.h>

#include <cstdio>

#include "recording/json_reader.h"

namespace {

// A compact dump that shows every code unit: strings with \uXXXX beyond
// printable ASCII, numbers that are no 64-bit integer with a leading '~'.
std::string Dump(const JsonNode& n) {
    auto units = [](const std::wstring& text) {
        std::string out;
        for (wchar_t c : text) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(c));
            out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : hex;
        }
        return out;
    };
    std::string out;
    switch (n.kind) {
        case JsonNode::Kind::Null:
            return "null";
        case JsonNode::Kind::Bool:
            return n.boolean ? "true" : "false";
        case JsonNode::Kind::Number:
            return n.isInteger ? std::to_string(n.integer) : "~" + units(n.text);
        case JsonNode::Kind::String:
            return "\"" + units(n.text) + "\"";
        case JsonNode::Kind::Array:
            for (const JsonNode& item : n.items) out += (out.empty() ? "" : ",") + Dump(item);
            return "[" + out + "]";
        case JsonNode::Kind::Object:
            for (const JsonMember& m : n.members) out += (out.empty() ? "" : ",") + units(m.name) + ":" + Dump(m.value);
            return "{" + out + "}";
    }
    return "?";
}

}  // namespace

TEST(JsonReader, ReadsStrictJsonAndNamesTheByteOfEveryRefusal) {
    const std::string deepest = std::string(64, '[') + std::string(64, ']');
    JsonReadOptions refusing;
    refusing.refuseLoneSurrogates = true;
    JsonReadOptions small;
    small.maxBytes = 8;
    // The default limit, 1 MiB, with trailing blanks: a value that ends early does not make it shorter.
    const std::string atTheDefaultLimit = "[]" + std::string((1 << 20) - 2, ' ');
    const struct {
        const char* meaning;
        std::string text;
        std::string expected;  // the dump, or the error
        JsonReadOptions options = {};
    } cases[] = {
        {"members sorted by name, every kind of value", R"({"b":[1,-2,true,false,null],"a":{"":"y"}})",
         R"({a:{:"y"},b:[1,-2,true,false,null]})"},
        {"blanks around values, empty containers", " \t\r\n[ {} ,[ ] ]\n", "[{},[]]"},
        {"every escape", R"("\"\\\/\b\f\n\r\t\u00e9")", R"(""\/\u0008\u000c\u000a\u000d\u0009\u00e9")"},
        {"UTF-8 and a surrogate pair, raw and escaped", "[\"\xE6\x97\xA5\xF0\x9F\x98\x80\",\"\\uD83D\\ude00\"]",
         R"(["\u65e5\ud83d\ude00","\ud83d\ude00"])"},
        {"lone surrogates read as U+FFFD", R"(["\ud800\u0041","\udc00x","\ud800\ud800\udc00"])",
         R"(["\ufffdA","\ufffdx","\ufffd\ud800\udc00"])"},
        {"lone surrogates refused on request", R"("a\udc00")", "at byte 2: a \\u escape of a lone surrogate", refusing},
        {"64-bit limits; fractions and exponents stay literals",
         "[9223372036854775807,-9223372036854775808,9223372036854775808,-0,1.5,2E+3]",
         "[9223372036854775807,-9223372036854775808,~9223372036854775808,0,~1.5,~2E+3]"},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF{}", "{}"},
        {"64 levels", deepest, deepest},
        {"65 levels", "[" + deepest + "]", "at byte 64: arrays and objects nested deeper than 64"},
        {"a member twice, at its second place", R"({"a":1,"b":{"a":2},"a":3})", "at byte 19: the member \"a\" twice"},
        {"trailing comma in an array", "[1,]", "at byte 3: a value expected"},
        {"trailing comma in an object", R"({"a":1,})", "at byte 7: a member name expected"},
        {"missing comma", R"({"a":1 "b":2})", "at byte 7: ',' or '}' expected"},
        {"leading zero", "[01]", "at byte 1: a number with a leading zero"},
        {"bare minus", "-", "at byte 0: a value expected"},
        {"no digits after the point", "1.e5", "at byte 2: digits expected after the decimal point"},
        {"no digits in the exponent", "1e+", "at byte 3: digits expected in the exponent"},
        {"a misspelt word", "[tru]", "at byte 1: a value expected"},
        {"a line feed in a string", "\"a\nb\"", "at byte 2: a control character in a string"},
        {"overlong UTF-8", "\"\xC0\xAF\"", "at byte 1: invalid UTF-8"},
        {"an encoded surrogate", "\"\xED\xA0\x80\"", "at byte 1: invalid UTF-8"},
        {"beyond U+10FFFF", "\"\xF4\x90\x80\x80\"", "at byte 1: invalid UTF-8"},
        {"a sequence cut short", "\"\xE6\x97\"", "at byte 1: invalid UTF-8"},
        {"a stray continuation byte", "\"\x80\"", "at byte 1: invalid UTF-8"},
        {"an unknown escape", R"("a\x")", "at byte 2: an unknown escape"},
        {"a short \\u escape", R"("\u12G4")", "at byte 5: four hexadecimal digits expected after \\u"},
        {"a string without its end", "[\"abc", "at byte 1: a string that does not end"},
        {"text after the value", "{} x", "at byte 3: text after the value"},
        {"no text", "", "at byte 0: a value expected, the text ends"},
        {"UTF-16", std::string("\xFF\xFE{\0}\0", 6),
         "at byte 0: UTF-16 text (it begins with a byte-order mark); "
         "JSON is read as UTF-8"},
        {"longer than allowed", "[1,2,3,4,5]", "at byte 8: the text is longer than 8 bytes", small},
        {"1 MiB by default", atTheDefaultLimit, "[]"},
        {"a byte more than 1 MiB", atTheDefaultLimit + " ", "at byte 1048576: the text is longer than 1048576 bytes"},
    };
    for (const auto& c : cases) {
        std::string error = "left over";
        const std::optional<JsonNode> node = ReadJson(c.text, error, c.options);
        EXPECT_EQ(node ? Dump(*node) : error, c.expected) << c.meaning;
        EXPECT_EQ(node.has_value(), error.empty()) << c.meaning;
    }
}
