#pragma once
// Starting the product of the selected row.

#include <string>

#include "platform/process_launcher.h"
#include "tables/orvane_rec.h"

extern const wchar_t* const kLaunchFailedMessage;  // "起動できません。\n%s"

// Builds the command line into commandLine and starts the process.
bool LaunchProduct(ProcessLauncher& launcher, const std::wstring& exeDir, const OrvaneRec& runRecord,
                   std::wstring& commandLine);
