#include "check_tool/replay_command.h"

#include "replay/check_replay.h"

int RunReplay(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, CheckToolOutput& output) {
    const std::wstring& file = *options.replayFile;
    std::wstring why;
    std::optional<MachineRecording> recording = ReadRecordingFile(platform.files, file, why);
    if (!recording) {
        output.standardError += TextLines(L"orvane-check: " + file + L": " + why + L"\n");
        return kCheckTableUnusable;
    }

    RecordedMachine machine(std::move(*recording), platform.files, platform.codec, platform.system,
                            CheckFolder(platform, options.tablesFolder));
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
