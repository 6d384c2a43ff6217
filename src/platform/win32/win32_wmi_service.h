#pragma once
// The management service through COM: one session per Connect, in the
// multithreaded apartment for the session's lifetime only.

#include <windows.h>
#include <oaidl.h>
#include <wbemidl.h>

#include "platform/wmi_service.h"

class Win32WmiService : public WmiService {
public:
    // Keeps no state: a thread left behind in a session touches nothing of the service.
    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override;
};

// Sets the process-wide COM security from inside the calling thread's
// apartment, which must stay for as long as the setting is needed; a call
// after the first (RPC_E_TOO_LATE) is ignored. Each session still sets its
// own proxy blankets, whoever was first.
void SettleComSecurity();

// The variant types the value text knows, as plain values; every other type is Other.
WmiValue ToWmiValue(const VARIANT& variant);

// How long one instance may take to arrive. A service that never answers
// ends the query instead of hanging the launcher.
inline constexpr LONG kWmiNextTimeoutMs = 5000;

// Every instance the enumerator hands out, one per Next, until anything but
// S_OK: the end, an error or a timeout keeps what came before.
std::vector<WmiInstance> ReadInstances(IEnumWbemClassObject& enumerator, const std::vector<std::wstring>& properties);
