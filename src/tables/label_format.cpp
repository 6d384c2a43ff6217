#include "tables/label_format.h"

#include <cstdio>
#include <optional>
#include <string>

#include "encoding/utf16_prefix.h"

namespace {

// Widths and precisions beyond this come from a broken table, not from a
// layout; such a conversion is printed as it stands instead of filling memory.
constexpr int kMaxFieldSize = 4096;

enum class ArgumentKind { Text, Number };

// One conversion as written in the label: "%" flags width .precision length conversion.
struct Conversion {
    size_t length = 0;  // code units from the "%" through the conversion character
    std::string flags;
    std::optional<int> width;
    std::optional<int> precision;
    std::wstring lengthModifier;
    wchar_t conversion = 0;
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads a decimal field size; nullopt when it is too large to be meant.
std::optional<int> ReadFieldSize(std::wstring_view format, size_t& pos) {
    long value = 0;
    bool tooLarge = false;
    while (pos < format.size() && IsDigit(format[pos])) {
        if (!tooLarge) value = value * 10 + (format[pos] - L'0');
        if (value > kMaxFieldSize) tooLarge = true;
        ++pos;
    }
    if (tooLarge) return std::nullopt;
    return static_cast<int>(value);
}

// Parses the conversion starting at format[start] == '%'. nullopt when the text
// after the "%" is no complete conversion (a "*", a dangling "%", an oversize
// field); the caller then prints the "%" as it stands and reads on.
std::optional<Conversion> ParseConversion(std::wstring_view format, size_t start) {
    Conversion c;
    size_t pos = start + 1;
    while (pos < format.size() && std::wstring_view(L"-+ #0").find(format[pos]) != std::wstring_view::npos) {
        c.flags.push_back(static_cast<char>(format[pos]));
        ++pos;
    }
    if (pos < format.size() && IsDigit(format[pos])) {
        c.width = ReadFieldSize(format, pos);
        if (!c.width) return std::nullopt;
    }
    if (pos < format.size() && format[pos] == L'.') {
        ++pos;
        c.precision = ReadFieldSize(format, pos);  // "." alone means precision 0
        if (!c.precision) return std::nullopt;
    }
    const size_t lengthStart = pos;
    while (pos < format.size() && std::wstring_view(L"hlLqjzt").find(format[pos]) != std::wstring_view::npos) ++pos;
    c.lengthModifier = std::wstring(format.substr(lengthStart, pos - lengthStart));
    // "%5%" is no conversion: the "%" after it starts afresh.
    if (pos >= format.size() || format[pos] == L'%') return std::nullopt;
    c.conversion = format[pos];
    c.length = pos + 1 - start;
    return c;
}

bool FitsText(const Conversion& c) {
    if (c.conversion == L's') return c.lengthModifier.empty() || c.lengthModifier == L"l";
    if (c.conversion == L'S') return c.lengthModifier.empty();
    return false;
}

bool FitsNumber(const Conversion& c) {
    if (std::wstring_view(L"fFeEgGaA").find(c.conversion) == std::wstring_view::npos) return false;
    // "%lf" and "%Lf" read the same double here; other modifiers mean another type.
    return c.lengthModifier.empty() || c.lengthModifier == L"l" || c.lengthModifier == L"L";
}

bool Fits(const Conversion& c, ArgumentKind kind) { return kind == ArgumentKind::Text ? FitsText(c) : FitsNumber(c); }

std::wstring FillText(const Conversion& c, std::wstring_view text) {
    std::wstring body(text);
    if (c.precision) body.resize(WholeCharacterPrefix(body, static_cast<size_t>(*c.precision)));
    const size_t width = c.width ? static_cast<size_t>(*c.width) : 0;
    if (body.size() >= width) return body;
    const std::wstring padding(width - body.size(), L' ');
    const bool leftAligned = c.flags.find('-') != std::string::npos;
    return leftAligned ? body + padding : padding + body;
}

// The runtime's decimal point under the current C locale.
char RuntimeDecimalPoint() {
    char probe[8] = {};
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    return probe[1];
}

std::wstring FillNumber(const Conversion& c, double number, wchar_t decimalSeparator) {
    // The format handed to the runtime is built only from validated pieces.
    std::string format = "%" + c.flags;
    if (c.width) format += std::to_string(*c.width);
    if (c.precision) format += "." + std::to_string(*c.precision);
    format.push_back(static_cast<char>(c.conversion));

    const int size = std::snprintf(nullptr, 0, format.c_str(), number);
    if (size < 0) return std::wstring();
    std::string narrow(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(&narrow[0], narrow.size(), format.c_str(), number);
    narrow.resize(static_cast<size_t>(size));

    const char point = RuntimeDecimalPoint();
    std::wstring wide;
    wide.reserve(narrow.size());
    for (char ch : narrow) wide.push_back(ch == point ? decimalSeparator : static_cast<wchar_t>(static_cast<unsigned char>(ch)));
    return wide;
}

// Walks a label: plain code units and "%%" are copied, and each complete
// conversion is replaced by what onConversion makes of it.
template <typename OnConversion>
std::wstring Walk(std::wstring_view format, OnConversion onConversion) {
    std::wstring out;
    out.reserve(format.size());
    size_t pos = 0;
    while (pos < format.size()) {
        const wchar_t ch = format[pos];
        if (ch != L'%') {
            out.push_back(ch);
            ++pos;
            continue;
        }
        if (pos + 1 < format.size() && format[pos + 1] == L'%') {
            out.push_back(L'%');
            pos += 2;
            continue;
        }
        const std::optional<Conversion> c = ParseConversion(format, pos);
        if (!c) {
            out.push_back(L'%');
            ++pos;
            continue;
        }
        out += onConversion(*c, format.substr(pos, c->length));
        pos += c->length;
    }
    return out;
}

template <typename Fill>
std::wstring FormatOne(std::wstring_view format, ArgumentKind kind, Fill fill) {
    bool filled = false;
    return Walk(format, [&](const Conversion& c, std::wstring_view written) {
        if (filled || !Fits(c, kind)) return std::wstring(written);
        filled = true;
        return fill(c);
    });
}

}  // namespace

std::wstring FormatLabel(std::wstring_view format, std::wstring_view text) {
    return FormatOne(format, ArgumentKind::Text, [text](const Conversion& c) { return FillText(c, text); });
}

std::wstring FormatLabel(std::wstring_view format, double number, wchar_t decimalSeparator) {
    return FormatOne(format, ArgumentKind::Number,
                     [number, decimalSeparator](const Conversion& c) { return FillNumber(c, number, decimalSeparator); });
}

std::vector<LabelConversion> LabelConversions(std::wstring_view format) {
    std::vector<LabelConversion> conversions;
    Walk(format, [&conversions](const Conversion& c, std::wstring_view written) {
        conversions.push_back({std::wstring(written), FitsText(c), FitsNumber(c)});
        return std::wstring();
    });
    return conversions;
}
