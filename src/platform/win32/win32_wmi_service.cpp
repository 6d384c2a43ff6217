#include "platform/win32/win32_wmi_service.h"

#include <windows.h>
#include <wbemidl.h>

#include "platform/win32/unique_resource.h"

namespace {

UniqueBstr MakeBstr(const std::wstring& text) {
    return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// A property the instance does not have (or will not give) is absent, which a
// recording keeps apart from a null value.
WmiValue ReadProperty(IWbemClassObject& instance, const std::wstring& name) {
    UniqueVariant variant;
    if (FAILED(instance.Get(name.c_str(), 0, variant.put(), nullptr, nullptr))) {
        WmiValue absent;
        absent.type = WmiValue::Type::Absent;
        return absent;
    }
    return ToWmiValue(variant.get());
}

// Whoever set the process's security first, the providers get to impersonate
// us. An in-process object has no proxy to set: fine.
void SetCallBlanket(IUnknown* proxy) {
    ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

class Win32WmiSession : public WmiSession {
public:
    Win32WmiSession() : apartment_(COINIT_MULTITHREADED) {}

    bool Open(const std::wstring& wmiNamespace) {
        // Inside the apartment that lives as long as the session's queries,
        // so the setting is not torn down with a temporary one.
        SettleComSecurity();
        if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                      locator_.put_void())) ||
            !locator_)
            return false;
        const UniqueBstr path = MakeBstr(wmiNamespace);
        if (!path) return false;
        // A service that never answers must not hold the launcher: the connection's wait is bounded too.
        if (FAILED(locator_->ConnectServer(path.get(), nullptr, nullptr, nullptr, WBEM_FLAG_CONNECT_USE_MAX_WAIT,
                                           nullptr, nullptr, services_.put())) ||
            !services_)
            return false;
        SetCallBlanket(services_.get());
        return true;
    }

    std::optional<std::vector<WmiInstance>> Query(const std::wstring& wql,
                                                  const std::vector<std::wstring>& properties) override {
        const UniqueBstr language = MakeBstr(L"WQL");
        const UniqueBstr text = MakeBstr(wql);
        if (!language || !text) return std::nullopt;

        ComPtr<IEnumWbemClassObject> enumerator;
        // Semi-synchronous and forward-only: the waits happen in Next, where they are bounded.
        if (FAILED(services_->ExecQuery(language.get(), text.get(),
                                        WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY, nullptr,
                                        enumerator.put())) ||
            !enumerator)
            return std::nullopt;
        // The enumerator is a proxy of its own: the instances come through it.
        SetCallBlanket(enumerator.get());

        return ReadInstances(*enumerator.get(), properties);
    }

private:
    // Declared first so it is released last, after every COM pointer.
    ComApartmentScope apartment_;
    ComPtr<IWbemLocator> locator_;
    ComPtr<IWbemServices> services_;
};

}  // namespace

WmiValue ToWmiValue(const VARIANT& variant) {
    WmiValue value;
    switch (variant.vt) {
        case VT_I4:
            value.type = WmiValue::Type::I4;
            value.i4 = variant.lVal;
            break;
        case VT_BSTR:
            value.type = WmiValue::Type::Bstr;
            if (variant.bstrVal) value.text.assign(variant.bstrVal, ::SysStringLen(variant.bstrVal));
            break;
        case VT_BOOL:
            value.type = WmiValue::Type::Bool;
            value.boolean = variant.boolVal == VARIANT_TRUE;  // all 16 bits set
            break;
        case VT_UI1:
            value.type = WmiValue::Type::UI1;
            value.ui1 = variant.bVal;
            break;
        default:
            break;  // Other
    }
    return value;
}

std::vector<WmiInstance> ReadInstances(IEnumWbemClassObject& enumerator, const std::vector<std::wstring>& properties) {
    std::vector<WmiInstance> instances;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        if (enumerator.Next(kWmiNextTimeoutMs, 1, object.put(), &returned) != S_OK || returned != 1 || !object)
            break;  // the end, a failure or a timeout: keep what we have

        WmiInstance instance;
        instance.name = ReadProperty(*object.get(), L"Name");
        instance.values.reserve(properties.size());
        for (const std::wstring& name : properties) instance.values.push_back(ReadProperty(*object.get(), name));
        instances.push_back(std::move(instance));
    }
    return instances;
}

void SettleComSecurity() {
    // Once per life of COM in the process: while an apartment of ours keeps
    // COM loaded, a second call answers RPC_E_TOO_LATE and changes nothing.
    // Something injected may have been first too: the proxy blankets cover that.
    ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                           nullptr, EOAC_NONE, nullptr);
}

std::unique_ptr<WmiSession> Win32WmiService::Connect(const std::wstring& wmiNamespace) {
    auto session = std::make_unique<Win32WmiSession>();
    if (!session->Open(wmiNamespace)) return nullptr;
    return session;
}
