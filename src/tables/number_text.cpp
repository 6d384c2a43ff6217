#include "tables/number_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

bool StartsWithNoCase(std::wstring_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != static_cast<wchar_t>(word[i])) return false;
    return true;
}

}  // namespace

int32_t LeadingInt(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int64_t value = 0;
    const int64_t limit = negative ? int64_t(1) << 31 : (int64_t(1) << 31) - 1;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > limit) value = limit;  // clamp, and keep consuming digits
    }
    return static_cast<int32_t>(negative ? -value : value);
}

double LeadingDouble(std::wstring_view text, wchar_t decimalSeparator) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    std::string number;  // the accepted prefix, rewritten in the C locale's form
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);

    if (StartsWithNoCase(text, i, "infinity") || StartsWithNoCase(text, i, "inf")) {
        double inf = std::numeric_limits<double>::infinity();
        return (!number.empty() && number[0] == '-') ? -inf : inf;
    }
    if (StartsWithNoCase(text, i, "nan")) return std::numeric_limits<double>::quiet_NaN();

    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number += static_cast<char>(text[i]);
    if (i < text.size() && text[i] == decimalSeparator) {
        size_t j = i + 1;
        std::string fraction;
        for (; j < text.size() && IsDigit(text[j]); ++j) fraction += static_cast<char>(text[j]);
        if (digits > 0 || !fraction.empty()) {
            number += '.';
            number += fraction;
            digits += fraction.size();
            i = j;
        }
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) exponent += static_cast<char>(text[j++]);
        size_t expDigits = 0;
        for (; j < text.size() && IsDigit(text[j]); ++j, ++expDigits) exponent += static_cast<char>(text[j]);
        if (expDigits > 0) number += exponent;
    }
    // strtod reads "." as the separator only in the "C" locale; make sure of that.
    for (char& c : number)
        if (c == '.') c = *std::localeconv()->decimal_point;
    return std::strtod(number.c_str(), nullptr);
}

int CompareOrdinal(std::wstring_view a, std::wstring_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        // wchar_t is signed on some compilers; compare as unsigned code units.
        const auto ca = static_cast<uint32_t>(a[i]);
        const auto cb = static_cast<uint32_t>(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}
