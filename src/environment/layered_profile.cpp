#include "environment/layered_profile.h"

const wchar_t* const kCompanyLayerToken = L"__#HLM#";
const wchar_t* const kDealerLayerToken = L"__#DLR#";

namespace {

void RemoveAll(std::wstring& text, const std::wstring& token) {
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at)) text.erase(at, token.size());
}

}  // namespace

std::wstring RemoveLayerTokens(std::wstring file) {
    RemoveAll(file, kCompanyLayerToken);
    RemoveAll(file, kDealerLayerToken);
    return file;
}

std::wstring GetLayeredProfileString(ProfileFiles& profiles, const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultText, const std::wstring& file) {
    const std::wstring base = RemoveLayerTokens(file);
    const std::wstring fromCompanyLayer = profiles.Read(section, key, defaultText, base + kCompanyLayerToken);
    const std::wstring fromDealerLayer = profiles.Read(section, key, fromCompanyLayer, base + kDealerLayerToken);
    return profiles.Read(section, key, fromDealerLayer, base);
}

void WriteProfileValue(ProfileFiles& profiles, const std::wstring& section, const std::wstring& key,
                       const std::wstring& value, const std::wstring& file) {
    profiles.Write(section, key, value, RemoveLayerTokens(file));
}
