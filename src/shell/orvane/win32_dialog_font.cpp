#include "shell/orvane/win32_dialog_font.h"

namespace {

// A font selected into a device context for the life of the scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(::SelectObject(dc, font)) {}
    ~SelectedFont() { ::SelectObject(dc_, previous_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace

UniqueFont DialogFontForDpi(const LOGFONTW& templateFont, UINT templateDpi, UINT dpi) {
    LOGFONTW font = templateFont;
    font.lfHeight = ::MulDiv(templateFont.lfHeight, static_cast<int>(dpi), static_cast<int>(templateDpi));
    font.lfWidth = ::MulDiv(templateFont.lfWidth, static_cast<int>(dpi), static_cast<int>(templateDpi));
    return UniqueFont(::CreateFontIndirectW(&font));
}

DialogBaseUnits MeasureDialogBaseUnits(HWND window, HFONT font) {
    UniqueWindowDc dc(window, ::GetDC(window));
    if (!dc) return {};
    SelectedFont selected(dc.get(), font);
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(dc.get(), &metrics)) return {};
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    if (!::GetTextExtentPoint32W(dc.get(), kAlphabet, 52, &extent)) return {};
    // The average of the 52 letters, rounded.
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

int CaptionWidth(HWND control, const std::wstring& text) {
    UniqueWindowDc dc(control, ::GetDC(control));
    if (!dc) return 0;
    SelectedFont font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    if (!::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent)) return 0;
    return extent.cx;
}

int WrappedTextHeight(HWND control, const std::wstring& text, int width) {
    if (text.empty() || width <= 0) return 0;
    UniqueWindowDc dc(control, ::GetDC(control));
    if (!dc) return 0;
    SelectedFont font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT bounds{0, 0, width, 0};
    // The flags a static of style SS_LEFT | SS_NOPREFIX draws its text with.
    const UINT flags = DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    if (::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds, flags) == 0) return 0;
    return bounds.bottom - bounds.top;
}
