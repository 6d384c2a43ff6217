#pragma once
// Cutting UTF-16 text without splitting a character.

#include <cstddef>
#include <string_view>

// How many of the first `most` code units can be kept without ending between
// the two halves of a surrogate pair: `most` (or all of a shorter text), or one
// less where the last kept unit is a high surrogate.
inline size_t WholeCharacterPrefix(std::wstring_view text, size_t most) {
    if (most >= text.size()) return text.size();
    const wchar_t last = most > 0 ? text[most - 1] : L'\0';
    return last >= 0xD800 && last <= 0xDBFF ? most - 1 : most;
}
