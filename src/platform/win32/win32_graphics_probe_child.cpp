#include "platform/win32/win32_graphics_probe_child.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <algorithm>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_graphics_driver.h"
#include "platform/graphics_reading_message.h"

namespace {

constexpr std::wstring_view kProbeArgument = L"--orvane-graphics-probe";
// The exit code of a probe that a fault in the driver ended.
constexpr UINT kDriverFaulted = 0xC0DE;

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

std::wstring GraphicsProbeCommandLine(const std::wstring& exePath, HANDLE pipe) {
    const auto value = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pipe));
    return L"\"" + exePath + L"\" " + std::wstring(kProbeArgument) + L" " + std::to_wstring(value);
}

std::optional<HANDLE> GraphicsProbePipeOf(const wchar_t* commandLine) {
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
    if (rest.empty() || rest.size() > 19) return std::nullopt;

    unsigned long long value = 0;
    for (const wchar_t c : rest) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned long long>(c - L'0');
    }
    if (value == 0) return std::nullopt;
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

std::optional<int> RunAsGraphicsProbeIfAsked() {
    const std::optional<HANDLE> pipe = GraphicsProbePipeOf(::GetCommandLineW());
    if (!pipe) return std::nullopt;
    EndQuietlyOnFaults();

    UniqueFile answer(*pipe);
    // Sent as soon as the strings are in; putting the context away again is
    // no longer anybody's wait.
    ReadDriverStringsHere([&answer](const GraphicsReading& reading) {
        WriteWhole(answer.get(), EncodeGraphicsReading(reading));
        answer.reset();
    });
    return 0;
}
