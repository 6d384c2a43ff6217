#include "platform/win32/win32_text_codec.h"
// Placeholder.
std::optional<std::wstring> Win32TextCodec::Decode(std::string_view, CodePage) { return std::nullopt; }
