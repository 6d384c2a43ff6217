#include "fakes/strict_json.h"

#include <cstdint>
#include <cstdlib>

namespace {

const JsonValue& NullValue() {
    static const JsonValue null;
    return null;
}

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    std::optional<JsonValue> Document() {
        std::optional<JsonValue> v = Value(0);
        SkipBlanks();
        if (v && at_ != s_.size()) return Fail("text after the value");
        return v;
    }
    std::string error;

private:
    std::optional<JsonValue> Fail(const std::string& why) {
        if (error.empty()) error = why + " at byte " + std::to_string(at_);
        return std::nullopt;
    }
    bool Refuse(const std::string& why) {
        Fail(why);
        return false;
    }
    void SkipBlanks() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }

    std::optional<JsonValue> Value(int depth) {
        if (depth > 64) return Fail("nested too deep");
        SkipBlanks();
        if (at_ >= s_.size()) return Fail("value missing");
        JsonValue v;
        const char c = s_[at_];
        if (c == '{') return Object(depth);
        if (c == '[') return Array(depth);
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            if (!String(v.text)) return std::nullopt;
            return v;
        }
        if (Literal("null")) return v;
        if (Literal("true") || Literal("false")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = s_[at_ - 4] == 't';
            return v;
        }
        return Number();
    }

    std::optional<JsonValue> Number() {
        const size_t start = at_;
        auto digits = [&] {
            const size_t from = at_;
            while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
            return at_ - from;
        };
        if (at_ < s_.size() && s_[at_] == '-') ++at_;
        const size_t intStart = at_;
        const size_t intDigits = digits();
        if (intDigits == 0) return Fail("not a value");
        if (intDigits > 1 && s_[intStart] == '0') return Fail("leading zero");
        if (at_ < s_.size() && s_[at_] == '.') {
            ++at_;
            if (digits() == 0) return Fail("no digits after the point");
        }
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
            if (digits() == 0) return Fail("no digits in the exponent");
        }
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        v.number = std::strtod(s_.substr(start, at_ - start).c_str(), nullptr);
        return v;
    }

    bool Hex4(uint32_t& unit) {
        if (at_ + 4 > s_.size()) return false;
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[at_++];
            unit <<= 4;
            if (h >= '0' && h <= '9') unit |= static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f') unit |= static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') unit |= static_cast<uint32_t>(h - 'A' + 10);
            else return false;
        }
        return true;
    }

    static void AppendUtf8(uint32_t cp, std::string& out) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // One UTF-8 sequence, well-formed and shortest, no surrogates.
    bool Utf8Sequence(std::string& out) {
        const auto b0 = static_cast<unsigned char>(s_[at_]);
        int extra = 0;
        uint32_t cp = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) extra = 1, cp = b0 & 0x1F;
        else if (b0 >= 0xE0 && b0 <= 0xEF) extra = 2, cp = b0 & 0x0F;
        else if (b0 >= 0xF0 && b0 <= 0xF4) extra = 3, cp = b0 & 0x07;
        else return false;
        if (at_ + static_cast<size_t>(extra) >= s_.size()) return false;
        for (int i = 1; i <= extra; ++i) {
            const auto b = static_cast<unsigned char>(s_[at_ + static_cast<size_t>(i)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        out.append(s_, at_, static_cast<size_t>(extra) + 1);
        at_ += static_cast<size_t>(extra) + 1;
        return true;
    }

    bool String(std::string& out) {
        ++at_;  // the opening quote
        for (;;) {
            if (at_ >= s_.size()) return Refuse("string not closed");
            const auto c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return Refuse("control character in a string");
            if (c >= 0x80) {
                if (!Utf8Sequence(out)) return Refuse("invalid UTF-8");
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= s_.size()) return Refuse("escape not finished");
            const char e = s_[at_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    uint32_t unit = 0;
                    if (!Hex4(unit)) return Refuse("bad \\u escape");
                    if (unit >= 0xDC00 && unit <= 0xDFFF) return Refuse("lone low surrogate");
                    if (unit >= 0xD800 && unit <= 0xDBFF) {
                        uint32_t low = 0;
                        if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                            return Refuse("lone high surrogate");
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    }
                    AppendUtf8(unit, out);
                    break;
                }
                default:
                    return Refuse("unknown escape");
            }
        }
    }

    std::optional<JsonValue> Array(int depth) {
        ++at_;
        JsonValue v;
        v.kind = JsonValue::Kind::Array;
        SkipBlanks();
        if (at_ < s_.size() && s_[at_] == ']') {
            ++at_;
            return v;
        }
        for (;;) {
            std::optional<JsonValue> item = Value(depth + 1);
            if (!item) return std::nullopt;
            v.items.push_back(std::move(*item));
            SkipBlanks();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') {
                ++at_;
                return v;
            }
            return Fail("',' or ']' expected");
        }
    }

    std::optional<JsonValue> Object(int depth) {
        ++at_;
        JsonValue v;
        v.kind = JsonValue::Kind::Object;
        SkipBlanks();
        if (at_ < s_.size() && s_[at_] == '}') {
            ++at_;
            return v;
        }
        for (;;) {
            SkipBlanks();
            if (at_ >= s_.size() || s_[at_] != '"') return Fail("member name expected");
            std::string name;
            if (!String(name)) return std::nullopt;
            if (v.members.count(name)) return Fail("member '" + name + "' twice");
            SkipBlanks();
            if (at_ >= s_.size() || s_[at_] != ':') return Fail("':' expected");
            ++at_;
            std::optional<JsonValue> member = Value(depth + 1);
            if (!member) return std::nullopt;
            v.members.emplace(std::move(name), std::move(*member));
            SkipBlanks();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == '}') {
                ++at_;
                return v;
            }
            return Fail("',' or '}' expected");
        }
    }

    const std::string& s_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
    if (kind != Kind::Object) return NullValue();
    auto it = members.find(name);
    return it == members.end() ? NullValue() : it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
    if (kind != Kind::Array || index >= items.size()) return NullValue();
    return items[index];
}

std::optional<JsonValue> ParseStrictJson(const std::string& text, std::string* error) {
    Reader reader(text);
    std::optional<JsonValue> v = reader.Document();
    if (!v && error) *error = reader.error;
    return v;
}
