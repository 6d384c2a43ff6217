// The Win32 side of the product environment against the real profile
// functions and registry of the Wine prefix.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "environment/product_registration.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"

namespace {

std::wstring ScratchIni() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"orvane-profile-test.ini";
}

const wchar_t* const kTestKey = L"SOFTWARE\\Orvane integration test";

}  // namespace

TEST(Win32ProfileFiles, LongValuesAndDefaultsComeBackWhole) {
    const std::wstring ini = ScratchIni();
    ::DeleteFileW(ini.c_str());
    Win32ProfileFiles profiles;

    std::wstring longValue;
    while (longValue.size() < 5000) longValue += L"0123456789";
    profiles.Write(L"regkey", L"company", longValue, ini);
    profiles.Write(L"regkey", L"product", L"VORN", ini);

    EXPECT_EQ(profiles.Read(L"regkey", L"company", L"dflt", ini), longValue);
    EXPECT_EQ(profiles.Read(L"regkey", L"product", L"dflt", ini), L"VORN");
    EXPECT_EQ(profiles.Read(L"regkey", L"missing", L"dflt", ini), L"dflt");
    EXPECT_EQ(profiles.Read(L"regkey", L"missing", longValue, ini), longValue);
    EXPECT_EQ(profiles.Read(L"regkey", L"company", L"dflt", ini + L".absent"), L"dflt");
    ::DeleteFileW(ini.c_str());
}

TEST(Win32Registry, StringValuesOfThe32BitViewPassTheChecksOthersDoNot) {
    // The product registers itself in the 32-bit view; a 64-bit build must read there too.
    UniqueHkey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
    UniqueHkey otherView;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                                otherView.put(), nullptr),
              ERROR_SUCCESS);
    const wchar_t wrongView[] = L"64-bit view";
    ASSERT_EQ(::RegSetValueExW(otherView.get(), L"sz", 0, REG_SZ, reinterpret_cast<const BYTE*>(wrongView),
                               sizeof(wrongView)),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(otherView.get(), L"only64", 0, REG_SZ, reinterpret_cast<const BYTE*>(wrongView),
                               sizeof(wrongView)),
              ERROR_SUCCESS);
    auto set = [&](const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    };
    const wchar_t text[] = L"VORN Pro";
    const DWORD number = 7;
    // (Wine terminates a REG_SZ stored without its zero, so that case is left to the unit tests.)
    set(L"sz", REG_SZ, text, sizeof(text));
    set(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    set(L"odd", REG_SZ, text, 5);
    set(L"dword", REG_DWORD, &number, sizeof(number));
    set(L"empty", REG_SZ, text, 0);

    struct Case {
        const wchar_t* name;
        bool ok;
        const wchar_t* text;
    } cases[] = {
        {L"sz", true, L"VORN Pro"}, {L"expand", true, L"%TEMP%"}, {L"odd", false, L"keep"},
        {L"dword", false, L"keep"},  {L"empty", true, L""},         {L"absent", false, L"keep"},
        {L"only64", false, L"keep"},
    };
    Win32Registry registry;
    for (const auto& c : cases) {
        std::wstring out = L"keep";
        EXPECT_EQ(QueryRegistryString(registry, kTestKey, c.name, out), c.ok) << std::string(c.name, c.name + wcslen(c.name));
        EXPECT_EQ(out, c.text);
    }
    std::wstring out;
    EXPECT_FALSE(QueryRegistryString(registry, std::wstring(kTestKey) + L"\\absent", L"sz", out));

    key.reset();
    otherView.reset();
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kTestKey, view, 0);
}

TEST(Win32ProcessLauncher, MissingProgramIsReportedAsNotStarted) {
    Win32ProcessLauncher launcher;
    EXPECT_FALSE(launcher.Start(L"C:\\orvane-no-such-folder\\vorn_explorer.exe",
                                L"\"C:\\orvane-no-such-folder\\vorn_explorer.exe\" -x 1"));
}
