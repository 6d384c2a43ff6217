#pragma once
// Drives the real Orvane.exe from outside, the way a user would: copy it into a
// scratch folder, start it, wait for its windows, read their texts, press their
// buttons, and look at what it left behind. Every wait has a deadline and every
// started process is ended when its owner goes away, so a broken test never
// leaves Wine waiting on a window nobody will close.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace e2e {

using std::chrono::milliseconds;

// Long enough for a cold Wine start with WMI and OpenGL probing on a slow machine.
constexpr milliseconds kWindowTimeout{60000};
constexpr milliseconds kExitTimeout{60000};
// How long "nothing appears" is watched for when a process is expected to stay quiet.
constexpr milliseconds kQuietPeriod{3000};

// ---------------------------------------------------------------------------
// Programs under test

enum class BuiltProgram {
    Orvane,          // Orvane.exe as shipped
    OrvaneNoTables,  // Orvane_no_tables.exe: no built-in "TEXT" tables
    TestProduct,     // TestProduct.exe: stands in for the product, records how it was started
    OrvaneCheck,     // orvane-check.exe: the console check
    StandInOpenGl,   // stand-in-gl\opengl32.dll: a graphics driver that does what a test says
};

// Full Windows path of a program of this build. Taken from the environment
// (ORVANE_EXE, ORVANE_NO_TABLES_EXE, ORVANE_TEST_PRODUCT_EXE, ORVANE_CHECK_EXE; Unix paths are
// mapped to drive Z:), else the file of that name beside the test program.
std::wstring BuiltProgramPath(BuiltProgram program);

// A folder of the build whose "Orvane[ORVANE-E2E].txt" opens but takes no
// byte (ORVANE_FULL_DESKTOP, a Unix path mapped to Z:); "" when there is none.
std::wstring FullDesktopFolder();

// "/a/b" -> "Z:\a\b" (Wine maps Z: to the Unix root); other paths unchanged.
std::wstring WindowsPathFromHost(const std::wstring& path);

// ---------------------------------------------------------------------------
// Text and files

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// The bytes of `text` in code page 932, for writing Japanese into table files.
std::string ToCp932(const std::wstring& text);

// The lines of a text with CR LF line ends; a final line end adds no line.
std::vector<std::string> CrLfLines(const std::string& text);

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool DeleteFileIfPresent(const std::wstring& path);
// Creates every missing folder of `path`.
bool CreateFolders(const std::wstring& path);
// Removes a folder and everything in it; true also when it did not exist.
bool RemoveFolderTree(const std::wstring& path);

// "C:\x\y\" (with trailing backslash) for a folder path, whatever it ended with.
std::wstring WithTrailingBackslash(std::wstring folder);

// ---------------------------------------------------------------------------
// The prefix's own places, as the programs under test see them

std::wstring DesktopFolder();  // CSIDL_DESKTOPDIRECTORY, with trailing backslash
std::wstring TempFolder();     // GetTempPathW, with trailing backslash
std::wstring ComputerName();   // GetComputerNameW

// ---------------------------------------------------------------------------
// A fresh folder per test

class ScratchFolder {
public:
    enum class Root {
        DriveC,        // C:\orvane-e2e\<Suite.Test>\ (no blanks in the path)
        ProgramFiles,  // C:\Program Files\Orvane e2e\<Suite.Test>\ (blanks in the path)
    };

    // Named after the running GoogleTest test; emptied first if it exists.
    explicit ScratchFolder(Root root = Root::DriveC);
    // An explicit location, emptied first if it exists.
    explicit ScratchFolder(const std::wstring& folder);

    // Left on disk afterwards so a failing test can be looked at; every run
    // of the test starts from an empty folder again.
    ~ScratchFolder() = default;

    bool ok() const { return ok_; }
    // The folder, ending with a backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring PathOf(const std::wstring& name) const { return path_ + name; }

    // Copies a built program in under `name` (default: its usual file name).
    bool AddProgram(BuiltProgram program, const std::wstring& name = L"");
    // Puts a file of exactly these bytes beside the programs (subfolders are created).
    bool AddFile(const std::wstring& name, const std::string& bytes) const;
    std::optional<std::string> ReadFile(const std::wstring& name) const;
    bool Has(const std::wstring& name) const;

private:
    std::wstring path_;
    bool ok_ = false;
};

// ---------------------------------------------------------------------------
// Windows of another process

struct WindowInfo {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring caption;
};

std::wstring WindowClass(HWND window);
std::wstring WindowCaption(HWND window);
// Text of a control of a dialog (GetDlgItemTextW); "" when it has none.
std::wstring ControlText(HWND dialog, int controlId);
bool HasControl(HWND dialog, int controlId);
bool IsControlVisible(HWND dialog, int controlId);
// The visible top-level windows of one process, in z-order, on the named
// desktop ("" = the test's own).
std::vector<WindowInfo> VisibleWindowsOf(DWORD processId, const std::wstring& desktop = L"");

// A message box's own text lives in its static control 0xFFFF.
constexpr int kMessageBoxTextId = 0xFFFF;
std::wstring MessageBoxText(HWND messageBox);
// A dialog with that static and without the result dialog's report box (1001).
bool IsMessageBox(HWND window);

// Presses a button of a dialog (BM_CLICK, posted so a modal loop can run).
bool ClickButton(HWND dialog, int controlId);
// WM_COMMAND with the id, as a button or a dialog key would send (IDOK, IDCANCEL).
bool PostCommand(HWND dialog, int commandId);
bool PostSysCommand(HWND window, WPARAM command);  // e.g. SC_CLOSE
// Waits until the window is gone.
bool WaitForWindowGone(HWND window, milliseconds timeout = kWindowTimeout);
// Polls `condition` until it holds (true) or the deadline passes (false).
bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout = kWindowTimeout);

// ---------------------------------------------------------------------------
// One started program

struct WindowQuery {
    std::wstring className = L"#32770";   // "" = any class
    std::optional<std::wstring> caption;  // exact caption, or any
    HWND except = nullptr;                 // skip this window (one just dismissed)
};

class OrvaneProcess {
public:
    OrvaneProcess() = default;
    // Terminates the process if it still runs.
    ~OrvaneProcess();
    OrvaneProcess(OrvaneProcess&&) = default;
    // Ends the process this one held before taking the other's.
    OrvaneProcess& operator=(OrvaneProcess&& other) noexcept;

    // Starts `exePath` with no arguments in `currentDirectory` ("" = the
    // exe's folder). Returns false when the process could not be created.
    bool Start(const std::wstring& exePath, const std::wstring& currentDirectory = L"");

    // Sets a variable for the processes started after this call, on top of
    // the test's own environment. (Under Wine a child keeps the locale of the
    // test itself whatever LC_ALL says here: see e2e_western_locale.)
    void OverrideEnvironment(const std::wstring& name, const std::wstring& value);

    // Starts the processes after this call on that desktop (a VirtualScreen's).
    void UseDesktop(const std::wstring& desktop) { desktop_ = desktop; }

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return processId_; }
    bool IsRunning() const;

    // The first visible top-level window of this process matching `query`;
    // nullopt when none appeared before the deadline or the process ended.
    std::optional<WindowInfo> WaitForWindow(const WindowQuery& query = {},
                                            milliseconds timeout = kWindowTimeout) const;
    // A message box: caption as given (or any), its text read from control 0xFFFF.
    struct MessageBoxView {
        HWND handle = nullptr;
        std::wstring caption;
        std::wstring text;
    };
    std::optional<MessageBoxView> WaitForMessageBox(milliseconds timeout = kWindowTimeout,
                                                    HWND except = nullptr) const;
    // Presses OK and waits until the box is gone.
    bool DismissMessageBox(const MessageBoxView& box) const;

    std::vector<WindowInfo> VisibleWindows() const { return VisibleWindowsOf(processId_, desktop_); }

    // Sends WM_DPICHANGED as Windows does when a window moves to a monitor of
    // another DPI; the suggested rectangle is written into the process first.
    bool SendDpiChanged(HWND window, UINT dpi, const RECT& suggested) const;

    // Waits for the process to end with no visible window appearing meanwhile.
    // Returns the first window seen, if any (the process keeps running then).
    std::optional<WindowInfo> WindowBeforeExit(milliseconds timeout = kExitTimeout) const;

    // Every way Orvane ends is exit code 0. Whoever first sees the process
    // gone (these waits, Start, the destructor) checks that, so a crash or a
    // stray code after the last window fails the test, saying how it ended.
    // True when the process ended in time, with 0.
    bool WaitForExit(milliseconds timeout = kExitTimeout) const;
    // Ends a process still running (not checked: the test gave up on it).
    void Terminate();

private:
    bool CheckEnding() const;

    UniqueHandle process_;
    DWORD processId_ = 0;
    std::vector<std::pair<std::wstring, std::wstring>> environment_;
    std::wstring desktop_;
    mutable bool endingChecked_ = false;
};

// Starts the program copied into `folder` under `exeName`, its current
// directory being the folder unless given.
bool StartIn(OrvaneProcess& process, const ScratchFolder& folder, const std::wstring& exeName = L"Orvane.exe",
             const std::wstring& currentDirectory = L"");

// ---------------------------------------------------------------------------
// A console program run to its end

struct ConsoleRun {
    std::string standardOutput;  // the bytes, as written
    std::string standardError;
};

enum class ConsoleOutput {
    File,        // standard output goes to a file beside the program
    ClosedPipe,  // a pipe whose reading end is already closed: every write fails
};

// Runs `exePath` with `arguments` (already quoted as needed) in its own
// folder, standard error going to a file beside it; nullopt when it could not
// start or did not end in time (it is ended then). The test fails, saying how
// it ended, when the exit code is not `exitCode`.
std::optional<ConsoleRun> RunConsoleProgram(const std::wstring& exePath, const std::wstring& arguments, DWORD exitCode,
                                            ConsoleOutput output = ConsoleOutput::File);

// Runs `exePath` as a Wine process of its own under another Unix locale
// (LC_ALL, e.g. "ja_JP.UTF-8"), which a child started from here would not get;
// its output goes where its arguments say (--out). The exit code; nullopt when
// it could not start or did not end in time.
std::optional<DWORD> RunInLocale(const std::wstring& locale, const std::wstring& exePath, const std::wstring& arguments);

// "exit code 3", or "a crash (status 0xC0000005)" for an exception's status.
std::string DescribeExit(DWORD exitCode);

// ---------------------------------------------------------------------------
// Registry values of the prefix, put back afterwards

class RegistryValueGuard {
public:
    // Sets a REG_SZ value under HKEY_LOCAL_MACHINE (creating the key if needed);
    // `view` may be KEY_WOW64_64KEY or KEY_WOW64_32KEY. The old value, or its
    // absence, is restored on destruction.
    RegistryValueGuard(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value,
                       REGSAM view = 0);
    // The same under another root (HKEY_CURRENT_USER), as REG_SZ or REG_DWORD.
    RegistryValueGuard(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                       const std::wstring& value);
    RegistryValueGuard(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, DWORD value);
    // Removes the value for the guard's lifetime.
    static RegistryValueGuard Removed(const std::wstring& keyPath, const std::wstring& valueName, REGSAM view = 0);
    ~RegistryValueGuard();
    RegistryValueGuard(RegistryValueGuard&& other) noexcept;
    RegistryValueGuard& operator=(RegistryValueGuard&&) = delete;
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

    bool ok() const { return ok_; }

private:
    RegistryValueGuard() = default;
    void Set(DWORD type, const void* data, DWORD size);
    void Restore();

    HKEY root_ = HKEY_LOCAL_MACHINE;
    std::wstring keyPath_;
    std::wstring valueName_;
    REGSAM view_ = 0;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
    bool hadValue_ = false;
    bool ok_ = false;
    bool active_ = false;
};

// ---------------------------------------------------------------------------
// What the tests need of the prefix and the screen

// True when scripts/test.sh made the prefix and the display these tests run
// in (ORVANE_TEST_PREFIX_STANDARD=1): whatever a test needs of them is there,
// and its absence is a fault, not the host's.
bool InStandardPrefix();

// Goes on only when `condition` holds; otherwise fails in the standard
// prefix, and elsewhere skips as a limit of this host, saying what is lacking.
#define E2E_REQUIRE(condition, need)                                 \
    if (condition) {                                                 \
    } else if (::e2e::InStandardPrefix())                            \
        GTEST_FAIL() << "the standard test prefix lacks " << need;   \
    else                                                             \
        GTEST_SKIP() << "this host lacks " << need

// One value per instance of a WMI class's property, as wmic tells it: from
// WMI itself, not from the program under test.
std::vector<std::wstring> WmiValues(const std::wstring& wmiClass, const std::wstring& property);

// The prefix reports Windows 10.0.22631, which meets the built-in row, for
// the guard's lifetime. Wine takes the version from these two values (a
// fresh prefix may say Windows 7, "6.1": the version goes with the build).
class PassingOsBuild {
public:
    PassingOsBuild();
    // The values are set and WMI reports that build.
    bool ok() const;
    static constexpr const char* kNeed = "a Windows version that follows CurrentBuildNumber";

private:
    RegistryValueGuard version_;
    RegistryValueGuard build_;
};

// A 64-bit Windows, as a 64-bit prefix is; the built-in row asks for one.
bool IsNative64Bit();

// A requirement row as an administrator writes it, in code page 932: the
// built-in row with the given columns, and the architecture this prefix
// reports (a 32-bit prefix says "32-bit"), so that only the OS version decides.
std::string RequirementRow(const std::wstring& minOs = L"10.0.19043", const std::wstring& exeArgs = L"",
                           const std::wstring& status = L"ご利用いただけます",
                           const std::wstring& linkUrl = L"https://www.haldenmark.co.jp/support/kestrand-vorn/");

// ---------------------------------------------------------------------------
// The graphics driver

// The stand-in opengl32.dll in the system folder, preferred to Wine's own by
// Orvane.exe and orvane-check.exe and doing what `behaviour` says
// (ORVANE_STAND_IN_GL, see the stand-in), while the guard lives. The file, the
// overrides and the environment are put back afterwards.
class StandInGraphicsDriver {
public:
    explicit StandInGraphicsDriver(const std::wstring& behaviour);
    ~StandInGraphicsDriver();
    StandInGraphicsDriver(const StandInGraphicsDriver&) = delete;
    StandInGraphicsDriver& operator=(const StandInGraphicsDriver&) = delete;

    bool ok() const { return ok_; }

private:
    std::wstring systemCopy_;
    std::optional<std::string> original_;
    std::vector<RegistryValueGuard> overrides_;
    bool ok_ = false;
};

// How many processes run a program whose path begins with `path` (one
// program's path, or a folder's).
size_t ProcessesRunningFrom(const std::wstring& path);

// ---------------------------------------------------------------------------
// Screens

// A Wine virtual desktop of a given size, for a screen smaller than the test
// display: programs started on it (OrvaneProcess::UseDesktop) see a monitor
// of that size. Its window shows on the test display.
class VirtualScreen {
public:
    VirtualScreen(const std::wstring& name, int width, int height);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    bool ok() const { return desktop_ != nullptr; }
    const std::wstring& name() const { return name_; }
    // The screen less the taskbar where Wine's desktop shows one.
    RECT WorkArea() const;

private:
    std::wstring name_;
    int width_;
    int height_;
    RegistryValueGuard size_;
    HDESK desktop_ = nullptr;
    DEVMODEW displayMode_{};  // the display's own, put back afterwards
};

// The program's windows see coordinates in physical pixels for the life of
// the scope, whatever DPI they run at (a DPI-unaware caller gets them scaled).
class PhysicalPixelsScope {
public:
    PhysicalPixelsScope();
    ~PhysicalPixelsScope();
    PhysicalPixelsScope(const PhysicalPixelsScope&) = delete;
    PhysicalPixelsScope& operator=(const PhysicalPixelsScope&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// ---------------------------------------------------------------------------
// Keyboard

// Presses and releases `key` with the modifiers held (VK_SHIFT, VK_MENU), as
// typed input to whatever window has the keyboard focus; `window` is brought
// to the foreground first. The keys are queued: wait for what they do.
bool PressKey(HWND window, WORD key, std::vector<WORD> modifiers = {});
// The window that has the keyboard focus in the thread of `window`, as soon
// as that is `expected`; the last one seen when the deadline passes first.
HWND WaitForFocus(HWND window, HWND expected, milliseconds timeout = milliseconds(5000));

// ---------------------------------------------------------------------------
// Pictures

// Writes what is on screen inside the window (or the whole screen for
// nullptr) as a 24-bit BMP file. Convert with `convert x.bmp x.png`.
bool SaveScreenshotBmp(HWND window, const std::wstring& path);

}  // namespace e2e
