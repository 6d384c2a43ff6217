#pragma once
// The support link's caption as link-control markup, and the message shown
// when its address cannot be opened.

#include <string>
#include <string_view>

// The caption markup of a link control: the text as the one link, with every
// "<" followed by a word joiner (U+2060, invisible) so that no part of the text
// can be read as a tag.
std::wstring LinkMarkup(std::wstring_view linkText);

// "サポート ページを開けませんでした。" and the address on the next line.
std::wstring LinkOpenFailedMessage(std::wstring_view url);
