#include "shell/orvane/win32_shell_link.h"

#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_on_demand_dll.h"

namespace {

enum class DesktopShellOutcome { Opened, Failed, NoDesktopShell };

// The desktop's browser window object, or nothing where no desktop shell runs.
ComPtr<IDispatch> DesktopWindowObject() {
    ComPtr<IShellWindows> shellWindows;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                  shellWindows.put_void()))) {
        return {};
    }
    UniqueVariant location;  // empty: the desktop has no location
    UniqueVariant root;
    long window = 0;
    ComPtr<IDispatch> desktop;
    if (shellWindows->FindWindowSW(location.put(), root.put(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                   desktop.put()) != S_OK) {
        return {};
    }
    return desktop;
}

// The Shell.Application object living in the desktop's process, reached
// through the view of the desktop folder.
ComPtr<IShellDispatch2> DesktopShellDispatch(const ComPtr<IDispatch>& desktop) {
    ComPtr<IServiceProvider> services;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.put_void()))) return {};
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void()))) return {};
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.put())) || !view) return {};
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void()))) return {};
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put_void()))) return {};
    ComPtr<IDispatch> application;
    if (FAILED(folderView->get_Application(application.put())) || !application) return {};
    ComPtr<IShellDispatch2> shell;
    if (FAILED(application->QueryInterface(IID_IShellDispatch2, shell.put_void()))) return {};
    return shell;
}

// True when our token is elevated; an unreadable token counts as elevated,
// so that a browser is never started with rights we cannot rule out.
bool IsProcessElevated() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return true;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return true;
    return elevation.TokenIsElevated != 0;
}

DesktopShellOutcome OpenThroughDesktopShell(const std::wstring& url) {
    const ComPtr<IDispatch> desktop = DesktopWindowObject();
    if (!desktop) return DesktopShellOutcome::NoDesktopShell;
    const ComPtr<IShellDispatch2> shell = DesktopShellDispatch(desktop);
    if (!shell) return DesktopShellOutcome::Failed;

    UniqueBstr file(::SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
    if (!file) return DesktopShellOutcome::Failed;
    UniqueVariant noArguments;
    UniqueVariant noDirectory;
    UniqueVariant defaultVerb;
    UniqueVariant show;
    VARIANT* showValue = show.put();
    showValue->vt = VT_I4;
    showValue->lVal = SW_SHOWNORMAL;
    // S_FALSE: the shell could not open it.
    const HRESULT hr = shell->ShellExecute(file.get(), *noArguments.put(), *noDirectory.put(), *defaultVerb.put(),
                                           show.get());
    return hr == S_OK ? DesktopShellOutcome::Opened : DesktopShellOutcome::Failed;
}

}  // namespace

LinkOpenOutcome OpenLinkUnelevated(HWND owner, const std::wstring& url) {
    switch (OpenThroughDesktopShell(url)) {
        case DesktopShellOutcome::Opened:
            return LinkOpenOutcome::Opened;
        case DesktopShellOutcome::Failed:
            // Our own token is as good as the desktop's when it is not elevated.
            if (IsProcessElevated()) return LinkOpenOutcome::Failed;
            break;
        case DesktopShellOutcome::NoDesktopShell:
            break;
    }
    // No desktop to ask: the browser gets our token, as any program started here would.
    auto* shellExecute = OnDemand<decltype(::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute) return LinkOpenOutcome::Failed;
    const auto result = reinterpret_cast<INT_PTR>(shellExecute(owner, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? LinkOpenOutcome::Opened : LinkOpenOutcome::Failed;
}
