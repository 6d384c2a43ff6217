#include "shell/orvane/about_dlg.h"

#include "resource.h"

void CAboutDlg::DoModal(HWND owner) {
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, &CAboutDlg::DialogProc,
                      reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(hwnd, LOWORD(wParam));
                return TRUE;
            }
            break;
    }
    return FALSE;
}
