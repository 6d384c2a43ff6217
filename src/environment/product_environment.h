#pragma once
// The product's registration, and where our settings file lives.

#include <string>

#include "platform/platform.h"
#include "tables/orvane_rec.h"

// Finds company and product and sets settingsPath below the temporary folder,
// creating its folders. Always true.
bool ReadProductEnvironment(Platform& platform, const std::wstring& exeDir, std::wstring& settingsPath);

// Writes the graphics strings and the product's command to the settings file.
// False when settingsPath holds no ".ini".
bool WriteSettings(ProfileFiles& profiles, const std::wstring& settingsPath, const OrvaneRec& runRecord);
