#pragma once
// A window's DPI and the sizes that go with it. The per-monitor functions came
// with Windows 10 (1607, 1703); they are looked up at run time so that an
// older Windows still starts us, and the system DPI stands in for them there.

#include <windows.h>

constexpr UINT kDefaultDpi = 96;

// The DPI the window is shown at.
UINT WindowDpi(HWND window);

// GetSystemMetrics as it would answer at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);

// The frame around a client rectangle at `dpi`.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// Leaves fonts and control positions to the dialog's own WM_DPICHANGED handling.
void KeepDialogFromRescalingItself(HWND dialog);
