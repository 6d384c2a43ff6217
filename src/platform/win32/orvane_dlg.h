#pragma once
// The result dialog (template 102): status line, report, support link and the
// close button that saves the report.

#include <windows.h>

#include <array>
#include <functional>
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

    void AddAboutItem();
    void LoadIcons();
    void ShowSupportLink();
    void MeasureCaptions();

    HWND m_hWnd = nullptr;
    UniqueIcon m_hIcon;       // the large icon: window icon, minimised drawing, drag icon
    UniqueIcon m_hSmallIcon;  // loaded at its own size so the title bar does not show a shrunk picture
    std::wstring m_strStatus;
    std::wstring m_strReport;
    std::wstring m_linkText;
    std::wstring m_linkUrl;
    bool m_showLink = false;
    std::array<int, std::tuple_size_v<decltype(kResultDialogLayout)>> minWidths_{};  // pixels each control needs for its caption, by kResultDialogLayout entry
    std::function<SaveOutcome()> save_;
    std::wstring saveFailedText_;
};
