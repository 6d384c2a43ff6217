#include "platform/win32/win32_on_demand_dll.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/win32/unique_resource.h"

FARPROC OnDemandFunction(const wchar_t* dll, const char* function) {
    // Loaded once and kept until the process ends.
    static std::mutex mutex;
    static std::map<std::wstring, UniqueModule> modules;
    const std::lock_guard<std::mutex> lock(mutex);
    UniqueModule& module = modules[dll];
    // The search is System32 only (LoadDllsOnlyFromSystem32), after the manifest's own versions.
    if (!module) module.reset(::LoadLibraryW(dll));
    return module ? ::GetProcAddress(module.get(), function) : nullptr;
}
