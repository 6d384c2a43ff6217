// The real probes, in-process, against Wine's management service and the
// X server's OpenGL driver.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <string>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_graphics_driver.h"
#include "shell/orvane/win32_platform.h"
#include "platform/win32/win32_wmi_service.h"
#include "probes/graphics_probe.h"
#include "probes/wmi_queries.h"
#include "tables/table_loaders.h"

namespace {

// The source tree's res folder, holding the shipped OrvaneWMI.csv. A Unix
// path (a cross build run under Wine) is reached through Wine's Z: drive.
std::wstring ResourceFolder() {
    std::wstring folder = ORVANE_RES_DIR[0] == '/' ? L"Z:" : L"";
    for (const char* c = ORVANE_RES_DIR; *c; ++c) folder.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return folder + L"\\";
}

std::wstring RegistryText(const wchar_t* key, const wchar_t* name) {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, &text[0], &bytes) != ERROR_SUCCESS)
        return {};
    text.resize(wcslen(text.c_str()));
    return text;
}

bool RegistryNumber(const wchar_t* key, const wchar_t* name, DWORD& number) {
    DWORD bytes = sizeof number;
    return ::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &number, &bytes) == ERROR_SUCCESS;
}

// "10.0.19045" as the registry tells it: Windows 10 and later keep the true
// major and minor numbers apart from the "CurrentVersion" kept for old programs.
std::wstring RegistryOsVersion() {
    const wchar_t* key = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    const std::wstring build = RegistryText(key, L"CurrentBuildNumber");
    if (build.empty()) return {};
    DWORD major = 0, minor = 0;
    if (RegistryNumber(key, L"CurrentMajorVersionNumber", major) && RegistryNumber(key, L"CurrentMinorVersionNumber", minor))
        return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + build;
    return RegistryText(key, L"CurrentVersion") + L"." + build;
}

const CWMIClass* FindResult(const CWMI& result, const std::wstring& wql) {
    for (const auto& q : result.queries)
        if (q->query == wql) return q.get();
    return nullptr;
}

const CWMIProp* FindProp(const CWMIClass& query, const std::wstring& name) {
    for (const auto& p : query.props)
        if (p->name == name) return p.get();
    return nullptr;
}

bool IsVersionText(const std::wstring& text) {
    // "4.60", "1.10 Mesa ..." : digits, a point, digits
    size_t i = 0;
    while (i < text.size() && std::iswdigit(text[i])) ++i;
    if (i == 0 || i >= text.size() || text[i] != L'.') return false;
    return i + 1 < text.size() && std::iswdigit(text[i + 1]);
}

// True when the calling thread has no COM apartment, found by entering one and leaving it again.
bool ThreadHasNoApartment() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr == S_OK;
}

class ProbesIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadQueryTable(win32.platform, ResourceFolder(), table)) << "no OrvaneWMI.csv in " << ORVANE_RES_DIR;
        ASSERT_EQ(table.queries.size(), 5u);
    }

    Win32Platform win32;
    CWMI table;
};

}  // namespace

TEST_F(ProbesIntegration, BuiltInTableFindsTheMachine) {
    CWMI result;
    std::vector<size_t> counts;
    RunQueries(win32.wmi, table, QuerySelection::All, result, counts);

    for (const wchar_t* wql : {L"SELECT * FROM Win32_ComputerSystem", L"SELECT * FROM Win32_Processor",
                               L"SELECT * FROM Win32_OperatingSystem", L"SELECT * FROM Win32_VideoController"})
        EXPECT_NE(FindResult(result, wql), nullptr) << "no answer to " << testing::PrintToString(std::wstring(wql));
    // Wine has no boot volume: no heading for it either.
    EXPECT_EQ(FindResult(result, L"SELECT * FROM Win32_Volume where BootVolume='1'"), nullptr);

    const CWMIClass* os = FindResult(result, L"SELECT * FROM Win32_OperatingSystem");
    ASSERT_NE(os, nullptr);
    ASSERT_EQ(os->props.size(), 3u);
    const CWMIProp* version = FindProp(*os, L"Version");
    ASSERT_NE(version, nullptr);
    const std::wstring expected = RegistryOsVersion();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(version->value, expected);
    EXPECT_EQ(version->checkIndex, 1);
    // The heading carries the instance's name inside the table's brackets.
    EXPECT_EQ(os->label.rfind(L"]"), os->label.size() - 1);
    EXPECT_NE(os->label.find(L"[") + 1, os->label.rfind(L"]")) << "empty name in the heading";

    const CWMIClass* processor = FindResult(result, L"SELECT * FROM Win32_Processor");
    ASSERT_NE(processor, nullptr);
    const CWMIProp* clock = FindProp(*processor, L"CurrentClockSpeed");
    ASSERT_NE(clock, nullptr);
    EXPECT_TRUE(!clock->value.empty() && std::iswdigit(clock->value[0])) << "clock speed '" << clock->value.size() << "'";
}

TEST_F(ProbesIntegration, PhasedRunGivesTheSameTreeAsOneRun) {
    CWMI all;
    std::vector<size_t> allCounts;
    RunQueries(win32.wmi, table, QuerySelection::All, all, allCounts);

    CWMI phased;
    std::vector<size_t> phasedCounts;
    RunQueries(win32.wmi, table, QuerySelection::Checked, phased, phasedCounts);
    ASSERT_EQ(phased.queries.size(), 1u);
    RunQueries(win32.wmi, table, QuerySelection::Unchecked, phased, phasedCounts);

    ASSERT_EQ(phased.queries.size(), all.queries.size());
    for (size_t i = 0; i < all.queries.size(); ++i) EXPECT_EQ(phased.queries[i]->query, all.queries[i]->query) << i;
}

TEST(WmiSessionIntegration, BadQueriesAndNamesGiveNothing) {
    Win32WmiService wmi;
    auto session = wmi.Connect(L"ROOT\\CIMV2");
    ASSERT_NE(session, nullptr);

    // Malformed or unknown: no enumerator, or one that hands out nothing.
    for (const wchar_t* wql : {L"SELECT * FROM Win32_NoSuchClass", L"SELEKT nonsense"}) {
        const auto instances = session->Query(wql, {L"Name"});
        EXPECT_TRUE(!instances || instances->empty()) << testing::PrintToString(std::wstring(wql));
    }

    const auto os = session->Query(L"SELECT * FROM Win32_OperatingSystem", {L"Versoin", L"Version", L""});
    ASSERT_TRUE(os.has_value());
    ASSERT_EQ(os->size(), 1u);
    EXPECT_EQ((*os)[0].name.type, WmiValue::Type::Bstr);
    ASSERT_EQ((*os)[0].values.size(), 3u);
    EXPECT_EQ((*os)[0].values[0].type, WmiValue::Type::Absent);
    EXPECT_EQ((*os)[0].values[1].type, WmiValue::Type::Bstr);
    EXPECT_EQ((*os)[0].values[2].type, WmiValue::Type::Absent);
}

TEST(WmiSessionIntegration, LeavesTheThreadsApartmentAsItFoundIt) {
    Win32WmiService wmi;
    ASSERT_TRUE(ThreadHasNoApartment());
    wmi.Connect(L"ROOT\\CIMV2").reset();
    EXPECT_TRUE(ThreadHasNoApartment()) << "the session left COM initialised";

    // A caller already in a single-threaded apartment keeps it.
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    wmi.Connect(L"ROOT\\CIMV2").reset();
    const HRESULT again = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE) << "the caller's apartment was torn down";
    if (SUCCEEDED(again)) ::CoUninitialize();
    ::CoUninitialize();
    EXPECT_TRUE(ThreadHasNoApartment());
}

TEST(WmiSessionIntegration, UnknownNamespaceGivesNoSession) {
    Win32WmiService wmi;
    EXPECT_EQ(wmi.Connect(L"ROOT\\NoSuchNamespace"), nullptr);
    EXPECT_TRUE(ThreadHasNoApartment());
}

TEST(GraphicsIntegration, ReadsTheDriversStrings) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display for OpenGL";

    Win32InProcessGraphicsDriver driver;
    Win32TextCodec codec;
    OrvaneRec record;
    ProbeGraphics(driver, codec, record);

    EXPECT_FALSE(record.glInfo[0].empty());
    EXPECT_NE(record.glInfo[0], L"(null)");
    EXPECT_FALSE(record.glInfo[1].empty());
    ASSERT_FALSE(record.glInfo[2].empty());
    EXPECT_TRUE(std::iswdigit(record.glInfo[2][0])) << "version does not start with a digit";
    EXPECT_TRUE(IsVersionText(record.glInfo[3])) << "shading language version is no version";

    // A second probe in the same process reuses the registered class.
    OrvaneRec again;
    ProbeGraphics(driver, codec, again);
    EXPECT_EQ(again.glInfo, record.glInfo);
    // Nothing of the probe is left current.
    EXPECT_EQ(::wglGetCurrentContext(), nullptr);
}

TEST(GraphicsIntegration, ProbeWindowTakesAPixelFormatAndStaysHidden) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display for OpenGL";

    UniqueHwnd window(CreateProbeWindow());
    ASSERT_TRUE(window);
    EXPECT_FALSE(::IsWindowVisible(window.get()));
    RECT rect = {};
    ASSERT_TRUE(::GetWindowRect(window.get(), &rect));
    EXPECT_EQ(rect.right - rect.left, 1);
    EXPECT_EQ(rect.bottom - rect.top, 1);
    wchar_t className[64] = {};
    ::GetClassNameW(window.get(), className, 64);
    EXPECT_STREQ(className, L"DummyOpenGLWindow");

    UniqueWindowDc dc(window.get(), ::GetDC(window.get()));
    ASSERT_TRUE(dc);
    EXPECT_TRUE(SetProbePixelFormat(dc.get()));
    EXPECT_NE(::GetPixelFormat(dc.get()), 0);
}

TEST(WmiValueConversion, KeepsOnlyTheTypesTheValueTextKnows) {
    const std::wstring longText(3000, L'L');
    const UniqueBstr longBstr(::SysAllocStringLen(longText.data(), static_cast<UINT>(longText.size())));
    LONG byRefTarget = 5;
    struct Case {
        const char* meaning;
        VARTYPE vt;
        void (*fill)(VARIANT&, BSTR, LONG*);
        WmiValue::Type type;
        std::wstring text;  // VariantToText of the result
    } cases[] = {
        {"32-bit integer", VT_I4, [](VARIANT& v, BSTR, LONG*) { v.lVal = -7; }, WmiValue::Type::I4, L"-7"},
        {"text longer than any old buffer", VT_BSTR, [](VARIANT& v, BSTR s, LONG*) { v.bstrVal = s; },
         WmiValue::Type::Bstr, longText},
        {"null text", VT_BSTR, [](VARIANT& v, BSTR, LONG*) { v.bstrVal = nullptr; }, WmiValue::Type::Bstr, L""},
        {"true is all bits", VT_BOOL, [](VARIANT& v, BSTR, LONG*) { v.boolVal = VARIANT_TRUE; }, WmiValue::Type::Bool,
         L"True"},
        {"one is not true", VT_BOOL, [](VARIANT& v, BSTR, LONG*) { v.boolVal = 1; }, WmiValue::Type::Bool, L"False"},
        {"false", VT_BOOL, [](VARIANT& v, BSTR, LONG*) { v.boolVal = VARIANT_FALSE; }, WmiValue::Type::Bool,
         L"False"},
        {"byte", VT_UI1, [](VARIANT& v, BSTR, LONG*) { v.bVal = 200; }, WmiValue::Type::UI1, L"200"},
        {"16-bit integer", VT_I2, [](VARIANT& v, BSTR, LONG*) { v.iVal = 3; }, WmiValue::Type::Other, L" "},
        {"real", VT_R8, [](VARIANT& v, BSTR, LONG*) { v.dblVal = 1.5; }, WmiValue::Type::Other, L" "},
        {"null", VT_NULL, [](VARIANT&, BSTR, LONG*) {}, WmiValue::Type::Other, L" "},
        {"empty", VT_EMPTY, [](VARIANT&, BSTR, LONG*) {}, WmiValue::Type::Other, L" "},
        {"integer by reference", VT_I4 | VT_BYREF, [](VARIANT& v, BSTR, LONG* p) { v.plVal = p; },
         WmiValue::Type::Other, L" "},
    };
    for (const auto& c : cases) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = c.vt;
        c.fill(v, longBstr.get(), &byRefTarget);
        const WmiValue value = ToWmiValue(v);  // v is not ours to clear: it borrows longBstr
        EXPECT_EQ(value.type, c.type) << c.meaning;
        EXPECT_EQ(VariantToText(value), c.text) << c.meaning;
    }
}

namespace {

// Hands out a real enumerator's instances while the script says S_OK, and the
// script's other results as they are; remembers every timeout it was given.
class ScriptedEnumerator : public IEnumWbemClassObject {
public:
    ScriptedEnumerator(ComPtr<IEnumWbemClassObject> real, std::vector<HRESULT> script)
        : real_(std::move(real)), script_(std::move(script)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(long timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) override {
        timeouts.push_back(timeout);
        *returned = 0;
        const HRESULT result = calls_ < script_.size() ? script_[calls_] : static_cast<HRESULT>(WBEM_S_FALSE);
        ++calls_;
        if (result != S_OK) return result;
        return real_->Next(WBEM_INFINITE, count, objects, returned);
    }
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(long, ULONG) override { return E_NOTIMPL; }

    std::vector<long> timeouts;

private:
    ComPtr<IEnumWbemClassObject> real_;
    std::vector<HRESULT> script_;
    size_t calls_ = 0;
};

}  // namespace

TEST(WmiEnumeration, EveryWaitIsBoundedAndAnythingButOkEndsTheQuery) {
    ComApartmentScope apartment(COINIT_MULTITHREADED);
    ComPtr<IWbemLocator> locator;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                             locator.put_void())));
    ComPtr<IWbemServices> services;
    const UniqueBstr path(::SysAllocString(L"ROOT\\CIMV2"));
    ASSERT_TRUE(SUCCEEDED(locator->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                                 services.put())));

    struct Case {
        const char* meaning;
        std::vector<HRESULT> script;
        size_t instances;
        size_t nextCalls;
    } cases[] = {
        {"a timeout keeps what came before", {S_OK, WBEM_S_TIMEDOUT, S_OK}, 1, 2},
        {"a failure part-way keeps what came before", {S_OK, static_cast<HRESULT>(WBEM_E_FAILED)}, 1, 2},
        {"the end at once", {WBEM_S_FALSE}, 0, 1},
        {"a timeout at once", {WBEM_S_TIMEDOUT}, 0, 1},
    };
    for (const auto& c : cases) {
        const UniqueBstr language(::SysAllocString(L"WQL"));
        const UniqueBstr query(::SysAllocString(L"SELECT * FROM Win32_OperatingSystem"));
        ComPtr<IEnumWbemClassObject> real;
        ASSERT_TRUE(SUCCEEDED(services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY, nullptr,
                                                  real.put())));
        ScriptedEnumerator enumerator(real, c.script);

        const std::vector<WmiInstance> instances = ReadInstances(enumerator, {L"Version"});

        EXPECT_EQ(instances.size(), c.instances) << c.meaning;
        EXPECT_EQ(enumerator.timeouts.size(), c.nextCalls) << c.meaning;
        for (long timeout : enumerator.timeouts) {
            EXPECT_NE(timeout, static_cast<long>(WBEM_INFINITE)) << c.meaning;
            EXPECT_GT(timeout, 0) << c.meaning;
            EXPECT_LE(timeout, 10000) << c.meaning;
        }
        if (!instances.empty()) {
            EXPECT_EQ(instances[0].values[0].type, WmiValue::Type::Bstr) << c.meaning;
        }
    }
}
