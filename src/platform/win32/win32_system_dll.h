#pragma once
// System DLLs from System32 and nowhere else, also on a Windows that does not
// know the search flag for it.

#include <windows.h>

#include <string>

// The full path of a file in System32, read whole; empty when the system does not say where that is.
std::wstring System32Path(const std::wstring& file);

// The DLL found by the LOAD_LIBRARY_SEARCH_SYSTEM32 search; where that is
// refused (Windows 7 and Vista without update KB2533623), the DLL by its full
// path in System32. Null when it cannot be had. Calls kernel32 only: the lazy
// imports' resolver loads user32 and the others with it.
HMODULE LoadSystemDll(const char* dll);

// The same with the search by flag given, so that a test can refuse it.
using FlaggedDllLoad = HMODULE (*)(const char* dll);
HMODULE LoadSystemDll(const char* dll, FlaggedDllLoad loadBySearchFlag);

// What a program does when a system DLL, or a function of one that it calls,
// cannot be had (function null: the DLL itself): it says so in its own way and
// ends the process. Each program's shell defines it; the lazy imports'
// resolver calls it once, whichever thread found the DLL missing.
void EndForMissingSystemDll(const char* dll, const char* function);
