#pragma once
// The About box (template 100).

#include <windows.h>

class CAboutDlg {
public:
    // Runs the box modally over owner; the result is of no interest.
    void DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
