#pragma once
// UTF-16 (or, where wchar_t is 32 bits wide, UTF-32) text to UTF-8 bytes.

#include <string>
#include <string_view>

// Surrogate pairs become one four-byte sequence; a surrogate without its
// partner, and anything beyond U+10FFFF, becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);
