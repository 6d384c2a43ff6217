#pragma once
// The caption of the support link, as link-control markup.

#include <string>
#include <string_view>

// The caption markup of a link control: the text as the one link, with every
// "<" followed by a word joiner (U+2060, invisible) so that no part of the text
// can be read as a tag.
std::wstring LinkMarkup(std::wstring_view linkText);
