#pragma once
// Paths handed to the wide file functions, with no length limit.

#include <string>

// A full path too long for the plain functions (248 units and more, the limit
// for folders) gets the "\\?\" prefix, which lifts the limit; shorter and
// relative paths come back unchanged.
std::wstring ExtendedLengthPath(const std::wstring& path);
