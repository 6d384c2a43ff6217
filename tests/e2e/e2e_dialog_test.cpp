// The result dialog seen from outside: what it shows for a failing and a
// passing machine, the file its close button leaves, Esc, the About box and
// the resizable frame. Pictures of each state go to screenshots\ in the
// current folder (the build tree under ctest).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace e2e {
namespace {

constexpr int kLinkId = 1000;
constexpr int kReportId = 1001;
constexpr int kStatusId = 1002;
constexpr WPARAM kAboutCommand = 0x0010;

const std::wstring kFailureStatus = L"【×】動作スペックを満たさない項目があります";
const std::wstring kFailureMarker = L" 【×】";

// ---------------------------------------------------------------------------
// What WMI itself says, asked through wmic so the answer does not come from
// the program under test.

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

// One value per instance of `property`, trailing blanks of wmic's columns removed.
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

// ---------------------------------------------------------------------------

std::wstring ReportFilePath() { return DesktopFolder() + L"Orvane[" + ComputerName() + L"].txt"; }

void SaveScreenshot(HWND window, const std::wstring& name) {
    // Let the program paint what it has just been asked to show.
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    ::Sleep(1000);
    const std::wstring folder = L"screenshots\\";
    CreateFolders(folder);
    SaveScreenshotBmp(window, folder + name + L".bmp");
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

RECT ControlRect(HWND dialog, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    return r;
}

// Starts Orvane.exe in the folder and waits for its result dialog.
HWND OpenResultDialog(OrvaneProcess& process, const ScratchFolder& folder) {
    if (!StartIn(process, folder)) return nullptr;
    const std::optional<WindowInfo> dialog = process.WaitForWindow({L"#32770", std::wstring(L"Orvane")});
    return dialog ? dialog->handle : nullptr;
}

// The OS version WMI reports, when it fails the built-in minimum 10.0.19043.
std::optional<std::wstring> FailingOsVersion() {
    const std::vector<std::wstring> versions = WmiValues(L"Win32_OperatingSystem", L"Version");
    if (versions.size() != 1) return std::nullopt;
    const std::wstring& v = versions[0];
    const size_t minor = v.find(L'.');
    const size_t build = v.find(L'.', minor + 1);
    if (minor == std::wstring::npos || build == std::wstring::npos) return std::nullopt;
    const int major = std::stoi(v.substr(0, minor));
    const int buildNumber = std::stoi(v.substr(build + 1));
    if (major > 10 || (major == 10 && buildNumber >= 19043)) return std::nullopt;
    return v;
}

TEST(E2eDialog, FailingRunMarksTheOsVersionAndHidesTheLinkInTheDescribedWindow) {
    const std::optional<std::wstring> version = FailingOsVersion();
    if (!version) GTEST_SKIP() << "this prefix's OS meets the built-in requirement";

    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot(dialog, L"failing-run");

    EXPECT_EQ(ControlText(dialog, kStatusId), kFailureStatus);
    const std::wstring report = ControlText(dialog, kReportId);
    EXPECT_TRUE(Contains(report, L"\r\n\tOSバージョン      : " + *version + kFailureMarker + L"\r\n"))
        << ToUtf8(report);

    // Every instance WMI knows appears under its own name.
    const struct {
        const wchar_t* wmiClass;
        const wchar_t* heading;
    } queries[] = {
        {L"Win32_ComputerSystem", L"コンピューター システム ["},
        {L"Win32_Processor", L"プロセッサ ["},
        {L"Win32_OperatingSystem", L"オペレーティング システム ["},
        {L"Win32_VideoController", L"ビデオ コントローラー ["},
    };
    for (const auto& q : queries) {
        const std::vector<std::wstring> names = WmiValues(q.wmiClass, L"Name");
        EXPECT_FALSE(names.empty()) << ToUtf8(q.wmiClass);
        for (const std::wstring& name : names) {
            // wmic pads its column, so the name may have lost trailing blanks: match up to it.
            EXPECT_TRUE(Contains(report, q.heading + name)) << ToUtf8(q.heading + name);
        }
    }

    // The graphics section closes the report.
    EXPECT_TRUE(Contains(report, L"\r\nOpenGL\r\n\tGL_VENDOR: ")) << ToUtf8(report);
    EXPECT_TRUE(Contains(report, L"\r\n\tGL_RENDERER: "));
    EXPECT_TRUE(Contains(report, L"\r\n\tGL_VERSION: "));
    const size_t shading = report.rfind(L"\r\n\tGL_SHADING_LANGUAGE_VERSION: ");
    ASSERT_NE(shading, std::wstring::npos);
    EXPECT_EQ(report.find(L"\r\n", shading + 2), report.size() - 2) << "the shading line is the last";

    EXPECT_FALSE(IsControlVisible(dialog, kLinkId));

    // The frame: resizable, no minimise or maximise box, its own taskbar button.
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    // The controls in tab order, each of its kind; the report box is read-only and does not wrap.
    const struct {
        int id;
        const wchar_t* className;
    } controls[] = {{IDOK, L"Button"}, {kStatusId, L"Static"}, {kLinkId, L"SysLink"}, {kReportId, L"Edit"}};
    HWND child = ::GetWindow(dialog, GW_CHILD);
    for (const auto& c : controls) {
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        EXPECT_EQ(WindowClass(child), c.className) << c.id;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    const LONG editStyle = ::GetWindowLongW(::GetDlgItem(dialog, kReportId), GWL_STYLE);
    EXPECT_EQ(editStyle & (ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL), ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL);
    EXPECT_EQ(ControlText(dialog, IDOK), L"閉じる[ファイル出力 > デスクトップ]");

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, EscapeAltF4AndTheCloseBoxEndTheDialogWithoutAFile) {
    const struct {
        const char* way;
        void (*press)(HWND dialog);
    } ways[] = {
        {"Esc", [](HWND dialog) {
             // The keyboard focus is on the close button.
             ::PostMessageW(::GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"Alt+F4", [](HWND dialog) {
             ::PostMessageW(::GetDlgItem(dialog, IDOK), WM_SYSKEYDOWN, VK_F4, LPARAM(1) << 29);
         }},
        {"close box", [](HWND dialog) { PostSysCommand(dialog, SC_CLOSE); }},
    };
    for (const auto& way : ways) {
        DeleteFileIfPresent(ReportFilePath());
        ScratchFolder folder;
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
        OrvaneProcess process;
        const HWND dialog = OpenResultDialog(process, folder);
        ASSERT_NE(dialog, nullptr) << way.way;

        way.press(dialog);
        EXPECT_TRUE(process.WaitForExit()) << way.way;
        EXPECT_FALSE(FileExists(ReportFilePath())) << way.way;
    }
}

// The OS of the prefix made new enough for the built-in row, for the guard's lifetime.
class PassingOsBuild {
public:
    // A fresh prefix may say Windows 7 ("6.1"): the version goes with the build.
    PassingOsBuild()
        : version_(kVersionKey, L"CurrentVersion", L"10.0"), build_(kVersionKey, L"CurrentBuildNumber", L"22631") {
        const std::vector<std::wstring> versions = WmiValues(L"Win32_OperatingSystem", L"Version");
        ok_ = version_.ok() && build_.ok() && versions.size() == 1 && versions[0].rfind(L"10.0.22631", 0) == 0;
    }
    bool ok() const { return ok_; }

private:
    static constexpr const wchar_t* kVersionKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    RegistryValueGuard version_;
    RegistryValueGuard build_;
    bool ok_ = false;
};

// The built-in row with the architecture this prefix reports (a 32-bit prefix
// says "32-bit") and the given link address, so that the row is met.
std::string MetRequirementRow(const std::wstring& linkUrl) {
    const std::vector<std::wstring> architectures = WmiValues(L"Win32_OperatingSystem", L"OSArchitecture");
    const std::wstring arch = architectures.empty() ? L"64" : architectures[0];
    const std::wstring bits = arch.substr(0, arch.find_first_not_of(L"0123456789"));
    return ToCp932(L"3.3,10.0.19043," + bits + L" ビット,vorn_explorer.exe,,1,ご利用いただけます,VORN > 保守・サポート," +
                   linkUrl);
}

TEST(E2eDialog, PassingOsWithProductMissingShowsTheRowAndSavesWhatItShowed) {
    PassingOsBuild passing;
    if (!passing.ok()) GTEST_SKIP() << "this prefix does not report a Windows 10 build from CurrentBuildNumber";

    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", MetRequirementRow(L"https://example.com/vorn/support")));
    DeleteFileIfPresent(ReportFilePath());

    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot(dialog, L"passing-os-product-missing");

    const std::wstring status = ControlText(dialog, kStatusId);
    const std::wstring report = ControlText(dialog, kReportId);
    EXPECT_EQ(status, L"ご利用いただけます");
    EXPECT_FALSE(Contains(report, kFailureMarker)) << ToUtf8(report);
    EXPECT_TRUE(IsControlVisible(dialog, kLinkId));
    EXPECT_TRUE(Contains(ControlText(dialog, kLinkId), L"VORN > 保守・サポート"));

    ASSERT_TRUE(ClickButton(dialog, IDOK));
    EXPECT_TRUE(process.WaitForExit());
    const std::optional<std::string> bytes = ReadFileBytes(ReportFilePath());
    ASSERT_TRUE(bytes.has_value()) << ToUtf8(ReportFilePath());
    EXPECT_EQ(*bytes, "\xEF\xBB\xBF" + ToUtf8(status) + "\r\n\r\n" + ToUtf8(report));
}

bool WaitForFile(const std::wstring& path) {
    for (int i = 0; i < 300; ++i) {
        if (FileExists(path)) return true;
        ::Sleep(100);
    }
    return false;
}

TEST(E2eDialog, SupportLinkOpensItsAddressFromMouseAndKeyboard) {
    PassingOsBuild passing;
    if (!passing.ok()) GTEST_SKIP() << "this prefix does not report a Windows 10 build from CurrentBuildNumber";

    // The "address" is a program that notes each start in launched.txt beside it.
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    ASSERT_TRUE(CreateFolders(folder.PathOf(L"support\\")));
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::TestProduct, L"support\\open-me.exe"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", MetRequirementRow(folder.PathOf(L"support\\open-me.exe"))));
    const std::wstring launched = folder.PathOf(L"support\\launched.txt");

    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    const HWND link = ::GetDlgItem(dialog, kLinkId);
    ASSERT_TRUE(IsControlVisible(dialog, kLinkId));

    // A click on the caption.
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
    EXPECT_TRUE(WaitForFile(launched)) << "the click opened nothing";
    DeleteFileIfPresent(launched);

    // Tab to the link, then Enter: the link takes it, not the default button.
    ::PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
    ::PostMessageW(link, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(link, WM_KEYUP, VK_RETURN, 0);
    EXPECT_TRUE(WaitForFile(launched)) << "Enter on the link opened nothing";
    EXPECT_TRUE(::IsWindow(dialog)) << "Enter on the link must not close the dialog";

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, AboutBoxOpensFromTheSystemMenuAndCloses) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(PostSysCommand(dialog, kAboutCommand));
    const std::optional<WindowInfo> about =
        process.WaitForWindow({L"#32770", std::wstring(L"バージョン情報 Orvane")});
    ASSERT_TRUE(about.has_value());
    SaveScreenshot(about->handle, L"about-box");
    EXPECT_EQ(::GetWindow(about->handle, GW_OWNER), dialog);
    EXPECT_EQ(ControlText(about->handle, IDOK), L"OK");
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(about->handle, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowCaption(child));
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Orvane, Version 1.0"), texts.end());

    ASSERT_TRUE(ClickButton(about->handle, IDOK));
    EXPECT_TRUE(WaitForWindowGone(about->handle));
    EXPECT_TRUE(::IsWindow(dialog)) << "the result dialog stays";

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, ContentFollowsTheFrameWhichCannotShrinkBelowTheTemplate) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);

    RECT frame{};
    ASSERT_TRUE(::GetWindowRect(dialog, &frame));
    const RECT report = ControlRect(dialog, kReportId);
    const RECT status = ControlRect(dialog, kStatusId);
    const RECT button = ControlRect(dialog, IDOK);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    // Grow within the screen, which also bounds the frame (at high DPI there is little room).
    const int growX = std::min(120, ::GetSystemMetrics(SM_CXSCREEN) - width);
    const int growY = std::min(120, ::GetSystemMetrics(SM_CYSCREEN) - height);
    if (growX <= 0 || growY <= 0) GTEST_SKIP() << "no room on this screen to grow the dialog";
    ASSERT_TRUE(::SetWindowPos(dialog, nullptr, 0, 0, width + growX, height + growY, SWP_NOZORDER));
    // Let the dialog's thread lay itself out.
    ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    RECT grown{};
    ::GetWindowRect(dialog, &grown);
    const RECT bigReport = ControlRect(dialog, kReportId);
    const RECT bigStatus = ControlRect(dialog, kStatusId);
    const RECT bigButton = ControlRect(dialog, IDOK);
    const int dx = (grown.right - grown.left) - width;
    const int dy = (grown.bottom - grown.top) - height;
    EXPECT_EQ(dx, growX);
    EXPECT_EQ(dy, growY);
    EXPECT_EQ(bigReport.right - bigReport.left, report.right - report.left + dx);
    EXPECT_EQ(bigReport.bottom - bigReport.top, report.bottom - report.top + dy);
    EXPECT_EQ(bigStatus.right - bigStatus.left, status.right - status.left + dx);
    EXPECT_EQ(bigButton.left - grown.left, button.left - frame.left + dx);
    EXPECT_EQ(bigButton.top - grown.top, button.top - frame.top + dy);
    SaveScreenshot(dialog, L"resized");

    ASSERT_TRUE(::SetWindowPos(dialog, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER));
    ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    RECT shrunk{};
    ::GetWindowRect(dialog, &shrunk);
    EXPECT_EQ(shrunk.right - shrunk.left, width);
    EXPECT_EQ(shrunk.bottom - shrunk.top, height);

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

}  // namespace
}  // namespace e2e
