#include "probes/software_renderer.h"

#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

}  // namespace

std::wstring SoftwareRendererHint(const std::array<std::wstring, OrvaneRec::glCount>& glInfo) {
    static const wchar_t* const kSoftwareRenderers[] = {L"llvmpipe", L"softpipe", L"GDI Generic",
                                                        L"Microsoft Basic Render Driver", L"SwiftShader"};
    const std::wstring vendor = Lower(glInfo[OrvaneRec::glVendor]);
    const std::wstring renderer = Lower(glInfo[OrvaneRec::glRenderer]);
    for (const wchar_t* name : kSoftwareRenderers) {
        const std::wstring key = Lower(name);
        if (renderer.find(key) != std::wstring::npos || vendor.find(key) != std::wstring::npos) return name;
    }
    return std::wstring();
}
