#pragma once
// UTF-16 (or, where wchar_t is 32 bits wide, UTF-32) text to UTF-8 bytes, and
// UTF-8 bytes back to UTF-16 code units.

#include <optional>
#include <string>
#include <string_view>

// Surrogate pairs become one four-byte sequence; a surrogate without its
// partner, and anything beyond U+10FFFF, becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

// The UTF-16 code units (also where wchar_t is 32 bits wide) of well-formed
// UTF-8: shortest forms, no surrogates, nothing above U+10FFFF. nullopt for
// anything else.
std::optional<std::wstring> DecodeUtf8(std::string_view bytes);
