#pragma once
// The maker's profile files: a file may be overlaid by a company layer and a
// dealer layer, named by a token appended to the file name.

#include <string>

#include "platform/profile_files.h"

extern const wchar_t* const kCompanyLayerToken;  // "__#HLM#"
extern const wchar_t* const kDealerLayerToken;   // "__#DLR#"

// The path with every layer token removed.
std::wstring RemoveLayerTokens(std::wstring file);

// The key's text: the file itself over the dealer layer, the dealer layer over
// the company layer, the company layer over defaultText. A key present with an
// empty value hides the layers below it.
std::wstring GetLayeredProfileString(ProfileFiles& profiles, const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultText, const std::wstring& file);

// Writes one key into the file named by the path without its layer tokens.
void WriteProfileValue(ProfileFiles& profiles, const std::wstring& section, const std::wstring& key,
                       const std::wstring& value, const std::wstring& file);
