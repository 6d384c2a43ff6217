#include "platform/win32/win32_utc_time.h"

#include <windows.h>

namespace {

std::wstring TwoDigits(unsigned value) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) + static_cast<wchar_t>(L'0' + value % 10);
}

}  // namespace

std::wstring UtcTimeNow() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return std::to_wstring(now.wYear) + L"-" + TwoDigits(now.wMonth) + L"-" + TwoDigits(now.wDay) + L"T" +
           TwoDigits(now.wHour) + L":" + TwoDigits(now.wMinute) + L":" + TwoDigits(now.wSecond) + L"Z";
}
