#pragma once
// Under which company and product names the product is set up here.

#include <string>

#include "platform/messages.h"
#include "platform/profile_files.h"
#include "platform/registry.h"

extern const wchar_t* const kCompanyConstant;        // "Haldenmark"
extern const wchar_t* const kProductConstant;        // "Kestrand VORN"
extern const wchar_t* const kProductKeyTemplate;     // "SOFTWARE\Haldenmark\Kestrand VORN\standard"
extern const wchar_t* const kFallbackKeyTemplate;    // "Software\Haldenmark\Kestrand VORN\Dudaveva\DefFileName"
extern const wchar_t* const kSharedSettingsName;     // "ormix.ini"
extern const wchar_t* const kRegistrationMissingMessage;

// The product's key below HKEY_LOCAL_MACHINE, with the company and product of
// the shared settings file put in. An empty name there is warned about (twice,
// as the fallback key is tried with the same file) and leaves the fallback key
// unreplaced.
std::wstring GetProductRegistryKey(ProfileFiles& profiles, Messages& messages, const std::wstring& sharedSettings);

// A string value, accepted only as REG_SZ or REG_EXPAND_SZ (not expanded) whose
// data is empty or an even byte count ending in a terminating zero. The text
// ends at its first zero.
bool QueryRegistryString(Registry& registry, const std::wstring& keyPath, const std::wstring& valueName,
                         std::wstring& out);

// The registered "AppName" of the product.
bool ReadProductAppName(Registry& registry, ProfileFiles& profiles, Messages& messages,
                        const std::wstring& sharedSettings, std::wstring& out);
