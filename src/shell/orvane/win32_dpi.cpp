#include "shell/orvane/win32_dpi.h"

#include "platform/win32/unique_resource.h"

namespace {

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

UINT SystemDpi() {
    UniqueWindowDc screen(nullptr, ::GetDC(nullptr));
    if (!screen) return kDefaultDpi;
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi) return getSystemMetricsForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi) return adjustForDpi(&rect, style, FALSE, exStyle, dpi) != FALSE;
    return ::AdjustWindowRectEx(&rect, style, FALSE, exStyle) != FALSE;
}

void KeepDialogFromRescalingItself(HWND dialog) {
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 0x0001;  // DDC_DISABLE_ALL
    if (setBehavior) setBehavior(dialog, kDisableAll, kDisableAll);
}
