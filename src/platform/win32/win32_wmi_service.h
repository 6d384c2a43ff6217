#pragma once
// The management service through COM: one session per Connect, in the
// multithreaded apartment for the session's lifetime only.

#include <windows.h>
#include <oaidl.h>

#include "platform/wmi_service.h"

class Win32WmiService : public WmiService {
public:
    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override;
};

// The variant types the value text knows, as plain values; every other type is Other.
WmiValue ToWmiValue(const VARIANT& variant);
