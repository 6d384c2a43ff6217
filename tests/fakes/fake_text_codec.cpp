#include "fakes/fake_text_codec.h"

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

#ifdef _WIN32
std::optional<std::wstring> DecodeWith(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string EncodeWith(unsigned codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                          nullptr);
    return out;
}
#endif

#ifndef _WIN32
std::string IconvConvert(const char* to, const char* from, std::string_view bytes, bool& ok) {
    ok = false;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    ok = true;
    return out;
}
#endif

}  // namespace

std::optional<std::wstring> FakeTextCodec::Decode(std::string_view bytes, CodePage codePage) {
    return DecodeWindowsCodePage(bytes, WindowsCodePage(codePage));
}

std::optional<std::wstring> FakeTextCodec::DecodeWindowsCodePage(std::string_view bytes, unsigned cp) {
    if (failing) return std::nullopt;
#ifdef _WIN32
    return DecodeWith(cp, bytes);
#else
    // 1252 is read as Latin-1 here, which is all the tests need of it.
    const char* from = cp == 932 ? "CP932" : "LATIN1";
    bool ok = false;
    const std::string wide = IconvConvert("WCHAR_T", from, bytes, ok);
    if (!ok) return std::nullopt;
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
#endif
}

std::string ToCp932(const std::string& utf8) {
#ifdef _WIN32
    return EncodeWith(932, *DecodeWith(CP_UTF8, utf8));
#else
    bool ok = false;
    return IconvConvert("CP932", "UTF-8", utf8, ok);
#endif
}
