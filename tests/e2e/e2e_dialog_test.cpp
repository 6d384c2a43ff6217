// The result dialog seen from outside: what it shows for a failing and a
// passing machine, the file its close button leaves, Esc, the About box, the
// resizable frame, a small screen at a high DPI, a DPI change and the
// keyboard alone. Pictures of each state go to screenshots\ in the
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
constexpr int kAdviceId = 1003;
constexpr WPARAM kAboutCommand = 0x0010;

const std::wstring kFailureStatus = L"【×】動作スペックを満たさない項目があります";
const std::wstring kFailureMarker = L" 【×】";

std::wstring ReportFilePath() { return DesktopFolder() + L"Orvane[" + ComputerName() + L"].txt"; }
std::wstring RecordingFilePath() { return DesktopFolder() + L"Orvane[" + ComputerName() + L"].json"; }

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

// With advice, it stands whole between the status line and the report box, as
// wide; without, the report box follows the status line as in the template.
void ExpectAdviceInView(HWND dialog, const char* when) {
    const RECT status = ControlRect(dialog, kStatusId);
    const RECT advice = ControlRect(dialog, kAdviceId);
    const RECT report = ControlRect(dialog, kReportId);
    const bool shown = IsControlVisible(dialog, kAdviceId);
    EXPECT_LE(status.bottom, shown ? advice.top : report.top) << when;
    EXPECT_LT(report.top - (shown ? advice.bottom : status.bottom), status.bottom - status.top) << when << ": a gap";
    if (!shown) return;
    EXPECT_TRUE(advice.bottom - advice.top >= status.bottom - status.top && advice.left == status.left &&
                advice.right == status.right) << when << ": at least a line, as wide as the status line";
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

TEST(E2eDialog, FailingRunMarksTheOsVersionSaysWhatIsNeededAndLinksToSupportInTheDescribedWindow) {
    const std::optional<std::wstring> version = FailingOsVersion();
    E2E_REQUIRE(version, "an OS version below the built-in row's 10.0.19043");

    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    DeleteFileIfPresent(ReportFilePath());
    DeleteFileIfPresent(RecordingFilePath());
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

    // The graphics section, then after one empty line what the product needs and what to do.
    EXPECT_TRUE(Contains(report, L"\r\nOpenGL\r\n\tGL_VENDOR: ")) << ToUtf8(report);
    EXPECT_TRUE(Contains(report, L"\r\n\tGL_RENDERER: "));
    EXPECT_TRUE(Contains(report, L"\r\n\tGL_VERSION: "));
    const size_t shading = report.rfind(L"\r\n\tGL_SHADING_LANGUAGE_VERSION: ");
    ASSERT_NE(shading, std::wstring::npos);
    const size_t needs = report.find(L"\r\n", shading + 2);
    EXPECT_EQ(report.substr(needs, report.find(L"）", needs) + 3 - needs),
              L"\r\n\r\n動作に必要な環境\r\n\tOSバージョン      : 10.0.19043 以上（この PC: " + *version + L"）\r\n");
    const std::wstring advice =
        L"Windows のバージョンが動作スペックより古くなっています。Windows Update で Windows を更新してください。";
    EXPECT_TRUE(Contains(report, L"\r\n考えられる原因と対処\r\n\t" + advice + L"\r\n")) << ToUtf8(report);
    EXPECT_EQ(ControlText(dialog, kAdviceId), advice);  // and above the report box, in view
    ExpectAdviceInView(dialog, "failing run");

    // No row was met: the link of the row the requirements come from.
    EXPECT_TRUE(IsControlVisible(dialog, kLinkId));
    EXPECT_TRUE(Contains(ControlText(dialog, kLinkId), L"VORN > 保守・サポート"));

    // The frame: resizable, no minimise or maximise box, its own taskbar button.
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    // The controls in tab order, each of its kind (a screen reader reads the advice after the
    // status line); the report box is read-only and does not wrap.
    const struct {
        int id;
        const wchar_t* className;
    } controls[] = {{IDOK, L"Button"}, {kStatusId, L"Static"}, {kAdviceId, L"Static"}, {kLinkId, L"SysLink"},
                    {kReportId, L"Edit"}};
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

    // The file for support holds the same.
    ASSERT_TRUE(ClickButton(dialog, IDOK));
    EXPECT_TRUE(process.WaitForExit());
    const std::optional<std::string> bytes = ReadFileBytes(ReportFilePath());
    ASSERT_TRUE(bytes.has_value()) << ToUtf8(ReportFilePath());
    EXPECT_EQ(*bytes, "\xEF\xBB\xBF" + ToUtf8(kFailureStatus) + "\r\n\r\n" + ToUtf8(report));
    // And beside it the run's recording, from which orvane-check gives the same file again.
    const std::wstring replay = folder.PathOf(L"replay.txt");
    EXPECT_TRUE(RunConsoleProgram(folder.PathOf(L"orvane-check.exe"),
                                  L"--replay \"" + RecordingFilePath() + L"\" --text --out \"" + replay + L"\"", 1));
    EXPECT_EQ(ReadFileBytes(replay).value_or("(none)"), *bytes);
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
        DeleteFileIfPresent(RecordingFilePath());
        ScratchFolder folder;
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
        OrvaneProcess process;
        const HWND dialog = OpenResultDialog(process, folder);
        ASSERT_NE(dialog, nullptr) << way.way;

        way.press(dialog);
        EXPECT_TRUE(process.WaitForExit()) << way.way;
        EXPECT_FALSE(FileExists(ReportFilePath()) || FileExists(RecordingFilePath())) << way.way;
    }
}

// A row that any Windows meets, with the given link address.
std::string MetRequirementRow(const std::wstring& linkUrl) {
    return RequirementRow(L"6.1", L"", L"ご利用いただけます", linkUrl);
}

TEST(E2eDialog, PassingOsWithProductMissingShowsTheRowAndSavesWhatItShowed) {
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
    EXPECT_EQ(ControlText(dialog, kAdviceId).substr(0, 25), L"動作スペックは満たしていますが、製品のプログラム（");
    EXPECT_TRUE(IsControlVisible(dialog, kLinkId));
    EXPECT_TRUE(Contains(ControlText(dialog, kLinkId), L"VORN > 保守・サポート"));

    ASSERT_TRUE(ClickButton(dialog, IDOK));
    EXPECT_TRUE(process.WaitForExit());
    const std::optional<std::string> bytes = ReadFileBytes(ReportFilePath());
    ASSERT_TRUE(bytes.has_value()) << ToUtf8(ReportFilePath());
    EXPECT_EQ(*bytes, "\xEF\xBB\xBF" + ToUtf8(status) + "\r\n\r\n" + ToUtf8(report));
}

TEST(E2eDialog, ReportThatCannotBeWrittenSaysSoAndTheDialogStays) {
    const std::wstring fullDesktop = FullDesktopFolder();
    E2E_REQUIRE(!fullDesktop.empty(), "a report file that takes no byte (ORVANE_FULL_DESKTOP)");
    RegistryValueGuard desktop(HKEY_CURRENT_USER,
                               L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Desktop",
                               fullDesktop);
    RegistryValueGuard computer(L"System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName",
                                L"ComputerName", L"ORVANE-E2E");
    ASSERT_TRUE(desktop.ok() && computer.ok());
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(ClickButton(dialog, IDOK));
    const std::optional<OrvaneProcess::MessageBoxView> box = process.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << "no message";
    SaveScreenshot(box->handle, L"report-not-written");
    EXPECT_EQ(box->caption, L"Orvane");
    EXPECT_EQ(box->text, L"レポート ファイルをデスクトップに書き込めませんでした。\n"
                         L"ディスクの空き容量や書き込み権限を確認してから、もう一度ボタンを押してください。");
    EXPECT_TRUE(process.DismissMessageBox(*box));
    EXPECT_TRUE(::IsWindow(dialog)) << "the dialog stays, so the button can be pressed again";

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

bool WaitForFile(const std::wstring& path) {
    return WaitUntil([&] { return FileExists(path); }, milliseconds(30000));
}

// Orvane with a row, met or one that no machine meets, whose link "address"
// is a program that notes each start in launched.txt beside it; that file's
// path, or empty when the folder could not be set up.
std::wstring InstallWithSupportProgram(ScratchFolder& folder, bool rowMet = true) {
    const std::wstring program = folder.PathOf(L"support\\open-me.exe");
    const std::string row = rowMet ? MetRequirementRow(program)
                                   : ToCp932(L"3.3,99.0.0,64 ビット,vorn_explorer.exe,,1,ok,VORN > 保守・サポート," + program);
    if (!folder.AddProgram(BuiltProgram::Orvane) || !CreateFolders(folder.PathOf(L"support\\")) ||
        !folder.AddProgram(BuiltProgram::TestProduct, L"support\\open-me.exe") || !folder.AddFile(L"OrvaneSPC.csv", row))
        return std::wstring();
    return folder.PathOf(L"support\\launched.txt");
}

// Also where no row is met: the first row's link is the way to help.
TEST(E2eDialog, SupportLinkOfAMachineThatFallsShortOpensItsAddressOnAClick) {
    ScratchFolder folder;
    const std::wstring launched = InstallWithSupportProgram(folder, false);
    ASSERT_FALSE(launched.empty());

    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    const HWND link = ::GetDlgItem(dialog, kLinkId);
    ASSERT_TRUE(IsControlVisible(dialog, kLinkId));

    // A click on the caption (Enter on it: KeyboardAloneReachesEveryAction).
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
    EXPECT_TRUE(WaitForFile(launched)) << "the click opened nothing";

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, SupportLinkThatCannotBeOpenedSaysSo) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    const std::wstring missing = folder.PathOf(L"support\\missing.exe");
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", MetRequirementRow(missing)));

    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    const HWND link = ::GetDlgItem(dialog, kLinkId);
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 6));

    const std::optional<OrvaneProcess::MessageBoxView> box = process.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    SaveScreenshot(box->handle, L"link-not-opened");
    EXPECT_EQ(box->caption, L"Orvane");
    EXPECT_EQ(box->text, L"サポート ページを開けませんでした。\n" + missing);
    EXPECT_TRUE(process.DismissMessageBox(*box));
    EXPECT_TRUE(::IsWindow(dialog)) << "the dialog stays";

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
    E2E_REQUIRE(growX > 0 && growY > 0, "a screen with room to grow the dialog");
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
    EXPECT_EQ(bigReport.bottom - grown.top, report.bottom - frame.top + dy);  // its top: below the advice
    EXPECT_EQ(bigStatus.right - bigStatus.left, status.right - status.left + dx);
    EXPECT_EQ(bigButton.left - grown.left, button.left - frame.left + dx);
    EXPECT_EQ(bigButton.top - grown.top, button.top - frame.top + dy);
    SaveScreenshot(dialog, L"resized");

    ASSERT_TRUE(::SetWindowPos(dialog, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER));
    ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    RECT shrunk{};
    ::GetWindowRect(dialog, &shrunk);
    // A template larger than the screen was cut to it, less a small margin, and may shrink
    // further (At120DpiOnA1366x768ScreenTheDialogFitsAndShrinks).
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    if (width + 32 >= work.right - work.left || height + 32 >= work.bottom - work.top) {
        EXPECT_LE(shrunk.right - shrunk.left, width);
        EXPECT_LE(shrunk.bottom - shrunk.top, height);
    } else {
        EXPECT_EQ(shrunk.right - shrunk.left, width);
        EXPECT_EQ(shrunk.bottom - shrunk.top, height);
    }

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

RECT InClient(HWND dialog, RECT r) {
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Where the controls sit in the client area: link and button side by side
// below the report box, the status line and the advice above it.
void ExpectEverythingShows(HWND dialog, const char* when) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    POINT origin{0, 0};
    ::ClientToScreen(dialog, &origin);
    ::OffsetRect(&client, origin.x, origin.y);
    const RECT button = ControlRect(dialog, IDOK);
    const RECT link = ControlRect(dialog, kLinkId);
    const RECT report = ControlRect(dialog, kReportId);
    const RECT status = ControlRect(dialog, kStatusId);
    EXPECT_TRUE(Inside(button, client)) << when << ": button " << Describe(button) << " in " << Describe(client);
    EXPECT_LT(link.right, button.left) << when;
    EXPECT_LT(report.bottom, button.top) << when;
    EXPECT_LE(status.bottom, report.top) << when;
    EXPECT_GT(report.bottom - report.top, 3 * (button.bottom - button.top)) << when << ": the report box scrolls";
    ExpectAdviceInView(dialog, when);
}

// A driver with nothing known wrong, below the row's graphics version: no cause to name.
TEST(E2eDialog, ShortfallWithoutAKnownCauseShowsNoAdvice) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane) && folder.AddFile(L"OrvaneSPC.csv", RequirementRow(L"6.1")));
    const StandInGraphicsDriver driver(L"answer:Stand-in|Stand-in GPU|3.1.0|1.40");
    OrvaneProcess process;
    const HWND dialog = driver.ok() ? OpenResultDialog(process, folder) : nullptr;
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot(dialog, L"no-advice");
    EXPECT_FALSE(Contains(ControlText(dialog, kReportId), L"考えられる原因と対処"));
    EXPECT_FALSE(IsControlVisible(dialog, kAdviceId));
    ExpectEverythingShows(dialog, "no advice");
    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, At120DpiOnA1366x768ScreenTheDialogFitsAndShrinks) {
    PhysicalPixelsScope physical;
    // The prefix's DPI for the programs started meanwhile; put back afterwards.
    RegistryValueGuard dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", DWORD{120});
    ASSERT_TRUE(dpi.ok());
    VirtualScreen screen(L"orvane-e2e-1366x768", 1366, 768);
    ASSERT_TRUE(screen.ok());

    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    process.UseDesktop(screen.name());
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot(dialog, L"small-screen");

    RECT frame{};
    ASSERT_TRUE(::GetWindowRect(dialog, &frame));
    const RECT work = screen.WorkArea();
    // The whole frame, its caption and its close button are on the screen.
    EXPECT_TRUE(Inside(frame, work)) << Describe(frame) << " in " << Describe(work);
    EXPECT_TRUE(Inside(ControlRect(dialog, IDOK), work));
    // At 120 DPI the template is taller than this screen: the frame was cut.
    const RECT button = ControlRect(dialog, IDOK);
    EXPECT_GE(button.bottom - button.top, 25) << "laid out at 120 DPI";
    EXPECT_LT(frame.bottom - frame.top, 780);
    ExpectEverythingShows(dialog, "opened");

    // The frame can be made smaller than it opened, down to where everything still shows.
    ASSERT_TRUE(::SetWindowPos(dialog, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER));
    ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    RECT shrunk{};
    ::GetWindowRect(dialog, &shrunk);
    EXPECT_LT(shrunk.bottom - shrunk.top, frame.bottom - frame.top);
    EXPECT_GT(shrunk.bottom - shrunk.top, 100);
    ExpectEverythingShows(dialog, "shrunk");
    SaveScreenshot(dialog, L"small-screen-smallest");

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, DpiChangeTo144LaysTheControlsOutAgain) {
    PhysicalPixelsScope physical;
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);

    RECT frame{};
    ASSERT_TRUE(::GetWindowRect(dialog, &frame));
    RECT clientBefore{};
    ::GetClientRect(dialog, &clientBefore);
    const UINT dpi = ::GetDpiForWindow(dialog);
    ASSERT_GT(dpi, 0u);
    constexpr int kNewDpi = 144;
    const auto scaled = [&](LONG pixels) { return ::MulDiv(pixels, kNewDpi, static_cast<int>(dpi)); };
    // What Windows suggests when the window moves to a 144 DPI monitor: the same place, scaled.
    const RECT suggested{frame.left, frame.top, frame.left + scaled(frame.right - frame.left),
                         frame.top + scaled(frame.bottom - frame.top)};
    const bool fits =
        suggested.right <= ::GetSystemMetrics(SM_CXSCREEN) && suggested.bottom <= ::GetSystemMetrics(SM_CYSCREEN);
    // The screen's size is the host's, not the prefix's: too small a screen is a skip.
    if (!fits) GTEST_SKIP() << "this host's screen is too small for the dialog at 144 DPI: " << Describe(frame) << " at " << dpi;
    const RECT button = InClient(dialog, ControlRect(dialog, IDOK));
    const RECT status = InClient(dialog, ControlRect(dialog, kStatusId));

    ASSERT_TRUE(process.SendDpiChanged(dialog, kNewDpi, suggested));
    RECT moved{};
    ::GetWindowRect(dialog, &moved);
    EXPECT_TRUE(::EqualRect(&moved, &suggested)) << Describe(moved) << " for " << Describe(suggested);

    // The controls follow from dialog units at 144 DPI, with a font made for it.
    const auto roughly = [](LONG actual, LONG expected) { return std::abs(actual - expected) <= 2 + expected / 10; };
    const RECT bigButton = InClient(dialog, ControlRect(dialog, IDOK));
    const RECT bigStatus = InClient(dialog, ControlRect(dialog, kStatusId));
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_TRUE(roughly(bigButton.bottom - bigButton.top, scaled(button.bottom - button.top)))
        << Describe(button) << " -> " << Describe(bigButton);
    EXPECT_TRUE(roughly(bigButton.right - bigButton.left, scaled(button.right - button.left)))
        << Describe(button) << " -> " << Describe(bigButton);
    EXPECT_TRUE(roughly(bigStatus.top, scaled(status.top))) << Describe(status) << " -> " << Describe(bigStatus);
    EXPECT_TRUE(roughly(bigStatus.left, scaled(status.left))) << Describe(status) << " -> " << Describe(bigStatus);
    EXPECT_TRUE(roughly(client.right - bigButton.right, scaled(clientBefore.right - button.right)))
        << "the button keeps its margin to the corner";
    ExpectEverythingShows(dialog, "at 144 DPI");
    SaveScreenshot(dialog, L"dpi-changed-to-144");

    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());
}

TEST(E2eDialog, KeyboardAloneReachesEveryAction) {
    ScratchFolder folder;
    const std::wstring launched = InstallWithSupportProgram(folder);
    ASSERT_FALSE(launched.empty());
    DeleteFileIfPresent(ReportFilePath());

    OrvaneProcess process;
    const HWND dialog = OpenResultDialog(process, folder);
    ASSERT_NE(dialog, nullptr);
    const HWND button = ::GetDlgItem(dialog, IDOK);
    const HWND link = ::GetDlgItem(dialog, kLinkId);
    const HWND report = ::GetDlgItem(dialog, kReportId);

    EXPECT_EQ(WaitForFocus(dialog, button), button);
    EXPECT_EQ(::SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0) << "the focus rectangle shows";

    // Tab and Shift+Tab in template order: button, link, report box, and round again.
    const struct {
        const char* keys;
        std::vector<WORD> modifiers;
        HWND expected;
    } steps[] = {
        {"Tab", {}, link},          {"Tab", {}, report},           {"Tab", {}, button},
        {"Shift+Tab", {VK_SHIFT}, report}, {"Shift+Tab", {VK_SHIFT}, link},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(PressKey(dialog, VK_TAB, step.modifiers)) << step.keys;
        EXPECT_EQ(WaitForFocus(dialog, step.expected), step.expected) << step.keys;
    }

    // Enter on the link opens it and leaves the dialog open.
    ASSERT_EQ(WaitForFocus(dialog, link), link);
    ASSERT_TRUE(PressKey(dialog, VK_RETURN));
    EXPECT_TRUE(WaitForFile(launched)) << "Enter on the link opened nothing";
    EXPECT_TRUE(::IsWindow(dialog));

    // Alt+Space opens the system menu; its last item is About (Wine's own
    // "About Wine" takes the access key A first), Esc closes the About box.
    ASSERT_TRUE(PressKey(dialog, VK_SPACE, {VK_MENU}));
    EXPECT_TRUE(process.WaitForWindow({L"#32768", std::nullopt})) << "no system menu";
    ASSERT_TRUE(PressKey(dialog, VK_UP));
    ASSERT_TRUE(PressKey(dialog, VK_RETURN));
    const std::optional<WindowInfo> about =
        process.WaitForWindow({L"#32770", std::wstring(L"バージョン情報 Orvane")});
    ASSERT_TRUE(about.has_value());
    ASSERT_TRUE(PressKey(about->handle, VK_ESCAPE));
    EXPECT_TRUE(WaitForWindowGone(about->handle));
    EXPECT_TRUE(::IsWindow(dialog));

    // Back to the button, and Enter saves and closes.
    ASSERT_TRUE(PressKey(dialog, VK_TAB, {VK_SHIFT}));
    EXPECT_EQ(WaitForFocus(dialog, button), button);
    ASSERT_TRUE(PressKey(dialog, VK_RETURN));
    EXPECT_TRUE(process.WaitForExit());
    EXPECT_TRUE(FileExists(ReportFilePath()));
}

}  // namespace
}  // namespace e2e
