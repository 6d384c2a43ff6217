#include "environment/layered_profile.h"
#include "environment/product_environment.h"
#include "probes/graphics_probe.h"

bool WriteSettings(ProfileFiles& profiles, const std::wstring& settingsPath, const OrvaneRec& runRecord) {
    if (settingsPath.find(L".ini") == std::wstring::npos) return false;

    for (int k = 0; k < OrvaneRec::glCount; ++k)
        WriteProfileValue(profiles, L"OpenGL", GlKeyName(k), runRecord.glInfo[k], settingsPath);

    std::wstring command = runRecord.columns[OrvaneRec::exeName];
    const std::wstring& args = runRecord.columns[OrvaneRec::exeArgs];
    if (!args.empty()) command += L" " + args;
    WriteProfileValue(profiles, L"EXEC", L"PATH", command, settingsPath);
    return true;
}
