#include "replay/check_replay.h"

#include "encoding/utf8_encoding.h"
#include "probes/graphics_probe.h"
#include "recording/json_reader.h"
#include "recording/recording_reader.h"
#include "tables/number_text.h"

namespace {

std::wstring TrimmedLabel(const std::wstring& label) {
    std::wstring text = label.substr(0, label.find(L'%'));
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
    return text;
}

}  // namespace

CheckRunSettings LookingCheckSettings(const std::optional<std::wstring>& tablesFolder,
                                      std::chrono::milliseconds wmiTimeLimit, bool recorded,
                                      const std::wstring& productFolder) {
    CheckRunSettings settings;
    settings.tablesFolder = tablesFolder.value_or(std::wstring());
    settings.productFolder = productFolder;
    settings.everyQueryUpFront = true;  // as orvane-check asks them live
    settings.wmiTimeLimit = wmiTimeLimit;
    settings.wmiOnThisThread = recorded;
    return settings;
}

std::optional<MachineRecording> ReadRecordingFile(FileSystem& files, const std::wstring& path, std::wstring& why) {
    // A file longer than the reader takes is refused by its size, unread: it
    // may be of any size, larger than this process could hold.
    const size_t limit = JsonReadOptions().maxBytes;
    const std::optional<BoundedRead> file = files.ReadFileUpTo(path, limit);
    if (!file) {
        why = L"cannot be read";
        return std::nullopt;
    }
    if (file->tooLong) {
        why = L"too large: more than " + std::to_wstring(limit) + L" bytes";
        return std::nullopt;
    }
    std::string error;
    std::optional<MachineRecording> recording = ReadMachineRecording(file->bytes, error);
    // The reason is UTF-8 of the reader's own making.
    if (!recording) why = L"no recording: " + DecodeUtf8(error).value_or(L"unreadable");
    return recording;
}

std::wstring CheckFolder(Platform& platform, const std::optional<std::wstring>& tablesFolder) {
    return tablesFolder.value_or(ExeFolderOf(platform.system.ExecutablePath()));
}

ReplayedCheck::ReplayedCheck(Platform& platform, MachineRecording recording,
                             const std::optional<std::wstring>& tablesFolder)
    : machine_(std::move(recording), platform.files, platform.codec, platform.system, CheckFolder(platform, tablesFolder)),
      looking_(services_.Over(platform, machine_.Files(), machine_.Codec(), machine_.System(), machine_.Wmi(),
                              machine_.Graphics())),
      run_(std::make_unique<CheckRun>(looking_, LookingCheckSettings(tablesFolder, CheckRunSettings::kWmiTimeLimit,
                                                                      true, machine_.ProductFolder()))) {}

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
