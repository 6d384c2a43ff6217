#pragma once
// The exit code of a check, as orvane-check ends with it and its documents
// report it ("exitCode", "verdict").

#include "check/check_result.h"

// Stable: deployment tools act on them.
enum CheckExitCode : int {
    kCheckMeets = 0,
    kCheckFallsShort = 1,
    kCheckTableUnusable = 2,
    kCheckWmiUnreachable = 3,
    kCheckWrongCommandLine = 64,
    kCheckOutputNotWritten = 74,  // --out's file could not be written
};

// An unusable table before an unreachable or incompletely answering WMI
// before the verdict.
int CheckRunExitCode(const CheckResult& result);
