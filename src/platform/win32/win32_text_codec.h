#pragma once

#include "platform/text_codec.h"

class Win32TextCodec : public TextCodec {
public:
    std::optional<std::wstring> Decode(std::string_view bytes, CodePage codePage) override;
    unsigned WindowsCodePage(CodePage codePage) override;
    std::optional<std::wstring> DecodeWindowsCodePage(std::string_view bytes, unsigned windowsCodePage) override;
};
