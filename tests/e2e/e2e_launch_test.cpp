// The pass path seen from outside: on a machine that meets the requirement
// table Orvane starts the product and shows nothing; the local settings file
// lands where the product's registration says. The product is the stand-in
// TestProduct.exe, which records its command line and current folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/harness.h"
#include "fakes/strict_json.h"

#include <tlhelp32.h>

namespace e2e {
namespace {

const wchar_t* const kProductKey = L"SOFTWARE\\Haldenmark\\Kestrand VORN\\standard";
// The product registers itself in the 32-bit view, whatever our own build.
const REGSAM kProductView = KEY_WOW64_32KEY;
const wchar_t* const kProduct = L"vorn_explorer.exe";
const std::wstring kLaunchFailed = L"起動できません。\n";
const std::wstring kRegistrationMissing = L"レジストリ情報が取得できません。\n再セットアップが必要です。";

// Every case runs on a machine whose OS meets the built-in row.
class E2eLaunch : public ::testing::Test {
protected:
    void SetUp() override { E2E_REQUIRE(passing_.ok(), PassingOsBuild::kNeed); }

    PassingOsBuild passing_;
};

// Orvane and the stand-in product in a scratch folder; a requirement file only
// when the built-in table cannot pass here (a 32-bit-only prefix reports a
// 32-bit system) or arguments are wanted.
void Install(ScratchFolder& folder, const std::wstring& exeArgs = L"") {
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::TestProduct, kProduct));
    if (!IsNative64Bit() || !exeArgs.empty()) {
        ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", RequirementRow(L"10.0.19043", exeArgs)));
    }
}

struct LaunchRecord {
    std::wstring commandLine;
    std::wstring currentFolder;
    size_t starts = 0;
};

// What the stand-in product wrote to `logPath`; waits a little, since the
// product runs on after Orvane has ended.
std::optional<LaunchRecord> WaitForLaunch(const std::wstring& logPath) {
    std::optional<LaunchRecord> launch;
    WaitUntil([&] {
        const std::vector<std::string> lines = CrLfLines(ReadFileBytes(logPath).value_or(std::string()));
        if (lines.size() >= 3) launch = LaunchRecord{FromUtf8(lines[0]), FromUtf8(lines[1]), lines.size() / 3};
        return launch.has_value();
    }, milliseconds(15000));
    return launch;
}

// Whether a process of that file name runs now.
bool IsRunningAs(const wchar_t* exeName) {
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::lstrcmpiW(entry.szExeFile, exeName) == 0) return true;
    }
    return false;
}

// Runs Orvane from the folder and expects it to end without any window.
void RunQuietly(const ScratchFolder& folder, const std::wstring& currentDirectory = L"") {
    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder, L"Orvane.exe", currentDirectory));
    const auto window = orvane.WindowBeforeExit();
    EXPECT_FALSE(window) << "unexpected window: " << ToUtf8(window->caption) << " / "
                         << ToUtf8(MessageBoxText(window->handle));
    EXPECT_TRUE(orvane.WaitForExit());
}

std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    std::vector<wchar_t> buffer(4096);
    const DWORD n = ::GetPrivateProfileStringW(section, key, L"<missing>", buffer.data(),
                                               static_cast<DWORD>(buffer.size()), file.c_str());
    return std::wstring(buffer.data(), n);
}

std::string Utf16File(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

TEST_F(E2eLaunch, PassingMachineStartsTheProductWithAQuotedPathAndShowsNothing) {
    ScratchFolder folder;
    Install(folder);
    // Started from another folder: the product inherits that one, not ours.
    const std::wstring elsewhere = folder.PathOf(L"elsewhere");
    ASSERT_TRUE(CreateFolders(elsewhere));

    RunQuietly(folder, elsewhere);

    const auto launch = WaitForLaunch(folder.PathOf(L"launched.txt"));
    ASSERT_TRUE(launch) << "the product was not started";
    EXPECT_EQ(launch->commandLine, L"\"" + folder.PathOf(kProduct) + L"\"");
    EXPECT_EQ(WithTrailingBackslash(launch->currentFolder), WithTrailingBackslash(elsewhere));
    EXPECT_EQ(launch->starts, 1u);
}

TEST_F(E2eLaunch, RowArgumentsArePassedUnchanged) {
    ScratchFolder folder;
    Install(folder, L"-x 1");

    RunQuietly(folder);

    const auto launch = WaitForLaunch(folder.PathOf(L"launched.txt"));
    ASSERT_TRUE(launch) << "the product was not started";
    EXPECT_EQ(launch->commandLine, L"\"" + folder.PathOf(kProduct) + L"\" -x 1");
}

TEST_F(E2eLaunch, BelowProgramFilesTheRightProgramStartsAndNeverADecoy) {
    ScratchFolder folder(ScratchFolder::Root::ProgramFiles);
    Install(folder);
    ASSERT_NE(folder.Path().find(L' '), std::wstring::npos);

    // Where an unquoted path would be looked for first.
    const std::wstring decoy = L"C:\\Program.exe";
    const std::wstring decoyLog = L"C:\\launched.txt";
    DeleteFileIfPresent(decoyLog);
    ASSERT_TRUE(::CopyFileW(BuiltProgramPath(BuiltProgram::TestProduct).c_str(), decoy.c_str(), FALSE));

    RunQuietly(folder);
    const auto launch = WaitForLaunch(folder.PathOf(L"launched.txt"));

    // Orvane has ended: a decoy it started runs now or has noted its start.
    WaitUntil([] { return !IsRunningAs(L"Program.exe"); }, milliseconds(15000));
    EXPECT_FALSE(FileExists(decoyLog)) << "C:\\Program.exe was started";
    DeleteFileIfPresent(decoy);
    DeleteFileIfPresent(decoyLog);
    ASSERT_TRUE(launch) << "the product was not started";
    EXPECT_EQ(launch->commandLine, L"\"" + folder.PathOf(kProduct) + L"\"");
}

TEST_F(E2eLaunch, ProductThatIsNoProgramGivesTheMessageWithTheCommandLine) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddFile(kProduct, "this is not a program\r\n"));
    if (!IsNative64Bit()) {
        ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", RequirementRow()));
    }

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    const auto box = orvane.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, kLaunchFailed + L"\"" + folder.PathOf(kProduct) + L"\"");
    EXPECT_EQ(box->caption, L"Orvane");
    EXPECT_TRUE(orvane.DismissMessageBox(*box));
    EXPECT_TRUE(orvane.WaitForExit());
}

// An old or damaged Windows without a system DLL that a run calls (Wine's
// override for this program takes ole32 away, and the WMI thread calls it):
// the start-up message names it, and the program ends without a crash.
TEST(E2eStart, AMissingSystemDllIsNamedInTheStartUpMessage) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    RegistryValueGuard missing(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Orvane.exe\\DllOverrides",
                               L"ole32", L"");
    ASSERT_TRUE(missing.ok());
    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    const auto box = orvane.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, kLaunchFailed + L"ole32.dll");
    EXPECT_EQ(box->caption, L"Orvane");
    EXPECT_TRUE(orvane.DismissMessageBox(*box));
    EXPECT_TRUE(orvane.WaitForExit());
}

TEST_F(E2eLaunch, SettingsFileHoldsTheFiveValuesAndKeepsOtherKeys) {
    const auto productKey = RegistryValueGuard::Removed(kProductKey, L"AppName", kProductView);
    ScratchFolder folder;
    Install(folder, L"-x 1");

    const std::wstring settings = TempFolder() + L"会社名\\Kestrand VORN\\Orvane.ini";
    ASSERT_TRUE(CreateFolders(TempFolder() + L"会社名\\Kestrand VORN"));
    ASSERT_TRUE(WriteFileBytes(settings, "[User]\r\nNote=mine\r\n[EXEC]\r\nPATH=old.exe\r\n"));

    RunQuietly(folder);
    ASSERT_TRUE(WaitForLaunch(folder.PathOf(L"launched.txt")));

    EXPECT_EQ(ReadProfile(settings, L"User", L"Note"), L"mine");
    EXPECT_EQ(ReadProfile(settings, L"EXEC", L"PATH"), L"vorn_explorer.exe -x 1");
    for (const wchar_t* key : {L"GL_VENDOR", L"GL_RENDERER", L"GL_VERSION", L"GL_SHADING_LANGUAGE_VERSION"})
        EXPECT_NE(ReadProfile(settings, L"OpenGL", key), L"<missing>") << ToUtf8(key);
    EXPECT_NE(ReadProfile(settings, L"OpenGL", L"GL_VERSION"), L"");
}

TEST_F(E2eLaunch, RegistrationDecidesWhereTheSettingsFileLies) {
    struct Case {
        const char* meaning;
        std::wstring ormix;        // "ormix.ini"; empty: none
        std::wstring companyLayer; // "ormix.ini__#HLM#"
        std::wstring dealerLayer;  // "ormix.ini__#DLR#"
        std::wstring appNameKey;   // where AppName is registered; empty: nowhere
        std::wstring appName;
        std::wstring folder;       // below the temporary folder
    } cases[] = {
        {"nothing registered", L"", L"", L"", L"", L"", L"会社名\\Kestrand VORN"},
        {"AppName names the product", L"", L"", L"", kProductKey, L"VORN e2e Pro", L"会社名\\VORN e2e Pro"},
        {"company of ormix.ini names the folder and the key", L"[regkey]\r\ncompany=Acme e2e\r\n", L"", L"",
         L"SOFTWARE\\Acme e2e\\Kestrand VORN\\standard", L"Acme Pro", L"Acme e2e\\Acme Pro"},
        {"product of ormix.ini when AppName cannot be read", L"[regkey]\r\nproduct=VORN e2e Lite\r\n", L"", L"", L"",
         L"", L"会社名\\VORN e2e Lite"},
        {"company layer", L"", L"[regkey]\r\ncompany=HLM e2e\r\n", L"", L"", L"", L"HLM e2e\\Kestrand VORN"},
        {"dealer layer over company layer", L"", L"[regkey]\r\ncompany=HLM e2e\r\n",
         L"[regkey]\r\ncompany=DLR e2e\r\n", L"", L"", L"DLR e2e\\Kestrand VORN"},
        {"ormix.ini over both layers", L"[regkey]\r\ncompany=Own e2e\r\n", L"[regkey]\r\ncompany=HLM e2e\r\n",
         L"[regkey]\r\ncompany=DLR e2e\r\n", L"", L"", L"Own e2e\\Kestrand VORN"},
        {"a name outside the ANSI code page keeps its folder", L"[regkey]\r\ncompany=Ærø e2e\r\n", L"", L"", L"", L"",
         L"Ærø e2e\\Kestrand VORN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meaning);
        const auto noAppName = RegistryValueGuard::Removed(kProductKey, L"AppName", kProductView);
        std::optional<RegistryValueGuard> appName;
        if (!c.appNameKey.empty()) {
            appName.emplace(c.appNameKey, L"AppName", c.appName, kProductView);
            ASSERT_TRUE(appName->ok());
        }
        ScratchFolder folder;
        Install(folder);
        // Unicode profile files, so every name survives whatever the code page.
        if (!c.ormix.empty()) {
            ASSERT_TRUE(folder.AddFile(L"ormix.ini", Utf16File(c.ormix)));
        }
        if (!c.companyLayer.empty()) {
            ASSERT_TRUE(folder.AddFile(L"ormix.ini__#HLM#", Utf16File(c.companyLayer)));
        }
        if (!c.dealerLayer.empty()) {
            ASSERT_TRUE(folder.AddFile(L"ormix.ini__#DLR#", Utf16File(c.dealerLayer)));
        }

        const std::wstring settingsFolder = TempFolder() + c.folder;
        ASSERT_TRUE(RemoveFolderTree(settingsFolder));

        RunQuietly(folder);
        EXPECT_TRUE(WaitForLaunch(folder.PathOf(L"launched.txt")));
        EXPECT_EQ(ReadProfile(settingsFolder + L"\\Orvane.ini", L"EXEC", L"PATH"), L"vorn_explorer.exe");
        RemoveFolderTree(settingsFolder);
    }
}

TEST_F(E2eLaunch, EmptyProductNameWarnsTwiceWithoutCaptionThenRunsOn) {
    ScratchFolder folder;
    Install(folder);
    ASSERT_TRUE(folder.AddFile(L"ormix.ini", "[regkey]\r\nproduct=\r\n"));

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    HWND previous = nullptr;
    for (int i = 0; i < 2; ++i) {
        const auto box = orvane.WaitForMessageBox(kWindowTimeout, previous);
        ASSERT_TRUE(box) << "warning " << i + 1 << " missing";
        EXPECT_EQ(box->text, kRegistrationMissing);
        EXPECT_NE(box->caption, L"Orvane") << "the warning has no caption of ours";
        EXPECT_TRUE(orvane.DismissMessageBox(*box));
        previous = box->handle;
    }
    EXPECT_TRUE(orvane.WaitForExit());
    EXPECT_TRUE(WaitForLaunch(folder.PathOf(L"launched.txt"))) << "the run did not go on to start the product";
}

// Whatever the graphics driver does, both programs come to their result in
// time, with nothing of ours left running and no crash dialog; the strings
// of real drivers pass through whole.
TEST_F(E2eLaunch, GraphicsDriverThatAnswersHangsOrCrashes) {
    struct Case {
        const char* meaning;
        std::wstring driver;  // what the stand-in driver does
        std::string version;  // GL_VERSION as the result shows it
        const char* answered;  // graphics.driver
        milliseconds within;   // from start to result
    } cases[] = {
        {"NVIDIA", L"answer:NVIDIA Corporation|NVIDIA GeForce RTX 4070/PCIe/SSE2|4.6.0 NVIDIA 551.86|4.60 NVIDIA",
         "4.6.0 NVIDIA 551.86", "answered", milliseconds(8000)},
        {"AMD", L"answer:ATI Technologies Inc.|AMD Radeon RX 7800 XT|4.6.0 Compatibility Profile Context 23.11.1.231017|4.60",
         "4.6.0 Compatibility Profile Context 23.11.1.231017", "answered", milliseconds(8000)},
        {"Intel", L"answer:Intel|Intel(R) UHD Graphics 770|4.6.0 - Build 31.0.101.5186|4.60 - Build 31.0.101.5186",
         "4.6.0 - Build 31.0.101.5186", "answered", milliseconds(8000)},
        {"GDI Generic falls short", L"answer:Microsoft Corporation|GDI Generic|1.1.0|", "1.1.0", "answered",
         milliseconds(8000)},
        {"hang choosing the pixel format", L"hang:format", "", "hung", milliseconds(8000)},
        {"hang making the context", L"hang:context", "", "hung", milliseconds(8000)},
        {"access violation reading the strings", L"crash:strings", "", "failed", milliseconds(3000)},
        {"stack overflow making the context", L"overflow:context", "", "failed", milliseconds(3000)},
        {"abort selecting the context", L"abort:current", "", "failed", milliseconds(3000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        const bool passes = c.version.rfind("4.6", 0) == 0;
        ScratchFolder folder;
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::TestProduct, kProduct));
        const std::string row = RequirementRow();
        ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", "4.6" + row.substr(row.find(','))));
        const StandInGraphicsDriver driver(c.driver);
        ASSERT_TRUE(driver.ok());

        auto start = std::chrono::steady_clock::now();
        const std::optional<ConsoleRun> check =
            RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--json", passes ? 0 : 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, c.within) << "orvane-check";
        ASSERT_TRUE(check);
        const std::optional<JsonValue> json = ParseStrictJson(check->standardOutput);
        ASSERT_TRUE(json) << check->standardOutput;
        EXPECT_EQ((*json)["graphics"]["version"].text, c.version);
        EXPECT_EQ((*json)["graphics"]["driver"].text, c.answered);
        const bool driverFailed = std::string(c.answered) != "answered";
        const std::vector<JsonValue>& advice = (*json)["advice"].items;
        EXPECT_EQ(std::any_of(advice.begin(), advice.end(),
                              [](const JsonValue& a) { return a["code"].text == "graphics-driver-failed"; }),
                  driverFailed)
            << check->standardOutput;

        OrvaneProcess orvane;
        start = std::chrono::steady_clock::now();
        ASSERT_TRUE(StartIn(orvane, folder));
        // Nobody renames or replaces the exe while Orvane runs, or starts a copy of it.
        const auto renameRefused = [&folder] {
            const bool renamed =
                ::MoveFileW(folder.PathOf(L"Orvane.exe").c_str(), folder.PathOf(L"renamed.exe").c_str());
            return !renamed && ::GetLastError() == ERROR_SHARING_VIOLATION;
        };
        if (std::string(c.answered) == "hung") {
            ASSERT_TRUE(WaitUntil([&] { return ProcessesRunningFrom(folder.PathOf(L"Orvane.exe")) == 2; }, c.within))
                << "no probe waited on";
            EXPECT_TRUE(renameRefused()) << "while waiting on the driver";
        }
        if (passes) {
            EXPECT_FALSE(orvane.WindowBeforeExit());
            EXPECT_TRUE(WaitForLaunch(folder.PathOf(L"launched.txt"))) << "the product was not started";
        } else {
            const auto dialog = orvane.WaitForWindow({L"#32770", std::wstring(L"Orvane")}, c.within);
            ASSERT_TRUE(dialog) << "no result dialog in time";
            const std::string report = ToUtf8(ControlText(dialog->handle, 1001));
            EXPECT_NE(report.find("\tGL_VERSION: " + c.version + " 【×】"), std::string::npos) << report;
            // The driver named as the cause, as it failed.
            EXPECT_EQ(report.find("ドライバーが応答しませんでした") != std::string::npos,
                      std::string(c.answered) == "hung") << report;
            EXPECT_EQ(report.find("途中で異常終了しました") != std::string::npos,
                      std::string(c.answered) == "failed") << report;
            // A crash dialog would show in a process of its own, and ours would wait for it.
            EXPECT_EQ(ProcessesRunningFrom(folder.PathOf(L"Orvane.exe")), 1u) << "the probe outlived its deadline";
            EXPECT_TRUE(renameRefused()) << "while the dialog shows";
            PostCommand(dialog->handle, IDCANCEL);
            EXPECT_TRUE(orvane.WaitForExit());
        }
        EXPECT_EQ(ProcessesRunningFrom(folder.PathOf(L"Orvane.exe")) +
                      ProcessesRunningFrom(folder.PathOf(L"orvane-check.exe")),
                  0u);
    }
}

// Orvane ended from outside, as a deployment tool's timeout does, while the
// driver hangs: its probe goes with it.
TEST_F(E2eLaunch, ProbeEndsWithOrvaneEndedFromOutside) {
    ScratchFolder folder;
    Install(folder);
    const StandInGraphicsDriver driver(L"hang:context");
    ASSERT_TRUE(driver.ok());
    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    ASSERT_TRUE(WaitUntil([&] { return ProcessesRunningFrom(folder.PathOf(L"Orvane.exe")) == 2; }));
    orvane.Terminate();
    EXPECT_TRUE(WaitUntil([&] { return ProcessesRunningFrom(folder.PathOf(L"Orvane.exe")) == 0; }, milliseconds(2000)))
        << "the probe outlived Orvane";
}

}  // namespace
}  // namespace e2e
