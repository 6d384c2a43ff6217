#pragma once
// The members of orvane-check's JSON that let a check be made again: the raw
// facts ("recording") and, in a replay, where they came from ("replayedFrom").

#include <optional>
#include <string>
#include <vector>

#include "check_json/json_writer.h"
#include "recording/machine_recording.h"

// The recording a replay's result was made from.
struct ReplaySource {
    std::wstring file;
    std::optional<std::wstring> machine;
    std::wstring timeUtc;
    // What the tables asked that the recording lacks, counted as absent:
    // "WQL: property" or "program NAME".
    std::vector<std::wstring> unrecorded;
};

// The "recording" member's value: namespace, answers, graphics, programs.
void WriteRecording(JsonWriter& json, const MachineRecording& recording);

// The "replayedFrom" member's value.
void WriteReplaySource(JsonWriter& json, const ReplaySource& source);
