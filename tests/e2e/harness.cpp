#include "e2e/harness.h"

#include <shellapi.h>
#include <tlhelp32.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <thread>
#include <utility>

namespace e2e {
namespace {

constexpr milliseconds kPollInterval{50};
// Not in every SDK's headers.
constexpr DWORD kErrorElevationRequired = 740;

class Deadline {
public:
    explicit Deadline(milliseconds timeout) : end_(std::chrono::steady_clock::now() + timeout) {}
    bool Passed() const { return std::chrono::steady_clock::now() >= end_; }

private:
    std::chrono::steady_clock::time_point end_;
};

void Pause() { std::this_thread::sleep_for(kPollInterval); }

std::wstring EnvironmentValue(const wchar_t* name) {
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return L"";
    std::wstring value(size, L'\0');
    size = ::GetEnvironmentVariableW(name, value.data(), size);
    value.resize(size);
    return value;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L"";
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return L"no-test";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    // Parameterised names carry '/', which would make subfolders.
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    return FromUtf8(name);
}

}  // namespace

// ---------------------------------------------------------------------------

std::wstring WindowsPathFromHost(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    std::wstring result = L"Z:" + path;
    for (wchar_t& c : result) {
        if (c == L'/') c = L'\\';
    }
    return result;
}

std::wstring BuiltProgramPath(BuiltProgram program) {
    const wchar_t* variable = L"ORVANE_EXE";
    const wchar_t* fileName = L"Orvane.exe";
    switch (program) {
        case BuiltProgram::Orvane:
            break;
        case BuiltProgram::OrvaneNoTables:
            variable = L"ORVANE_NO_TABLES_EXE";
            fileName = L"Orvane_no_tables.exe";
            break;
        case BuiltProgram::TestProduct:
            variable = L"ORVANE_TEST_PRODUCT_EXE";
            fileName = L"TestProduct.exe";
            break;
        case BuiltProgram::OrvaneCheck:
            variable = L"ORVANE_CHECK_EXE";
            fileName = L"orvane-check.exe";
            break;
        case BuiltProgram::StandInOpenGl:
            variable = L"ORVANE_STAND_IN_OPENGL32";
            fileName = L"stand-in-gl\\opengl32.dll";
            break;
    }
    std::wstring fromEnvironment = EnvironmentValue(variable);
    if (!fromEnvironment.empty()) return WindowsPathFromHost(fromEnvironment);
    return FolderOf(ModulePath(nullptr)) + fileName;
}

std::wstring FullDesktopFolder() { return WindowsPathFromHost(EnvironmentValue(L"ORVANE_FULL_DESKTOP")); }

// ---------------------------------------------------------------------------

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string ToCp932(const std::wstring& text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, got);
    }
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DeleteFileIfPresent(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
           ::GetLastError() == ERROR_PATH_NOT_FOUND;
}

bool CreateFolders(const std::wstring& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path), error);
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

bool RemoveFolderTree(const std::wstring& path) {
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(path), error);
    return !error;
}

std::wstring WithTrailingBackslash(std::wstring folder) {
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) folder += L'\\';
    return folder;
}

// ---------------------------------------------------------------------------

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = {};  // the shell call's own fixed size
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return L"";
    return WithTrailingBackslash(path);
}

std::wstring TempFolder() {
    DWORD size = ::GetTempPathW(0, nullptr);
    if (size == 0) return L"";
    std::wstring path(size, L'\0');
    size = ::GetTempPathW(size, path.data());
    path.resize(size);
    return WithTrailingBackslash(path);
}

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) return L"";
    return std::wstring(name, size);
}

// ---------------------------------------------------------------------------

ScratchFolder::ScratchFolder(Root root)
    : ScratchFolder((root == Root::DriveC ? std::wstring(L"C:\\orvane-e2e\\")
                                          : std::wstring(L"C:\\Program Files\\Orvane e2e\\")) +
                    CurrentTestName()) {}

ScratchFolder::ScratchFolder(const std::wstring& folder) : path_(WithTrailingBackslash(folder)) {
    ok_ = RemoveFolderTree(path_) && CreateFolders(path_);
}

bool ScratchFolder::AddProgram(BuiltProgram program, const std::wstring& name) {
    std::wstring source = BuiltProgramPath(program);
    std::wstring target = PathOf(name.empty() ? FileNameOf(source) : name);
    return ::CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
}

bool ScratchFolder::AddFile(const std::wstring& name, const std::string& bytes) const {
    std::wstring path = PathOf(name);
    std::wstring folder = FolderOf(path);
    if (!folder.empty() && !CreateFolders(folder)) return false;
    return WriteFileBytes(path, bytes);
}

std::optional<std::string> ScratchFolder::ReadFile(const std::wstring& name) const {
    return ReadFileBytes(PathOf(name));
}

bool ScratchFolder::Has(const std::wstring& name) const { return FileExists(PathOf(name)); }

// ---------------------------------------------------------------------------

std::wstring WindowClass(HWND window) {
    // Class names are at most 256 characters by definition.
    wchar_t name[257] = {};
    int n = ::GetClassNameW(window, name, 257);
    return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring WindowCaption(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int n = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring ControlText(HWND dialog, int controlId) {
    HWND control = ::GetDlgItem(dialog, controlId);
    if (!control) return L"";
    // The length can grow between the two calls; read until it fits.
    size_t capacity = static_cast<size_t>(std::max(::GetWindowTextLengthW(control), 0)) + 2;
    for (;;) {
        std::wstring text(capacity, L'\0');
        UINT n = ::GetDlgItemTextW(dialog, controlId, text.data(), static_cast<int>(capacity));
        if (n + 1 < capacity) {
            text.resize(n);
            return text;
        }
        capacity *= 2;
    }
}

bool HasControl(HWND dialog, int controlId) { return ::GetDlgItem(dialog, controlId) != nullptr; }

bool IsControlVisible(HWND dialog, int controlId) {
    HWND control = ::GetDlgItem(dialog, controlId);
    return control && (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

namespace {
struct WindowSearch {
    DWORD processId;
    std::vector<WindowInfo> found;
    bool otherDesktop = false;
};

// IsWindowVisible looks at the caller's own desktop: on another one, the style tells.
bool IsShown(HWND window, bool otherDesktop) {
    if (otherDesktop) return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    return ::IsWindowVisible(window) != FALSE;
}

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsShown(window, search->otherDesktop)) {
        search->found.push_back({window, WindowClass(window), WindowCaption(window)});
    }
    return TRUE;
}
}  // namespace

std::vector<WindowInfo> VisibleWindowsOf(DWORD processId, const std::wstring& desktop) {
    WindowSearch search{processId, {}};
    if (desktop.empty()) {
        ::EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HDESK handle = ::OpenDesktopW(desktop.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
    if (!handle) return {};
    search.otherDesktop = true;
    ::EnumDesktopWindows(handle, CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    ::CloseDesktop(handle);
    return search.found;
}

std::wstring MessageBoxText(HWND messageBox) { return ControlText(messageBox, kMessageBoxTextId); }

bool IsMessageBox(HWND window) {
    // Dialog statics without an id also answer to 0xFFFF, hence the second test.
    return WindowClass(window) == L"#32770" && HasControl(window, kMessageBoxTextId) && !HasControl(window, 1001);
}

bool ClickButton(HWND dialog, int controlId) {
    HWND button = ::GetDlgItem(dialog, controlId);
    if (!button) return false;
    return ::PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool PostCommand(HWND dialog, int commandId) {
    HWND control = ::GetDlgItem(dialog, commandId);
    return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED), reinterpret_cast<LPARAM>(control)) !=
           0;
}

bool PostSysCommand(HWND window, WPARAM command) { return ::PostMessageW(window, WM_SYSCOMMAND, command, 0) != 0; }

bool WaitForWindowGone(HWND window, milliseconds timeout) {
    return WaitUntil([&] { return !::IsWindow(window); }, timeout);
}

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
    Deadline deadline(timeout);
    for (;;) {
        if (condition()) return true;
        if (deadline.Passed()) return false;
        Pause();
    }
}

// ---------------------------------------------------------------------------

OrvaneProcess::~OrvaneProcess() {
    if (process_ && !IsRunning()) CheckEnding();
    Terminate();
}

OrvaneProcess& OrvaneProcess::operator=(OrvaneProcess&& other) noexcept {
    if (this != &other) {
        if (process_ && !IsRunning()) CheckEnding();
        Terminate();
        endingChecked_ = std::exchange(other.endingChecked_, false);
        process_ = std::move(other.process_);
        processId_ = std::exchange(other.processId_, 0);
        environment_ = std::move(other.environment_);
    }
    return *this;
}

void OrvaneProcess::OverrideEnvironment(const std::wstring& name, const std::wstring& value) {
    environment_.emplace_back(name, value);
}

namespace {
bool SameName(const std::wstring& entry, const std::wstring& name) {
    return entry.size() > name.size() && entry[name.size()] == L'=' &&
           ::CompareStringOrdinal(entry.c_str(), static_cast<int>(name.size()), name.c_str(),
                                  static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

// The test's own environment with the overrides applied, as a block for CreateProcessW.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::wstring, std::wstring>>& overrides) {
    std::vector<std::wstring> entries;
    if (wchar_t* current = ::GetEnvironmentStringsW()) {
        for (const wchar_t* p = current; *p; p += std::wcslen(p) + 1) entries.emplace_back(p);
        ::FreeEnvironmentStringsW(current);
    }
    for (const auto& [name, value] : overrides) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::wstring& e) { return SameName(e, name); }),
                      entries.end());
        entries.push_back(name + L"=" + value);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}
}  // namespace

bool OrvaneProcess::Start(const std::wstring& exePath, const std::wstring& currentDirectory) {
    if (process_ && !IsRunning()) CheckEnding();
    Terminate();
    endingChecked_ = false;
    std::wstring directory = currentDirectory.empty() ? FolderOf(exePath) : currentDirectory;
    std::wstring commandLine = L"\"" + exePath + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring desktop = desktop_;
    if (!desktop.empty()) startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION info{};
    std::wstring environment = environment_.empty() ? std::wstring() : EnvironmentBlock(environment_);
    if (::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                         environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : environment.data(),
                         directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        UniqueHandle thread(info.hThread);
        process_.reset(info.hProcess);
        processId_ = info.dwProcessId;
        return true;
    }
    if (::GetLastError() != kErrorElevationRequired) return false;

    // The manifest asks for administrator rights; the shell knows how to grant them.
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = exePath.c_str();
    execute.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&execute) || !execute.hProcess) return false;
    process_.reset(execute.hProcess);
    processId_ = ::GetProcessId(execute.hProcess);
    return true;
}

bool OrvaneProcess::SendDpiChanged(HWND window, UINT dpi, const RECT& suggested) const {
    // lParam points into the receiver's memory: put the rectangle there.
    void* remote = ::VirtualAllocEx(process_.get(), nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE);
    if (!remote) return false;
    bool sent = ::WriteProcessMemory(process_.get(), remote, &suggested, sizeof suggested, nullptr) &&
                ::SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote),
                                      SMTO_BLOCK, 10000, nullptr);
    ::VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
    return sent;
}

bool OrvaneProcess::IsRunning() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<WindowInfo> OrvaneProcess::WaitForWindow(const WindowQuery& query, milliseconds timeout) const {
    if (!process_) return std::nullopt;
    Deadline deadline(timeout);
    for (;;) {
        for (const WindowInfo& window : VisibleWindows()) {
            if (window.handle == query.except) continue;
            if (!query.className.empty() && window.className != query.className) continue;
            if (query.caption && window.caption != *query.caption) continue;
            return window;
        }
        if (!IsRunning() || deadline.Passed()) return std::nullopt;
        Pause();
    }
}

std::optional<OrvaneProcess::MessageBoxView> OrvaneProcess::WaitForMessageBox(milliseconds timeout,
                                                                              HWND except) const {
    Deadline deadline(timeout);
    for (;;) {
        std::optional<WindowInfo> window = WaitForWindow({L"#32770", std::nullopt, except}, kPollInterval);
        if (window && IsMessageBox(window->handle)) {
            return MessageBoxView{window->handle, window->caption, MessageBoxText(window->handle)};
        }
        if (!IsRunning() || deadline.Passed()) return std::nullopt;
        Pause();
    }
}

bool OrvaneProcess::DismissMessageBox(const MessageBoxView& box) const {
    // A box with only an OK button has that button as IDOK; IDCANCEL is its Esc key.
    if (!ClickButton(box.handle, IDOK) && !PostCommand(box.handle, IDCANCEL)) return false;
    return WaitForWindowGone(box.handle);
}

std::optional<WindowInfo> OrvaneProcess::WindowBeforeExit(milliseconds timeout) const {
    if (!process_) return std::nullopt;
    Deadline deadline(timeout);
    for (;;) {
        std::vector<WindowInfo> windows = VisibleWindows();
        if (!windows.empty()) return windows.front();
        if (!IsRunning()) {
            CheckEnding();
            return std::nullopt;
        }
        if (deadline.Passed()) return std::nullopt;
        Pause();
    }
}

bool OrvaneProcess::WaitForExit(milliseconds timeout) const {
    if (!process_) return true;
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    return CheckEnding();
}

bool OrvaneProcess::CheckEnding() const {
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.get(), &code)) code = STILL_ACTIVE;
    if (code == 0) return true;
    if (!endingChecked_) ADD_FAILURE() << "Orvane ended with " << DescribeExit(code) << ", not exit code 0";
    endingChecked_ = true;
    return false;
}

void OrvaneProcess::Terminate() {
    if (!process_) return;
    if (IsRunning()) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 10000);
    }
    process_.reset();
}

std::string DescribeExit(DWORD exitCode) {
    char text[48];
    // Exception statuses have the top bit set: 0xC0000005 for an access violation, 0x80000003 a breakpoint.
    if (exitCode & 0x80000000u)
        std::snprintf(text, sizeof text, "a crash (status 0x%08lX)", static_cast<unsigned long>(exitCode));
    else
        std::snprintf(text, sizeof text, "exit code %lu", static_cast<unsigned long>(exitCode));
    return text;
}

std::optional<ConsoleRun> RunConsoleProgram(const std::wstring& exePath, const std::wstring& arguments, DWORD exitCode,
                                            ConsoleOutput output) {
    // Files of their own per run: a finished child may still hold the last ones for a moment.
    static int runs = 0;
    const std::wstring folder = FolderOf(exePath);
    const std::wstring number = std::to_wstring(++runs);
    const std::wstring outPath = folder + L"stdout-" + number + L".bin";
    const std::wstring errPath = folder + L"stderr-" + number + L".bin";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    auto create = [&](const std::wstring& path) {
        return UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    UniqueFile out;
    if (output == ConsoleOutput::File) {
        out = create(outPath);
    } else {
        UniqueHandle reader;
        ::CreatePipe(reader.put(), out.put(), &inherit, 0);
    }
    UniqueFile err = create(errPath);
    UniqueFile in(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                nullptr));
    if (!out || !err) return std::nullopt;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    startup.hStdInput = in ? in.get() : nullptr;
    std::wstring commandLine = L"\"" + exePath + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &info))
        return std::nullopt;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), static_cast<DWORD>(kExitTimeout.count())) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 5000);
        return std::nullopt;
    }
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, exitCode) << ToUtf8(FileNameOf(exePath) + L" " + arguments) << " ended with " << DescribeExit(code);
    ConsoleRun run;
    out.reset();
    err.reset();
    run.standardOutput = ReadFileBytes(outPath).value_or(std::string());
    run.standardError = ReadFileBytes(errPath).value_or(std::string());
    return run;
}

std::optional<DWORD> RunInLocale(const std::wstring& locale, const std::wstring& exePath, const std::wstring& arguments) {
    // Wine starts a Unix program when asked for one: /bin/sh starts Wine again
    // with that locale, and notes the exit code in a file, as no handle is given.
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    const std::wstring exitFile = exePath + L".exit";
    DeleteFileIfPresent(exitFile);
    char* unixExitFile = unixFileName ? unixFileName(exitFile.c_str()) : nullptr;
    if (!unixExitFile) return std::nullopt;
    std::wstring command = L"sh -c \"LC_ALL=" + locale + L" \\\"${WINELOADER:-wine}\\\" \\\"$@\\\"; echo $? > \\\"$0\\\"\" \"" +
                           FromUtf8(unixExitFile) + L"\" \"" + exePath + L"\" " + arguments;
    ::HeapFree(::GetProcessHeap(), 0, unixExitFile);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    std::optional<std::string> code;
    const bool ended = WaitUntil([&] { return (code = ReadFileBytes(exitFile)) && !code->empty() && code->back() == '\n'; },
                                 kExitTimeout);
    if (!ended) return std::nullopt;
    return static_cast<DWORD>(std::stoul(*code));
}

bool StartIn(OrvaneProcess& process, const ScratchFolder& folder, const std::wstring& exeName,
             const std::wstring& currentDirectory) {
    return process.Start(folder.PathOf(exeName), currentDirectory.empty() ? folder.Path() : currentDirectory);
}

// ---------------------------------------------------------------------------

namespace {

UniqueHkey OpenKeyForWriting(const std::wstring& keyPath, REGSAM view, HKEY root = HKEY_LOCAL_MACHINE) {
    UniqueHkey key;
    ::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, key.put(), nullptr);
    return key;
}

bool ReadOldValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    for (;;) {
        data.resize(size);
        LONG status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (status != ERROR_MORE_DATA) return false;
    }
}

}  // namespace

RegistryValueGuard::RegistryValueGuard(const std::wstring& keyPath, const std::wstring& valueName,
                                       const std::wstring& value, REGSAM view)
    : keyPath_(keyPath), valueName_(valueName), view_(view) {
    Set(REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

RegistryValueGuard::RegistryValueGuard(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                                       const std::wstring& value)
    : root_(root), keyPath_(keyPath), valueName_(valueName) {
    Set(REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

RegistryValueGuard::RegistryValueGuard(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                                       DWORD value)
    : root_(root), keyPath_(keyPath), valueName_(valueName) {
    Set(REG_DWORD, &value, sizeof value);
}

void RegistryValueGuard::Set(DWORD type, const void* data, DWORD size) {
    UniqueHkey key = OpenKeyForWriting(keyPath_, view_, root_);
    if (!key) return;
    hadValue_ = ReadOldValue(key.get(), valueName_, oldType_, oldData_);
    active_ = true;
    ok_ = ::RegSetValueExW(key.get(), valueName_.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
          ERROR_SUCCESS;
}

RegistryValueGuard RegistryValueGuard::Removed(const std::wstring& keyPath, const std::wstring& valueName,
                                               REGSAM view) {
    RegistryValueGuard guard;
    guard.keyPath_ = keyPath;
    guard.valueName_ = valueName;
    guard.view_ = view;
    UniqueHkey key = OpenKeyForWriting(keyPath, view);
    if (!key) return guard;
    guard.hadValue_ = ReadOldValue(key.get(), valueName, guard.oldType_, guard.oldData_);
    guard.active_ = true;
    LONG status = ::RegDeleteValueW(key.get(), valueName.c_str());
    guard.ok_ = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    return guard;
}

RegistryValueGuard::RegistryValueGuard(RegistryValueGuard&& other) noexcept
    : root_(other.root_),
      keyPath_(std::move(other.keyPath_)),
      valueName_(std::move(other.valueName_)),
      view_(other.view_),
      oldType_(other.oldType_),
      oldData_(std::move(other.oldData_)),
      hadValue_(other.hadValue_),
      ok_(other.ok_),
      active_(std::exchange(other.active_, false)) {}

RegistryValueGuard::~RegistryValueGuard() { Restore(); }

void RegistryValueGuard::Restore() {
    if (!active_) return;
    active_ = false;
    UniqueHkey key = OpenKeyForWriting(keyPath_, view_, root_);
    if (!key) return;
    if (hadValue_) {
        ::RegSetValueExW(key.get(), valueName_.c_str(), 0, oldType_, oldData_.empty() ? nullptr : oldData_.data(),
                         static_cast<DWORD>(oldData_.size()));
    } else {
        ::RegDeleteValueW(key.get(), valueName_.c_str());
    }
}

// ---------------------------------------------------------------------------

bool InStandardPrefix() { return EnvironmentValue(L"ORVANE_TEST_PREFIX_STANDARD") == L"1"; }

namespace {
std::wstring DecodeWmicOutput(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return text;
    }
    return FromUtf8(bytes);
}
}  // namespace

// Trailing blanks of wmic's columns are removed.
std::vector<std::wstring> WmiValues(const std::wstring& wmiClass, const std::wstring& property) {
    // A file of its own per call: a finished wmic may still hold the previous one for a moment.
    static int calls = 0;
    const std::wstring outPath = TempFolder() + L"orvane-e2e-wmic-" + std::to_wstring(++calls) + L".txt";
    DeleteFileIfPresent(outPath);

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueFile out(::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        ADD_FAILURE() << "cannot create " << ToUtf8(outPath);
        return {};
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = out.get();
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"wmic.exe path " + wmiClass + L" get " + property;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info)) {
        ADD_FAILURE() << "cannot start " << ToUtf8(commandLine);
        return {};
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        ADD_FAILURE() << "no answer from " << ToUtf8(commandLine);
        return {};
    }
    out.reset();

    const std::optional<std::string> bytes = ReadFileBytes(outPath);
    DeleteFileIfPresent(outPath);
    if (!bytes) return {};
    const std::wstring text = DecodeWmicOutput(*bytes);
    std::vector<std::wstring> values;
    size_t start = 0;
    bool heading = true;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == L'\r' || line.back() == L' ')) line.pop_back();
        if (line.empty()) continue;
        if (heading) {
            heading = false;  // the column's name
            continue;
        }
        values.push_back(line);
    }
    return values;
}

namespace {
constexpr const wchar_t* kVersionKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
}

PassingOsBuild::PassingOsBuild()
    : version_(kVersionKey, L"CurrentVersion", L"10.0"), build_(kVersionKey, L"CurrentBuildNumber", L"22631") {}

bool PassingOsBuild::ok() const {
    if (!version_.ok() || !build_.ok()) return false;
    // Whether this Wine follows the two values does not change within a run: ask WMI once.
    static const bool followed = [] {
        const std::vector<std::wstring> versions = WmiValues(L"Win32_OperatingSystem", L"Version");
        return versions.size() == 1 && versions[0].rfind(L"10.0.22631", 0) == 0;
    }();
    return followed;
}

bool IsNative64Bit() {
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

std::string RequirementRow(const std::wstring& minOs, const std::wstring& exeArgs, const std::wstring& status,
                           const std::wstring& linkUrl) {
    const wchar_t* bits = IsNative64Bit() ? L"64" : L"32";
    return ToCp932(L"3.3," + minOs + L"," + bits + L" ビット,vorn_explorer.exe," + exeArgs + L",1," + status +
                   L",VORN > 保守・サポート," + linkUrl);
}

StandInGraphicsDriver::StandInGraphicsDriver(const std::wstring& behaviour) {
    // The system folder of our own bitness, which is the programs' too.
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    systemCopy_ = std::wstring(system, length) + L"\\opengl32.dll";
    const std::optional<std::string> standIn = ReadFileBytes(BuiltProgramPath(BuiltProgram::StandInOpenGl));
    original_ = ReadFileBytes(systemCopy_);
    if (!standIn || !original_ || !WriteFileBytes(systemCopy_, *standIn)) return;

    // Wine's overrides per program: our programs (and the probe, which is one
    // of them) take the file in the system folder, nothing else does.
    overrides_.reserve(2);
    for (const wchar_t* program : {L"Orvane.exe", L"orvane-check.exe"}) {
        overrides_.emplace_back(HKEY_CURRENT_USER, std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides",
                                L"opengl32", L"native");
        if (!overrides_.back().ok()) return;
    }
    ::SetEnvironmentVariableW(L"ORVANE_STAND_IN_GL", behaviour.c_str());
    ok_ = true;
}

StandInGraphicsDriver::~StandInGraphicsDriver() {
    if (original_) WriteFileBytes(systemCopy_, *original_);
    ::SetEnvironmentVariableW(L"ORVANE_STAND_IN_GL", nullptr);
}

size_t ProcessesRunningFrom(const std::wstring& path) {
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    size_t running = 0;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        std::wstring image(32768, L'\0');
        DWORD size = static_cast<DWORD>(image.size());
        if (process && ::QueryFullProcessImageNameW(process.get(), 0, image.data(), &size) &&
            _wcsnicmp(image.c_str(), path.c_str(), path.size()) == 0)
            ++running;
    }
    return running;
}

// ---------------------------------------------------------------------------

VirtualScreen::VirtualScreen(const std::wstring& name, int width, int height)
    : name_(name),
      width_(width),
      height_(height),
      // Wine's desktop process reads a named desktop's size from here when it makes it.
      size_(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", name,
            std::to_wstring(width) + L"x" + std::to_wstring(height)) {
    displayMode_.dmSize = sizeof displayMode_;
    if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &displayMode_)) return;
    if (size_.ok()) desktop_ = ::CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
}

VirtualScreen::~VirtualScreen() {
    if (!desktop_) return;
    ::CloseDesktop(desktop_);
    // Wine's virtual desktop leaves its size as every desktop's display mode,
    // and Wine cannot go back to the registry's mode: set the one from before,
    // or later tests see the small screen.
    ::ChangeDisplaySettingsExW(nullptr, &displayMode_, nullptr, 0, nullptr);
}

namespace {
BOOL CALLBACK NoteTaskbar(HWND window, LPARAM parameter) {
    if (IsShown(window, true) && WindowClass(window) == L"Shell_TrayWnd") {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

RECT VirtualScreen::WorkArea() const {
    RECT area{0, 0, width_, height_};
    HWND taskbar = nullptr;
    ::EnumDesktopWindows(desktop_, NoteTaskbar, reinterpret_cast<LPARAM>(&taskbar));
    RECT bar{};
    if (taskbar && ::GetWindowRect(taskbar, &bar) && bar.top > area.top && bar.top < area.bottom) area.bottom = bar.top;
    return area;
}

PhysicalPixelsScope::PhysicalPixelsScope()
    : previous_(::SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}

PhysicalPixelsScope::~PhysicalPixelsScope() {
    if (previous_) ::SetThreadDpiAwarenessContext(previous_);
}

// ---------------------------------------------------------------------------

namespace {
INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}
}  // namespace

bool PressKey(HWND window, WORD key, std::vector<WORD> modifiers) {
    // Not again when it is: that would close an open menu.
    if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(KeyInput(*it, true));
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

HWND WaitForFocus(HWND window, HWND expected, milliseconds timeout) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    HWND focus = nullptr;
    WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        focus = ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
        return focus == expected;
    }, timeout);
    return focus;
}

// ---------------------------------------------------------------------------

namespace {
void ReleaseScreenDc(HDC dc) { ::ReleaseDC(nullptr, dc); }
void DeleteDcHandle(HDC dc) { ::DeleteDC(dc); }
void DeleteBitmapHandle(HBITMAP bitmap) { ::DeleteObject(bitmap); }
using ScreenDc = UniqueResource<SimpleTraits<HDC, nullptr, ReleaseScreenDc>>;
using MemoryDc = UniqueResource<SimpleTraits<HDC, nullptr, DeleteDcHandle>>;
using UniqueBitmap = UniqueResource<SimpleTraits<HBITMAP, nullptr, DeleteBitmapHandle>>;

// Puts the previous object back into the DC when the scope ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
}  // namespace

bool SaveScreenshotBmp(HWND window, const std::wstring& path) {
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (window && !::GetWindowRect(window, &area)) return false;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;

    ScreenDc screen(::GetDC(nullptr));
    if (!screen) return false;
    MemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return false;
    {
        SelectedObject selected(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) return false;
    }
    ::GdiFlush();

    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;

    std::string bytes;
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(pixels), imageSize);
    return WriteFileBytes(path, bytes);
}

}  // namespace e2e
