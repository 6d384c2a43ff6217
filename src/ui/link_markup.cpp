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

std::wstring LinkOpenFailedMessage(std::wstring_view url) {
    std::wstring text = L"サポート ページを開けませんでした。\n";
    text += url;
    return text;
}
