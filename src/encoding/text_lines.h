#pragma once
// Text for the console and for files administrators open in Notepad.

#include <string>
#include <string_view>

// The text as UTF-8, each line end a CR LF.
std::string TextLines(std::wstring_view text);
