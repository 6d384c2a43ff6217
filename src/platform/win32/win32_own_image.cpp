#include "platform/win32/win32_own_image.h"

#include <windows.h>

#include <utility>

#include "platform/win32/win32_module_path.h"

namespace {

inline void UnmapView(void* view) { ::UnmapViewOfFile(view); }
using UniqueMappedView = UniqueResource<SimpleTraits<void*, nullptr, UnmapView>>;

// ntdll's own comparison of two mapped images, which the loader uses to tell
// one DLL under two names: it compares the files the views were mapped from.
using AreMappedFilesTheSameFn = LONG(WINAPI*)(PVOID, PVOID);

// True when `file` is the file our image was mapped from. A path says nothing
// here: between our start and the hold, our file may have been renamed and
// another put in its place.
bool IsOurImage(HANDLE file) {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto sameFiles = ntdll ? reinterpret_cast<AreMappedFilesTheSameFn>(reinterpret_cast<void*>(
                                       ::GetProcAddress(ntdll, "NtAreMappedFilesTheSame")))
                                 : nullptr;
    if (!sameFiles) return false;
    const UniqueHandle mapping(::CreateFileMappingW(file, nullptr, PAGE_READONLY | SEC_IMAGE, 0, 0, nullptr));
    if (!mapping) return false;
    const UniqueMappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    return view && sameFiles(::GetModuleHandleW(nullptr), view.get()) == 0;
}

}  // namespace

OwnImageHold::OwnImageHold() {
    std::wstring path = ExecutableFilePath();
    if (path.empty()) return;
    // Reading access, so that the sharing counts (and executing, which mapping
    // it as an image may ask for); a rename needs delete access, which this
    // share mode refuses to everybody else for as long as we hold it.
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_EXECUTE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_ || !IsOurImage(file_.get())) {
        file_.reset();
        return;
    }
    path_ = std::move(path);
}
