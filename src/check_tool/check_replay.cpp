#include "check_tool/check_replay.h"

#include "encoding/utf8_encoding.h"
#include "probes/graphics_probe.h"
#include "recording/recording_reader.h"
#include "tables/number_text.h"

namespace {

std::wstring TrimmedLabel(const std::wstring& label) {
    std::wstring text = label.substr(0, label.find(L'%'));
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
    return text;
}

CheckRunSettings SettingsFor(const CheckOptions& options) {
    CheckRunSettings settings;
    settings.tablesFolder = options.tablesFolder.value_or(std::wstring());
    settings.everyQueryUpFront = true;  // as orvane-check asks them live
    return settings;
}

}  // namespace

std::optional<MachineRecording> ReadRecordingFile(FileSystem& files, const std::wstring& path, std::wstring& why) {
    const std::optional<std::string> bytes = files.ReadWholeFile(path);
    if (!bytes) {
        why = L"cannot be read";
        return std::nullopt;
    }
    std::string error;
    std::optional<MachineRecording> recording = ReadMachineRecording(*bytes, error);
    // The reason is UTF-8 of the reader's own making.
    if (!recording) why = L"no recording: " + DecodeUtf8(error).value_or(L"unreadable");
    return recording;
}

std::wstring CheckFolder(Platform& platform, const CheckOptions& options) {
    return options.tablesFolder.value_or(ExeFolderOf(platform.system.ExecutablePath()));
}

ReplayedCheck::ReplayedCheck(Platform& platform, MachineRecording recording, const CheckOptions& options)
    : machine_(std::move(recording), platform.files, platform.codec, CheckFolder(platform, options)),
      looking_{machine_.Files(), machine_.Codec(),    platform.resources, messages_,         platform.system,
               launcher_,        machine_.Wmi(),      machine_.Graphics(), platform.registry, profiles_,
               resultWindow_,    platform.threads},
      run_(std::make_unique<CheckRun>(looking_, SettingsFor(options))) {}

std::vector<std::wstring> FailingItems(const CheckResult& result) {
    std::vector<std::wstring> items;
    for (const auto& query : result.wmiResult->queries) {
        if (!query) continue;
        for (const auto& prop : query->props)
            if (prop && prop->failed != 0) items.push_back(TrimmedLabel(prop->label));
    }
    // The report marks the version line so when the verdict reads as 0.
    if (LeadingInt(result.runRecord.columns[OrvaneRec::glVerdict]) == 0)
        items.push_back(TrimmedLabel(glKeyLabels[OrvaneRec::glVersion]));
    return items;
}

int RunReplay(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, CheckToolOutput& output) {
    const std::wstring& file = *options.replayFile;
    std::wstring why;
    std::optional<MachineRecording> recording = ReadRecordingFile(platform.files, file, why);
    if (!recording) {
        output.standardError += TextLines(L"orvane-check: " + file + L": " + why + L"\n");
        return kCheckTableUnusable;
    }

    RecordedMachine machine(std::move(*recording), platform.files, platform.codec, CheckFolder(platform, options));
    const MachineRecording& r = machine.Recording();
    const CheckSubject recorded{machine.Files(), machine.Codec(), machine.Wmi(), machine.Graphics(), r.machine,
                                r.timeUtc, [&] { return ReplaySource{file, r.machine, r.timeUtc, machine.Unrecorded()}; }};
    const int exitCode = RunReport(platform, options, info, recorded, output);
    for (const std::wstring& fact : machine.Unrecorded())
        output.standardError += TextLines(L"orvane-check: not recorded, counted as absent: " + fact + L"\n");
    return exitCode;
}
