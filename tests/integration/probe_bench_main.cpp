// Runs one probe and ends: "wmi" (the built-in query table, all queries),
// "wmi-checked" (only the queries a launch waits for),
// "gl" (the OpenGL probe) or "none" (the same program doing nothing, the
// baseline for the start-up of a process under Wine).

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "probes/graphics_probe.h"
#include "probes/wmi_queries.h"
#include "shell/orvane_check/check_platform.h"
#include "tables/table_loaders.h"

namespace {

bool RunProbe(const char* mode) {
    const bool checkedOnly = std::strcmp(mode, "wmi-checked") == 0;
    if (checkedOnly || std::strcmp(mode, "wmi") == 0) {
        // Looking only, as orvane-check does: a table that cannot load shows no message.
        Win32CheckPlatform win32;
        // As Orvane loads it: a table file beside the bench, else the built-in copy.
        const std::wstring exe = win32.system.ExecutablePath();
        CWMI table;
        if (!LoadQueryTable(win32.platform, exe.substr(0, exe.rfind(L'\\') + 1), table)) return false;
        CWMI result;
        std::vector<size_t> counts;
        RunQueries(win32.wmi, table, checkedOnly ? QuerySelection::Checked : QuerySelection::All, result, counts);
        return !result.queries.empty();
    }
    if (std::strcmp(mode, "gl") == 0) {
        Win32InProcessGraphicsDriver driver;
        Win32TextCodec codec;
        OrvaneRec record;
        ProbeGraphics(driver, codec, record);
        return !record.glInfo[2].empty();
    }
    return true;
}

}  // namespace

// Prints the probe's own time in microseconds; the exit code says whether it found anything.
int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "none";
    const auto start = std::chrono::steady_clock::now();
    const bool found = RunProbe(mode);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
    return found ? 0 : 1;
}
