#pragma once
// Writing UTF-8 text to standard output or standard error.

#include <string>

enum class StandardStream { Output, Error };

// On a console the text goes as UTF-16 (WriteConsoleW), so that every
// character shows whatever the console's code page; redirected to a file or
// a pipe it goes as the UTF-8 bytes. False when it could not all be written.
bool WriteStandardStream(StandardStream stream, const std::string& utf8);
