#include "encoding/utf8_encoding.h"

#include <cstdint>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendCodePoint(uint32_t cp, std::string& out) {
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

}  // namespace

std::string EncodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = static_cast<uint32_t>(text[i]);
        // wchar_t may be signed where it is 32 bits wide; mask to its own width.
        if (sizeof(wchar_t) == 2) unit &= 0xFFFF;

        if (IsHighSurrogate(unit) && i + 1 < text.size()) {
            uint32_t next = static_cast<uint32_t>(text[i + 1]);
            if (sizeof(wchar_t) == 2) next &= 0xFFFF;
            if (IsLowSurrogate(next)) {
                AppendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), out);
                ++i;
                continue;
            }
        }
        if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0x10FFFF) unit = kReplacement;
        AppendCodePoint(unit, out);
    }
    return out;
}

std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
    static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (extra < 0 || lead > 0xF4 || bytes.size() - at <= static_cast<size_t>(extra)) return std::nullopt;
        uint32_t cp = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (int i = 1; i <= extra; ++i) {
            const auto b = static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
            if ((b & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        if (cp < kLeast[extra] || cp > 0x10FFFF || IsHighSurrogate(cp) || IsLowSurrogate(cp)) return std::nullopt;
        if (cp >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
        at += static_cast<size_t>(extra) + 1;
    }
    return out;
}
