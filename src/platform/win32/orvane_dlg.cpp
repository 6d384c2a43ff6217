#include "platform/win32/orvane_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "resource.h"
#include "platform/win32/about_dlg.h"
#include "platform/win32/win32_module_path.h"
#include "ui/dialog_geometry.h"
#include "ui/link_markup.h"
#include "ui/result_dialog_layout.h"

namespace {

RECT ToPixels(HWND dialog, const LayoutRect& units) {
    RECT r{units.left, units.top, units.right, units.bottom};
    ::MapDialogRect(dialog, &r);
    return r;
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

int CaptionWidth(HWND control, const std::wstring& text) {
    UniqueWindowDc dc(control, ::GetDC(control));
    if (!dc) return 0;
    SelectedFont font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    if (!::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent)) return 0;
    return extent.cx;
}

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
    }
    return FALSE;
}

BOOL OrvaneDlg::OnInitDialog() {
    AddAboutItem();
    LoadIcons();
    ShowSupportLink();

    // The report can be far longer than an edit box takes by default.
    ::SendDlgItemMessageW(m_hWnd, IDC_REPORT, EM_SETLIMITTEXT, 0, 0);
    ::SetDlgItemTextW(m_hWnd, IDC_REPORT, m_strReport.c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_STATUS, m_strStatus.c_str());

    OnSize();
    return TRUE;  // focus goes to the close button, the first tab stop
}

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
    m_hIcon.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXICON),
                                                  ::GetSystemMetrics(SM_CYICON), 0)));
    m_hSmallIcon.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                       ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.get()));
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

void OrvaneDlg::MeasureCaptions() {
    RECT padding{0, 0, 8, 0};  // a button's caption needs room for its frame and focus rectangle
    ::MapDialogRect(m_hWnd, &padding);
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
    const int x = CentredIconOrigin(client.right - client.left, ::GetSystemMetrics(SM_CXICON));
    const int y = CentredIconOrigin(client.bottom - client.top, ::GetSystemMetrics(SM_CYICON));
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
    {
        WaitCursorScope wait;
        ::ShellExecuteW(m_hWnd, nullptr, m_linkUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
    RECT design{0, 0, kResultDialogWidth, kResultDialogHeight};
    ::MapDialogRect(m_hWnd, &design);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);

    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(kResultDialogLayout.size()));
    for (size_t i = 0; i < kResultDialogLayout.size(); ++i) {
        const ControlLayout& control = kResultDialogLayout[i];
        HWND child = ::GetDlgItem(m_hWnd, control.id);
        if (!child) continue;
        const RECT d = ToPixels(m_hWnd, control.design);
        const LayoutRect fitted = WidenToFit({d.left, d.top, d.right, d.bottom}, control.anchors, minWidths_[i]);
        const LayoutRect r = FollowClientArea(fitted, control.anchors, design.right, design.bottom, client.right,
                                              client.bottom);
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
    RECT frame{0, 0, kResultDialogWidth, kResultDialogHeight};
    ::MapDialogRect(m_hWnd, &frame);
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    info.ptMinTrackSize.x = frame.right - frame.left;
    info.ptMinTrackSize.y = frame.bottom - frame.top;
}
