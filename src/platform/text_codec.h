#pragma once
// Conversion of 8-bit text to UTF-16.

#include <optional>
#include <string>
#include <string_view>

enum class CodePage {
    ProcessLocale,  // ANSI code page of the user's default locale (table files)
    SystemAnsi,     // the system ANSI code page (driver strings)
    Japanese        // code page 932 (the built-in tables)
};

class TextCodec {
public:
    virtual ~TextCodec() = default;

    // nullopt when the conversion fails.
    virtual std::optional<std::wstring> Decode(std::string_view bytes, CodePage codePage) = 0;

    // The number of the Windows code page that codePage is here (932, 1252, ...).
    virtual unsigned WindowsCodePage(CodePage codePage) = 0;
    // Decodes from the code page of that number, whatever this machine's own are.
    virtual std::optional<std::wstring> DecodeWindowsCodePage(std::string_view bytes, unsigned windowsCodePage) = 0;
};
