#pragma once
// orvane-check --replay: the report of a recorded machine, as a live run gives it.

#include "check_tool/check_command_line.h"
#include "check_tool/check_tool.h"
#include "platform/platform.h"

// --replay FILE: the report of the recorded machine, as a live run gives it,
// with replayedFrom; exit 2 naming the file when it holds no recording.
int RunReplay(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, CheckToolOutput& output);
