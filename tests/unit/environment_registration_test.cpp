#include <gtest/gtest.h>

#include "environment/layered_profile.h"
#include "environment/product_environment.h"
#include "environment/product_registration.h"
#include "fakes/fake_platform.h"

namespace {

const std::wstring kIni = L"C:\\Tools\\ormix.ini";
const std::wstring kKey = L"SOFTWARE\\Haldenmark\\Kestrand VORN\\standard";

std::vector<uint8_t> Utf16Bytes(const std::wstring& text, bool terminated = true) {
    std::vector<uint8_t> bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

RegistryValue StringValue(const std::wstring& text, uint32_t type = RegistryValue::kString) {
    RegistryValue v;
    v.type = type;
    v.data = Utf16Bytes(text);
    return v;
}

}  // namespace

TEST(LayeredProfile, FileOverDealerOverCompanyOverDefault) {
    struct Case {
        const char* meaning;
        const wchar_t* companyLayer;  // nullptr: key absent
        const wchar_t* dealerLayer;
        const wchar_t* file;
        const wchar_t* expected;
    } cases[] = {
        {"nothing anywhere gives the default", nullptr, nullptr, nullptr, L"dflt"},
        {"company layer over the default", L"hlm", nullptr, nullptr, L"hlm"},
        {"dealer layer over the company layer", L"hlm", L"dlr", nullptr, L"dlr"},
        {"the file over both layers", L"hlm", L"dlr", L"own", L"own"},
        {"the file over the company layer", L"hlm", nullptr, L"own", L"own"},
        {"an empty value hides the layers below", L"hlm", L"", nullptr, L""},
        {"an empty value in the file wins too", L"hlm", L"dlr", L"", L""},
    };
    for (const auto& c : cases) {
        FakeProfileFiles profiles;
        if (c.companyLayer) profiles.files[kIni + L"__#HLM#"][L"regkey|company"] = c.companyLayer;
        if (c.dealerLayer) profiles.files[kIni + L"__#DLR#"][L"regkey|company"] = c.dealerLayer;
        if (c.file) profiles.files[kIni][L"regkey|company"] = c.file;
        EXPECT_EQ(GetLayeredProfileString(profiles, L"regkey", L"company", L"dflt", kIni), c.expected) << c.meaning;
        // a layer file named as the file reads the same layers
        EXPECT_EQ(GetLayeredProfileString(profiles, L"regkey", L"company", L"dflt", kIni + L"__#DLR#"), c.expected)
            << c.meaning;
    }
}

TEST(LayeredProfile, WritesGoToTheFileWithoutLayerTokens) {
    FakeProfileFiles profiles;
    WriteProfileValue(profiles, L"EXEC", L"PATH", L"v.exe", L"C:\\t__#HLM#\\a.ini__#DLR#__#HLM#");
    ASSERT_EQ(profiles.writes.size(), 1u);
    EXPECT_EQ(profiles.writes[0], L"C:\\t\\a.ini|EXEC|PATH=v.exe");
}

TEST(RegistryString, AcceptsOnlyTerminatedTextOfAStringType) {
    struct Case {
        const char* meaning;
        uint32_t type;
        std::vector<uint8_t> data;
        bool ok;
        const wchar_t* text;
    } cases[] = {
        {"REG_SZ", RegistryValue::kString, Utf16Bytes(L"VORN Pro"), true, L"VORN Pro"},
        {"REG_EXPAND_SZ is not expanded", RegistryValue::kExpandString, Utf16Bytes(L"%TEMP%"), true, L"%TEMP%"},
        {"empty data is the empty text", RegistryValue::kString, {}, true, L""},
        {"just the terminator", RegistryValue::kString, {0, 0}, true, L""},
        {"text ends at its first zero", RegistryValue::kString, Utf16Bytes(std::wstring(L"ab\0cd", 5)), true, L"ab"},
        {"Japanese text", RegistryValue::kString, Utf16Bytes(L"ケストランド"), true, L"ケストランド"},
        {"missing terminator", RegistryValue::kString, Utf16Bytes(L"VORN", false), false, L"keep"},
        {"odd byte count", RegistryValue::kString, {'V', 0, 'O', 0, 0, 0, 0}, false, L"keep"},
        {"REG_DWORD", 4, {1, 0, 0, 0}, false, L"keep"},
        {"REG_MULTI_SZ", 7, Utf16Bytes(std::wstring(L"a\0", 2)), false, L"keep"},
        {"REG_BINARY", 3, Utf16Bytes(L"VORN"), false, L"keep"},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        RegistryValue v;
        v.type = c.type;
        v.data = c.data;
        registry.values[kKey + L"|AppName"] = v;
        std::wstring out = L"keep";
        EXPECT_EQ(QueryRegistryString(registry, kKey, L"AppName", out), c.ok) << c.meaning;
        EXPECT_EQ(out, c.text) << c.meaning;
    }
    FakeRegistry empty;
    std::wstring out;
    EXPECT_FALSE(QueryRegistryString(empty, kKey, L"AppName", out)) << "missing key or value";
}

TEST(ProductRegistryKey, SharedSettingsNamesReplaceTheConstants) {
    struct Case {
        const char* meaning;
        const wchar_t* company;  // nullptr: key absent
        const wchar_t* product;
        const wchar_t* key;
        size_t warnings;
    } cases[] = {
        {"no shared settings", nullptr, nullptr, L"SOFTWARE\\Haldenmark\\Kestrand VORN\\standard", 0},
        {"company replaces the second segment", L"Acme", nullptr, L"SOFTWARE\\Acme\\Kestrand VORN\\standard", 0},
        {"product replaces the third segment", nullptr, L"VORN Lite", L"SOFTWARE\\Haldenmark\\VORN Lite\\standard", 0},
        {"empty product: two warnings, fallback key unreplaced", L"Acme", L"",
         L"Software\\Haldenmark\\Kestrand VORN\\Dudaveva\\DefFileName", 2},
        {"empty company: two warnings, fallback key unreplaced", L"", L"VORN Lite",
         L"Software\\Haldenmark\\Kestrand VORN\\Dudaveva\\DefFileName", 2},
    };
    for (const auto& c : cases) {
        FakeProfileFiles profiles;
        FakeMessages messages;
        if (c.company) profiles.files[kIni][L"regkey|company"] = c.company;
        if (c.product) profiles.files[kIni][L"regkey|product"] = c.product;
        EXPECT_EQ(GetProductRegistryKey(profiles, messages, kIni), c.key) << c.meaning;
        ASSERT_EQ(messages.warnings.size(), c.warnings) << c.meaning;
        for (const auto& w : messages.warnings) EXPECT_EQ(w, L"レジストリ情報が取得できません。\n再セットアップが必要です。");
        EXPECT_TRUE(messages.shown.empty()) << c.meaning;
    }
}

TEST(SettingsPath, ComesFromTempCompanyAndProduct) {
    struct Case {
        const char* meaning;
        const wchar_t* company;    // in ormix.ini; nullptr: absent
        const wchar_t* product;    // in ormix.ini; nullptr: absent
        const wchar_t* appName;    // in the registry under the key those names give; nullptr: absent
        const wchar_t* expected;
    } cases[] = {
        {"nothing registered", nullptr, nullptr, nullptr, L"C:\\Temp\\会社名\\Kestrand VORN\\Orvane.ini"},
        {"AppName replaces the product", nullptr, nullptr, L"VORN Pro", L"C:\\Temp\\会社名\\VORN Pro\\Orvane.ini"},
        {"company from the shared settings", L"Acme", nullptr, nullptr, L"C:\\Temp\\Acme\\Kestrand VORN\\Orvane.ini"},
        {"company changes the key AppName is read under", L"Acme", nullptr, L"Acme Pro",
         L"C:\\Temp\\Acme\\Acme Pro\\Orvane.ini"},
        {"product used only when AppName cannot be read", nullptr, L"VORN Lite", nullptr,
         L"C:\\Temp\\会社名\\VORN Lite\\Orvane.ini"},
        {"AppName wins over the shared product", nullptr, L"VORN Lite", L"VORN Pro",
         L"C:\\Temp\\会社名\\VORN Pro\\Orvane.ini"},
        {"a backslash adds a folder level", L"Acme\\Japan", nullptr, nullptr,
         L"C:\\Temp\\Acme\\Japan\\Kestrand VORN\\Orvane.ini"},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.system.tempFolder = L"C:\\Temp\\";
        if (c.company) fake.profiles.files[kIni][L"regkey|company"] = c.company;
        if (c.product) fake.profiles.files[kIni][L"regkey|product"] = c.product;
        if (c.appName) {
            std::wstring key = kKey;
            if (c.company) key.replace(key.find(L"Haldenmark"), 10, c.company);
            if (c.product) key.replace(key.find(L"Kestrand VORN"), 13, c.product);
            fake.registry.values[key + L"|AppName"] = StringValue(c.appName);
        }
        std::wstring settingsPath;
        EXPECT_TRUE(ReadProductEnvironment(fake.platform, L"C:\\Tools\\", settingsPath)) << c.meaning;
        EXPECT_EQ(settingsPath, c.expected) << c.meaning;
        EXPECT_EQ(fake.files.createdFoldersFor, std::vector<std::wstring>{c.expected}) << c.meaning;
        EXPECT_TRUE(fake.messages.warnings.empty()) << c.meaning;
    }
}

TEST(SettingsPath, UnknownTempFolderLeavesItEmptyAndCreatesNothing) {
    FakePlatform fake;
    fake.system.tempFolder = std::nullopt;
    std::wstring settingsPath;
    EXPECT_TRUE(ReadProductEnvironment(fake.platform, L"C:\\Tools\\", settingsPath));
    EXPECT_EQ(settingsPath, L"");
    EXPECT_TRUE(fake.files.createdFoldersFor.empty());
}

TEST(SettingsPath, EmptySharedProductWarnsTwiceAndRunsOn) {
    FakePlatform fake;
    fake.profiles.files[kIni][L"regkey|product"] = L"";
    std::wstring settingsPath;
    EXPECT_TRUE(ReadProductEnvironment(fake.platform, L"C:\\Tools\\", settingsPath));
    EXPECT_EQ(fake.messages.warnings.size(), 2u);
    ASSERT_FALSE(fake.registry.reads.empty());
    EXPECT_EQ(fake.registry.reads[0].first, L"Software\\Haldenmark\\Kestrand VORN\\Dudaveva\\DefFileName");
    // the empty product name leaves the product folder level empty
    EXPECT_EQ(settingsPath, L"C:\\Temp\\会社名\\\\Orvane.ini");
}
