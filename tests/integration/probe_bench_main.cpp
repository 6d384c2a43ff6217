// Runs one probe and ends: "wmi" (the built-in query table, all queries),
// "wmi-checked" (only the queries a launch waits for),
// "gl" (the OpenGL probe) or "none" (the same program doing nothing, the
// baseline for the start-up of a process under Wine).

#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/win32_graphics_driver.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_wmi_service.h"
#include "probes/graphics_probe.h"
#include "probes/wmi_queries.h"

namespace {

// The built-in table's queries and properties; labels do not matter for the timing.
void FillBuiltInQueries(CWMI& table) {
    struct Row {
        const wchar_t* query;
        std::vector<std::pair<const wchar_t*, int>> props;  // name, check index
    };
    const Row rows[] = {
        {L"SELECT * FROM Win32_ComputerSystem", {{L"Model", -1}, {L"TotalPhysicalMemory", -1}}},
        {L"SELECT * FROM Win32_Processor", {{L"CurrentClockSpeed", -1}}},
        {L"SELECT * FROM Win32_Volume where BootVolume='1'", {{L"Label", -1}, {L"Capacity", -1}, {L"FreeSpace", -1}}},
        {L"SELECT * FROM Win32_OperatingSystem", {{L"ServicePackMajorVersion", -1}, {L"Version", 1}, {L"OSArchitecture", 2}}},
        {L"SELECT * FROM Win32_VideoController", {{L"Description", -1}, {L"DriverVersion", -1}, {L"AdapterRAM", -1}}},
    };
    table.wmiNamespace = L"ROOT\\CIMV2";
    for (const Row& row : rows) {
        table.queries.push_back(std::make_unique<CWMIClass>());
        table.queries.back()->query = row.query;
        table.queries.back()->label = L"[%s]";
        for (const auto& prop : row.props) {
            table.queries.back()->props.push_back(std::make_unique<CWMIProp>());
            table.queries.back()->props.back()->name = prop.first;
            table.queries.back()->props.back()->label = L"%s";
            table.queries.back()->props.back()->checkIndex = prop.second;
        }
    }
}

bool RunProbe(const char* mode) {
    const bool checkedOnly = std::strcmp(mode, "wmi-checked") == 0;
    if (checkedOnly || std::strcmp(mode, "wmi") == 0) {
        Win32WmiService wmi;
        CWMI table;
        FillBuiltInQueries(table);
        CWMI result;
        std::vector<size_t> counts;
        RunQueries(wmi, table, checkedOnly ? QuerySelection::Checked : QuerySelection::All, result, counts);
        return !result.queries.empty();
    }
    if (std::strcmp(mode, "gl") == 0) {
        Win32GraphicsDriver driver;
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
