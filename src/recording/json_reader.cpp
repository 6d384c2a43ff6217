#include "recording/json_reader.h"

#include <algorithm>
#include <numeric>

#include "encoding/utf8_encoding.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf16(uint32_t cp, std::wstring& out) {
    if (cp < 0x10000) {
        out += static_cast<wchar_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
}

class Reader {
public:
    Reader(std::string_view s, const JsonReadOptions& options) : s_(s), options_(options) {}

    std::optional<JsonNode> Document() {
        if (s_.size() > options_.maxBytes) {
            Fail(options_.maxBytes, "the text is longer than " + std::to_string(options_.maxBytes) + " bytes");
            return std::nullopt;
        }
        if (s_.substr(0, 2) == "\xFF\xFE" || s_.substr(0, 2) == "\xFE\xFF") {
            Fail(0, "UTF-16 text (it begins with a byte-order mark); JSON is read as UTF-8");
            return std::nullopt;
        }
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
        JsonNode root;
        if (!Value(root, 0)) return std::nullopt;
        Blanks();
        if (!AtEnd()) {
            Fail("text after the value");
            return std::nullopt;
        }
        return root;
    }

    std::string error;

private:
    bool Fail(size_t at, const std::string& why) {
        if (error.empty()) error = "at byte " + std::to_string(at) + ": " + why;
        return false;
    }
    bool Fail(const std::string& why) { return Fail(at_, why); }

    bool AtEnd() const { return at_ >= s_.size(); }
    char Peek() const { return AtEnd() ? '\0' : s_[at_]; }

    void Blanks() {
        while (!AtEnd() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }

    bool Value(JsonNode& node, int depth) {
        Blanks();
        if (AtEnd()) return Fail("a value expected, the text ends");
        switch (s_[at_]) {
            case '{':
                return Object(node, depth + 1);
            case '[':
                return Array(node, depth + 1);
            case '"':
                node.kind = JsonNode::Kind::String;
                return String(node.text);
            case 't':
                node.kind = JsonNode::Kind::Bool;
                node.boolean = true;
                return Word("true");
            case 'f':
                node.kind = JsonNode::Kind::Bool;
                return Word("false");
            case 'n':
                return Word("null");
            default:
                return Number(node);
        }
    }

    bool Word(std::string_view word) {
        if (s_.substr(at_, word.size()) != word) return Fail("a value expected");
        at_ += word.size();
        return true;
    }

    size_t Digits() {
        const size_t from = at_;
        while (!AtEnd() && IsDigit(s_[at_])) ++at_;
        return at_ - from;
    }

    bool Number(JsonNode& node) {
        const size_t start = at_;
        const bool negative = Peek() == '-';
        if (negative) ++at_;
        const size_t intStart = at_;
        const size_t intDigits = Digits();
        if (intDigits == 0) return Fail(start, "a value expected");
        if (intDigits > 1 && s_[intStart] == '0') return Fail(intStart, "a number with a leading zero");
        bool whole = true;
        if (Peek() == '.') {
            ++at_;
            if (Digits() == 0) return Fail("digits expected after the decimal point");
            whole = false;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++at_;
            if (Peek() == '+' || Peek() == '-') ++at_;
            if (Digits() == 0) return Fail("digits expected in the exponent");
            whole = false;
        }
        node.kind = JsonNode::Kind::Number;
        node.text.assign(s_.begin() + static_cast<std::ptrdiff_t>(start),
                         s_.begin() + static_cast<std::ptrdiff_t>(at_));
        if (!whole) return true;

        // The magnitude, as far as it fits: 2^63 - 1, or 2^63 when negative.
        const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
        uint64_t magnitude = 0;
        for (size_t i = intStart; i < intStart + intDigits; ++i) {
            const uint64_t digit = static_cast<uint64_t>(s_[i] - '0');
            if (magnitude > (limit - digit) / 10) return true;  // too large: a number, not an integer
            magnitude = magnitude * 10 + digit;
        }
        node.isInteger = true;
        node.integer = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
        return true;
    }

    bool EnterContainer(int depth) {
        if (depth > options_.maxDepth)
            return Fail("arrays and objects nested deeper than " + std::to_string(options_.maxDepth));
        ++at_;
        Blanks();
        return true;
    }

    bool Array(JsonNode& node, int depth) {
        node.kind = JsonNode::Kind::Array;
        if (!EnterContainer(depth)) return false;
        while (Peek() != ']') {
            if (!node.items.empty()) {
                if (Peek() != ',') return Fail("',' or ']' expected");
                ++at_;
            }
            node.items.emplace_back();
            if (!Value(node.items.back(), depth)) return false;
            Blanks();
        }
        ++at_;
        return true;
    }

    bool Object(JsonNode& node, int depth) {
        node.kind = JsonNode::Kind::Object;
        if (!EnterContainer(depth)) return false;
        std::vector<size_t> nameAt;
        while (Peek() != '}') {
            if (!nameAt.empty()) {
                if (Peek() != ',') return Fail("',' or '}' expected");
                ++at_;
                Blanks();
            }
            if (Peek() != '"') return Fail("a member name expected");
            nameAt.push_back(at_);
            node.members.emplace_back();
            JsonMember& member = node.members.back();
            if (!String(member.name)) return false;
            Blanks();
            if (Peek() != ':') return Fail("':' expected");
            ++at_;
            if (!Value(member.value, depth)) return false;
            Blanks();
        }
        ++at_;
        return SortMembers(node.members, nameAt);
    }

    // Sorts by name so lookups are quick; a name given twice is refused at
    // its second place in the text, whichever name that is first.
    bool SortMembers(std::vector<JsonMember>& members, const std::vector<size_t>& nameAt) {
        std::vector<size_t> order(members.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return members[a].name != members[b].name ? members[a].name < members[b].name : a < b;
        });
        size_t twice = members.size();
        for (size_t i = 1; i < order.size(); ++i)
            if (members[order[i]].name == members[order[i - 1]].name) twice = std::min(twice, order[i]);
        if (twice != members.size())
            return Fail(nameAt[twice], "the member \"" + TextForMessage(members[twice].name) + "\" twice");

        std::vector<JsonMember> sorted;
        sorted.reserve(members.size());
        for (size_t i : order) sorted.push_back(std::move(members[i]));
        members = std::move(sorted);
        return true;
    }

    bool Hex4(uint32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++at_) {
            const char h = Peek();
            uint32_t digit = 0;
            if (IsDigit(h))
                digit = static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                digit = static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                digit = static_cast<uint32_t>(h - 'A' + 10);
            else
                return Fail("four hexadecimal digits expected after \\u");
            unit = unit * 16 + digit;
        }
        return true;
    }

    // After "\u": one code unit, or a pair of them.
    bool UnicodeEscape(std::wstring& out) {
        const size_t start = at_ - 2;
        uint32_t unit = 0;
        if (!Hex4(unit)) return false;
        if (IsHighSurrogate(unit) && s_.substr(at_, 2) == "\\u") {
            const size_t lowAt = at_;
            at_ += 2;
            uint32_t low = 0;
            if (!Hex4(low)) return false;
            if (IsLowSurrogate(low)) {
                out += static_cast<wchar_t>(unit);
                out += static_cast<wchar_t>(low);
                return true;
            }
            at_ = lowAt;  // not its partner: read it as an escape of its own
        }
        if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            if (options_.refuseLoneSurrogates) return Fail(start, "a \\u escape of a lone surrogate");
            unit = kReplacement;
        }
        out += static_cast<wchar_t>(unit);
        return true;
    }

    // One well-formed UTF-8 sequence of two to four bytes: shortest form, no
    // surrogate, nothing above U+10FFFF.
    bool Utf8Sequence(std::wstring& out) {
        const auto lead = static_cast<unsigned char>(s_[at_]);
        const int extra = lead >= 0xF0 ? 3 : (lead >= 0xE0 ? 2 : (lead >= 0xC0 ? 1 : 0));
        if (extra == 0 || lead > 0xF4 || s_.size() - at_ <= static_cast<size_t>(extra)) return Fail("invalid UTF-8");
        uint32_t cp = lead & (0x3Fu >> extra);
        for (int i = 1; i <= extra; ++i) {
            const auto b = static_cast<unsigned char>(s_[at_ + static_cast<size_t>(i)]);
            if ((b & 0xC0) != 0x80) return Fail("invalid UTF-8");
            cp = (cp << 6) | (b & 0x3Fu);
        }
        static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || IsHighSurrogate(cp) || IsLowSurrogate(cp))
            return Fail("invalid UTF-8");
        AppendUtf16(cp, out);
        at_ += static_cast<size_t>(extra) + 1;
        return true;
    }

    bool String(std::wstring& out) {
        const size_t start = at_++;
        while (!AtEnd()) {
            const auto c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return Fail("a control character in a string");
            if (c >= 0x80) {
                if (!Utf8Sequence(out)) return false;
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<wchar_t>(c);
                continue;
            }
            const char e = Peek();
            ++at_;
            switch (e) {
                case '"':
                    out += L'"';
                    break;
                case '\\':
                    out += L'\\';
                    break;
                case '/':
                    out += L'/';
                    break;
                case 'b':
                    out += L'\b';
                    break;
                case 'f':
                    out += L'\f';
                    break;
                case 'n':
                    out += L'\n';
                    break;
                case 'r':
                    out += L'\r';
                    break;
                case 't':
                    out += L'\t';
                    break;
                case 'u':
                    if (!UnicodeEscape(out)) return false;
                    break;
                default:
                    return Fail(at_ - 2, "an unknown escape");
            }
        }
        return Fail(start, "a string that does not end");
    }

    std::string_view s_;
    const JsonReadOptions& options_;
    size_t at_ = 0;
};

}  // namespace

std::string TextForMessage(std::wstring_view text) {
    constexpr size_t kShown = 40;
    std::wstring cut(text.substr(0, kShown));
    for (wchar_t& c : cut)
        if (static_cast<uint32_t>(c) < 0x20) c = L'?';
    return EncodeUtf8(cut) + (text.size() > kShown ? "..." : "");
}

const JsonNode* JsonNode::Find(std::wstring_view name) const {
    auto it = std::lower_bound(members.begin(), members.end(), name,
                               [](const JsonMember& m, std::wstring_view n) { return m.name < n; });
    return it != members.end() && it->name == name ? &it->value : nullptr;
}

std::optional<JsonNode> ReadJson(std::string_view utf8, std::string& error, const JsonReadOptions& options) {
    Reader reader(utf8, options);
    std::optional<JsonNode> node = reader.Document();
    error = node ? std::string() : reader.error;
    return node;
}
