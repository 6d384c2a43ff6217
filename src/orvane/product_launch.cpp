#include "orvane/product_launch.h"

const wchar_t* const kLaunchFailedMessage = L"起動できません。\n%s";

bool LaunchProduct(ProcessLauncher& launcher, const std::wstring& exeDir, const OrvaneRec& runRecord,
                   std::wstring& commandLine) {
    const std::wstring exePath = exeDir + runRecord.columns[OrvaneRec::exeName];
    const std::wstring& args = runRecord.columns[OrvaneRec::exeArgs];

    // Quoted, and named as the application as well: below "C:\Program Files\"
    // an unquoted path would first try "C:\Program.exe", and we run elevated.
    commandLine = L"\"" + exePath + L"\"";
    if (!args.empty()) commandLine += L" " + args;

    return launcher.Start(exePath, commandLine);
}
