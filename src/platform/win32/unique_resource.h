#pragma once
// One move-only owner for every kind of Win32 handle, and the few owners that
// need more than "close it once": COM pointers, VARIANTs, COM and GL scopes.

#include <windows.h>
#include <oleauto.h>

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }

    // Resets, then hands out the address for an out-parameter.
    Type* put() {
        reset();
        return &value_;
    }

    Type release() { return std::exchange(value_, Traits::Invalid()); }

    void reset(Type value = Traits::Invalid()) {
        Type old = std::exchange(value_, value);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    Type value_ = Traits::Invalid();
};

template <typename T, T InvalidValue, void (*CloseFunction)(T)>
struct SimpleTraits {
    using Type = T;
    static Type Invalid() { return InvalidValue; }
    static bool IsValid(Type value) { return value != InvalidValue; }
    static void Close(Type value) { CloseFunction(value); }
};

namespace resource_detail {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegistryKey(HKEY h) { ::RegCloseKey(h); }
inline void FreeBstr(BSTR s) { ::SysFreeString(s); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void FreeModuleHandle(HMODULE h) { ::FreeLibrary(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void FreeCoTaskString(PWSTR s) { ::CoTaskMemFree(s); }
inline void DeleteFontHandle(HFONT h) { ::DeleteObject(h); }

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { ::FindClose(h); }
};
}  // namespace resource_detail

using UniqueHandle = UniqueResource<SimpleTraits<HANDLE, nullptr, resource_detail::CloseKernelHandle>>;
using UniqueFile = UniqueResource<resource_detail::FileHandleTraits>;
using UniqueFind = UniqueResource<resource_detail::FindHandleTraits>;
using UniqueHkey = UniqueResource<SimpleTraits<HKEY, nullptr, resource_detail::CloseRegistryKey>>;
using UniqueBstr = UniqueResource<SimpleTraits<BSTR, nullptr, resource_detail::FreeBstr>>;
using UniqueHwnd = UniqueResource<SimpleTraits<HWND, nullptr, resource_detail::DestroyWindowHandle>>;
using UniqueModule = UniqueResource<SimpleTraits<HMODULE, nullptr, resource_detail::FreeModuleHandle>>;
using UniqueIcon = UniqueResource<SimpleTraits<HICON, nullptr, resource_detail::DestroyIconHandle>>;
using UniqueCoTaskString = UniqueResource<SimpleTraits<PWSTR, nullptr, resource_detail::FreeCoTaskString>>;
using UniqueFont = UniqueResource<SimpleTraits<HFONT, nullptr, resource_detail::DeleteFontHandle>>;

// A window's device context, released to its window.
class UniqueWindowDc {
public:
    UniqueWindowDc() = default;
    UniqueWindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~UniqueWindowDc() { reset(); }
    UniqueWindowDc(UniqueWindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueWindowDc& operator=(UniqueWindowDc&&) = delete;
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) ::ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// A COM interface pointer: copy AddRefs, destruction Releases.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    T** put() {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    void reset() {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }

private:
    T* ptr_ = nullptr;
};

// A VARIANT held by containment and cleared on destruction.
class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&value_); }
    ~UniqueVariant() { ::VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    const VARIANT& get() const { return value_; }
    VARIANT* put() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

// COM initialised for the life of the scope; uninitialised only when this scope initialised it.
class ComApartmentScope {
public:
    explicit ComApartmentScope(DWORD model) : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, model))) {}
    ~ComApartmentScope() {
        if (initialised_) ::CoUninitialize();
    }
    ComApartmentScope(const ComApartmentScope&) = delete;
    ComApartmentScope& operator=(const ComApartmentScope&) = delete;

private:
    bool initialised_;
};
