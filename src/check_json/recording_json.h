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
    // What the check asked that the recording lacks: "WQL: property" or
    // "program NAME", counted as absent; or a fact of the PC a recording made
    // before it was kept lacks ("productFolder", "remoteSession",
    // "decimalSeparator", "tableCodePage"), taken from the PC that replays.
    std::vector<std::wstring> unrecorded;
};

// The "recording" member's value: namespace, answers, graphics, programs and
// the PC's facts the report depends on.
void WriteRecording(JsonWriter& json, const MachineRecording& recording);

// The "replayedFrom" member's value.
void WriteReplaySource(JsonWriter& json, const ReplaySource& source);
