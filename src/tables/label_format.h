#pragma once
// Fills the one conversion of a label taken from a table. Table texts are
// never handed to the C library as a format: a conversion that does not fit the
// argument, and every conversion after the filled one, is printed as it stands.
// "%%" is always one percent sign; "%n", "*" and a dangling "%" are plain text.

#include <string>
#include <string_view>
#include <vector>

// "%s", "%ls" or "%S" (with flags, width and precision) takes the text: the
// precision keeps that many characters, the width pads with blanks ("-": on the right).
std::wstring FormatLabel(std::wstring_view format, std::wstring_view text);

// A floating-point conversion ("%0.2f", "%8.3e", "%g" ...) takes the number,
// written with the given decimal separator.
std::wstring FormatLabel(std::wstring_view format, double number, wchar_t decimalSeparator);

// A conversion as FormatLabel reads it ("%%" and what it prints as plain text
// are none), for the administrators' table check.
struct LabelConversion {
    std::wstring written;  // e.g. "%0.2f"
    bool takesText = false;
    bool takesNumber = false;
};

std::vector<LabelConversion> LabelConversions(std::wstring_view format);
