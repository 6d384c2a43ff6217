#include "platform/win32/win32_graphics_probe_child.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <algorithm>
#include <optional>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_graphics_driver.h"
#include "platform/graphics_reading_message.h"

namespace {

constexpr std::wstring_view kProbeArgument = L"--orvane-graphics-probe";
// The exit code of a probe that a fault in the driver ended.
constexpr UINT kDriverFaulted = 0xC0DE;
// ... and of one whose parent was gone before it had ended.
constexpr UINT kParentGone = 0x60E;

LONG WINAPI EndOnUnhandledException(EXCEPTION_POINTERS*) {
    ::TerminateProcess(::GetCurrentProcess(), kDriverFaulted);
    return EXCEPTION_EXECUTE_HANDLER;
}

void EndOnAbort(int) { ::TerminateProcess(::GetCurrentProcess(), kDriverFaulted); }

// No crash dialog and no debugger for a driver that faults in here: this
// process just ends, and the pipe tells our parent.
void EndQuietlyOnFaults() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndOnUnhandledException);
    // abort() in the run-time library we share with a driver: no message box.
    _set_error_mode(_OUT_TO_STDERR);
    std::signal(SIGABRT, EndOnAbort);
}

// Ends this process as soon as the one it answers to is gone, however that
// ended, even while a driver holds our main thread. The job does that too;
// this is for a parent that got no job for us.
DWORD WINAPI EndWithParent(void* parent) {
    const UniqueHandle owned(static_cast<HANDLE>(parent));
    // As long as this process lives: nobody joins this thread, and it ends with the process.
    if (::WaitForSingleObject(owned.get(), INFINITE) == WAIT_OBJECT_0)
        ::TerminateProcess(::GetCurrentProcess(), kParentGone);
    return 0;
}

// A decimal handle value, and the rest of the text after it; nullopt for
// anything else.
std::optional<HANDLE> TakeHandle(std::wstring_view& rest) {
    const size_t digits = std::min(rest.find(L' '), rest.size());
    if (digits == 0 || digits > 19) return std::nullopt;
    unsigned long long value = 0;
    for (const wchar_t c : rest.substr(0, digits)) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned long long>(c - L'0');
    }
    if (value == 0) return std::nullopt;
    rest.remove_prefix(digits);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

bool WriteWhole(HANDLE pipe, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - sent, 1u << 16));
        if (!::WriteFile(pipe, bytes.data() + sent, chunk, &written, nullptr) || written == 0) return false;
        sent += written;
    }
    return true;
}

}  // namespace

std::wstring GraphicsProbeCommandLine(const std::wstring& exePath, const GraphicsProbeHandles& handles) {
    const auto number = [](HANDLE handle) {
        return std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    };
    return L"\"" + exePath + L"\" " + std::wstring(kProbeArgument) + L" " + number(handles.pipe) + L" " +
           number(handles.parent);
}

std::optional<GraphicsProbeHandles> GraphicsProbeHandlesOf(const wchar_t* commandLine) {
    if (!commandLine) return std::nullopt;
    std::wstring_view rest(commandLine);
    // The program's own name, quoted or not, as the system cuts it.
    if (!rest.empty() && rest[0] == L'"') {
        const size_t close = rest.find(L'"', 1);
        rest.remove_prefix(close == std::wstring_view::npos ? rest.size() : close + 1);
    } else {
        rest.remove_prefix(std::min(rest.find_first_of(L" \t"), rest.size()));
    }
    while (!rest.empty() && (rest[0] == L' ' || rest[0] == L'\t')) rest.remove_prefix(1);

    if (rest.substr(0, kProbeArgument.size()) != kProbeArgument) return std::nullopt;
    rest.remove_prefix(kProbeArgument.size());
    if (rest.empty() || rest[0] != L' ') return std::nullopt;
    rest.remove_prefix(1);
    const std::optional<HANDLE> pipe = TakeHandle(rest);
    if (!pipe || rest.empty() || rest[0] != L' ') return std::nullopt;
    rest.remove_prefix(1);
    const std::optional<HANDLE> parent = TakeHandle(rest);
    if (!parent || !rest.empty()) return std::nullopt;
    return GraphicsProbeHandles{*pipe, *parent};
}

std::optional<int> RunAsGraphicsProbeIfAsked() {
    const std::optional<GraphicsProbeHandles> handles = GraphicsProbeHandlesOf(::GetCommandLineW());
    if (!handles) return std::nullopt;
    EndQuietlyOnFaults();
    // Before any driver code runs: the thread's start takes the loader's lock,
    // which a hung driver may hold.
    UniqueHandle parent(handles->parent);
    const UniqueHandle watch(::CreateThread(nullptr, 0, EndWithParent, parent.get(), 0, nullptr));
    if (watch) parent.release();  // the thread's now

    UniqueFile answer(handles->pipe);
    // Sent as soon as the strings are in; putting the context away again is
    // no longer anybody's wait.
    ReadDriverStringsHere([&answer](const GraphicsReading& reading) {
        WriteWhole(answer.get(), EncodeGraphicsReading(reading));
        answer.reset();
    });
    return 0;
}
