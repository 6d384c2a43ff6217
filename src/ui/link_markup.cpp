#include "ui/link_markup.h"

std::wstring LinkMarkup(std::wstring_view linkText) {
    std::wstring markup = L"<a>";
    for (wchar_t c : linkText) {
        markup += c;
        if (c == L'<') markup += L'\u2060';
    }
    markup += L"</a>";
    return markup;
}
