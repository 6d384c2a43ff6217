#include "environment/product_registration.h"

#include "environment/layered_profile.h"

const wchar_t* const kCompanyConstant = L"Haldenmark";
const wchar_t* const kProductConstant = L"Kestrand VORN";
const wchar_t* const kProductKeyTemplate = L"SOFTWARE\\Haldenmark\\Kestrand VORN\\standard";
const wchar_t* const kFallbackKeyTemplate = L"Software\\Haldenmark\\Kestrand VORN\\Dudaveva\\DefFileName";
const wchar_t* const kSharedSettingsName = L"ormix.ini";
const wchar_t* const kRegistrationMissingMessage = L"レジストリ情報が取得できません。\n再セットアップが必要です。";

namespace {

const wchar_t* const kSection = L"regkey";

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Puts the shared settings' names into the key; false when one is empty.
bool ApplyRegisteredNames(ProfileFiles& profiles, const std::wstring& sharedSettings, std::wstring& key) {
    const std::wstring company = GetLayeredProfileString(profiles, kSection, L"company", kCompanyConstant, sharedSettings);
    if (company.empty()) return false;
    const std::wstring product = GetLayeredProfileString(profiles, kSection, L"product", kProductConstant, sharedSettings);
    if (product.empty()) return false;
    ReplaceAll(key, kCompanyConstant, company);
    ReplaceAll(key, kProductConstant, product);
    return true;
}

}  // namespace

std::wstring GetProductRegistryKey(ProfileFiles& profiles, Messages& messages, const std::wstring& sharedSettings) {
    std::wstring key = kProductKeyTemplate;
    if (ApplyRegisteredNames(profiles, sharedSettings, key)) return key;

    messages.ShowUncaptionedWarning(kRegistrationMissingMessage);
    key = kFallbackKeyTemplate;
    if (!ApplyRegisteredNames(profiles, sharedSettings, key)) messages.ShowUncaptionedWarning(kRegistrationMissingMessage);
    return key;
}

bool QueryRegistryString(Registry& registry, const std::wstring& keyPath, const std::wstring& valueName,
                         std::wstring& out) {
    const auto value = registry.ReadLocalMachineValue(keyPath, valueName);
    if (!value) return false;
    if (value->type != RegistryValue::kString && value->type != RegistryValue::kExpandString) return false;

    const std::vector<uint8_t>& bytes = value->data;
    if (bytes.empty()) {
        out.clear();
        return true;
    }
    if (bytes.size() % 2 != 0) return false;
    if (bytes[bytes.size() - 2] != 0 || bytes[bytes.size() - 1] != 0) return false;

    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) break;
        text += c;
    }
    out = std::move(text);
    return true;
}

bool ReadProductAppName(Registry& registry, ProfileFiles& profiles, Messages& messages,
                        const std::wstring& sharedSettings, std::wstring& out) {
    const std::wstring key = GetProductRegistryKey(profiles, messages, sharedSettings);
    return QueryRegistryString(registry, key, L"AppName", out);
}
