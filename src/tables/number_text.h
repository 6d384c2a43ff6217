#pragma once
// Reading numbers out of table and value texts, and ordinal text comparison.
// Never depends on the C library's locale: the caller names the decimal separator.

#include <cstdint>
#include <string_view>

// The leading decimal integer: leading white space, an optional sign, digits up
// to the first other character; no digits gives 0. Out-of-range values clamp to
// the nearest 32-bit limit.
int32_t LeadingInt(std::wstring_view text);

// The longest leading decimal floating-point number (white space skipped,
// optional sign, digits with one decimal separator, optional exponent; also
// "inf", "infinity" and "nan" in any letter case); no number gives 0.
double LeadingDouble(std::wstring_view text, wchar_t decimalSeparator = L'.');

// Code unit by code unit as unsigned 16-bit numbers; a prefix sorts first.
// Returns <0, 0 or >0.
int CompareOrdinal(std::wstring_view a, std::wstring_view b);
