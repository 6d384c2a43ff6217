#include "encoding/text_lines.h"

#include "encoding/utf8_encoding.h"

std::string TextLines(std::wstring_view text) {
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return EncodeUtf8(crlf);
}
