// Orvane.exe without a system DLL it calls (an old or damaged Windows): the
// product's own start-up message with the DLL's name, then the end; never a
// crash box.

#include <windows.h>

#include <string>

#include "platform/win32/win32_graphics_probe_child.h"
#include "platform/win32/win32_module_path.h"
#include "platform/win32/win32_system_dll.h"

namespace {

constexpr UINT kProbeCouldNotGoOn = 70;  // orvane-check's own code for it

}  // namespace

void EndForMissingSystemDll(const char* dll, const char*) {
    // The graphics probe's process says nothing: the program that started it speaks.
    if (GraphicsProbeHandlesOf(::GetCommandLineW())) ::TerminateProcess(::GetCurrentProcess(), kProbeCouldNotGoOn);
    // user32 itself may be what is missing: the box is taken the same way,
    // not through an import slot, and without it the program ends silently.
    using MessageBoxWFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
    const HMODULE user32 = LoadSystemDll("user32.dll");
    const auto messageBox = user32 ? reinterpret_cast<MessageBoxWFn>(reinterpret_cast<void*>(
                                         ::GetProcAddress(user32, "MessageBoxW")))
                                   : nullptr;
    if (messageBox) {
        std::wstring text = L"起動できません。\n";
        for (const char* c = dll; *c; ++c) text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        messageBox(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    // Other threads of ours may be anywhere, even in the loader: end around them.
    ::TerminateProcess(::GetCurrentProcess(), 0);
}
