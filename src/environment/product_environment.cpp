#include "environment/product_environment.h"

#include "environment/layered_profile.h"
#include "environment/product_registration.h"

namespace {

// The company folder when the shared settings name none; not the registry's company.
const wchar_t* const kDefaultCompanyFolder = L"会社名";

}  // namespace

bool ReadProductEnvironment(Platform& platform, const std::wstring& exeDir, std::wstring& settingsPath) {
    const std::wstring ini = exeDir + kSharedSettingsName;

    std::wstring product = kProductConstant;
    if (!ReadProductAppName(platform.registry, platform.profiles, platform.messages, ini, product))
        product = GetLayeredProfileString(platform.profiles, L"regkey", L"product", kProductConstant, ini);
    const std::wstring company =
        GetLayeredProfileString(platform.profiles, L"regkey", L"company", kDefaultCompanyFolder, ini);

    const auto temp = platform.system.TempFolder();
    if (!temp) return true;  // nothing is written then

    settingsPath = *temp + company + L"\\" + product + L"\\Orvane.ini";
    platform.files.CreateFoldersFor(settingsPath);
    return true;
}
