#include "fakes/strict_json.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    std::optional<JsonValue> Document() {
        JsonValue v;
        if (!Value(v, 0)) return std::nullopt;
        Blanks();
        if (at_ == s_.size()) return v;
        Fail("text after the value");
        return std::nullopt;
    }
    std::string error;

private:
    bool Fail(const char* why) {
        if (error.empty()) error = std::string(why) + " at byte " + std::to_string(at_);
        return false;
    }
    void Blanks() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\r' || s_[at_] == '\n')) ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ >= s_.size() || s_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool Word(const char* w) {
        const size_t n = std::strlen(w);
        if (s_.compare(at_, n, w) != 0) return false;
        at_ += n;
        return true;
    }
    size_t Digits() {
        const size_t from = at_;
        while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
        return at_ - from;
    }

    bool Value(JsonValue& v, int depth) {
        Blanks();
        if (depth > 64 || at_ >= s_.size()) return Fail("value missing");
        if (Take('{')) return Members(v, depth);
        if (Take('[')) return Items(v, depth);
        if (s_[at_] == '"') {
            v.kind = JsonValue::Kind::String;
            return String(v.text);
        }
        if (Word("null")) return true;
        if (Word("true") || Word("false")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = s_[at_ - 4] == 't';
            return true;
        }
        const size_t start = at_;
        if (s_[at_] == '-') ++at_;
        const size_t first = at_;
        const size_t n = Digits();
        if (n == 0 || (n > 1 && s_[first] == '0')) return Fail("bad number");
        if (at_ < s_.size() && s_[at_] == '.' && (++at_, Digits() == 0)) return Fail("bad fraction");
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
            if (Digits() == 0) return Fail("bad exponent");
        }
        v.kind = JsonValue::Kind::Number;
        v.number = std::strtod(s_.substr(start, at_ - start).c_str(), nullptr);
        return true;
    }

    bool Items(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Array;
        if (Take(']')) return true;
        do {
            v.items.emplace_back();
            if (!Value(v.items.back(), depth + 1)) return false;
        } while (Take(','));
        return Take(']') || Fail("',' or ']' expected");
    }

    bool Members(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Object;
        if (Take('}')) return true;
        do {
            std::string name;
            Blanks();
            if (at_ >= s_.size() || s_[at_] != '"' || !String(name)) return Fail("member name expected");
            if (v.members.count(name)) return Fail("member twice");
            if (!Take(':')) return Fail("':' expected");
            if (!Value(v.members[name], depth + 1)) return false;
        } while (Take(','));
        return Take('}') || Fail("',' or '}' expected");
    }

    bool Hex4(uint32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++at_) {
            const char h = at_ < s_.size() ? s_[at_] : 'x';
            const char* digit = std::strchr("0123456789abcdef", h >= 'A' && h <= 'F' ? h + 32 : h);
            if (!digit || !h) return false;
            unit = unit * 16 + static_cast<uint32_t>(digit - "0123456789abcdef");
        }
        return true;
    }

    static void Append(uint32_t cp, std::string& out) {
        if (cp < 0x80) return void(out += static_cast<char>(cp));
        const int extra = cp < 0x800 ? 1 : (cp < 0x10000 ? 2 : 3);
        out += static_cast<char>(((0xFF00 >> (extra + 1)) & 0xFF) | (cp >> (6 * extra)));
        for (int i = extra - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((cp >> (6 * i)) & 0x3F));
    }

    // Raw UTF-8 must be well-formed, shortest, and hold no surrogate.
    bool Utf8(std::string& out) {
        const auto b0 = static_cast<unsigned char>(s_[at_]);
        const int extra = b0 >= 0xF0 ? 3 : (b0 >= 0xE0 ? 2 : (b0 >= 0xC0 ? 1 : -1));
        if (extra < 0 || b0 > 0xF4 || at_ + static_cast<size_t>(extra) >= s_.size()) return false;
        uint32_t cp = b0 & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            const auto b = static_cast<unsigned char>(s_[at_ + static_cast<size_t>(i)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.append(s_, at_, static_cast<size_t>(extra) + 1);
        at_ += static_cast<size_t>(extra) + 1;
        return true;
    }

    bool String(std::string& out) {
        static const char kEscapes[] = "\"\"\\\\//b\bf\fn\nr\rt\t";
        for (++at_; at_ < s_.size();) {
            const auto c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return Fail("control character in a string");
            if (c >= 0x80) {
                if (!Utf8(out)) return Fail("invalid UTF-8");
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char e = at_ < s_.size() ? s_[at_++] : '\0';
            if (e == 'u') {
                uint32_t unit = 0, low = 0;
                if (!Hex4(unit) || (unit >= 0xDC00 && unit <= 0xDFFF)) return Fail("bad or lone \\u escape");
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return Fail("lone high surrogate");
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                Append(unit, out);
                continue;
            }
            const char* found = e ? std::strchr(kEscapes, e) : nullptr;
            if (!found || (found - kEscapes) % 2 != 0) return Fail("unknown escape");
            out += found[1];
        }
        return Fail("string not closed");
    }

    const std::string& s_;
    size_t at_ = 0;
};

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
    Reader reader(text);
    std::optional<JsonValue> v = reader.Document();
    if (!v && error) *error = reader.error;
    return v;
}
