#include "fleet/intune_settings.h"

#include <cstdio>

#include "check/check_run.h"
#include "check_json/check_exit_code.h"
#include "check_json/json_writer.h"
#include "encoding/text_lines.h"
#include "encoding/utf8_encoding.h"
#include "replay/check_replay.h"
#include "replay/looking_services.h"

namespace {

std::string AsciiJsonString(const std::wstring& text) {
    // JsonString escapes what JSON needs and mends lone surrogates; the
    // UTF-16 units of what is left beyond ASCII become \u escapes.
    const std::wstring units = DecodeUtf8(JsonString(text)).value_or(L"\"\"");
    std::string ascii;
    for (wchar_t unit : units) {
        if (static_cast<unsigned>(unit) < 0x80) {
            ascii += static_cast<char>(unit);
            continue;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit) & 0xFFFFu);
        ascii += escape;
    }
    return ascii;
}

}  // namespace

std::string IntuneSettingsLine(const std::vector<IntuneSetting>& settings) {
    std::string line = "{";
    for (const IntuneSetting& setting : settings) {
        if (line.size() > 1) line += ",";
        line += AsciiJsonString(setting.name) + ":";
        const bool bare = setting.type == IntuneDataType::Boolean || setting.type == IntuneDataType::Int64;
        line += bare ? EncodeUtf8(setting.value) : AsciiJsonString(setting.value);
    }
    return line + "}\r\n";
}

int RunIntuneSettings(Platform& platform, const FleetRequest& request, const FleetContext& context,
                      FleetOutput& output) {
    LookingServices services;
    Platform looking = services.Over(platform, platform.files, platform.codec, platform.system, platform.wmi, platform.graphics);
    const CheckRun run(looking, LookingCheckSettings(request.tablesFolder, context.wmiTimeLimit));
    output.wmiWorkOutstanding = run.WmiWorkOutstanding();
    const CheckResult& result = run.Result();
    for (const std::wstring& text : services.messages.texts)
        output.standardError += TextLines(L"orvane-check: " + text + L"\n");
    output.result = IntuneSettingsLine(IntuneSettingsOf(result, CheckRunExitCode(result)));
    return kCheckMeets;
}
