#pragma once
// Fills the one conversion of a label taken from a table. Table texts are
// never handed to the C library as a format: a conversion that does not fit the
// argument, and every conversion after the first, is printed as it stands.

#include <string>
#include <string_view>

// "%s" (with flags, width and precision) takes the text; "%%" is a percent sign.
std::wstring FormatLabel(std::wstring_view format, std::wstring_view text);

// A floating-point conversion ("%0.2f", "%8.3e", "%g" ...) takes the number,
// written with the given decimal separator.
std::wstring FormatLabel(std::wstring_view format, double number, wchar_t decimalSeparator);
