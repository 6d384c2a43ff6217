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

CheckRunSettings SettingsFor(const CheckOptions& options, const RecordedMachine& machine) {
    CheckRunSettings settings;
    settings.tablesFolder = options.tablesFolder.value_or(std::wstring());
    settings.productFolder = machine.ProductFolder();
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
    : machine_(std::move(recording), platform.files, platform.codec, platform.system, CheckFolder(platform, options)),
      looking_{machine_.Files(), machine_.Codec(),    platform.resources, messages_,         machine_.System(),
               launcher_,        machine_.Wmi(),      machine_.Graphics(), platform.registry, profiles_,
               resultWindow_},
      run_(std::make_unique<CheckRun>(looking_, SettingsFor(options, machine_))) {}

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

    RecordedMachine machine(std::move(*recording), platform.files, platform.codec, platform.system,
                            CheckFolder(platform, options));
    const MachineRecording& r = machine.Recording();
    const CheckSubject recorded{machine.Files(), machine.Codec(),   machine.System(),      machine.Wmi(),
                                machine.Graphics(), machine.ProductFolder(), r.machine, r.timeUtc,
                                [&] { return ReplaySource{file, r.machine, r.timeUtc, machine.Unrecorded()}; }};
    const int exitCode = RunReport(platform, options, info, recorded, output);
    for (const std::wstring& fact : machine.Unrecorded()) {
        const std::wstring how = IsFactOfThePc(fact) ? L"taken from this PC" : L"counted as absent";
        output.standardError += TextLines(L"orvane-check: not recorded, " + how + L": " + fact + L"\n");
    }
    return exitCode;
}
