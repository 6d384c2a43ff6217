#include "shell/orvane/orvane_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "resource.h"
#include "shell/orvane/about_dlg.h"
#include "shell/orvane/win32_dialog_font.h"
#include "shell/orvane/win32_dpi.h"
#include "platform/win32/win32_module_path.h"
#include "shell/orvane/win32_shell_link.h"
#include "ui/dialog_geometry.h"
#include "ui/link_markup.h"
#include "ui/result_dialog_layout.h"

namespace {

// Posted from WM_INITDIALOG: the dialog manager sets the focus cues up after it.
constexpr UINT kShowFocusCues = WM_APP + 1;

// The gap kept to the edges of a work area the dialog does not fit, in pixels at 96 DPI.
constexpr int kMarginAt96Dpi = 8;

RECT ToRect(const LayoutRect& r) { return {r.left, r.top, r.right, r.bottom}; }
LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The work area of the monitor that holds most of `rect`.
RECT WorkAreaAround(const RECT& rect) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
        RECT area{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    }
    return monitor.rcWork;
}

class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window_, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

class WaitCursorScope {
public:
    WaitCursorScope() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursorScope() { ::SetCursor(previous_); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace

OrvaneDlg::OrvaneDlg(const ResultView& view, std::function<SaveOutcome()> save, std::wstring saveFailedText)
    : m_strStatus(view.status),
      m_strReport(view.report),
      m_strAdvice(view.advice),
      m_linkText(view.linkText),
      m_linkUrl(view.linkUrl),
      m_showLink(view.showLink),
      save_(std::move(save)),
      saveFailedText_(std::move(saveFailedText)) {}

INT_PTR OrvaneDlg::DoModal() {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ORVANE_DIALOG), nullptr,
                             &OrvaneDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK OrvaneDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<OrvaneDlg*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<OrvaneDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;  // messages that come before WM_INITDIALOG
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR OrvaneDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            return OnSysCommand(static_cast<UINT>(wParam), lParam);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                OnBnClickedOk();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {  // Esc, Alt+F4, the close box: no file
                ::EndDialog(m_hWnd, IDCANCEL);
                return TRUE;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_SUPPORT_LINK && (header->code == NM_CLICK || header->code == NM_RETURN)) {
                OnSupportLinkActivated();
                return TRUE;
            }
            break;
        }
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) OnSize();
            return FALSE;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case kShowFocusCues:
            ShowFocusCues();
            return TRUE;
    }
    return FALSE;
}

BOOL OrvaneDlg::OnInitDialog() {
    m_dpi = WindowDpi(m_hWnd);
    KeepDialogFromRescalingItself(m_hWnd);
    // The dialog manager's base units for the template font: 4 x 8 dialog units map onto them.
    RECT base{0, 0, 4, 8};
    ::MapDialogRect(m_hWnd, &base);
    m_baseUnits = {base.right, base.bottom};
    const auto templateFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    if (templateFont && ::GetObjectW(templateFont, sizeof font, &font) == sizeof font) {
        m_templateFont = font;
        m_templateFontDpi = m_dpi;
    }

    AddAboutItem();
    LoadIcons();
    ShowSupportLink();

    // The report can be far longer than an edit box takes by default.
    ::SendDlgItemMessageW(m_hWnd, IDC_REPORT, EM_SETLIMITTEXT, 0, 0);
    ::SetDlgItemTextW(m_hWnd, IDC_REPORT, m_strReport.c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_STATUS, m_strStatus.c_str());
    ShowAdvice();

    FitFrameIntoWorkArea();
    OnSize();
    ::PostMessageW(m_hWnd, kShowFocusCues, 0, 0);
    return TRUE;  // focus goes to the close button, the first tab stop
}

void OrvaneDlg::FitFrameIntoWorkArea() {
    RECT frame{};
    if (!::GetWindowRect(m_hWnd, &frame)) return;
    const RECT fitted = ToRect(::FitIntoWorkArea(ToLayout(frame), ToLayout(WorkAreaAround(frame)), WorkAreaMargin()));
    if (SameRect(fitted, frame)) return;  // where the template fits, it stays as it is
    ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// Keyboard users see where the focus is from the start, not only after their first Tab.
void OrvaneDlg::ShowFocusCues() {
    ::SendMessageW(m_hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

RECT OrvaneDlg::ToPixels(const LayoutRect& units) const { return ToRect(DialogUnitsToPixels(units, m_baseUnits)); }

RECT OrvaneDlg::FrameAround(const RECT& client) const {
    RECT frame = client;
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)),
                           static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)), m_dpi);
    return frame;
}

int OrvaneDlg::WorkAreaMargin() const { return ::MulDiv(kMarginAt96Dpi, static_cast<int>(m_dpi), kDefaultDpi); }

void OrvaneDlg::AddAboutItem() {
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!systemMenu) return;

    // LoadStringW with a zero length hands out a pointer to the resource text itself.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return;
    const std::wstring caption(text, static_cast<size_t>(length));

    ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, caption.c_str());
}

void OrvaneDlg::LoadIcons() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // Each at its own size for the window's DPI; the old ones go only once the window holds the new.
    UniqueIcon large(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                     SystemMetricForDpi(SM_CXICON, m_dpi),
                                                     SystemMetricForDpi(SM_CYICON, m_dpi), 0)));
    UniqueIcon small(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                     SystemMetricForDpi(SM_CXSMICON, m_dpi),
                                                     SystemMetricForDpi(SM_CYSMICON, m_dpi), 0)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    m_hIcon = std::move(large);
    m_hSmallIcon = std::move(small);
}

void OrvaneDlg::ShowSupportLink() {
    HWND link = ::GetDlgItem(m_hWnd, IDC_SUPPORT_LINK);
    if (!link) return;
    if (!m_showLink) {
        ::ShowWindow(link, SW_HIDE);
        return;
    }
    ::SetWindowTextW(link, LinkMarkup(m_linkText).c_str());
    ::ShowWindow(link, SW_SHOW);
}

// The cause-and-action lines where the user looks first; the report box still ends with them.
void OrvaneDlg::ShowAdvice() {
    HWND advice = ::GetDlgItem(m_hWnd, IDC_ADVICE);
    if (!advice || m_strAdvice.empty()) return;  // hidden, and the layout is the template's
    ::SetWindowTextW(advice, m_strAdvice.c_str());
    ::ShowWindow(advice, SW_SHOW);
}

void OrvaneDlg::MeasureCaptions() {
    const RECT padding = ToPixels({0, 0, 8, 0});  // a button's caption needs room for its frame and focus rectangle
    for (size_t i = 0; i < kResultDialogLayout.size(); ++i) {
        const int id = kResultDialogLayout[i].id;
        if (id == IDOK) {
            HWND button = ::GetDlgItem(m_hWnd, IDOK);
            const int length = ::GetWindowTextLengthW(button);
            std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
            caption.resize(static_cast<size_t>(::GetWindowTextW(button, caption.data(), length + 1)));
            minWidths_[i] = CaptionWidth(button, caption) + padding.right;
        } else if (id == IDC_SUPPORT_LINK && m_showLink) {
            minWidths_[i] = CaptionWidth(::GetDlgItem(m_hWnd, id), m_linkText) + 2;
        }
    }
}

bool OrvaneDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) != IDM_ABOUTBOX) return false;  // moving, sizing, closing: as usual
    CAboutDlg about;
    about.DoModal(m_hWnd);
    return true;
}

bool OrvaneDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) return false;

    PaintScope paint(m_hWnd);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int x = CentredIconOrigin(client.right - client.left, SystemMetricForDpi(SM_CXICON, m_dpi));
    const int y = CentredIconOrigin(client.bottom - client.top, SystemMetricForDpi(SM_CYICON, m_dpi));
    ::DrawIcon(paint.dc(), x, y, m_hIcon.get());
    return true;
}

HCURSOR OrvaneDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon.get()); }

void OrvaneDlg::OnBnClickedOk() {
    if (save_ && save_() == SaveOutcome::Failed) {
        // The file may be half written: say so and stay, so the button can be pressed again.
        ::MessageBoxW(m_hWnd, saveFailedText_.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::EndDialog(m_hWnd, IDOK);
}

void OrvaneDlg::OnSupportLinkActivated() {
    LinkOpenOutcome outcome = LinkOpenOutcome::Failed;
    {
        WaitCursorScope wait;
        outcome = OpenLinkUnelevated(m_hWnd, m_linkUrl);
    }
    if (outcome == LinkOpenOutcome::Failed) {
        ::MessageBoxW(m_hWnd, LinkOpenFailedMessage(m_linkUrl).c_str(), ApplicationTitle().c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_STATE;
    item.iLink = 0;
    item.state = LIS_VISITED;
    item.stateMask = LIS_VISITED;
    ::SendDlgItemMessageW(m_hWnd, IDC_SUPPORT_LINK, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void OrvaneDlg::OnSize() {
    MeasureCaptions();  // again each time: a DPI change brings a new font
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    HWND advice = ::GetDlgItem(m_hWnd, IDC_ADVICE);
    std::function<int(int)> adviceHeight;
    m_adviceHeight = 0;
    if (advice && !m_strAdvice.empty()) {
        adviceHeight = [this, advice](int width) {
            return m_adviceHeight = WrappedTextHeight(advice, m_strAdvice, width);
        };
    }
    const auto at = LayOutResultDialog(m_baseUnits, minWidths_, client.right, client.bottom, adviceHeight);

    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(kResultDialogLayout.size()));
    for (size_t i = 0; i < kResultDialogLayout.size(); ++i) {
        HWND child = ::GetDlgItem(m_hWnd, kResultDialogLayout[i].id);
        if (!child) continue;
        const LayoutRect& r = at[i];
        if (positions) {
            positions = ::DeferWindowPos(positions, child, nullptr, r.left, r.top, r.right - r.left,
                                         r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!positions) {
            ::SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions) ::EndDeferWindowPos(positions);
    // The centred status text and the old button position would otherwise leave traces.
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void OrvaneDlg::OnGetMinMaxInfo(MINMAXINFO& info) {
    if (m_takingSuggestedRect) return;  // Windows' rectangle for the new DPI comes first
    // The template's size, or on a screen too small for it the least that still shows everything.
    const RECT design = FrameAround(ToPixels({0, 0, kResultDialogWidth, kResultDialogHeight}));
    RECT content = ToPixels({0, 0, kResultDialogMinWidth, kResultDialogMinHeight});
    for (size_t i = 0; i < kResultDialogLayout.size(); ++i) {
        const RECT d = ToPixels(kResultDialogLayout[i].design);
        content.right += std::max<LONG>(0, minWidths_[i] - (d.right - d.left));  // a caption wider than its template
    }
    // The advice is never cut: the report box above its least gives up the room.
    content.bottom = ResultDialogMinClientHeight(m_baseUnits, m_adviceHeight);
    content = FrameAround(content);
    RECT frame{};
    ::GetWindowRect(m_hWnd, &frame);
    const RECT work = WorkAreaAround(frame);
    const int margin = WorkAreaMargin();
    info.ptMinTrackSize.x = MinimumTrackExtent(design.right - design.left, content.right - content.left,
                                               work.right - work.left, margin);
    info.ptMinTrackSize.y = MinimumTrackExtent(design.bottom - design.top, content.bottom - content.top,
                                               work.bottom - work.top, margin);
}

void OrvaneDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    if (dpi == 0) return;
    const UINT previous = std::exchange(m_dpi, dpi);
    // The dialog manager made its font once, at the first DPI: the controls need one made for this one.
    DialogBaseUnits measured;
    UniqueFont font = m_templateFont ? DialogFontForDpi(*m_templateFont, m_templateFontDpi, dpi) : UniqueFont();
    if (font) {
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        measured = MeasureDialogBaseUnits(m_hWnd, font.get());
        m_font = std::move(font);  // the previous one is no longer shown by any control
    }
    if (measured.x > 0 && measured.y > 0) {
        m_baseUnits = measured;
    } else {  // no font to measure: near enough
        m_baseUnits = {::MulDiv(m_baseUnits.x, static_cast<int>(dpi), static_cast<int>(previous)),
                       ::MulDiv(m_baseUnits.y, static_cast<int>(dpi), static_cast<int>(previous))};
    }
    LoadIcons();

    const RECT fitted = ToRect(::FitIntoWorkArea(ToLayout(suggested), ToLayout(WorkAreaAround(suggested)),
                                                 WorkAreaMargin()));
    m_takingSuggestedRect = true;
    ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_takingSuggestedRect = false;
    OnSize();  // also when the rectangle kept its size
}
