#pragma once
// Decoding for tests: the real code page conversions on Windows, iconv elsewhere.

#include "platform/text_codec.h"

class FakeTextCodec : public TextCodec {
public:
    std::optional<std::wstring> Decode(std::string_view bytes, CodePage codePage) override;
    unsigned WindowsCodePage(CodePage codePage) override { return codePage == CodePage::ProcessLocale ? processCodePage : 932; }
    std::optional<std::wstring> DecodeWindowsCodePage(std::string_view bytes, unsigned windowsCodePage) override;

    // When set, every conversion fails.
    bool failing = false;
    // The code page a table file is read in (ProcessLocale); 932 by default.
    unsigned processCodePage = 932;
};

// Encodes UTF-8 test text into code page 932 bytes.
std::string ToCp932(const std::string& utf8);
