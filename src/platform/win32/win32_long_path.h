#pragma once
// Paths handed to the wide file functions, with no length limit.

#include <string>

// A full path of MAX_PATH units or more gets the "\\?\" prefix, which lifts the
// limit; shorter and relative paths come back unchanged.
std::wstring ExtendedLengthPath(const std::wstring& path);
