#pragma once
// The result dialog (template 102): status line, report, support link and the
// close button that saves the report.

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/result_window.h"
#include "platform/win32/unique_resource.h"
#include "ui/result_dialog_layout.h"

class OrvaneDlg {
public:
    OrvaneDlg(const ResultView& view, std::function<SaveOutcome()> save, std::wstring saveFailedText);

    // Runs the dialog modally without an owner; IDOK after the close button, IDCANCEL otherwise.
    INT_PTR DoModal();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    bool OnSysCommand(UINT nID, LPARAM lParam);
    bool OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBnClickedOk();
    void OnSupportLinkActivated();
    void OnSize();
    void OnGetMinMaxInfo(MINMAXINFO& info);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void AddAboutItem();
    void LoadIcons();
    void ShowSupportLink();
    void ShowAdvice();
    void MeasureCaptions();
    void FitFrameIntoWorkArea();
    void ShowFocusCues();
    RECT ToPixels(const LayoutRect& units) const;
    RECT FrameAround(const RECT& client) const;
    int WorkAreaMargin() const;

    HWND m_hWnd = nullptr;
    UINT m_dpi = 96;                   // the window's DPI: the system's at first, then each WM_DPICHANGED's
    DialogBaseUnits m_baseUnits;       // of the font the controls show, at m_dpi
    std::optional<LOGFONTW> m_templateFont;  // the dialog manager's font, made at m_templateFontDpi
    UINT m_templateFontDpi = 96;
    UniqueFont m_font;                 // the controls' font after a DPI change
    bool m_takingSuggestedRect = false;  // while WM_DPICHANGED moves the frame
    UniqueIcon m_hIcon;       // the large icon: window icon, minimised drawing, drag icon
    UniqueIcon m_hSmallIcon;  // loaded at its own size so the title bar does not show a shrunk picture
    std::wstring m_strStatus;
    std::wstring m_strReport;
    std::wstring m_strAdvice;
    int m_adviceHeight = 0;  // pixels the advice's text took at the last layout
    std::wstring m_linkText;
    std::wstring m_linkUrl;
    bool m_showLink = false;
    std::array<int, kResultDialogControls> minWidths_{};  // pixels each control needs for its caption, by kResultDialogLayout entry
    std::function<SaveOutcome()> save_;
    std::wstring saveFailedText_;
};
