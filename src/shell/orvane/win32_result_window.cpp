#include "shell/orvane/win32_result_window.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "shell/orvane/orvane_dlg.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_on_demand_dll.h"

void Win32ResultWindow::Run(const ResultView& view, const std::function<SaveOutcome()>& save,
                            const std::wstring& saveFailedText) {
    // The support link is a SysLink control of common controls 6 (the manifest asks for them).
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
    if (auto* init = OnDemand<decltype(::InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")) init(&controls);

    // The shell opens the support link, and shell extensions expect a single-threaded apartment.
    ComApartmentScope apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    OrvaneDlg dialog(view, save, saveFailedText);
    dialog.DoModal();
}
