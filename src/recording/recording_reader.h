#pragma once
// Reading a recorded machine out of orvane-check's JSON document. The bytes
// may come from anyone: whatever they hold ends in a recording or a reason.

#include <optional>
#include <string>
#include <string_view>

#include "recording/machine_recording.h"

// The machine a schema-1 orvane-check document records, or nullopt with the
// reason in `error`, e.g. "not JSON: at byte 17: ',' or '}' expected",
// "schemaVersion 2 is not 1", "no \"recording\" member",
// "recording.answers[2].instances[0].properties[1]: type \"X\" unknown". Of the
// document it reads schemaVersion, machine, timeUtc, wmiReached and
// recording; members it does not know are left alone.
std::optional<MachineRecording> ReadMachineRecording(std::string_view utf8, std::string& error);
